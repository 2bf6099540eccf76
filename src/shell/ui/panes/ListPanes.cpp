#include "shell/ui/panes/ListPanes.h"

#include <wx/settings.h>
#include <wx/sizer.h>

#include <algorithm>
#include <exception>
#include <filesystem>

#include "platform/UserPrompts.h"
#include "shell/ui/panes/PaneTools.h"

namespace vornel {

namespace {

constexpr int kExplorerTools[] = {34100, 34101, 34103, 34102};

wxString Utf8(const std::string& text) { return wxString::FromUTF8(text.c_str()); }

void SplitInHalves(wxSplitterWindow* splitter) {
  splitter->SetMinimumPaneSize(25);
  splitter->SetSashGravity(0.5);
  splitter->Bind(wxEVT_SIZE, [splitter](wxSizeEvent& event) {
    if (splitter->IsSplit()) splitter->SetSashPosition(std::max(25, event.GetSize().y / 2));
    event.Skip();
  });
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// One titled list

TemplateListPane::TemplateListPane(wxWindow* parent, panes::ListId list, const wxString& title,
                                   std::span<const int> tools, panes::PaneServices& services)
    : wxPanel(parent, wxID_ANY), list_(list), services_(services) {
  SetName(title);
  SetLabel(title);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  caption_ = new wxStaticText(this, wxID_ANY, title, wxDefaultPosition, wxSize(180, 25));
  sizer->Add(caption_, 0, wxEXPAND | wxLEFT, 2);
  toolBar_ = MakeCommandToolBar(this, tools, [this](int command) { RunCommand(command); });
  sizer->Add(toolBar_, 0, wxEXPAND);
  listBox_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(200, 800), 0, nullptr,
                            wxLB_SINGLE | wxLB_NEEDED_SB);
  listBox_->SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  listBox_->Bind(wxEVT_KEY_DOWN, &TemplateListPane::OnKeyDown, this);
  listBox_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { OpenSelected(); });
  sizer->Add(listBox_, 1, wxEXPAND | wxLEFT | wxRIGHT, 1);
  SetSizer(sizer);
}

void TemplateListPane::Fill(const std::vector<std::string>& entries, int selected) {
  listBox_->Freeze();
  listBox_->Clear();
  for (const std::string& entry : entries) listBox_->Append(Utf8(entry));
  if (selected >= 0 && static_cast<size_t>(selected) < entries.size()) listBox_->SetSelection(selected);
  listBox_->Thaw();
}

panes::ListSelection TemplateListPane::Selection() const {
  const int index = listBox_->GetSelection();
  if (index == wxNOT_FOUND) return {};
  return panes::ListSelection{index, std::string(listBox_->GetString(static_cast<unsigned>(index)).utf8_str())};
}

void TemplateListPane::OpenSelected() {
  RunGuarded([this] { panes::OpenEntry(services_, list_, Selection()); });
}

void TemplateListPane::RunCommand(int command) {
  RunGuarded([this, command] {
    const panes::ListSelection selection = Selection();
    const panes::ListCommandResult result = panes::RunListCommand(services_, list_, command, selection);
    if (result.removeSelection && selection.Selected() &&
        static_cast<unsigned>(selection.index) < listBox_->GetCount()) {
      listBox_->Delete(static_cast<unsigned>(selection.index));
    }
    if (result.refill && refill) refill();
  });
}

void TemplateListPane::OnKeyDown(wxKeyEvent& event) {
  // Enter opens the entry and goes no further (not to the view).
  if (event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER) {
    OpenSelected();
    return;
  }
  event.Skip();
}

// ---------------------------------------------------------------------------------------------
// Two lists

SplitListPane::SplitListPane(wxWindow* parent, const wxString& name, ListSpec top, ListSpec bottom,
                             panes::PaneServices& services)
    : wxPanel(parent, wxID_ANY) {
  SetName(name);
  splitter_ = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_LIVE_UPDATE | wxSP_3DSASH);
  SplitInHalves(splitter_);
  top_ = new TemplateListPane(splitter_, top.id, top.title, top.tools, services);
  bottom_ = new TemplateListPane(splitter_, bottom.id, bottom.title, bottom.tools, services);
  splitter_->SplitHorizontally(top_, bottom_);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(splitter_, 1, wxEXPAND);
  SetSizer(sizer);
}

// ---------------------------------------------------------------------------------------------
// The file explorer

FileExplorerPane::FileExplorerPane(wxWindow* parent, panes::PaneServices& services,
                                   std::function<void(const std::string&)> open)
    : wxPanel(parent, wxID_ANY), services_(services), open_(std::move(open)) {
  SetName("File explorer");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  toolBar_ = MakeCommandToolBar(this, kExplorerTools, [this](int command) {
    RunGuarded([this, command] { panes::RunExplorerCommand(services_, command); });
  });
  sizer->Add(toolBar_, 0, wxEXPAND);
  SetSizer(sizer);
  // The folder tree and the file list are made when the pane first shows: reading the folders
  // and the file types costs the start of the editor otherwise.
  Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
    event.Skip();
    if (splitter_ == nullptr && !buildQueued_) {
      buildQueued_ = true;
      CallAfter([this] { Build(); });
    }
  });
}

void FileExplorerPane::Build() {
  if (splitter_ != nullptr) return;
  splitter_ = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_LIVE_UPDATE | wxSP_3DSASH);
  SplitInHalves(splitter_);
  folders_ = new wxGenericDirCtrl(splitter_, wxID_ANY, wxDirDialogDefaultFolderStr, wxDefaultPosition, wxSize(200, 100),
                                  wxDIRCTRL_DIR_ONLY | wxDIRCTRL_EDIT_LABELS);
  files_ = new wxListCtrl(splitter_, wxID_ANY, wxDefaultPosition, wxSize(200, 100), wxLC_REPORT | wxLC_SINGLE_SEL);
  files_->AppendColumn("Name", wxLIST_FORMAT_LEFT, 160);
  files_->AppendColumn("Size", wxLIST_FORMAT_RIGHT, 70);
  splitter_->SplitHorizontally(folders_, files_);
  GetSizer()->Add(splitter_, 1, wxEXPAND);
  Layout();

  folders_->Bind(wxEVT_DIRCTRL_SELECTIONCHANGED, [this](wxTreeEvent& event) {
    folder_ = std::string(folders_->GetPath().utf8_str());
    FillFiles();
    event.Skip();
  });
  files_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& event) { OpenFile(event.GetIndex()); });
  if (!folder_.empty()) ShowFolder(folder_);
}

wxGenericDirCtrl* FileExplorerPane::Folders() {
  Build();
  return folders_;
}

wxListCtrl* FileExplorerPane::Files() {
  Build();
  return files_;
}

void FileExplorerPane::ShowFolder(const std::string& folder) {
  folder_ = folder;
  if (folders_ == nullptr) return;  // shown when the pane is built
  folders_->ExpandPath(Utf8(folder));
  folders_->SetPath(Utf8(folder));
  FillFiles();
}

void FileExplorerPane::FillFiles() {
  if (files_ == nullptr) return;
  files_->DeleteAllItems();
  std::error_code error;
  std::vector<std::filesystem::directory_entry> entries;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(folder_), error)) {
    if (entry.is_regular_file(error)) entries.push_back(entry);
  }
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
  for (const auto& entry : entries) {
    const long item = files_->InsertItem(files_->GetItemCount(), wxString::FromUTF8(entry.path().filename().string().c_str()));
    const auto size = entry.file_size(error);
    files_->SetItem(item, 1, error ? wxString() : wxString::Format("%llu", static_cast<unsigned long long>(size)));
  }
}

void FileExplorerPane::OpenFile(long item) {
  if (files_ == nullptr || item < 0 || item >= files_->GetItemCount() || !open_) return;
  const std::string name(files_->GetItemText(item).utf8_str());
  RunGuarded([&] { open_((std::filesystem::path(folder_) / name).string()); });
}

}  // namespace vornel
