#include "shell/ui/bars/FrameBars.h"

#include <wx/frame.h>
#include <wx/menu.h>

#include "shell/app/Profile.h"
#include "shell/commands/CommandIds.h"
#include "shell/ui/bars/BarCommands.h"
#include "shell/ui/bars/CustomizeDialog.h"
#include "shell/ui/bars/RibbonBar.h"
#include "view/commands/Accelerators.h"
#include "shell/ui/bars/ToolBarEx.h"

namespace vornel {

namespace {

wxString Text(const std::string& text) { return wxString::FromUTF8(text.data(), text.size()); }

// The bars the "toolbars" switch shows and hides.
constexpr std::array<int, 3> kSwitchedBars = {bars::kEditingOptionsBar, bars::kMidiPlayBar, bars::kZoomBar};

}  // namespace

FrameBars::FrameBars(wxFrame& frame, wxAuiManager& dock, BarCommands& commands, ProfileStore& profile)
    : frame_(frame), dock_(dock), commands_(commands), profile_(profile) {
  quick_ = new CToolBarEx(&frame_, bars::QuickAccessBar(), commands_);
  quick_->SetWindowStyleFlag(quick_->GetWindowStyleFlag() | wxAUI_TB_OVERFLOW);
  wxAuiToolBarItemArray overflow;
  for (const int id : bars::QuickAccessOverflow()) {
    wxAuiToolBarItem item;
    item.SetId(id);
    item.SetKind(wxITEM_NORMAL);
    item.SetLabel(Text(bars::ToolbarButtonLabel(id)));
    overflow.Add(item);
  }
  quick_->SetCustomOverflowItems(wxAuiToolBarItemArray(), overflow);
  quick_->Realize();
  dock_.AddPane(quick_, wxAuiPaneInfo()
                            .Name(kQuickPane)
                            .Caption("Quick Access")
                            .ToolbarPane()
                            .Top()
                            .Layer(30)
                            .Gripper(false)
                            .Floatable(false)
                            .Movable(false)
                            .Dockable(false)
                            .CloseButton(false));

  ribbon_ = new CRibbonBar(&frame_, commands_);
  ribbon_->onPanelsToggled = [this] { FitRibbonPane(); };
  ribbon_->onPageBuilt = [this] { FitRibbonPane(); };
  dock_.AddPane(ribbon_, wxAuiPaneInfo()
                             .Name(kRibbonPane)
                             .CaptionVisible(false)
                             .Top()
                             .Layer(20)
                             .PaneBorder(false)
                             .Floatable(false)
                             .Movable(false)
                             .Dockable(false)
                             .CloseButton(false)
                             .Resizable(false)
                             .DockFixed());
  FitRibbonPane();

  for (const bars::ToolbarDefinition& definition : bars::ToolbarDefinitions()) {
    if (definition.number == bars::kConsoleBar) continue;
    auto* bar = new CToolBarEx(&frame_, definition, commands_);
    bars_[static_cast<size_t>(definition.number)] = bar;
    bar->onChanged = [this](CToolBarEx& changed) { FitBarPane(changed); };
    bar->onContextMenu = [this](CToolBarEx& clicked, const wxPoint& at) { ShowContextMenu(clicked, at); };
  }
  AddBarPane(bars_[bars::kEditingOptionsBar], 0, 0);
  AddBarPane(bars_[bars::kMidiPlayBar], 0, 1);
  AddBarPane(bars_[bars::kZoomBar], 0, 2);
  AddBarPane(bars_[bars::kAlfabetoBar], 1, 0);
  AddBarPane(bars_[bars::kPaletteBar], 1, 1);
  RestoreStates();
  building_ = false;
  dock_.Update();
}

FrameBars::~FrameBars() = default;

std::string FrameBars::PaneName(int number) { return "toolbar" + std::to_string(number); }

CToolBarEx* FrameBars::Bar(int number) const {
  return number > 0 && number < static_cast<int>(bars_.size()) ? bars_[static_cast<size_t>(number)] : nullptr;
}

void FrameBars::AddBarPane(CToolBarEx* bar, int row, int position) {
  dock_.AddPane(bar, wxAuiPaneInfo()
                         .Name(PaneName(bar->Definition().number))
                         .Caption(Text(bar->Definition().name))
                         .ToolbarPane()
                         .Top()
                         .Row(row)
                         .Position(position)
                         .Show(bar->Definition().initiallyShown));
  FitBarPane(*bar);
}

void FrameBars::FitBarPane(CToolBarEx& bar) {
  wxAuiPaneInfo& pane = dock_.GetPane(&bar);
  if (!pane.IsOk()) return;
  pane.BestSize(bar.GetBestSize()).MinSize(bar.GetMinSize());
  if (pane.IsFloating()) pane.FloatingSize(bar.GetBestSize() + wxSize(12, 30));
  if (!building_) dock_.Update();
}

void FrameBars::FitRibbonPane() {
  wxAuiPaneInfo& pane = dock_.GetPane(kRibbonPane);
  const wxSize best = ribbon_->GetBestSize();
  pane.BestSize(best).MinSize(wxSize(-1, best.y)).MaxSize(wxSize(-1, best.y));
  if (!building_) dock_.Update();
}

void FrameBars::AdoptConsoleBar(CToolBarEx* bar, std::function<void(bool)> showBar, std::function<bool()> barShown) {
  bars_[bars::kConsoleBar] = bar;
  showConsoleBar_ = std::move(showBar);
  consoleBarShown_ = std::move(barShown);
  bar->onContextMenu = [this](CToolBarEx& clicked, const wxPoint& at) { ShowContextMenu(clicked, at); };
  if (const std::optional<std::string> text = profile_.ReadText(bars::kToolbarStateSection, bars::ToolbarStateKey(bars::kConsoleBar))) {
    if (const std::optional<bars::ToolbarState> state = bars::ReadToolbarState(*text, bar->Definition())) bar->ApplyState(*state);
  }
}

bool FrameBars::BarShown(int number) const {
  if (number == bars::kConsoleBar) return consoleBarShown_ && consoleBarShown_();
  CToolBarEx* bar = Bar(number);
  return bar != nullptr && const_cast<wxAuiManager&>(dock_).GetPane(bar).IsShown();
}

void FrameBars::ShowBar(int number, bool show) {
  if (number == bars::kConsoleBar) {
    if (showConsoleBar_) showConsoleBar_(show);
    return;
  }
  CToolBarEx* bar = Bar(number);
  if (bar == nullptr) return;
  dock_.GetPane(bar).Show(show);
  dock_.Update();
}

void FrameBars::ShowToolbars(bool show) {
  toolbarsShown_ = show;
  for (const int number : kSwitchedBars) dock_.GetPane(Bar(number)).Show(show);
  dock_.Update();
}

bool FrameBars::RibbonPanelsShown() const { return ribbon_->ArePanelsShown(); }

void FrameBars::ShowRibbonPanels(bool show) {
  ribbon_->ShowPanels(show);
  FitRibbonPane();
}

void FrameBars::FloatMidiBar() {
  CToolBarEx* bar = Bar(bars::kMidiPlayBar);
  wxAuiPaneInfo& pane = dock_.GetPane(bar);
  pane.Show(!pane.IsShown());
  pane.Float().FloatingPosition(100, 100).FloatingSize(bar->GetSize() + wxSize(12, 30));
  dock_.Update();
}

void FrameBars::Customize(int number) {
  CToolBarEx* bar = Bar(number);
  if (bar == nullptr) return;
  CCustomizeDialog dialog(&frame_, *bar);
  dialog.onStateChanged = [this](CToolBarEx& changed) { SaveState(changed); };
  dialog.ShowModal();
  dialog.Finish();
}

std::unique_ptr<wxMenu> FrameBars::BuildContextMenu() {
  auto menu = std::make_unique<wxMenu>();
  for (const bars::ToolbarDefinition& definition : bars::ToolbarDefinitions()) {
    if (Bar(definition.number) == nullptr) continue;
    menu->AppendCheckItem(definition.number, Text(definition.name))->Check(BarShown(definition.number));
  }
  const int properties = commands_.MenuId(commands::kPropertiesView);
  const int output = commands_.MenuId(commands::kOutputView);
  menu->AppendCheckItem(properties, "&Properties View")
      ->Check(commands_.StateOf(commands::kPropertiesView).checked.value_or(false));
  menu->AppendCheckItem(output, "&Output")->Check(commands_.StateOf(commands::kOutputView).checked.value_or(false));
  menu->AppendSeparator();
  menu->Append(kCustomizeBar, "&Customize...");
  return menu;
}

void FrameBars::RunMenuChoice(int chosen, CToolBarEx& bar) {
  if (chosen == kCustomizeBar) {
    Customize(bar.Definition().number);
  } else if (chosen >= 1 && chosen < static_cast<int>(bars_.size()) && Bar(chosen) != nullptr) {
    ShowBar(chosen, !BarShown(chosen));
  } else if (chosen == commands_.MenuId(commands::kPropertiesView)) {
    commands_.Dispatch({commands::kPropertiesView, std::nullopt, {}});
  } else if (chosen == commands_.MenuId(commands::kOutputView)) {
    commands_.Dispatch({commands::kOutputView, std::nullopt, {}});
  }
}

void FrameBars::ShowContextMenu(CToolBarEx& bar, const wxPoint& screen) {
  std::unique_ptr<wxMenu> menu = BuildContextMenu();
  const int chosen = frame_.GetPopupMenuSelectionFromUser(*menu, frame_.ScreenToClient(screen));
  if (chosen != wxID_NONE) RunMenuChoice(chosen, bar);
}

void FrameBars::ShowToolbarMenu(const wxPoint& client) {
  CToolBarEx* palettes = Bar(bars::kPaletteBar);
  wxMenu menu;
  for (const int id : palettes->State().buttons) {
    if (id == bars::kSeparator) {
      menu.AppendSeparator();
      continue;
    }
    const view::CommandState state = commands_.StateOf(id);
    menu.Append(commands_.MenuId(id), Text(view::WithAcceleratorKeys(id, bars::ToolbarButtonLabel(id))))
        ->Enable(state.handled && state.enabled);
  }
  // The choice arrives as the item's command, like any menu's.
  frame_.PopupMenu(&menu, client);
}

void FrameBars::SaveState(const CToolBarEx& bar) {
  profile_.WriteText(bars::kToolbarStateSection, bars::ToolbarStateKey(bar.Definition().number),
                     bars::ToolbarStateText(bar.State()));
}

void FrameBars::RestoreStates() {
  for (CToolBarEx* bar : bars_) {
    if (bar == nullptr) continue;
    const std::optional<std::string> text =
        profile_.ReadText(bars::kToolbarStateSection, bars::ToolbarStateKey(bar->Definition().number));
    if (!text) continue;
    if (const std::optional<bars::ToolbarState> state = bars::ReadToolbarState(*text, bar->Definition())) {
      bar->ApplyState(*state);
    }
  }
}

void FrameBars::FitPanes() {
  // A layout read from the profile may come from another build: the bars above stay in place.
  dock_.GetPane(kQuickPane).Show().Top().Layer(30);
  dock_.GetPane(kRibbonPane).Show().Top().Layer(20).CaptionVisible(false);
  for (CToolBarEx* bar : bars_) {
    if (bar != nullptr && dock_.GetPane(bar).IsOk()) {
      wxAuiPaneInfo& pane = dock_.GetPane(bar);
      pane.BestSize(bar->GetBestSize()).MinSize(bar->GetMinSize());
    }
  }
  toolbarsShown_ = dock_.GetPane(Bar(bars::kEditingOptionsBar)).IsShown();
  FitRibbonPane();
}

void FrameBars::CheckSideDocking() {
  for (CToolBarEx* bar : bars_) {
    if (bar == nullptr || bar->ZoomBox() == nullptr) continue;
    const wxAuiPaneInfo& pane = dock_.GetPane(bar);
    if (!pane.IsOk()) continue;
    const bool side = pane.IsDocked() &&
                      (pane.dock_direction == wxAUI_DOCK_LEFT || pane.dock_direction == wxAUI_DOCK_RIGHT);
    if (side != bar->ControlsHidden()) bar->SetControlsHidden(side);
  }
}

}  // namespace vornel
