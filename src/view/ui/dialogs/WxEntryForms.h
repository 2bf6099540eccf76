#pragma once
// The forms of the note-entry and editing commands shown as dialogs: chord effect, rhythm
// pattern, slur control, transpose, chord transformations, the symbol chooser and the chord
// chart configuration. The alfabeto letter is not among them.

#include "model/voice/EntryForms.h"

class wxWindow;

namespace vornel {

class WxEntryForms : public EntryForms {
 public:
  explicit WxEntryForms(wxWindow* parent) : parent_(parent) {}
  bool Has(EntryForm form) const override;
  std::optional<uint16_t> ChordEffect(uint16_t dy) override;
  std::optional<RhythmPatternChoice> RhythmPattern(const RhythmPatternChoice& initial) override;
  std::optional<SlurChoice> SlurControl(const SlurChoice& initial) override;
  std::optional<TransposeChoice> Transpose() override;
  std::optional<std::vector<ChordOperation>> Transformations(int selectedCount) override;
  std::optional<int32_t> ChooseSymbol(int32_t current, bool tablature) override;
  bool ConfigureChordChart(CTabInstrument& instrument) override;

 private:
  wxWindow* parent_;
};

}  // namespace vornel
