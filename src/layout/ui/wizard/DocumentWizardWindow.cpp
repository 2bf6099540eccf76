#include "layout/ui/wizard/DocumentWizardWindow.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <functional>

#include "platform/UserPrompts.h"

namespace vornel {

namespace {

wxString Wx(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }

wxSpinCtrl* Spin(wxWindow* parent, int low, int high) {
  return new wxSpinCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(110, -1), wxSP_ARROW_KEYS, low, high,
                        low);
}

void Row(wxWindow* parent, wxFlexGridSizer* grid, const wxString& label, wxWindow* control) {
  grid->Add(new wxStaticText(parent, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  grid->Add(control, 0, wxEXPAND | wxALL, 3);
}

wxCheckBox* Check(wxWindow* parent, wxFlexGridSizer* grid, const wxString& label) {
  auto* box = new wxCheckBox(parent, wxID_ANY, label);
  grid->AddSpacer(1);
  grid->Add(box, 0, wxALL, 3);
  return box;
}

}  // namespace

// --- the document page

DocumentWizardPageWindow::DocumentWizardPageWindow(wxWizard* parent, CDocumentWizard& wizard)
    : wxWizardPageSimple(parent), wizard_(wizard), page_(wizard.documentPage),
      background_(DialogTexture::kSheet, 0xF0FAF0) {
  background_.Attach(*this);
  auto* grid = new wxFlexGridSizer(2, 0, 0);
  // A heading text with its font button; the font is the document's text's own.
  const auto heading = [&](const wxString& label, wxTextCtrl*& edit, bool authorText) {
    edit = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(260, -1));
    auto* font = new wxButton(this, wxID_ANY, "Font", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    font->Bind(wxEVT_BUTTON, [this, authorText](wxCommandEvent&) {
      RunGuarded([&] { wizard_.EditHeadingFont(authorText); });
    });
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(edit, 1, wxEXPAND);
    row->Add(font, 0, wxLEFT, 3);
    grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    grid->Add(row, 0, wxEXPAND | wxALL, 3);
  };
  heading("Book Title", title, false);
  heading("Book Author", author, true);
  imagePath = new wxTextCtrl(this, wxID_ANY);
  auto* browse = new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
  browse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      TransferDataFromWindow();
      if (wizard_.BrowseImage()) TransferDataToWindow();
    });
  });
  auto* image = new wxBoxSizer(wxHORIZONTAL);
  image->Add(imagePath, 1, wxEXPAND);
  image->Add(browse, 0, wxLEFT, 3);
  grid->Add(new wxStaticText(this, wxID_ANY, "Title page image"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  grid->Add(image, 0, wxEXPAND | wxALL, 3);
  portrait = new wxRadioButton(this, wxID_ANY, "Portrait", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
  landscape = new wxRadioButton(this, wxID_ANY, "Landscape");
  auto* orientation = new wxBoxSizer(wxHORIZONTAL);
  orientation->Add(portrait, 0, wxRIGHT, 8);
  orientation->Add(landscape);
  grid->AddSpacer(1);
  grid->Add(orientation, 0, wxALL, 3);
  firstMargin = Spin(this, 0, 2000);
  Row(this, grid, "Top margin:", firstMargin);
  secondMargin = Spin(this, 0, 2000);
  Row(this, grid, "Left margin:", secondMargin);
  frame = new wxChoice(this, wxID_ANY);
  for (const char* style : {"None", "Rectangle", "Double", "Triple"}) frame->Append(style);
  Row(this, grid, "Frame", frame);
  alternateMargins = Check(this, grid, "Alternate margins");
  printTitlePage = Check(this, grid, "Print title page");
  printContents = Check(this, grid, "Print table of contents");
  printAllSections = Check(this, grid, "Print all sections");
  newPageOnSection = Check(this, grid, "New page on new section");
  proportionalSpacing = Check(this, grid, "Proportional spacing");
  grid->AddGrowableCol(1);

  auto* commands = new wxBoxSizer(wxHORIZONTAL);
  const auto command = [&](const char* label, std::function<void()> action) {
    auto* button = new wxButton(this, wxID_ANY, label);
    button->Bind(wxEVT_BUTTON, [action = std::move(action)](wxCommandEvent&) { RunGuarded(action); });
    commands->Add(button, 0, wxALL, 4);
    return button;
  };
  command("Section fonts", [this] { wizard_.EditSectionFonts(); });
  command("More document properties", [this] {
    TransferDataFromWindow();
    if (wizard_.EditMoreProperties()) TransferDataToWindow();
  });
  loadTemplate = command("Load document template", [this] {
    if (wizard_.LoadDocumentTemplate()) TransferDataToWindow();
  });
  loadTemplate->Show(wizard_.OffersTemplate());
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 0, wxEXPAND);
  top->Add(commands, 0);
  SetSizerAndFit(top);
}

bool DocumentWizardPageWindow::TransferDataToWindow() {
  title->ChangeValue(wxString::FromUTF8(page_.title));
  author->ChangeValue(wxString::FromUTF8(page_.author));
  imagePath->ChangeValue(wxString::FromUTF8(page_.imagePath));
  portrait->SetValue(page_.orientation == 0);
  landscape->SetValue(page_.orientation == 1);
  firstMargin->SetValue(page_.firstMargin);
  secondMargin->SetValue(page_.secondMargin);
  frame->SetSelection(page_.frame >= 0 && page_.frame < 4 ? page_.frame : wxNOT_FOUND);
  alternateMargins->SetValue(page_.alternateMargins != 0);
  printTitlePage->SetValue(page_.printTitlePage != 0);
  printContents->SetValue(page_.printContents != 0);
  printAllSections->SetValue(page_.printAllSections != 0);
  newPageOnSection->SetValue(page_.newPageOnSection != 0);
  proportionalSpacing->SetValue(page_.proportionalSpacing != 0);
  return true;
}

bool DocumentWizardPageWindow::TransferDataFromWindow() {
  page_.title = title->GetValue().utf8_string();
  page_.author = author->GetValue().utf8_string();
  page_.imagePath = imagePath->GetValue().utf8_string();
  page_.orientation = landscape->GetValue() ? 1 : (portrait->GetValue() ? 0 : -1);
  page_.firstMargin = firstMargin->GetValue();
  page_.secondMargin = secondMargin->GetValue();
  page_.frame = frame->GetSelection();
  page_.alternateMargins = alternateMargins->GetValue() ? 1 : 0;
  page_.printTitlePage = printTitlePage->GetValue() ? 1 : 0;
  page_.printContents = printContents->GetValue() ? 1 : 0;
  page_.printAllSections = printAllSections->GetValue() ? 1 : 0;
  page_.newPageOnSection = newPageOnSection->GetValue() ? 1 : 0;
  page_.proportionalSpacing = proportionalSpacing->GetValue() ? 1 : 0;
  return true;
}

// --- the section page

SectionWizardPageWindow::SectionWizardPageWindow(wxWizard* parent, CWizardSection& page)
    : wxWizardPageSimple(parent), page_(page), background_(DialogTexture::kSheet, 0xF0FAF0) {
  background_.Attach(*this);
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* grid = new wxFlexGridSizer(3, 0, 0);
  const auto textRow = [&](const wxString& label, wxTextCtrl*& edit, bool authorText) {
    edit = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(220, -1));
    auto* more = new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    more->Bind(wxEVT_BUTTON, [this, authorText](wxCommandEvent&) {
      RunGuarded([&] {
        ReadControls();
        page_.EditHeadingText(authorText);
        TransferDataToWindow();
      });
    });
    grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    grid->Add(edit, 0, wxEXPAND | wxALL, 3);
    grid->Add(more, 0, wxALL, 3);
  };
  textRow("Name:", name, false);
  textRow("Author", author, true);
  grid->AddGrowableCol(1);
  top->Add(grid, 0, wxEXPAND);

  auto* numbers = new wxFlexGridSizer(4, 0, 0);
  alterations = Spin(this, 0, 7);
  Row(this, numbers, "Clef alterations", alterations);
  bemol = new wxRadioButton(this, wxID_ANY, "Bemol", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
  sharp = new wxRadioButton(this, wxID_ANY, "Sharp");
  numbers->Add(bemol, 0, wxALL, 3);
  numbers->Add(sharp, 0, wxALL, 3);
  numerator = Spin(this, 1, 32);
  Row(this, numbers, "Signature", numerator);
  denominator = Spin(this, 1, 32);
  Row(this, numbers, "/", denominator);
  tempo = Spin(this, 10, 200);
  Row(this, numbers, "Tempo", tempo);
  leftOffset = Spin(this, -7, 10);
  Row(this, numbers, "L.Offset (mm)", leftOffset);
  stavesPerPage = Spin(this, 1, 30);
  Row(this, numbers, "Staves per page", stavesPerPage);
  top->Add(numbers, 0, wxEXPAND);

  auto* slots = new wxFlexGridSizer(4, 0, 0);
  for (size_t slot = 0; slot < instruments.size(); ++slot) {
    instruments[slot] = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxSize(240, -1));
    instruments[slot]->Bind(wxEVT_CHOICE, [this, slot](wxCommandEvent&) {
      page_.SelectInstrument(slot, instruments[slot]->GetSelection());
    });
    auto* edit = new wxButton(this, wxID_ANY, "Edit");
    edit->Bind(wxEVT_BUTTON, [this, slot](wxCommandEvent&) {
      RunGuarded([&] {
        if (page_.EditInstrument(instruments[slot]->GetSelection(), slot) != 0) RefillInstruments();
      });
    });
    slots->Add(new wxStaticText(this, wxID_ANY, wxString::Format("Instrument %d", static_cast<int>(slot) + 1)), 0,
               wxALIGN_CENTER_VERTICAL | wxALL, 2);
    slots->Add(instruments[slot], 0, wxEXPAND | wxALL, 2);
    slots->Add(edit, 0, wxALL, 2);
    if (slot == 0) {
      slots->AddSpacer(1);
      continue;
    }
    auto* clear = new wxButton(this, wxID_ANY, "Clear");
    clear->Bind(wxEVT_BUTTON, [this, slot](wxCommandEvent&) {
      page_.ClearSlot(slot);
      instruments[slot]->SetSelection(wxNOT_FOUND);
    });
    slots->Add(clear, 0, wxALL, 2);
  }
  top->Add(slots, 0, wxEXPAND);
  auto* more = new wxButton(this, wxID_ANY, "More section options...");
  more->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      ReadControls();
      if (page_.MoreSectionOptions() != 0) TransferDataToWindow();
    });
  });
  auto* database = new wxButton(this, wxID_ANY, "Instrument database");
  database->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      if (page_.ChooseFromDatabase()) RefillInstruments();
    });
  });
  auto* pageSettings = new wxButton(this, wxID_ANY, "Page settings");
  pageSettings->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      if (page_.EditPageSettings() != 0) stavesPerPage->SetValue(page_.fields.stavesPerPage);
    });
  });
  auto* commands = new wxBoxSizer(wxHORIZONTAL);
  commands->Add(more, 0, wxALL, 4);
  commands->Add(pageSettings, 0, wxALL, 4);
  commands->Add(database, 0, wxALL, 4);
  top->Add(commands, 0);
  SetSizerAndFit(top);
  Bind(wxEVT_WIZARD_PAGE_SHOWN, [this](wxWizardEvent& event) {
    RefillInstruments();
    event.Skip();
  });
}

void SectionWizardPageWindow::RefillInstruments() {
  Freeze();
  const std::vector<std::string> names = page_.RefreshInstrumentNames();
  wxArrayString entries;
  for (const std::string& n : names) entries.Add(wxString::FromUTF8(n));
  for (size_t slot = 0; slot < instruments.size(); ++slot) {
    instruments[slot]->Set(entries);
    const int selected = page_.fields.selections[slot];
    instruments[slot]->SetSelection(selected >= 0 && static_cast<size_t>(selected) < names.size() ? selected
                                                                                                   : wxNOT_FOUND);
  }
  Thaw();
}

bool SectionWizardPageWindow::TransferDataToWindow() {
  const CWizardSection::Fields& f = page_.fields;
  name->ChangeValue(wxString::FromUTF8(f.name));
  author->ChangeValue(wxString::FromUTF8(f.author));
  alterations->SetValue(f.alterations);
  bemol->SetValue(f.flatsOrSharps == 0);
  sharp->SetValue(f.flatsOrSharps != 0);
  numerator->SetValue(f.numerator);
  denominator->SetValue(f.denominator);
  tempo->SetValue(f.tempo);
  leftOffset->SetValue(f.leftOffset);
  stavesPerPage->SetValue(f.stavesPerPage);
  RefillInstruments();
  return true;
}

void SectionWizardPageWindow::ReadControls() {
  CWizardSection::Fields& f = page_.fields;
  f.name = name->GetValue().utf8_string();
  f.author = author->GetValue().utf8_string();
  f.alterations = alterations->GetValue();
  f.flatsOrSharps = sharp->GetValue() ? 1 : 0;
  f.numerator = numerator->GetValue();
  f.denominator = denominator->GetValue();
  f.tempo = tempo->GetValue();
  f.leftOffset = leftOffset->GetValue();
  f.stavesPerPage = stavesPerPage->GetValue();
}

bool SectionWizardPageWindow::TransferDataFromWindow() {
  ReadControls();
  const std::string message = page_.Validate();
  if (message.empty()) return true;
  Prompts().ShowMessage(message, MessageKind::kWarning);
  return false;
}

// --- the wizard

DocumentWizardWindow::DocumentWizardWindow(wxWindow* parent, CDocumentWizard& wizard)
    : wxWizard(parent, wxID_ANY, Wx(wizard.Caption())), background_(DialogTexture::kSheet, 0xEBE6E6) {
  background_.Attach(*this);
  documentPage = new DocumentWizardPageWindow(this, wizard);
  sectionPage = new SectionWizardPageWindow(this, wizard.sectionPage);
  wxWizardPageSimple::Chain(documentPage, sectionPage);
  GetPageAreaSizer()->Add(documentPage);
  GetPageAreaSizer()->Add(sectionPage);
}

bool DocumentWizardWindow::Run() { return RunWizard(documentPage); }

bool WxDocumentWizardRunner::Run(CDocumentWizard& wizard) {
  DocumentWizardWindow window(wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr, wizard);
  return window.Run();
}

}  // namespace vornel
