#pragma once
// "Alfabeto function": the letter a chord is filed under in the alfabeto chart and its
// description; and the entry forms that show it for the score view's alfabeto commands.

#include <wx/dialog.h>

#include "model/voice/EntryForms.h"

class wxTextCtrl;

namespace vornel {

class AlfabetoFunctionDialog : public wxDialog {
 public:
  enum : int { kLetter = 1740, kDescription = 1503 };

  AlfabetoFunctionDialog(wxWindow* parent, AlfabetoLetterChoice& choice);
  bool TransferDataToWindow() override;
  // A letter outside 'A' to '\' (an empty field) beeps and keeps the dialog open.
  bool TransferDataFromWindow() override;

 private:
  void OnLetterTyped(wxCommandEvent& event);

  AlfabetoLetterChoice& choice_;
  wxTextCtrl* letter_;
  wxTextCtrl* description_;
};

// The alfabeto letter form over the forms installed before (which answer every other form).
class AlfabetoEntryForms : public EntryForms {
 public:
  AlfabetoEntryForms(wxWindow* parent, EntryForms& others) : parent_(parent), others_(others) {}
  bool Has(EntryForm form) const override;
  std::optional<AlfabetoLetterChoice> AlfabetoLetter(const AlfabetoLetterChoice& proposed) override;

  std::optional<uint16_t> ChordEffect(uint16_t dy) override { return others_.ChordEffect(dy); }
  std::optional<RhythmPatternChoice> RhythmPattern(const RhythmPatternChoice& initial) override {
    return others_.RhythmPattern(initial);
  }
  std::optional<SlurChoice> SlurControl(const SlurChoice& initial) override { return others_.SlurControl(initial); }
  std::optional<TransposeChoice> Transpose() override { return others_.Transpose(); }
  std::optional<std::vector<ChordOperation>> Transformations(int selectedCount) override {
    return others_.Transformations(selectedCount);
  }
  std::optional<int32_t> ChooseSymbol(int32_t current, bool tablature) override {
    return others_.ChooseSymbol(current, tablature);
  }
  bool ConfigureChordChart(CTabInstrument& instrument) override { return others_.ConfigureChordChart(instrument); }

 private:
  wxWindow* parent_;
  EntryForms& others_;
};

}  // namespace vornel
