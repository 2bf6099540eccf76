#include "view/ui/settings/DocumentSettingsWindows.h"

#include <wx/cmndata.h>
#include <wx/colordlg.h>
#include <wx/menu.h>
#include <wx/printdlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include "platform/UserPrompts.h"
#include "platform/ui/DialogChecks.h"
#include "platform/ui/WxText.h"
#include "platform/io/ProgramLauncher.h"
#include "midi/ui/TuningDialogWindows.h"
#include "layout/ui/dialogs/ImagePreview.h"
#include "view/ui/settings/TitlePageSettingsWindow.h"

namespace vornel {

namespace {

wxStaticBoxSizer* Group(wxWindow* parent, const wxString& label) {
  return new wxStaticBoxSizer(wxVERTICAL, parent, label);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

ColourButton::ColourButton(wxWindow* parent, uint32_t& colour, uint32_t basic)
    : wxPanel(parent, wxID_ANY), colour_(colour), basic_(basic) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  swatch_ = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(36, 18), wxBORDER_SIMPLE);
  auto* button = new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
  row->Add(swatch_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 3);
  row->Add(button);
  SetSizer(row);
  button->Bind(wxEVT_BUTTON, [this, button](wxCommandEvent&) {
    wxMenu menu;
    menu.Append(1, "Basic");
    menu.Append(2, "Finer");
    const int chosen = button->GetPopupMenuSelectionFromUser(menu);
    RunGuarded([&] {
      if (chosen == 1) ChooseBasic();
      if (chosen == 2) ChooseFiner();
    });
  });
}

void ColourButton::ChooseBasic() {
  colour_ = basic_;
  ShowColour();
}

void ColourButton::ChooseFiner() {
  wxColourData data;
  data.SetChooseFull(true);
  data.SetColour(ColourOfColorRef(colour_));
  wxColourDialog dialog(this, &data);
  if (dialog.ShowModal() != wxID_OK) return;
  colour_ = ColorRefOfColour(dialog.GetColourData().GetColour());
  ShowColour();
}

void ColourButton::ShowColour() {
  swatch_->SetBackgroundColour(ColourOfColorRef(colour_));
  swatch_->Refresh();
}

// ---------------------------------------------------------------------------------------------

PageSettingsDialog::PageSettingsDialog(wxWindow* parent, CPageDlg& page, PageSettingsProfile profile)
    : TexturedDialog(parent, wxID_ANY, "Page settings"), page_(page), profile_(std::move(profile)) {
  PageSettingsFields& f = fields_;
  auto* columns = new wxBoxSizer(wxHORIZONTAL);
  auto* left = new wxBoxSizer(wxVERTICAL);
  auto* right = new wxBoxSizer(wxVERTICAL);

  auto* layout = Group(this, "Sections layout and options");
  wxWindow* box = layout->GetStaticBox();
  auto* grid = FieldGrid();
  bound_.Number(box, grid, "Systems per page:", 1, 15, f.systemsPerPage);
  // The spin goes one further than the check allows, as the edit has it.
  blanks_ = bound_.Number(box, grid, "Blanks between sections", 0, 5, f.blanksBetweenSections);
  bound_.Slider(box, grid, "Horizontal cursor", 15, 300, f.cursorWidth, "x0.10mm");
  bound_.Slider(box, grid, "Tab lines thickness:", 1, 5, f.tablineThickness, "x0.05mm");
  grid->Add(new wxStaticText(box, wxID_ANY, "Staff line color"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  staffColour_ = new ColourButton(box, f.stafflineColor, PageSettingsFields::kBasicColour);
  grid->Add(staffColour_, 0, wxALL, 3);
  grid->Add(new wxStaticText(box, wxID_ANY, "Bar line color"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  barColour_ = new ColourButton(box, f.barlineColor, PageSettingsFields::kBasicColour);
  grid->Add(barColour_, 0, wxALL, 3);
  layout->Add(grid, 0, wxEXPAND);
  left->Add(layout, 0, wxEXPAND | wxALL, 3);

  auto* braille = Group(this, "Braille Paper settings");
  box = braille->GetStaticBox();
  grid = FieldGrid();
  bound_.Number(box, grid, "Columns", 20, 120, f.brailleColumns);
  bound_.Number(box, grid, "Lines", 12, 50, f.brailleLines);
  braille->Add(grid, 0, wxEXPAND);
  auto* orientation = new wxBoxSizer(wxHORIZONTAL);
  portrait_ = new wxRadioButton(box, wxID_ANY, "Portrait", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
  landscape_ = new wxRadioButton(box, wxID_ANY, "Landscape");
  orientation->Add(portrait_, 0, wxALL, 3);
  orientation->Add(landscape_, 0, wxALL, 3);
  braille->Add(orientation);
  left->Add(braille, 0, wxEXPAND | wxALL, 3);

  auto* numbering = Group(this, "Page numbering");
  box = numbering->GetStaticBox();
  grid = FieldGrid();
  auto* textRow = new wxBoxSizer(wxHORIZONTAL);
  pageText_ = new wxTextCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(160, -1));
  auto* pageFont = new wxButton(box, wxID_ANY, "Font");
  textRow->Add(pageText_, 1);
  textRow->Add(pageFont, 0, wxLEFT, 3);
  grid->Add(new wxStaticText(box, wxID_ANY, "Text:"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  grid->Add(textRow, 1, wxEXPAND | wxALL, 3);
  alignment_ = new wxChoice(box, wxID_ANY);
  for (std::string_view a : PageSettingsFields::kAlignments) alignment_->Append(WxText(a));
  grid->Add(new wxStaticText(box, wxID_ANY, "Alignment:"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  grid->Add(alignment_, 0, wxALL, 3);
  bound_.Number(box, grid, "Document page offset: ", -9999, 9999, f.pageOffset);
  numbering->Add(grid, 0, wxEXPAND);
  bound_.Check(box, numbering, "Do not print page numbers", f.noPageNumbers);
  bound_.Check(box, numbering, "Skip fist page number", f.skipFirstPageNumber);
  left->Add(numbering, 0, wxEXPAND | wxALL, 3);

  auto* bars = Group(this, "Bar numbers");
  box = bars->GetStaticBox();
  bound_.Check(box, bars, "Print every 5th bar number", f.barNumberFlag);
  grid = FieldGrid();
  bound_.Slider(box, grid, "Bar number height: ", 0, 7, f.barNumberHeight);
  bars->Add(grid, 0, wxEXPAND);
  bound_.Check(box, bars, "Outline numbers", f.outlineBarNumbers);
  auto* barFont = new wxButton(box, wxID_ANY, "Font");
  bars->Add(barFont, 0, wxALL, 3);
  right->Add(bars, 0, wxEXPAND | wxALL, 3);

  auto* paper = Group(this, "Paper sizes and margins");
  box = paper->GetStaticBox();
  grid = new wxFlexGridSizer(4, wxSize(6, 2));
  bound_.Number(box, grid, "Top", 0, 750, f.topMargin);
  bound_.Number(box, grid, "Left", 0, 500, f.leftMargin);
  bound_.Number(box, grid, "Right", 0, 500, f.rightMargin);
  bound_.Number(box, grid, "Bottom", 0, 500, f.bottomMargin);
  paper->Add(grid);
  auto* setup = new wxButton(box, wxID_ANY, "Set page sizes and orientation");
  paper->Add(setup, 0, wxALL, 3);
  right->Add(paper, 0, wxEXPAND | wxALL, 3);

  auto* options = Group(this, "Options");
  box = options->GetStaticBox();
  bound_.Check(box, options, "Print all sections", f.printAllSections);
  bound_.Check(box, options, "New page on new section", f.newPageOnSection);
  bound_.Check(box, options, "Print facsimiles", f.printFacsimiles);
  bound_.Check(box, options, "Do not print titles", f.skipTitles);
  bound_.Check(box, options, "Alternate margins", f.alternateMargins);
  bound_.Check(box, options, "Proportional spacing", f.proportionalSpacing);
  bound_.Check(box, options, "Vertical justification:", f.verticalJustification);
  bound_.Check(box, options, "Bracket systems", f.closedSystems);
  bound_.Check(box, options, "Center lyrics", f.centerLyrics);
  right->Add(options, 0, wxEXPAND | wxALL, 3);

  auto* comments = Group(this, "Section comments");
  box = comments->GetStaticBox();
  bound_.Check(box, comments, "Print section comments ", f.printComments);
  bound_.Check(box, comments, "Print section comments at end of document", f.commentsAtEnd);
  auto* fonts = new wxButton(box, wxID_ANY, "Document fonts");
  comments->Add(fonts, 0, wxALL, 3);
  right->Add(comments, 0, wxEXPAND | wxALL, 3);

  columns->Add(left, 1, wxEXPAND);
  columns->Add(right, 1, wxEXPAND);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(columns, 1, wxEXPAND | wxALL, 3);
  top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);

  pageFont->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      std::string text = pageText_->GetValue().utf8_string();
      if (EditPageNumberText(page_, text)) pageText_->ChangeValue(WxText(text));
    });
  });
  barFont->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] { ChooseDocumentFont(page_, kFontBarNumbers, profile_); });
  });
  fonts->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { ShowDocumentFonts(this, page_, profile_); }); });
  setup->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { PageSetup(); }); });
}

bool PageSettingsDialog::TransferDataToWindow() {
  fields_.Load(page_, profile_);
  bound_.ToWindow();
  pageText_->ChangeValue(WxText(fields_.pageText));
  alignment_->SetSelection(fields_.pageNumberAlignment >= 0 && fields_.pageNumberAlignment < 8
                               ? fields_.pageNumberAlignment
                               : wxNOT_FOUND);
  portrait_->SetValue(fields_.brailleOrientation == 0);
  landscape_->SetValue(fields_.brailleOrientation != 0);
  staffColour_->ShowColour();
  barColour_->ShowColour();
  return true;
}

bool PageSettingsDialog::TransferDataFromWindow() {
  bound_.FromWindow();
  fields_.pageText = pageText_->GetValue().utf8_string();
  fields_.pageNumberAlignment = alignment_->GetSelection();
  fields_.brailleOrientation = landscape_->GetValue() ? 1 : 0;
  return fields_.Store(page_, profile_);
}

void PageSettingsDialog::PageSetup() {
  wxPageSetupDialogData data;
  data.GetPrintData().SetOrientation(fields_.landscape ? wxLANDSCAPE : wxPORTRAIT);
  wxPageSetupDialog dialog(this, &data);
  if (dialog.ShowModal() != wxID_OK) return;
  const wxPageSetupDialogData& result = dialog.GetPageSetupDialogData();
  const wxSize size = result.GetPaperSize();  // millimetres
  fields_.TakePaper(size.x, size.y, result.GetPrintData().GetOrientation() == wxLANDSCAPE);
}

// ---------------------------------------------------------------------------------------------

DocumentFontsDialog::DocumentFontsDialog(wxWindow* parent, CPageDlg& page, PageSettingsProfile profile)
    : TexturedDialog(parent, wxID_ANY, "Document fonts", 0xFAFAFA, DialogTexture::kSheet),
      page_(page),
      profile_(std::move(profile)) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* columns = new wxBoxSizer(wxHORIZONTAL);
  auto* document = Group(this, "Document Fonts");
  auto* metaevents = Group(this, "Metaevent fonts");
  for (size_t i = 0; i < kDocumentFontCount; ++i) {
    // The fonts of texts placed by meta-events in their own group.
    const bool metaevent = i == kFontContinuo || i == kFontChordNames || i == kFontMidiEvents ||
                           i == kFontEndings || i == kFontFingerings || i == kFontSignatures;
    wxStaticBoxSizer* group = metaevent ? metaevents : document;
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* button = new wxButton(group->GetStaticBox(), wxID_ANY, WxText(kDocumentFontRoles[i]), wxDefaultPosition,
                                wxSize(120, -1));
    descriptions_[i] = new wxTextCtrl(group->GetStaticBox(), wxID_ANY, wxEmptyString, wxDefaultPosition,
                                      wxSize(220, -1), wxTE_READONLY);
    row->Add(button, 0, wxRIGHT, 3);
    row->Add(descriptions_[i], 1);
    group->Add(row, 0, wxEXPAND | wxALL, 2);
    button->Bind(wxEVT_BUTTON, [this, i](wxCommandEvent&) {
      RunGuarded([&] {
        if (ChooseDocumentFont(page_, i, profile_)) TransferDataToWindow();
      });
    });
  }
  columns->Add(document, 1, wxEXPAND | wxALL, 3);
  columns->Add(metaevents, 1, wxEXPAND | wxALL, 3);
  top->Add(columns, 1, wxEXPAND);
  auto* themeRow = new wxBoxSizer(wxHORIZONTAL);
  themeRow->Add(new wxStaticText(this, wxID_ANY, "Apply theme"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  theme_ = new wxChoice(this, wxID_ANY);
  for (std::string_view t : DocumentFontsFields::kThemes) theme_->Append(WxText(t));
  themeRow->Add(theme_);
  top->Add(themeRow, 0, wxALL, 6);
  top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);
  theme_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) { RunGuarded([&] { ApplyTheme(e.GetSelection()); }); });
}

bool DocumentFontsDialog::TransferDataToWindow() {
  fields_.Refresh(page_);
  for (size_t i = 0; i < kDocumentFontCount; ++i) descriptions_[i]->ChangeValue(WxText(fields_.descriptions[i]));
  return true;
}

void DocumentFontsDialog::ApplyTheme(int index) {
  if (fields_.RunTheme(page_, index)) TransferDataToWindow();
}

// ---------------------------------------------------------------------------------------------

DocumentAssociationsDialog::DocumentAssociationsDialog(wxWindow* parent, DocumentAssociationsFields& fields)
    : wxDialog(parent, wxID_ANY, "Document associations"), fields_(fields) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* grid = FieldGrid();
  const auto path = [&](const wxString& label) {
    auto* edit = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(320, -1));
    grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    grid->Add(edit, 1, wxEXPAND | wxALL, 3);
    return edit;
  };
  pdf_ = path("PDF");
  html_ = path("HTML");
  image_ = path("Image");
  top->Add(grid, 0, wxEXPAND | wxALL, 4);
  auto* checks = new wxBoxSizer(wxVERTICAL);
  bound_.Check(this, checks, "Include document facsimile", fields_.includeFacsimiles);
  bound_.Check(this, checks, "Include MIDI files", fields_.includeMidiFiles);
  bound_.Check(this, checks, "Auto Generate MIDI files", fields_.generateMidiFiles);
  top->Add(checks, 0, wxALL, 4);
  top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);
}

bool DocumentAssociationsDialog::TransferDataToWindow() {
  pdf_->ChangeValue(WxText(fields_.pdfPath));
  html_->ChangeValue(WxText(fields_.htmlPath));
  image_->ChangeValue(WxText(fields_.imagePath));
  bound_.ToWindow();
  return true;
}

bool DocumentAssociationsDialog::TransferDataFromWindow() {
  fields_.pdfPath = pdf_->GetValue().utf8_string();
  fields_.htmlPath = html_->GetValue().utf8_string();
  fields_.imagePath = image_->GetValue().utf8_string();
  bound_.FromWindow();
  return true;
}

// ---------------------------------------------------------------------------------------------

DocumentInformationDialog::DocumentInformationDialog(wxWindow* parent, CDocumentSettings& settings)
    : TexturedDialog(parent, wxID_ANY, "Document information", 0xF0F0F0, DialogTexture::kSheet),
      settings_(settings) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* grid = FieldGrid();
  for (size_t i = 0; i < texts_.size(); ++i) {
    const bool comments = i + 1 == texts_.size();
    grid->Add(new wxStaticText(this, wxID_ANY, WxText(DocumentInformationFields::kEntries[i].label)), 0,
              wxALIGN_CENTER_VERTICAL | wxALL, 3);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    texts_[i] = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(320, comments ? 80 : -1),
                               comments ? wxTE_MULTILINE : 0);
    auto* font = new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    row->Add(texts_[i], 1);
    row->Add(font, 0, wxLEFT, 3);
    grid->Add(row, 1, wxEXPAND | wxALL, 3);
    font->Bind(wxEVT_BUTTON, [this, i](wxCommandEvent&) {
      RunGuarded([&] {
        fields_.texts[i] = texts_[i]->GetValue().utf8_string();
        fields_.EditFont(settings_, i);
        texts_[i]->ChangeValue(WxText(fields_.texts[i]));
      });
    });
  }
  top->Add(grid, 1, wxEXPAND | wxALL, 4);

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* image = new wxButton(this, wxID_ANY, "Image");
  auto* pdf = new wxButton(this, wxID_ANY, "PDF");
  auto* html = new wxButton(this, wxID_ANY, "HTML");
  auto* zip = new wxButton(this, wxID_ANY, "Zip");
  auto* titlePage = new wxButton(this, wxID_ANY, "Title page");
  auto* facsimiles = new wxButton(this, wxID_ANY, "Facsimile list");
  auto* associations = new wxButton(this, wxID_ANY, "Edit Associations");
  image->SetToolTip("Image Preview");
  pdf->SetToolTip("PDF preview");
  html->SetToolTip("HTML preview");
  zip->SetToolTip("Review a zip bundle");
  for (wxButton* b : {image, pdf, html, zip, titlePage, facsimiles, associations}) {
    b->SetCursor(wxCursor(wxCURSOR_HAND));
    buttons->Add(b, 0, wxRIGHT, 3);
  }
  top->Add(buttons, 0, wxALL, 4);
  top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);

  // The list dialog edits the dialog's copy of the title page's image list; OK stores it.
  facsimiles->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { fields_.facsimiles.Run(); }); });
  titlePage->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] { ShowTitlePageSettings(this, settings_.titlePage); });
  });
  image->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      const std::string path = DocumentInformationFields::ImageToPreview(settings_);
      if (!path.empty()) PreviewImage(this, path);
    });
  });
  pdf->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] { DocumentInformationFields::OpenAssociation(settings_, CDocumentSettings::kPdfRendition); });
  });
  html->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] { DocumentInformationFields::OpenAssociation(settings_, CDocumentSettings::kHtmlTable); });
  });
  zip->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] { DocumentInformationFields::OpenAssociation(settings_, CDocumentSettings::kZipBundle); });
  });
  associations->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { EditAssociations(); }); });
}

bool DocumentInformationDialog::TransferDataToWindow() {
  fields_.Load(settings_);
  for (size_t i = 0; i < texts_.size(); ++i) texts_[i]->ChangeValue(WxText(fields_.texts[i]));
  return true;
}

bool DocumentInformationDialog::TransferDataFromWindow() {
  for (size_t i = 0; i < texts_.size(); ++i) fields_.texts[i] = texts_[i]->GetValue().utf8_string();
  fields_.Store(settings_);
  return true;
}

void DocumentInformationDialog::EditAssociations() {
  DocumentAssociationsFields fields;
  fields.Load(settings_);
  DocumentAssociationsDialog dialog(this, fields);
  if (dialog.ShowModal() == wxID_OK) fields.Store(settings_);
}

// ---------------------------------------------------------------------------------------------

bool ShowPageSettings(wxWindow* parent, CPageDlg& page, const PageSettingsProfile& profile) {
  PageSettingsDialog dialog(parent, page, profile);
  return dialog.ShowModal() == wxID_OK;
}

bool ShowDocumentFonts(wxWindow* parent, CPageDlg& page, const PageSettingsProfile& profile) {
  DocumentFontsDialog dialog(parent, page, profile);
  return dialog.ShowModal() == wxID_OK;
}

bool ShowDocumentInformation(wxWindow* parent, CDocumentSettings& settings) {
  DocumentInformationDialog dialog(parent, settings);
  return dialog.ShowModal() == wxID_OK;
}

bool WxSettingsDialogs::EditPageSettings(CPageDlg& page) { return ShowPageSettings(parent_, page, profile_); }

bool WxSettingsDialogs::EditDocumentFonts(CPageDlg& page) { return ShowDocumentFonts(parent_, page, profile_); }

bool WxSettingsDialogs::EditDocumentInformation(CDocumentSettings& settings) {
  return ShowDocumentInformation(parent_, settings);
}

bool WxSettingsDialogs::EditTitlePage(CTitlePage& page) { return ShowTitlePageSettings(parent_, page); }

bool WxSettingsDialogs::ChangeCourseTuning(const nTuning& tuning, CBourdonTuningDlg& choice) {
  CourseTuningDialog dialog(parent_, tuning, choice);
  return dialog.ShowModal() == wxID_OK;
}

}  // namespace vornel
