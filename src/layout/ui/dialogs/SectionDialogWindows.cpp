#include "layout/ui/dialogs/SectionDialogWindows.h"

#include "layout/ui/dialogs/ImagePreview.h"
#include "model/CSystemArray.h"

namespace vornel {

SectionPropertiesDialog::SectionPropertiesDialog(wxWindow* parent, CSectionDlg& fields)
    : StructDialog(parent, "Section properties", fields) {
  CSectionDlg& w = working_;
  controls_.Text(kName, "Name:", w.name);
  controls_.Text(kAuthor, "Author:", w.author);
  controls_.Text(kComments, "Comments:", w.comments, wxTE_MULTILINE);
  controls_.Text(kEndText, "End text:", w.endText);
  controls_.Choice(kBeatUnit, "Beat unit:", CSectionDlg::kBeatUnits, w.beatUnit);
  controls_.Number(kTempo, "Tempo:", 0, CSectionDlg::kMaxTempo, w.tempo);
  controls_.Choice(kMovement, "Movement:", CSystemArray::kMovementNames, w.movement);
  controls_.Number(kNumerator, "Time signature:", 1, 32, w.numerator);
  controls_.Number(kDenominator, "/", 1, 32, w.denominator);
  static constexpr std::array<std::string_view, 2> kAccidentalKinds = {"Flat/Bemol", "Sharp/Diese"};
  controls_.Choice(kFlat, "Key:", kAccidentalKinds, w.accidentalKind);
  controls_.Number(kAlterations, "Alterations:", 0, 7, w.alterations);
  controls_.Choice(kKeyLetter, "Key name:", CSectionDlg::kKeyLetters, w.keyLetter);
  controls_.Choice(kKeyAccidental, "Key accidental:", CSectionDlg::kKeyAccidentals, w.keyAccidental);
  controls_.Check(kMelodicMinor, "Melodic minor", w.melodicMinor);
  controls_.Choice(kMode, "Mode:", CSectionDlg::kModes, w.mode);
  controls_.Number(kLeftOffset, "Left offset (mm):", -10, 10, w.leftOffset);
  controls_.Number(kBarOffset, "Bar number offset:", 0, 127, w.barOffset);
  controls_.Number(kStavesPerPage, "Staves per page:", 1, 24, w.stavesPerPage);
  controls_.Check(kMidiRepeats, "Midi Repeats On", w.midiRepeats);
  controls_.Check(kResetOffsets, "Reset all sections offsets", w.resetAllOffsets);
  pageBreak_ = controls_.Check(kPageBreakAfter, "Page break after:", w.pageBreakAfter);
  blankPage_ = controls_.Check(kBlankPageAfter, "Insert blank page after:", w.blankPageAfter);
  controls_.Check(kExcludeFromContents, "Exclude from ToC", w.excludeFromContents);
  pageBreak_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
    working_.pageBreakAfter = pageBreak_->GetValue();
    UpdateControls();
  });
  FinishLayout();
}

void SectionPropertiesDialog::UpdateControls() { blankPage_->Enable(working_.BlankPageEnabled()); }

ParseVoicesDialog::ParseVoicesDialog(wxWindow* parent, CAnalyzeVoicesDlg& fields)
    : StructDialog(parent, "Parse voices", fields) {
  wxSpinCtrl* split =
      controls_.Number(kSplitPoint, "Default split point \n(MIDI value - midle C=60):", 0, 127, working_.splitPoint);
  controls_.Number(kHighRange, "High voice maximum range:", 0, 12, working_.highRange);
  grid_->AddSpacer(1);
  name_ = new wxStaticText(this, kPitchName, wxEmptyString);
  grid_->Add(name_, 0, wxALL, 3);
  split->Bind(wxEVT_SPINCTRL, [this, split](wxSpinEvent&) {
    working_.splitPoint = split->GetValue();
    UpdateControls();
  });
  FinishLayout();
}

void ParseVoicesDialog::UpdateControls() { name_->SetLabel(working_.SplitPointName()); }

SystemOptionsDialog::SystemOptionsDialog(wxWindow* parent, CSegOffsetDlg& fields)
    : StructDialog(parent, "System options", fields, 0xFAFFFF) {
  CSegOffsetDlg& w = working_;
  controls_.Text(kPath, "Path:", w.imagePath);
  controls_.Number(kLeftIndent, "Left indentation:", 0, 20, w.leftIndent);
  controls_.Number(kImageSize, "Image size (%):", 10, 100, w.imageSize);
  controls_.Number(kRightIndent, "Right indentation:", 0, 20, w.rightIndent);
  controls_.Check(kNameInstruments, "Print instruments names", w.nameInstruments);
  controls_.Text(kName, "Name:", w.name);
  controls_.Check(kHidden, "Hide system", w.hidden);
  controls_.Text(kCaption, "Caption:", w.caption);
  controls_.Check(kRestartBars, "Restart bar number sequence", w.restartBars);
  controls_.Check(kPrintTuning, "Print instrument tuning", w.printTuning);
  controls_.Check(kNoBracket, "No system bracket", w.noBracket);
  controls_.Choice(kPosition, "Image position:", CSegOffsetDlg::kPositions, w.imagePosition);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* get = new wxButton(this, kGet, "get!");
  auto* clear = new wxButton(this, kClear, "Clear");
  buttons->Add(get, 0, wxALL, 3);
  buttons->Add(clear, 0, wxALL, 3);
  grid_->AddSpacer(1);
  grid_->Add(buttons);
  get->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    controls_.FromWindow();
    PreviewImage(this, working_.imagePath);
  });
  clear->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    controls_.FromWindow();
    working_.Clear();
    controls_.ToWindow();
  });
  FinishLayout();
}

bool WxSectionDialogs::EditSection(CSectionDlg& dialog) {
  return ShowStructDialog<SectionPropertiesDialog>(parent_, dialog);
}

bool WxSectionDialogs::ParseVoices(CAnalyzeVoicesDlg& dialog) { return ShowStructDialog<ParseVoicesDialog>(parent_, dialog); }

bool WxSectionDialogs::EditSystem(CSegOffsetDlg& dialog) { return ShowStructDialog<SystemOptionsDialog>(parent_, dialog); }

}  // namespace vornel
