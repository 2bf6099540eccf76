#include "view/ui/dialogs/WxEntryForms.h"

#include "layout/ui/dialogs/ChordDialogWindows.h"
#include "layout/ui/dialogs/SmallDialogWindows.h"
#include "view/ui/charts/ChordChartDialog.h"
#include "view/ui/charts/SymbolChooserDialog.h"
#include "view/ui/dialogs/RhythmPatternDialog.h"

namespace vornel {

bool WxEntryForms::Has(EntryForm form) const {
  switch (form) {
    case EntryForm::kChordEffect:
    case EntryForm::kRhythmPattern:
    case EntryForm::kSlurControl:
    case EntryForm::kTranspose:
    case EntryForm::kTransformations:
    case EntryForm::kSymbolChooser:
    case EntryForm::kChartConfiguration: return true;
    default: return false;
  }
}

std::optional<uint16_t> WxEntryForms::ChordEffect(uint16_t dy) {
  CChordEffectDlg fields;
  fields.From(dy);
  if (!ShowStructDialog<ChordEffectDialog>(parent_, fields)) return std::nullopt;
  return static_cast<uint16_t>(fields.Word());
}

std::optional<RhythmPatternChoice> WxEntryForms::RhythmPattern(const RhythmPatternChoice& initial) {
  CRhythmPattern fields;
  fields.From(initial.pattern);
  fields.padOtherVoice = fields.padOtherVoice || initial.otherVoiceToo;
  RhythmPatternDialog dialog(parent_, fields, initial.definition);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  RhythmPatternChoice choice = initial;
  choice.pattern = fields.Pattern(fields.bars);
  choice.otherVoiceToo = fields.padOtherVoice;
  return choice;
}

std::optional<SlurChoice> WxEntryForms::SlurControl(const SlurChoice& initial) {
  CSlurControlDlg fields;
  fields.steps = initial.steps;
  fields.position = initial.vertical;
  fields.above = initial.linkAbove;
  fields.type = initial.type;
  if (!ShowStructDialog<SlurControlDialog>(parent_, fields)) return std::nullopt;
  SlurChoice choice = initial;
  choice.steps = fields.steps;
  choice.vertical = fields.position;
  choice.linkAbove = fields.above;
  choice.type = fields.type;
  return choice;
}

std::optional<TransposeChoice> WxEntryForms::Transpose() {
  CTransposeDlg fields;
  if (!ShowStructDialog<TransposeDialog>(parent_, fields)) return std::nullopt;
  return TransposeChoice{fields.halfSteps, fields.adjustFingerings};
}

std::optional<std::vector<ChordOperation>> WxEntryForms::Transformations(int selectedCount) {
  COperationDlg fields;
  fields.count = selectedCount;
  if (!ShowStructDialog<TransformationsDialog>(parent_, fields)) return std::nullopt;
  return fields.Finish();
}

std::optional<int32_t> WxEntryForms::ChooseSymbol(int32_t current, bool tablature) {
  return vornel::ChooseSymbol(parent_, current, tablature);
}

bool WxEntryForms::ConfigureChordChart(CTabInstrument& instrument) { return ShowChordChartDlg(parent_, instrument); }

}  // namespace vornel
