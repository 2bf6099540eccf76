#include "layout/ui/dialogs/SectionDialogWindows.h"

#include <wx/button.h>

#include "layout/ui/dialogs/ImagePreview.h"
#include "layout/ui/dialogs/PaperSetup.h"
#include "model/text/CRTFPreface.h"
#include "model/score/CSystemArray.h"

namespace vornel {

namespace {

constexpr std::string_view kImageFiles = "*.jpg;*.jpeg;*.png;*.gif;*.bmp;*.tif;*.tiff;*.pcx;*.tga";

}  // namespace

SectionPropertiesDialog::SectionPropertiesDialog(wxWindow* parent, CSectionDlg& fields, FontChoiceFunction chooseFont)
    : StructDialog(parent, "Section properties", fields), chooseFont_(std::move(chooseFont)) {
  CSectionDlg& w = working_;
  controls_.TextWithButtons(kName, "Name:", w.name, {{kNameFont, "...", FontButton(0)}});
  // "Global": the author, as it stands in the field, for every section of the document.
  std::function<void()> global;
  if (w.applyAuthorToAllSections) {
    global = [this] {
      controls_.FromWindow();
      working_.applyAuthorToAllSections(working_.author);
    };
  }
  controls_.TextWithButtons(kAuthor, "Author:", w.author, {{kAuthorFont, "...", FontButton(1)}, {kGlobal, "Global", global}});
  controls_.TextWithButtons(kComments, "Comments:", w.comments, {{kCommentsFont, "...", FontButton(2)}}, wxTE_MULTILINE);
  controls_.TextWithButtons(kEndText, "End text:", w.endText, {{kEndTextFont, "...", FontButton(3)}});
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
  auto* facsimiles = new wxButton(this, kFacsimileList, "Facsimile list");
  auto* commentsPage = new wxButton(this, kCommentsPage, "Comments page");
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(facsimiles, 0, wxRIGHT, 3);
  buttons->Add(commentsPage);
  grid_->AddSpacer(1);
  grid_->Add(buttons, 0, wxALL, 3);
  // The list dialog and the rich-text editor edit the dialog's copies; this dialog's OK
  // stores them.
  facsimiles->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { working_.facsimiles.Run(); });
  commentsPage->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([this] {
      CRTFPreface page;
      page.text = working_.commentsPage;
      if (page.Edit() != 0) working_.commentsPage = page.text;
    });
  });
  pageBreak_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
    working_.pageBreakAfter = pageBreak_->GetValue();
    UpdateControls();
  });
  FinishLayout();
}

void SectionPropertiesDialog::UpdateControls() { blankPage_->Enable(working_.BlankPageEnabled()); }

std::function<void()> SectionPropertiesDialog::FontButton(size_t index) {
  if (!chooseFont_) return {};
  return [this, index] { chooseFont_(working_.fonts[index]); };
}

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

SystemOptionsDialog::SystemOptionsDialog(wxWindow* parent, CSegOffsetDlg& fields, FontChoiceFunction chooseFont)
    : StructDialog(parent, "System options", fields, 0xFAFFFF), chooseFont_(std::move(chooseFont)) {
  CSegOffsetDlg& w = working_;
  // "Browse": an image file for the path.
  const auto browse = [this] {
    RunGuarded([this] {
      const std::optional<std::string> file = Prompts().PromptOpenFile("Image", kImageFiles, {});
      if (file) static_cast<wxTextCtrl*>(FindWindow(kPath))->ChangeValue(wxString::FromUTF8(*file));
    });
  };
  controls_.TextWithButtons(kPath, "Path:", w.imagePath, {{kBrowse, "Browse", browse}});
  controls_.Number(kLeftIndent, "Left indentation:", 0, 20, w.leftIndent);
  controls_.Number(kImageSize, "Image size (%):", 10, 100, w.imageSize);
  controls_.Number(kRightIndent, "Right indentation:", 0, 20, w.rightIndent);
  controls_.Check(kNameInstruments, "Print instruments names", w.nameInstruments);
  // The name and the caption are one text of the system: both "..." choose its font.
  std::function<void()> font;
  if (chooseFont_) font = [this] { chooseFont_(working_.captionFont); };
  controls_.TextWithButtons(kName, "Name:", w.name, {{kNameFont, "...", font}});
  controls_.Check(kHidden, "Hide system", w.hidden);
  controls_.TextWithButtons(kCaption, "Caption:", w.caption, {{kCaptionFont, "...", font}});
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
  SectionPropertiesDialog window(parent_, dialog, chooseFont_);
  return window.ShowModal() == wxID_OK;
}

bool WxSectionDialogs::ParseVoices(CAnalyzeVoicesDlg& dialog) { return ShowStructDialog<ParseVoicesDialog>(parent_, dialog); }

bool WxSectionDialogs::EditSystem(CSegOffsetDlg& dialog) {
  SystemOptionsDialog window(parent_, dialog, chooseFont_);
  return window.ShowModal() == wxID_OK;
}

PageFormattingDialog::PageFormattingDialog(wxWindow* parent, CReformatPageDlg& fields,
                                           std::function<bool(CPageDlg&)> pageSetup)
    : StructDialog(parent, "Page formatting", fields) {
  CReformatPageDlg& w = working_;
  wxCheckBox* reformat = controls_.Check(kReformatStaves, "Reformat staves", w.reformatStaves);
  controls_.Slider(kStaves, "Staves per page", 1, 12, w.stavesPerPage);
  controls_.Slider(kSpacing, "Average spacing", 15, 300, w.spacing)->SetTickFreq(5);
  controls_.Choice(kTitle, "Title", CReformatPageDlg::kAlignments, w.titleAlignment);
  controls_.Choice(kAuthor, "Author", CReformatPageDlg::kAlignments, w.authorAlignment);
  controls_.Choice(kComments, "Comments", CReformatPageDlg::kAlignments, w.commentsAlignment);
  controls_.Check(kAllSections, "Reformat all sections", w.reformatAllSections);
  auto* page = new wxButton(this, kPageFormat, "Page format");
  grid_->AddSpacer(1);
  grid_->Add(page, 0, wxALL, 3);
  if (!pageSetup) pageSetup = [this](CPageDlg& settings) { return RunPageSetup(this, settings); };
  page->Enable(fields.pageSettings != nullptr);
  page->Bind(wxEVT_BUTTON, [this, pageSetup](wxCommandEvent&) {
    if (fields_.pageSettings != nullptr) pageSetup(*fields_.pageSettings);
  });
  reformat->Bind(wxEVT_CHECKBOX, [this, reformat](wxCommandEvent&) {
    working_.reformatStaves = reformat->GetValue();
    UpdateControls();
  });
  FinishLayout();
}

void PageFormattingDialog::UpdateControls() {
  FindWindow(kStaves)->Enable(working_.SlidersEnabled());
  FindWindow(kSpacing)->Enable(working_.SlidersEnabled());
}

TrackTextDialog::TrackTextDialog(wxWindow* parent, CTrackTextDlg& fields, FontChoiceFunction chooseFont)
    : StructDialog(parent, wxString::FromUTF8(fields.title.empty() ? "Track text settings" : fields.title), fields),
      chooseFont_(std::move(chooseFont)) {
  CTrackTextDlg& w = working_;
  controls_.Text(kText, "Text", w.text, wxTE_MULTILINE)->SetMinSize(wxSize(260, 80));
  const int low = fields.forEvent ? -10000 : 0;
  controls_.Number(kX, "X", low, 10000, w.x);
  controls_.Number(kY, "Y", low, 10000, w.y);
  // An event is always shown: its editor has no "Visible".
  controls_.Check(kVisible, "Visible", w.visible)->Show(!fields.forEvent);
  controls_.Check(kBorder, "Border", w.border);
  controls_.Check(kShaded, "Shaded", w.shaded);
  controls_.Check(kCentered, "Centered", w.centered);
  controls_.Slider(kTuning, "Font tuning", -20, 20, w.fontTuning);
  auto* font = new wxButton(this, kFont, "Set Font");
  grid_->AddSpacer(1);
  grid_->Add(font, 0, wxALL, 3);
  font->Enable(static_cast<bool>(chooseFont_));
  font->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (chooseFont_) chooseFont_(working_.font);
  });
  FinishLayout();
}

bool WxSectionDialogs::ReformatPage(CReformatPageDlg& dialog) {
  return ShowStructDialog<PageFormattingDialog>(parent_, dialog);
}

bool WxSectionDialogs::EditTrackText(CTrackTextDlg& dialog) {
  TrackTextDialog window(parent_, dialog, chooseFont_);
  return window.ShowModal() == wxID_OK;
}

}  // namespace vornel
