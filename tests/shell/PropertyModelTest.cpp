// The properties window's model: what each property shows, what an edit stores, and that an
// edit is one undoable document command.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/CBriotabDoc.h"
#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "model/instrument/CInstrumentDlg.h"
#include "shell/properties/PropertyModel.h"
#include "support/ScriptedPrompts.h"

namespace vornel::properties {
namespace {

// The shipped template: a document as the editor opens it.
std::unique_ptr<CVornelTabDoc> OpenTemplate() {
  OpenedDocument opened = OpenDocumentFile(std::string(VORNEL_SOURCE_DIR) + "/data/Templates/Renaissance lute in G (vieil ton).bttx");
  EXPECT_NE(opened.document, nullptr) << opened.message;
  return std::move(opened.document);
}

struct Fixture {
  testing::ScriptedPrompts prompts;
  std::unique_ptr<CVornelTabDoc> opened = OpenTemplate();
  CBriotabDoc& doc = *opened;
  PropertyModel model;
  CSystemArray* section = nullptr;

  Fixture() {
    section = doc.GetActiveSection();
    doc.settings.Text(CDocumentSettings::kTitle).text = "Pieces";
    section->Title().text = "Galliard";
    doc.SetModifiedFlag(false);
    model.Show(&doc, section);
  }
  CSystemArray& Live() { return *doc.GetActiveSection(); }
  PropertyValue Shown(int number) {
    const auto value = model.Value(number);
    EXPECT_TRUE(value.has_value()) << number;
    return value.value_or(PropertyValue{});
  }
};

// The first line where two texts differ, for a readable failure.
std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t line = 1, start = 0;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (a[i] != b[i]) {
      const size_t endA = a.find('\n', i), endB = b.find('\n', i);
      return "line " + std::to_string(line) + ":\n" + a.substr(start, endA - start) + "\n" + b.substr(start, endB - start);
    }
    if (a[i] == '\n') {
      ++line;
      start = i + 1;
    }
  }
  return a.size() == b.size() ? std::string() : "lengths differ";
}

PropertyValue Text(const char* text) { return PropertyValue::Text(text); }
PropertyValue Number(int n) { return PropertyValue::Number(n); }

// One edit per row: the value typed, and what the document holds afterwards.
TEST(PropertyModel, EditsReadBackFromTheDocument) {
  struct Case {
    int number;
    PropertyValue value;
    std::function<int64_t(CBriotabDoc&)> read;
    int64_t expected;
  };
  auto page = [](CBriotabDoc& d) -> CPageDlg& { return d.settings.pageSettings; };
  auto sec = [](CBriotabDoc& d) -> CSystemArray& { return *d.GetActiveSection(); };
  const Case cases[] = {
      {14, Number(120), [&](CBriotabDoc& d) { return page(d).cursorWidth; }, 120},
      {14, Number(5000), [&](CBriotabDoc& d) { return page(d).cursorWidth; }, 200},  // past the spin range
      {15, Number(10), [&](CBriotabDoc& d) { return page(d).leftMargin; }, 50},
      {16, Number(300), [&](CBriotabDoc& d) { return page(d).topMargin; }, 300},
      {18, Number(-4), [&](CBriotabDoc& d) { return page(d).bottomMargin; }, 50},
      {19, Number(1), [&](CBriotabDoc& d) { return page(d).newPageOnSection; }, 1},
      {22, Text("Landscape"), [&](CBriotabDoc& d) { return page(d).landscape; }, 1},
      {22, Text("landscape"), [&](CBriotabDoc& d) { return page(d).landscape; }, 0},
      {31, Text("B / si"), [&](CBriotabDoc& d) { return sec(d).key.keyName; }, 6},
      {31, Text("C / do"), [&](CBriotabDoc& d) { return sec(d).key.keyName; }, 0},
      {31, Text("bes"), [&](CBriotabDoc& d) { return sec(d).key.keyName; }, 6},
      {31, Text("g"), [&](CBriotabDoc& d) { return sec(d).key.keyName; }, 4},
      {32, Text("Sharp"), [&](CBriotabDoc& d) { return sec(d).key.bemol; }, 0},
      {33, Number(3), [&](CBriotabDoc& d) { return sec(d).key.alterations; }, 3},
      {33, Number(200), [&](CBriotabDoc& d) { return sec(d).key.alterations; }, 7},
      {34, Number(1), [&](CBriotabDoc& d) { return sec(d).key.mode & 1; }, 1},
      {35, Number(3), [&](CBriotabDoc& d) { return sec(d).numerator; }, 3},
      {35, Number(256), [&](CBriotabDoc& d) { return sec(d).numerator; }, 12},
      {36, Number(0), [&](CBriotabDoc& d) { return sec(d).denominator; }, 2},
      {37, Number(4096), [&](CBriotabDoc& d) { return sec(d).tempo & 0xFFF; }, 200},
      {38, Text("Largo"), [&](CBriotabDoc& d) { return sec(d).movement; }, 5},
      {38, Text("Vivace"), [&](CBriotabDoc& d) { return sec(d).movement; }, 3},
      {39, Number(12), [&](CBriotabDoc& d) { return sec(d).barOffset; }, 12},
      {40, Number(4096), [&](CBriotabDoc& d) { return sec(d).stavesPerPage; }, 100},
      {41, Number(7), [&](CBriotabDoc& d) { return sec(d).leftOffset; }, 7},
      {43, Number(0), [&](CBriotabDoc& d) { return sec(d).repeats; }, 0},
      {44, Number(1), [&](CBriotabDoc& d) { return sec(d).excluded * 1000 + (sec(d).flags & 0x10); }, 1016},
      {45, Number(1), [&](CBriotabDoc& d) { return sec(d).flags; }, 0x100},
  };
  for (const Case& c : cases) {
    Fixture f;
    EXPECT_EQ(f.model.Store(c.number, c.value), StoreEffect::kLayoutReset) << c.number;
    EXPECT_EQ(c.read(f.doc), c.expected) << "property " << c.number << " '" << c.value.text << "' " << c.value.number;
    EXPECT_TRUE(f.doc.IsModified());
  }
}

TEST(PropertyModel, ShowsTheDocumentAndTheSection) {
  Fixture f;
  f.Live().tempo = (3 << 24) | 96;
  f.Live().key.keyName = 5;
  f.Live().flags = 0x100;
  f.doc.settings.pageSettings.barNumberFlag = 0x4;
  f.doc.settings.pageSettings.landscape = 1;
  EXPECT_EQ(f.Shown(11).text, "Pieces");
  EXPECT_EQ(f.Shown(23).text, "Galliard");
  EXPECT_EQ(f.Shown(37).number, 96);
  EXPECT_EQ(f.Shown(31).text, "A");
  EXPECT_EQ(f.Shown(38).text, "Andante");
  EXPECT_EQ(f.Shown(45).number, 1);
  EXPECT_EQ(f.Shown(21).number, 1);
  EXPECT_EQ(f.Shown(22).text, "Landscape");
  EXPECT_EQ(f.Shown(25).number, 1);
  EXPECT_EQ(f.Shown(42).number, 0);
  EXPECT_FALSE(f.model.Value(3).has_value());  // a group
  PropertyModel none;
  EXPECT_FALSE(none.Value(11).has_value());
  EXPECT_EQ(none.Store(11, Text("x")), StoreEffect::kNothing);
}

TEST(PropertyModel, StoresOnlyTheBitsThePropertyOwns) {
  Fixture f;
  f.Live().tempo = (3 << 24) | (0x5 << 12) | 96;
  f.Live().flags = 0x11;
  f.doc.settings.pageSettings.barNumberFlag = 0x36;
  f.model.Store(37, Number(120));
  EXPECT_EQ(f.Live().tempo, (3 << 24) | (0x5 << 12) | 120);
  f.model.Store(45, Number(1));
  EXPECT_EQ(f.Live().flags, 0x111);
  f.model.Store(45, Number(0));
  EXPECT_EQ(f.Live().flags, 0x11);
  f.model.Store(21, Number(1));
  EXPECT_EQ(f.doc.settings.pageSettings.barNumberFlag, 0x37);
  f.model.Store(21, Number(0));
  EXPECT_EQ(f.doc.settings.pageSettings.barNumberFlag, 0x36);
  // Proportional spacing comes back as it was when switched on again.
  f.doc.settings.pageSettings.proportionalSpacing = 3;
  f.model.Store(20, Number(0));
  EXPECT_EQ(f.doc.settings.pageSettings.proportionalSpacing, 0);
  f.model.Store(20, Number(1));
  EXPECT_EQ(f.doc.settings.pageSettings.proportionalSpacing, 3);
}

TEST(PropertyModel, PropertiesThatStoreNothingLeaveNoUndoEntry) {
  Fixture f;
  for (int number : {25, 30, 42, kFamilyProperty}) {
    EXPECT_EQ(f.model.Store(number, Number(0)), StoreEffect::kLayoutReset) << number;
  }
  EXPECT_FALSE(f.doc.CanUndo());
  EXPECT_FALSE(f.doc.IsModified());
  EXPECT_EQ(f.model.Store(99, Number(0)), StoreEffect::kNothing);  // an instrument group
}

TEST(PropertyModel, UndoGivesTheSavedDocumentBackAndRedoReappliesIt) {
  for (const auto& [number, value] : {std::pair{11, Text("Lute book")}, std::pair{15, Number(222)},
                                      std::pair{22, Text("Landscape")}, std::pair{24, Text("Dowland")},
                                      std::pair{37, Number(60)}, std::pair{44, Number(1)}}) {
    Fixture f;
    const std::string before = f.doc.XmlText();
    f.model.Store(number, value);
    const std::string after = f.doc.XmlText();
    ASSERT_NE(after, before) << number;
    // The undo list names the entry after the property.
    EXPECT_EQ(f.doc.UndoNames(), std::vector<std::string>{std::string(FindProperty(number)->name)});
    f.doc.OnEditUndo();
    EXPECT_EQ(FirstDifference(f.doc.XmlText(), before), "") << number;
    f.doc.OnEditRedo();
    EXPECT_EQ(FirstDifference(f.doc.XmlText(), after), "") << number;
    f.doc.OnEditUndo();
    EXPECT_EQ(FirstDifference(f.doc.XmlText(), before), "") << number;
  }
}

TEST(PropertyModel, FontsAreStoredWithAnAbsoluteHeight) {
  Fixture f;
  LogFont font = f.Shown(27).font;
  font.lfHeight = -40;
  font.lfFaceName = "Times New Roman";
  font.lfItalic = 1;
  f.model.Store(27, PropertyValue::Font(font));
  EXPECT_EQ(f.Live().Title().font.logFont.lfHeight, 40);
  EXPECT_EQ(f.Live().Title().font.logFont.lfFaceName, "Times New Roman");
  EXPECT_EQ(f.Shown(27).font.lfItalic, 1);
}

TEST(PropertyModel, VisibleExistsWithMoreThanOneDefinitionAndInvertsTheFlag) {
  Fixture f;
  ASSERT_EQ(f.Live().definitions.size(), 1u);
  auto groups = f.model.Instruments();
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].number, kFirstInstrumentGroup);
  EXPECT_FALSE(groups[0].visibleNumber.has_value());

  f.Live().AddInstrument(std::make_unique<CInstrumentDlg>());
  groups = f.model.Instruments();
  ASSERT_EQ(groups.size(), 2u);
  ASSERT_TRUE(groups[1].visibleNumber.has_value());
  EXPECT_EQ(*groups[1].visibleNumber, kFirstVisibleCheck + 1);
  const int32_t before = f.Live().definitions.at(1)->visible;
  EXPECT_EQ(f.model.Store(kFirstVisibleCheck + 1, Number(0)), StoreEffect::kSectionLayout);
  EXPECT_EQ(f.Live().definitions.at(1)->visible, before != 0 ? 0 : 1);
  f.model.Store(kFirstVisibleCheck + 1, Number(0));
  EXPECT_EQ(f.Live().definitions.at(1)->visible, before != 0 ? 1 : 0);
  // A stale grid naming a definition the section does not have changes nothing.
  EXPECT_EQ(f.model.Store(kFirstVisibleCheck + 7, Number(0)), StoreEffect::kNothing);
}

TEST(PropertyModel, KeyNamesGiveStepsInEitherCase) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"A / la", 5}, {"a", 5}, {"B", 6}, {"C / do", 0}, {"d", 1}, {"G / sol", 4},
      {"H", std::nullopt}, {" C", std::nullopt}, {"7", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& [text, step] : cases) EXPECT_EQ(KeyStepOfName(text), step) << text;
}

TEST(PropertyModel, TheTableNumbersEveryGroupAndProperty) {
  std::set<int> numbers;
  for (const PropertyRow& row : PropertyTable()) {
    EXPECT_TRUE(numbers.insert(row.number).second) << row.number;
    if (row.parent >= 0) {
      const PropertyRow* parent = FindProperty(row.parent);
      ASSERT_NE(parent, nullptr) << row.number;
      EXPECT_EQ(parent->kind, PropertyKind::kGroup);
    }
  }
  for (int n = 0; n <= 45; ++n) EXPECT_EQ(numbers.count(n), n == 10 ? 0u : 1u) << n;
  EXPECT_EQ(FindProperty(31)->options.size(), 7u);
  EXPECT_EQ(FindProperty(37)->maximum, 200);
}

}  // namespace
}  // namespace vornel::properties
