#include "view/ui/instrument/InstrumentTemplatesWindow.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/filename.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>

#include "document/DocumentEnvironment.h"
#include "model/SectionEditor.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

wxString Wx(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }

}  // namespace

// --- the dialog

InstrumentTemplatesWindow::InstrumentTemplatesWindow(wxWindow* parent, CInstrumentTemplates& base,
                                                     AddToSection addToSection)
    : TexturedDialog(parent, wxID_ANY,
                     "Instrument base: " + wxFileName(wxString::FromUTF8(base.basePath)).GetFullName(), 0xFAFAFA,
                     DialogTexture::kSheet, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      base_(base), addToSection_(std::move(addToSection)) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  // The family tabs: a notebook of empty pages, whose tab row is all that shows.
  tabs = new wxNotebook(this, wxID_ANY);
  for (std::string_view family : CInstrumentTemplates::kFamilyTabs) tabs->AddPage(new wxPanel(tabs), Wx(family));
  tabs->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& event) {
    RunGuarded([&] { RefillList(); });
    event.Skip();
  });
  top->Add(tabs, 0, wxEXPAND | wxALL, 4);
  list = new CInstrumentListCtrl(this, wxID_ANY);
  list->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) { ShowPreview(); });
  top->Add(list, 1, wxEXPAND | wxALL, 4);

  auto* middle = new wxBoxSizer(wxHORIZONTAL);
  preview = new CStaticStaff(this, kPreview, nullptr);
  // Tall enough for a tablature of seven lines below the third of the height the line starts at.
  preview->SetMinSize(wxSize(480, 210));
  middle->Add(preview, 1, wxEXPAND | wxALL, 4);
  notation = new wxRadioButton(this, wxID_ANY, "Notation", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
  tablature = new wxRadioButton(this, wxID_ANY, "Tablature");
  notation->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { ShowPreview(); });
  tablature->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { ShowPreview(); });
  middle->Add(notation, 0, wxALL, 4);
  middle->Add(tablature, 0, wxALL, 4);
  unsorted = new wxCheckBox(this, wxID_ANY, "Unsorted list");
  unsorted->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { RunGuarded([&] { ToggleUnsorted(); }); });
  middle->Add(unsorted, 0, wxALL, 4);
  top->Add(middle, 0, wxEXPAND);

  auto* buttons = new wxGridSizer(4, 2, 2);
  const auto button = [&](const char* label, std::function<void()> action) {
    auto* b = new wxButton(this, wxID_ANY, label);
    b->Bind(wxEVT_BUTTON, [action = std::move(action)](wxCommandEvent&) { RunGuarded(action); });
    buttons->Add(b, 0, wxEXPAND);
  };
  button("Edit instrument", [this] { EditSelected(); });
  button("Add instrument", [this] { AddInstrument(); });
  button("Delete instrument", [this] { DeleteSelected(); });
  button("Save database", [this] { base_.SaveDatabase(); });
  button("Import another instrument base", [this] {
    const auto path = Prompts().PromptOpenFile("Import another instrument base", "*.btbi", Environment().dataFolder);
    if (path && !path->empty()) ImportBase(*path);
  });
  button("Export database to file", [this] { base_.ExportBase(); });
  button("Clear all definitions", [this] { ClearAll(); });
  button("Load Default", [this] { LoadDefault(); });
  button("View default instrument", [] {
    CInstrumentDlg fresh;
    fresh.EnsureStave();
    SectionEditors().EditInstrument(fresh);
  });
  button("Add this instrument to the current section", [this] {
    CInstrumentDlg* selected = list->Selected();
    if (selected == nullptr) return;
    Prompts().ShowMessage("Adding this instrument to section", MessageKind::kInformation);
    if (addToSection_) addToSection_(*selected);
  });
  top->Add(buttons, 0, wxEXPAND | wxALL, 4);

  auto* closing = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, kOkLabel);
  auto* exit = new wxButton(this, wxID_CANCEL, "Exit");
  ok->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      if (Close(true)) EndModal(wxID_OK);
    });
  });
  exit->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      if (Close(false)) EndModal(wxID_CANCEL);
    });
  });
  closing->Add(ok, 0, wxALL, 4);
  closing->Add(exit, 0, wxALL, 4);
  top->Add(closing, 0, wxALIGN_RIGHT);
  SetSizerAndFit(top);

  RefillList();
  if (list->GetItemCount() > 0) {
    list->SetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  }
  notation->SetValue(true);
  ShowPreview();
  // The flag starts clear and is toggled once: the dialog opens in the report view.
  ToggleUnsorted();
}

size_t InstrumentTemplatesWindow::ShownTab() const {
  const int page = tabs->GetSelection();
  return page < 0 ? 0 : static_cast<size_t>(page);
}

void InstrumentTemplatesWindow::SelectTab(size_t tab) {
  tabs->ChangeSelection(tab);
  RefillList();
}

void InstrumentTemplatesWindow::RefillList() { list->Fill(base_.ListedFor(ShownTab())); }

void InstrumentTemplatesWindow::ShowPreview() {
  const CInstrumentDlg* selected = list->Selected();
  if (selected == nullptr) return;
  preview->ShowDefinition(*selected, notation->GetValue());
}

void InstrumentTemplatesWindow::EditSelected() {
  CInstrumentDlg* selected = list->Selected();
  if (selected == nullptr || !base_.EditDefinition(*selected)) return;
  tablature->SetValue(true);
  RefillList();
  ShowPreview();
}

void InstrumentTemplatesWindow::AddInstrument() {
  CInstrumentDlg* added = base_.AddDefinition(list->Selected());
  if (added == nullptr) return;
  list->InsertDefinition(0, added);
}

void InstrumentTemplatesWindow::DeleteSelected() {
  const long item = list->SelectedIndex();
  if (item < 0 || !base_.DeleteDefinition(list->Selected())) {
    Prompts().Beep(BeepKind::kExclamation);
    return;
  }
  list->DeleteItem(item);
}

void InstrumentTemplatesWindow::ToggleUnsorted() {
  const CInstrumentDlg* selected = list->Selected();
  unsortedFlag = !unsortedFlag;
  list->SetWindowStyleFlag((unsortedFlag ? wxLC_REPORT : wxLC_SMALL_ICON) | wxLC_SINGLE_SEL | wxLC_AUTOARRANGE);
  if (unsortedFlag) list->AddColumns();
  RefillList();
  // The selection stays on its definition.
  for (long item = 0; item < list->GetItemCount(); ++item) {
    if (reinterpret_cast<const CInstrumentDlg*>(list->GetItemData(item)) != selected) continue;
    list->SetItemState(item, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  }
}

// The list is refilled with the tab that is shown.
void InstrumentTemplatesWindow::ImportBase(const std::string& path) {
  if (base_.ImportBase(path)) RefillList();
}

void InstrumentTemplatesWindow::ClearAll() {
  base_.ClearAll();
  RefillList();
}

void InstrumentTemplatesWindow::LoadDefault() {
  base_.ResetToDefaultBase();
  RefillList();
}

bool InstrumentTemplatesWindow::Close(bool ok) {
  chosen_ = ok ? list->Selected() : nullptr;
  return base_.AskToSaveChanges();
}

bool TemplatesInstrumentChooser::ChooseInstrumentDefinition(CInstrumentDlg& definition) {
  CInstrumentTemplates base;
  base.OpenConfiguredBase();
  InstrumentTemplatesWindow window(wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr, base, addToSection_);
  if (window.ShowModal() != wxID_OK || window.Chosen() == nullptr) return false;
  definition.CopyFrom(*window.Chosen());
  definition.EnsureStave();
  return true;
}

}  // namespace vornel
