#include "layout/ui/dialogs/MetaEventDialogWindows.h"

#include <algorithm>

namespace vornel {

TimeSignatureDialog::TimeSignatureDialog(wxWindow* parent, CTimeSignatureDlg& fields)
    : StructDialog(parent, "Time signature", fields) {
  CTimeSignatureDlg& w = working_;
  controls_.Number(kBeats, "Beats per bar:", 1, 32, w.beats);
  controls_.Number(kBeatValue, "Beat value:", 1, 32, w.beatValue);
  controls_.Check(kVisible, "Visible", w.visible);
  controls_.Check(kFormat, "Format 4/4  && 2/2", w.format);
  controls_.Check(kNumeratorOnly, "Numerator only (short)", w.numeratorOnly);
  controls_.Check(kVerticalShift, "Allow vertical shift:", w.verticalShift);
  controls_.Slider(kSize, "Relative size:", 50, 120, w.relativeSize);
  controls_.Check(kDeleteMe, "Delete me", w.deleteMe);
  FinishLayout();
}

LegatoDialog::LegatoDialog(wxWindow* parent, LegatoDlg& fields) : StructDialog(parent, "Legato control", fields) {
  LegatoDlg& w = working_;
  controls_.Slider(kBegin, "Begin line:", -7, 7, w.beginLine);
  controls_.Slider(kEnd, "Ending line:", -7, 7, w.endLine);
  controls_.Slider(kSteps, "Number of horizontal steps:", 0, 64, w.steps);
  controls_.Slider(kDepth, "Curve Depth:", -36, 36, w.depth);
  controls_.Text(kText, "Text:", w.text);
  controls_.Check(kWavy, "Wavy", w.wavy);
  controls_.Check(kUndoOffset, "Undo offset", w.undoOffset);
  controls_.Check(kDeleteMe, "Delete me!", w.deleteMe);
  FinishLayout();
}

HyperlinkDialog::HyperlinkDialog(wxWindow* parent, CMetaHyperlink& fields)
    : StructDialog(parent, "Hyperlink metaevent", fields) {
  CMetaHyperlink& w = working_;
  wxChoice* type = controls_.Choice(kType, "Hyperlink Type", CMetaHyperlink::kTypes, w.type);
  controls_.Text(kCaption, "Caption text", w.caption);
  controls_.Text(kUrl, "URL", w.url);
  controls_.Slider(kSection, "Section number", 1, std::max(fields.sectionCount, 1), w.section);
  controls_.Slider(kBar, "Bar number", 1, 250, w.bar);
  controls_.Check(kPrintFullUrl, "Print full URL (PDF active links)", w.printFullUrl);
  type->Bind(wxEVT_CHOICE, [this, type](wxCommandEvent&) {
    working_.type = type->GetSelection();
    UpdateControls();
  });
  FinishLayout();
}

void HyperlinkDialog::UpdateControls() {
  const bool internal = working_.InternalLink();
  FindWindow(kSection)->Enable(internal);
  FindWindow(kBar)->Enable(internal);
  FindWindow(kUrl)->Enable(!internal);
}

bool WxMetaEventDialogs::EditTimeSignature(CTimeSignatureDlg& dialog) {
  return ShowStructDialog<TimeSignatureDialog>(parent_, dialog);
}

bool WxMetaEventDialogs::EditLegato(LegatoDlg& dialog) { return ShowStructDialog<LegatoDialog>(parent_, dialog); }

bool WxMetaEventDialogs::EditHyperlink(CMetaHyperlink& dialog) {
  return ShowStructDialog<HyperlinkDialog>(parent_, dialog);
}

}  // namespace vornel
