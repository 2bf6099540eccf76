#include "layout/ui/dialogs/MetaEventDialogWindows.h"

#include <wx/button.h>

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

ContinuoDialog::ContinuoDialog(wxWindow* parent, CContinuoDlg& fields) : StructDialog(parent, "Figured bass", fields) {
  controls_.Text(kText, "Figures:", working_.text)->SetMaxLength(CContinuoDlg::kMaxText);
  controls_.Check(kAbove, "Above staff", working_.aboveStaff);
  controls_.Number(kSpace, "Add vertical space:", 0, 15, working_.space);
  FinishLayout();
}

EndingDialog::EndingDialog(wxWindow* parent, CEndingDlg& fields)
    : StructDialog(parent, "Extended action dialog", fields) {
  controls_.Text(kText, "Text", working_.text);
  controls_.Number(kBarLength, "Horizontal bar length:", 0, 12, working_.barLength);
  controls_.Number(kTop, "Top position:", 0, 96, working_.top);
  controls_.Choice(kType, "Type", CEndingDlg::kTypes, working_.type);
  FinishLayout();
}

CrescendoDialog::CrescendoDialog(wxWindow* parent, CCrescendo& fields)
    : StructDialog(parent, fields.rasgueado ? "Rasgueado" : "Crescendo", fields) {
  controls_.Slider(kHorizontal, "Horizontal intervals:", 0, 32, working_.horizontal);
  wxSlider* volume = controls_.Slider(kVolume, fields.rasgueado ? "" : "MIDI volume:", 0, 60, working_.volume);
  volume->Show(!fields.rasgueado);
  controls_.Slider(kVertical, fields.rasgueado ? "Speed" : "Vertical intervals:", -30, 30, working_.vertical);
  FinishLayout();
}

BarreDialog::BarreDialog(wxWindow* parent, CBarreDlg& fields) : StructDialog(parent, "Barré editor", fields) {
  controls_.Number(kFret, "Fret position:", 0, 24, working_.fret);
  controls_.Number(kExtent, "Horizontal extent:", 0, 96, working_.extent);
  controls_.Check(kHalf, "Half-barre", working_.half);
  controls_.Check(kLatin, "Latin numerals", working_.latin);
  FinishLayout();
}

BracketDialog::BracketDialog(wxWindow* parent, CMeta_LBracketDlg& fields)
    : StructDialog(parent, "Bracket properties", fields) {
  controls_.Slider(kHeight, "Bracket height", 1, 64, working_.height);
  controls_.Slider(kThickness, "Thickness", 1, 10, working_.thickness);
  controls_.Check(kFacesLeft, "Faces left", working_.facesLeft);
  controls_.Choice(kType, "Type", CMeta_LBracketDlg::kTypes, working_.type);
  FinishLayout();
}

DynamicsDialog::DynamicsDialog(wxWindow* parent, CDynamicCtrl& fields) : StructDialog(parent, "Dynamic control", fields) {
  wxChoice* type = controls_.Choice(kType, "Type:", CDynamicCtrl::kTypes, working_.type);
  wxSlider* volume = controls_.Slider(kVolume, "MIDI volume:", 0, 127, working_.volume);
  controls_.Slider(kExtent, "Extent:", 0, 64, working_.extent);
  type->Bind(wxEVT_CHOICE, [this, type, volume](wxCommandEvent&) {
    working_.ChooseType(type->GetSelection());
    volume->SetValue(working_.volume);
  });
  FinishLayout();
}

ClefDialog::ClefDialog(wxWindow* parent, CClefChange& fields) : StructDialog(parent, "Clef change dialog", fields) {
  CClefChange& w = working_;
  controls_.Check(kInsertClef, "Insert clef", w.insertClef);
  controls_.Choice(kClef, "Clef", CClefChange::kClefs, w.clef);
  controls_.Number(kRaise, "Raise clef by:", -12, 12, w.raise);
  controls_.Check(kInsertKey, "Insert key", w.insertKey);
  controls_.Check(kSharp, "Sharp (clear: Bemol)", w.sharp);
  controls_.Number(kCount, "Clef Alterations:", 0, 7, w.count);
  controls_.Choice(kKey, "Key", CClefChange::kKeys, w.key);
  controls_.Check(kMinor, "minor", w.minor);
  controls_.Choice(kAccidental, "Accidental", CClefChange::kAccidentals, w.accidental);
  FinishLayout();
}

RepriseDialog::RepriseDialog(wxWindow* parent, CMetaReprise& fields) : StructDialog(parent, "Reprise", fields) {
  CMetaReprise& w = working_;
  controls_.Check(kShortDots, "Short dots", w.shortDots);
  controls_.Check(kDrawLine, "Draw line", w.drawLine);
  controls_.Check(kLeft, "Left (clear: Right)", w.left);
  controls_.Choice(kGlyph, "Glyph", CMetaReprise::kGlyphs, w.glyph);
  controls_.Text(kText, "Text", w.text);
  controls_.Check(kItalic, "Italic", w.italic);
  controls_.Check(kBold, "Bold", w.bold);
  controls_.Choice(kSize, "Font size", CMetaReprise::kSizes, w.size);
  FinishLayout();
}

LyricsDialog::LyricsDialog(wxWindow* parent, CLyricsDlg& fields, FontChoiceFunction chooseFont)
    : StructDialog(parent, "Lyrics editor", fields), chooseFont_(std::move(chooseFont)) {
  SetBackgroundColour(wxColour(0xFA, 0xFA, 0xFA));
  controls_.Text(kText, "Lyrics:", working_.text)->SetMaxLength(CLyricsDlg::kMaxText);
  controls_.Number(kSpacing, "Spacing:", -3, 6, working_.spacing);
  controls_.Check(kBorder, "Border", working_.border);
  controls_.Check(kShaded, "Shaded", working_.shaded);
  const std::pair<int, const char*> buttons[] = {
      {kPrevious, "<< Previous chord"}, {kNext, "Next chord >>"},    {kProcessLine, "Process line"},
      {kClearAll, "Clear all"},         {kResetPositions, "Reset positions"}, {kAlignAll, "Align all"},
      {kFont, "Set font style"}};
  for (const auto& [id, label] : buttons) {
    auto* button = new wxButton(this, id, label);
    grid_->Add(button, 0, wxEXPAND | wxALL, 3);
    button->Bind(wxEVT_BUTTON, [this, id = id](wxCommandEvent&) { Press(id); });
  }
  FinishLayout();
}

void LyricsDialog::Press(int id) {
  controls_.FromWindow();
  switch (id) {
    case kPrevious: working_.Previous(); break;
    case kNext: working_.Next(); break;
    case kProcessLine: working_.ProcessLine(); break;
    case kClearAll: working_.ClearAll(); break;
    case kResetPositions: working_.ResetPositions(); break;
    case kAlignAll: working_.AlignAll(); break;
    case kFont:
      if (chooseFont_) chooseFont_(working_.font);
      break;
    default: return;
  }
  controls_.ToWindow();
  UpdateControls();
}

void LyricsDialog::UpdateControls() {
  FindWindow(kNext)->Enable(working_.CanGoNext());
  FindWindow(kPrevious)->Enable(working_.CanGoPrevious());
  FindWindow(kFont)->Enable(static_cast<bool>(chooseFont_));
}

bool WxMetaEventDialogs::EditClef(CClefChange& dialog) { return ShowStructDialog<ClefDialog>(parent_, dialog); }

bool WxMetaEventDialogs::EditReprise(CMetaReprise& dialog) { return ShowStructDialog<RepriseDialog>(parent_, dialog); }

bool WxMetaEventDialogs::EditLyrics(CLyricsDlg& dialog) {
  LyricsDialog window(parent_, dialog, chooseFont_);
  return window.ShowModal() == wxID_OK;
}

bool WxMetaEventDialogs::EditContinuo(CContinuoDlg& dialog) { return ShowStructDialog<ContinuoDialog>(parent_, dialog); }

bool WxMetaEventDialogs::EditEnding(CEndingDlg& dialog) { return ShowStructDialog<EndingDialog>(parent_, dialog); }

bool WxMetaEventDialogs::EditCrescendo(CCrescendo& dialog) { return ShowStructDialog<CrescendoDialog>(parent_, dialog); }

bool WxMetaEventDialogs::EditBarre(CBarreDlg& dialog) { return ShowStructDialog<BarreDialog>(parent_, dialog); }

bool WxMetaEventDialogs::EditBracket(CMeta_LBracketDlg& dialog) { return ShowStructDialog<BracketDialog>(parent_, dialog); }

bool WxMetaEventDialogs::EditDynamics(CDynamicCtrl& dialog) { return ShowStructDialog<DynamicsDialog>(parent_, dialog); }

bool WxMetaEventDialogs::EditTimeSignature(CTimeSignatureDlg& dialog) {
  return ShowStructDialog<TimeSignatureDialog>(parent_, dialog);
}

bool WxMetaEventDialogs::EditLegato(LegatoDlg& dialog) { return ShowStructDialog<LegatoDialog>(parent_, dialog); }

bool WxMetaEventDialogs::EditHyperlink(CMetaHyperlink& dialog) {
  return ShowStructDialog<HyperlinkDialog>(parent_, dialog);
}

}  // namespace vornel
