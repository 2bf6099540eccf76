#pragma once
// The forms that the note-entry and editing commands open (chord effect, rhythm pattern, slur
// control, transpose, chord transformations, symbol chooser, alfabeto letters) are dialogs of
// the window layer. The commands ask for them through this interface, struct in and struct or
// nothing out. Until a front end installs its own, no form exists: `Has` answers false and the
// commands that need one are shown disabled; tests install scripted forms.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/instrument/CInstrument.h"
#include "model/voice/nChordArray.h"

namespace vornel {

class CTabInstrument;

enum class EntryForm {
  kChordEffect,
  kRhythmPattern,
  kSlurControl,
  kTranspose,
  kTransformations,
  kSymbolChooser,
  kAlfabetoLetter,
  kChartConfiguration,
};

// What the slur control shows and gives back.
struct SlurChoice {
  int steps = 1;     // 1-8
  int vertical = 7;  // 0-14, 7 no offset
  bool linkAbove = false;
  int type = 0;      // 0-15
};

struct TransposeChoice {
  int halfSteps = 0;
  bool adjustFingerings = false;
};

// The rhythm pattern's dialog: the pattern and whether the other voice is filled too.
struct RhythmPatternChoice {
  CInstrument::RhythmPattern pattern;
  bool otherVoiceToo = false;
  const CInstrumentDlg* definition = nullptr;  // the line's, for the preview; not owned
};

// The letter a chart chord is filed under and its description.
struct AlfabetoLetterChoice {
  char16_t letter = u'A';
  std::string description;
};

class EntryForms {
 public:
  virtual ~EntryForms() = default;
  virtual bool Has(EntryForm /*form*/) const { return false; }
  // The chord effect word ("dy") edited; nothing when cancelled.
  virtual std::optional<uint16_t> ChordEffect(uint16_t dy) { (void)dy; return std::nullopt; }
  virtual std::optional<RhythmPatternChoice> RhythmPattern(const RhythmPatternChoice& initial) {
    (void)initial;
    return std::nullopt;
  }
  virtual std::optional<SlurChoice> SlurControl(const SlurChoice& initial) { (void)initial; return std::nullopt; }
  virtual std::optional<TransposeChoice> Transpose() { return std::nullopt; }
  // The chain of transformations for `selectedCount` chords (rotate and shift stay within it).
  virtual std::optional<std::vector<ChordOperation>> Transformations(int selectedCount) {
    (void)selectedCount;
    return std::nullopt;
  }
  // A symbol of the notation or tablature glyph set (0: none, a space).
  virtual std::optional<int32_t> ChooseSymbol(int32_t current, bool tablature) {
    (void)current;
    (void)tablature;
    return std::nullopt;
  }
  // The letter and description a chord is filed under in the alfabeto chart.
  virtual std::optional<AlfabetoLetterChoice> AlfabetoLetter(const AlfabetoLetterChoice& proposed) {
    (void)proposed;
    return std::nullopt;
  }
  // The chord-chart configuration: the alfabeto of the active line's tablature settings,
  // edited in place; true when it changed.
  virtual bool ConfigureChordChart(CTabInstrument& instrument) { (void)instrument; return false; }
};

// The forms in force.
EntryForms& EntryFormsInForce();

// Installs `forms` for its lifetime and restores the previous ones after.
class ScopedEntryForms {
 public:
  explicit ScopedEntryForms(EntryForms& forms);
  ~ScopedEntryForms();
  ScopedEntryForms(const ScopedEntryForms&) = delete;
  ScopedEntryForms& operator=(const ScopedEntryForms&) = delete;

 private:
  EntryForms* previous_;
};

}  // namespace vornel
