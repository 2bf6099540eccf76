#include "shell/ui/library/AssociationsDialog.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "platform/UserPrompts.h"
#include "platform/io/ProgramLauncher.h"
#include "shell/files/FileHelpers.h"

namespace vornel {

namespace {

struct FieldLook {
  const char* label;
  const char* title;
  const char* pattern;
  const char* previewTip;
  const char* clearTip;
};
constexpr FieldLook kFields[] = {
    {"Image:", "Image", "*.png;*.jpg;*.gif;*.jpeg;*.tif;*.bmp", "Image preview", "Clear image path"},
    {"PDF File:", "PDF files", "*.pdf", "PDF preview", "Clear PDF path"},
    {"HTML Page:", "HTML files", "*.html", "HTML preview", "Clear HTML path"},
};

std::function<void(const std::string&)>& ImagePreviewer() {
  static std::function<void(const std::string&)> previewer;
  return previewer;
}

wxString FromUtf8(const std::string& text) { return wxString::FromUTF8(text.c_str()); }
std::string ToUtf8(const wxString& text) { return std::string(text.utf8_str()); }

}  // namespace

CAssociationsDlg::CAssociationsDlg(wxWindow* parent, DocumentAssociationFields& fields, std::string documentFolder)
    : wxDialog(parent, wxID_ANY, "Document associations"), fields_(fields), documentFolder_(std::move(documentFolder)) {
  auto* grid = new wxFlexGridSizer(5, wxSize(4, 4));
  grid->AddGrowableCol(1);
  for (int f = kImage; f <= kHtml; ++f) {
    const FieldLook& look = kFields[f];
    grid->Add(new wxStaticText(this, wxID_ANY, look.label), 0, wxALIGN_CENTER_VERTICAL);
    edits[f] = new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, wxSize(320, -1));
    grid->Add(edits[f], 1, wxEXPAND);
    browseButtons[f] = new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxSize(32, -1));
    previewButtons[f] = new wxButton(this, wxID_ANY, "Preview");
    clearButtons[f] = new wxButton(this, wxID_ANY, "Clear");
    previewButtons[f]->SetToolTip(look.previewTip);
    clearButtons[f]->SetToolTip(look.clearTip);
    for (wxButton* button : {browseButtons[f], previewButtons[f], clearButtons[f]}) grid->Add(button);
    const Field field = static_cast<Field>(f);
    browseButtons[f]->Bind(wxEVT_BUTTON, [this, field](wxCommandEvent&) { RunGuarded([&] { Browse(field); }); });
    previewButtons[f]->Bind(wxEVT_BUTTON, [this, field](wxCommandEvent&) { RunGuarded([&] { Preview(field); }); });
    clearButtons[f]->Bind(wxEVT_BUTTON, [this, field](wxCommandEvent&) { RunGuarded([&] { Clear(field); }); });
  }
  includeFacsimiles = new wxCheckBox(this, wxID_ANY, "Include document facsimile");
  autoGenerateMidi = new wxCheckBox(this, wxID_ANY, "Auto Generate MIDI files");
  includeMidiFiles = new wxCheckBox(this, wxID_ANY, "Include MIDI files");
  includeMidiFiles->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { RunGuarded([&] { OnIncludeMidi(); }); });

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(grid, 0, wxEXPAND | wxALL, 8);
  for (wxCheckBox* box : {includeFacsimiles, autoGenerateMidi, includeMidiFiles}) sizer->Add(box, 0, wxLEFT | wxBOTTOM, 8);
  sizer->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
  SetSizerAndFit(sizer);
}

bool CAssociationsDlg::TransferDataToWindow() {
  edits[kImage]->ChangeValue(FromUtf8(fields_.imagePath));
  edits[kPdf]->ChangeValue(FromUtf8(fields_.pdfPath));
  edits[kHtml]->ChangeValue(FromUtf8(fields_.htmlPath));
  includeFacsimiles->SetValue(fields_.includeFacsimiles);
  autoGenerateMidi->SetValue(fields_.autoGenerateMidi);
  includeMidiFiles->SetValue(fields_.includeMidiFiles);
  // The HTML page is the HTML export's to set.
  for (wxWindow* control : {static_cast<wxWindow*>(edits[kHtml]), static_cast<wxWindow*>(previewButtons[kHtml]),
                            static_cast<wxWindow*>(browseButtons[kHtml])}) {
    control->Enable(!fields_.lockHtmlField);
  }
  return true;
}

bool CAssociationsDlg::TransferDataFromWindow() {
  fields_.imagePath = ToUtf8(edits[kImage]->GetValue());
  fields_.pdfPath = ToUtf8(edits[kPdf]->GetValue());
  fields_.htmlPath = ToUtf8(edits[kHtml]->GetValue());
  fields_.includeFacsimiles = includeFacsimiles->GetValue();
  fields_.autoGenerateMidi = autoGenerateMidi->GetValue();
  fields_.includeMidiFiles = includeMidiFiles->GetValue();
  return true;
}

void CAssociationsDlg::Preview(Field field) {
  const std::string path = ToUtf8(edits[field]->GetValue());
  if (path.empty()) {
    Prompts().Beep(BeepKind::kExclamation);
    return;
  }
  if (field == kImage && ImagePreviewer()) {
    ImagePreviewer()(path);
  } else {
    Programs().OpenWithDefault(path);
  }
}

void CAssociationsDlg::Clear(Field field) { edits[field]->ChangeValue(""); }

void CAssociationsDlg::TakeChosenFile(Field field, std::string path) {
  if (!documentFolder_.empty()) OfferCopyImageToDocumentFolder(path, documentFolder_);
  edits[field]->ChangeValue(FromUtf8(path));
}

void CAssociationsDlg::Browse(Field field) {
  const FieldLook& look = kFields[field];
  if (const auto chosen = Prompts().PromptOpenFile(look.title, look.pattern, documentFolder_)) {
    TakeChosenFile(field, *chosen);
  }
}

void CAssociationsDlg::OnIncludeMidi() { autoGenerateMidi->SetValue(includeMidiFiles->GetValue()); }

void CAssociationsDlg::SetImagePreviewer(std::function<void(const std::string& path)> previewer) {
  ImagePreviewer() = std::move(previewer);
}

bool WxAssociationsEditor::Edit(DocumentAssociationFields& fields, const std::string& documentFolder) {
  CAssociationsDlg dialog(wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr, fields, documentFolder);
  return dialog.ShowModal() == wxID_OK;
}

}  // namespace vornel
