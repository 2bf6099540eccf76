#include "shell/ui/library/FileFinderDialog.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/gauge.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <filesystem>

#include "platform/UserPrompts.h"
#include "platform/io/ProgramLauncher.h"
#include "shell/files/FileHelpers.h"
#include "shell/library/CVornelDatabase.h"

namespace vornel {

namespace {

wxString FromUtf8(const std::string& text) { return wxString::FromUTF8(text.c_str()); }

wxButton* AddButton(wxWindow* parent, wxSizer* sizer, const char* label, std::function<void()> run) {
  auto* button = new wxButton(parent, wxID_ANY, label);
  button->Bind(wxEVT_BUTTON, [run = std::move(run)](wxCommandEvent&) { RunGuarded(run); });
  sizer->Add(button, 0, wxEXPAND | wxBOTTOM, 4);
  return button;
}

}  // namespace

CFileFinderDlg::CFileFinderDlg(wxWindow* parent, FileFinder& finder, FileFinderDialogContext context)
    : wxDialog(parent, wxID_ANY, "Vornel files search dialog", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      finder_(finder),
      context_(std::move(context)) {
  SetBackgroundColour(wxColour(0xF0, 0xF5, 0xFA));
  auto* left = new wxBoxSizer(wxVERTICAL);
  auto* rootRow = new wxBoxSizer(wxHORIZONTAL);
  setRootButton = new wxButton(this, wxID_ANY, "Set Root Path");
  setRootButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { SetRootPath(); }); });
  rootPath = new wxStaticText(this, wxID_ANY, "", wxDefaultPosition, wxSize(360, -1), wxST_ELLIPSIZE_START);
  rootRow->Add(setRootButton, 0, wxRIGHT, 6);
  rootRow->Add(rootPath, 1, wxALIGN_CENTER_VERTICAL);
  left->Add(rootRow, 0, wxEXPAND | wxBOTTOM, 6);

  auto* options = new wxBoxSizer(wxHORIZONTAL);
  fileType = new wxChoice(this, wxID_ANY);
  for (const FinderFileType& type : FinderFileTypes()) fileType->Append(FromUtf8(std::string(type.text)));
  fileType->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { RunGuarded([&] { SearchAgain(); }); });
  recurse = new wxCheckBox(this, wxID_ANY, "Recurse folders");
  recurse->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { RunGuarded([&] { SearchAgain(); }); });
  sortByFileName = new wxCheckBox(this, wxID_ANY, "Sort by file name");
  sortByFileName->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { RunGuarded([&] { SortList(); }); });
  options->Add(fileType, 0, wxRIGHT, 6);
  options->Add(recurse, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  options->Add(sortByFileName, 0, wxALIGN_CENTER_VERTICAL);
  left->Add(options, 0, wxBOTTOM, 6);

  list = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(460, 280), 0, nullptr, wxLB_SINGLE | wxLB_HSCROLL);
  list->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { excludeButton->Enable(list->GetSelection() != wxNOT_FOUND); });
  list->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) {
    RunGuarded([&] {
      const int at = list->GetSelection();
      if (at != wxNOT_FOUND && context_.open && static_cast<size_t>(at) < finder_.files.size()) {
        context_.open(finder_.files[static_cast<size_t>(at)]);
      }
    });
  });
  left->Add(list, 1, wxEXPAND | wxBOTTOM, 6);
  countText = new wxStaticText(this, wxID_ANY, "");
  left->Add(countText, 0, wxBOTTOM, 4);
  progress = new wxGauge(this, wxID_ANY, 1);
  progress->Disable();
  left->Add(progress, 0, wxEXPAND | wxBOTTOM, 4);
  status = new wxStaticText(this, wxID_ANY, "", wxDefaultPosition, wxSize(460, -1), wxST_ELLIPSIZE_START);
  left->Add(status, 0, wxEXPAND);

  auto* right = new wxBoxSizer(wxVERTICAL);
  auto* maximumRow = new wxBoxSizer(wxHORIZONTAL);
  maximumRow->Add(new wxStaticText(this, wxID_ANY, "Maximum files to process:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  maximumFiles = new wxSpinCtrl(this, wxID_ANY, "", wxDefaultPosition, wxSize(90, -1), wxSP_ARROW_KEYS, 0, 1000000,
                                kDefaultMaxFilesToProcess);
  maximumRow->Add(maximumFiles);
  right->Add(maximumRow, 0, wxBOTTOM, 8);
  excludeButton = AddButton(this, right, "Exclude this file ", [this] { ExcludeSelected(); });
  groupButton = AddButton(this, right, "Build document group", [this] { BuildDocumentGroup(); });
  htmlButton = AddButton(this, right, "Create HTML page", [this] { CreateHtmlPage(); });
  convertButton = AddButton(this, right, "Convert to btz format", [this] { ConvertToBtz(); });
  compressButton = AddButton(this, right, "Compress btxml files", [this] { CompressFiles(); });
  zipButton = AddButton(this, right, "ZIP Backup", [this] { ZipBackup(); });
  right->AddStretchSpacer();
  closeButton = new wxButton(this, wxID_OK, "Close");
  closeButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) {
    // During a run the button cancels it, between files.
    if (running_) {
      cancelled_ = true;
      return;
    }
    event.Skip();
  });
  right->Add(closeButton, 0, wxEXPAND);

  auto* sizer = new wxBoxSizer(wxHORIZONTAL);
  sizer->Add(left, 1, wxEXPAND | wxALL, 8);
  sizer->Add(right, 0, wxEXPAND | wxTOP | wxRIGHT | wxBOTTOM, 8);
  SetSizerAndFit(sizer);
}

bool CFileFinderDlg::TransferDataToWindow() {
  rootPath->SetLabel(FromUtf8(finder_.rootPath));
  fileType->SetSelection(finder_.fileType);
  recurse->SetValue(finder_.recurse);
  sortByFileName->SetValue(finder_.sortByFileName);
  maximumFiles->SetValue(finder_.maxFilesToProcess);
  EnableForType();
  ShowList();
  return true;
}

bool CFileFinderDlg::TransferDataFromWindow() {
  finder_.fileType = std::max(fileType->GetSelection(), 0);
  finder_.recurse = recurse->GetValue();
  finder_.sortByFileName = sortByFileName->GetValue();
  finder_.maxFilesToProcess = maximumFiles->GetValue();
  return true;
}

void CFileFinderDlg::ShowList() {
  wxArrayString lines;
  for (const std::string& file : finder_.files) lines.Add(FromUtf8(file));
  list->Set(lines);
  countText->SetLabel(FromUtf8(finder_.CountText()));
  excludeButton->Enable(list->GetSelection() != wxNOT_FOUND);
}

void CFileFinderDlg::EnableForType() {
  const int type = finder_.fileType;
  convertButton->Enable(type == 2 || type == 4);
  compressButton->Enable(type == 1);
  zipButton->Enable(type != 0);
}

void CFileFinderDlg::SearchAgain() {
  TransferDataFromWindow();
  EnableForType();
  finder_.Search();
  ShowList();
  excludeButton->Disable();
}

void CFileFinderDlg::SetRootPath() {
  const auto folder = Prompts().PromptFolder("Set Vornel files search root path", finder_.rootPath);
  if (!folder || folder->empty()) return;
  finder_.rootPath = *folder;
  rootPath->SetLabel(FromUtf8(finder_.rootPath));
  sortByFileName->SetValue(false);
  recurse->SetValue(true);
  SearchAgain();
}

void CFileFinderDlg::SortList() {
  TransferDataFromWindow();
  SortFoundFiles(finder_.files, finder_.sortByFileName);
  ShowList();
}

void CFileFinderDlg::ExcludeSelected() {
  const int at = list->GetSelection();
  if (at == wxNOT_FOUND || static_cast<size_t>(at) >= finder_.files.size()) return;
  finder_.files.erase(finder_.files.begin() + at);
  ShowList();
}

void CFileFinderDlg::RunBatch(const std::function<void()>& run) {
  TransferDataFromWindow();
  run();
  ShowList();
}

void CFileFinderDlg::BuildDocumentGroup() {
  RunBatch([&] {
    const auto name = PromptDatabaseFileName(context_.groupFolder);
    if (!name) return;
    const std::string path = (std::filesystem::path(context_.groupFolder) / *name).string();
    // A cancelled title leaves the group untitled; the build goes on.
    std::string title;
    CVornelDatabase::AskGroupTitle(title);
    if (finder_.BuildGroup(path, title, *this)) {
      Prompts().ShowMessage("Indexing successful", MessageKind::kInformation, "Congratulations");
    }
  });
}

void CFileFinderDlg::CreateHtmlPage() {
  RunBatch([&] {
    const auto page =
        Prompts().PromptSaveFile("Select an HTML file name for this group", "*.html", "", finder_.rootPath);
    if (!page || page->empty()) return;
    if (finder_.WriteHtmlPage(*page, context_.rootUrl, *this)) Programs().OpenWithDefault(*page);
  });
}

void CFileFinderDlg::ConvertToBtz() {
  RunBatch([&] { finder_.ConvertToXml(*this); });
}

void CFileFinderDlg::CompressFiles() {
  RunBatch([&] { finder_.Compress(*this); });
}

void CFileFinderDlg::ZipBackup() {
  RunBatch([&] {
    auto archive = Prompts().PromptSaveFile("Select an zip archive file name for this operation", "*.zip", "",
                                            finder_.rootPath);
    if (!archive || archive->empty()) return;
    if (std::filesystem::path(*archive).extension() != ".zip") *archive += ".zip";
    if (!finder_.ZipBackup(*archive)) return;
    if (Prompts().Ask("Operation succeeded\nWould you like to review the archive's content?", Buttons::kYesNo) ==
        Answer::kYes) {
      Programs().OpenWithDefault(*archive);
    }
  });
}

void CFileFinderDlg::Start(int total, const std::string&) {
  running_ = true;
  cancelled_ = false;
  closeButton->SetLabel("Cancel");
  progress->Enable();
  progress->SetRange(std::max(total, 1));
  progress->SetValue(0);
}

bool CFileFinderDlg::Step(int number, const std::string& text) {
  progress->SetValue(std::min(std::max(number - 1, 0), progress->GetRange()));
  status->SetLabel(FromUtf8(text));
  const int entry = number - 1;
  if (entry >= 0 && static_cast<unsigned>(entry) < list->GetCount()) list->SetSelection(entry);
  status->Update();
  // Lets a click on Cancel in; the run stops before the next file.
  if (IsShown()) wxYieldIfNeeded();
  return !cancelled_;
}

void CFileFinderDlg::Finish() {
  running_ = false;
  closeButton->SetLabel("Close");
  progress->SetValue(0);
  progress->Disable();
}

}  // namespace vornel
