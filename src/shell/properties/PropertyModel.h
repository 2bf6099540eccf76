#pragma once
// The properties window without its window: the table of its groups and properties (data
// numbers 0-9 groups, 11-45 properties, 46 + i the group of the i-th instrument definition,
// 146 + i its "Visible" check box), the value each shows from the document and its active
// section, and the store of an edited value as one document command: snapshot, store, tell
// the views. Undo restores what a store changed, the document settings included.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/text/dfLogFont.h"

namespace vornel {

class CBriotabDoc;
class CSystemArray;

namespace properties {

enum class PropertyKind : uint8_t { kGroup, kText, kInteger, kCheck, kFont };

struct PropertyRow {
  int number = 0;
  int parent = -1;  // the group's number; -1 at the top
  std::string_view name;
  PropertyKind kind = PropertyKind::kText;
  std::string_view initial;
  std::string_view description;
  int minimum = 0;  // spin range of an integer
  int maximum = 0;
  std::span<const std::string_view> options;  // fixed options of a text; the text can still be typed
};

// Data numbers.
inline constexpr int kDocumentGroup = 0;
inline constexpr int kSectionGroup = 1;
inline constexpr int kInstrumentsGroup = 2;
inline constexpr int kFirstInstrumentGroup = 46;
inline constexpr int kFirstVisibleCheck = 146;
inline constexpr int kFamilyProperty = 0;  // the "Family" button property carries 0

// Every group and property in creation order.
std::span<const PropertyRow> PropertyTable();
const PropertyRow* FindProperty(int number);

// A value as the grid holds it: a text, a number (integers and check boxes) or a font.
struct PropertyValue {
  std::string text;
  int32_t number = 0;
  LogFont font;

  static PropertyValue Text(std::string t) {
    PropertyValue v;
    v.text = std::move(t);
    return v;
  }
  static PropertyValue Number(int32_t n) {
    PropertyValue v;
    v.number = n;
    return v;
  }
  static PropertyValue Font(const LogFont& f) {
    PropertyValue v;
    v.font = f;
    return v;
  }
};

// One instrument definition's group.
struct InstrumentGroup {
  int number = 0;  // 46 + index
  std::string name;
  std::string family;
  // The "Visible" check box exists only when the section has more than one definition.
  std::optional<int> visibleNumber;  // 146 + index
  bool visible = false;
};

// What the window does after a store.
enum class StoreEffect : uint8_t {
  kNothing,        // nothing is shown, or the number is unknown
  kLayoutReset,    // properties below 46: the frame lays its panes out again, the view re-formats
  kSectionLayout,  // "Visible": the document lays the active section out again (kRefreshDocument)
};

class PropertyModel {
 public:
  // What the window shows: a document and its active section, or nothing (either null).
  void Show(CBriotabDoc* document, CSystemArray* section);
  bool Showing() const { return document_ != nullptr; }
  CBriotabDoc* Document() const { return document_; }
  // The section shown, found again in the document (null when it has gone).
  CSystemArray* Section() const;

  // The value of a property (11-45) as the model holds it now; nothing for a group, an
  // unknown number or while nothing is shown.
  std::optional<PropertyValue> Value(int number) const;
  std::vector<InstrumentGroup> Instruments() const;

  // Stores an edited value. Each store that changes the model is one document command.
  StoreEffect Store(int number, const PropertyValue& value);
  // The instrument sheet on definition `index` of the section (through SectionEditors()); an
  // OK is one document command, a cancel leaves no trace. False when nothing changed.
  bool EditInstrument(size_t index);

 private:
  CBriotabDoc* document_ = nullptr;
  int sectionIndex_ = -1;
};

// The key step (0 C ... 6 B) a key name starts with: A-G in either case; nothing otherwise.
std::optional<int> KeyStepOfName(std::string_view text);

}  // namespace properties
}  // namespace vornel
