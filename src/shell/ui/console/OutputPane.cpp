#include "shell/ui/console/OutputPane.h"

#include <wx/aui/auibook.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include <iterator>
#include <streambuf>
#include <string>

#include "import/ImportWarnings.h"
#include "platform/UserPrompts.h"
#include "shell/console/ConsoleTable.h"

namespace vornel {

COutputList::COutputList(wxWindow* parent, int id, std::function<void()> hidePane)
    : wxListBox(parent, id, wxDefaultPosition, wxDefaultSize, 0, nullptr, wxLB_SINGLE | wxLB_HSCROLL | wxLB_ALWAYS_SB),
      hidePane_(std::move(hidePane)) {
  Bind(wxEVT_CONTEXT_MENU, &COutputList::OnContextMenu, this);
}

int COutputList::MenuId(size_t entry) { return wxID_HIGHEST + 1 + static_cast<int>(entry); }

void COutputList::RunCommand(int id) {
  switch (id) {
    case console::kOutputCopy:
      Prompts().ShowMessage("Copy output", MessageKind::kInformation);
      break;
    case console::kOutputClear:
      Prompts().ShowMessage("Clear output", MessageKind::kInformation);
      break;
    case console::kOutputHide:
      if (hidePane_) hidePane_();
      break;
    default:
      break;
  }
}

void COutputList::OnContextMenu(wxContextMenuEvent& event) {
  // The window system's menu items take ids up to 32767: the commands' own ids (Copy's is
  // above) stand behind ids of the menu's own.
  constexpr int kCommands[] = {console::kOutputCopy, console::kOutputClear, console::kOutputHide};
  constexpr const char* kLabels[] = {"&Copy", "&Clear", "&Hide"};
  wxMenu menu;
  for (size_t i = 0; i < std::size(kCommands); ++i) {
    if (kCommands[i] == console::kOutputHide) menu.AppendSeparator();
    menu.Append(MenuId(i), kLabels[i]);
  }
  wxPoint at = event.GetPosition();
  at = at == wxDefaultPosition ? wxPoint(0, 0) : ScreenToClient(at);
  const int chosen = GetPopupMenuSelectionFromUser(menu, at);
  SetFocus();
  for (size_t i = 0; i < std::size(kCommands); ++i) {
    if (chosen == MenuId(i)) RunCommand(kCommands[i]);
  }
}

COutputWnd::COutputWnd(wxWindow* parent, std::function<void()> hidePane) : wxPanel(parent, wxID_ANY) {
  tabs_ = new wxAuiNotebook(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxAUI_NB_BOTTOM);
  size_t index = 0;
  for (const console::OutputList& list : console::OutputLists()) {
    auto* box = new COutputList(tabs_, list.id, hidePane);
    for (const std::string_view line : list.lines) box->Append(wxString::FromUTF8(line.data(), line.size()));
    tabs_->AddPage(box, wxString::FromUTF8(list.name.data(), list.name.size()), index == 0);
    lists_[index++] = box;
  }
  UpdateFonts();
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(tabs_, 1, wxEXPAND);
  SetSizer(sizer);
  Bind(wxEVT_SYS_COLOUR_CHANGED, [this](wxSysColourChangedEvent& event) {
    UpdateFonts();
    event.Skip();
  });
}

void COutputWnd::UpdateFonts() {
  for (COutputList* list : lists_) {
    list->SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    list->Refresh();
  }
}

// Gathers what is written into lines and hands each whole line to the list.
class OutputPaneWarnings::Lines : public std::streambuf {
 public:
  Lines(std::function<COutputWnd&()> pane, std::function<void()> show) : pane_(std::move(pane)), show_(std::move(show)) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    if (traits_type::to_char_type(c) != '\n') {
      line_ += traits_type::to_char_type(c);
      return c;
    }
    COutputWnd& pane = pane_();
    COutputList* build = pane.List(0);
    build->Append(wxString::FromUTF8(line_.data(), line_.size()));
    build->SetSelection(static_cast<int>(build->GetCount()) - 1);
    pane.Tabs()->SetSelection(0);
    line_.clear();
    if (show_) show_();
    return c;
  }

 private:
  std::function<COutputWnd&()> pane_;
  std::function<void()> show_;
  std::string line_;
};

OutputPaneWarnings::OutputPaneWarnings(std::function<COutputWnd&()> pane, std::function<void()> show)
    : lines_(std::make_unique<Lines>(std::move(pane), std::move(show))),
      stream_(std::make_unique<std::ostream>(lines_.get())),
      scope_(std::make_unique<ScopedImportWarnings>(*stream_)) {}

OutputPaneWarnings::~OutputPaneWarnings() = default;

}  // namespace vornel
