#include "shell/ui/bars/ToolBarEx.h"

#include <wx/aui/auibar.h>
#include <wx/bmpbndl.h>
#include <wx/combobox.h>
#include <wx/menu.h>

#include <map>
#include <utility>

#include "shell/bars/RibbonTable.h"
#include "shell/bars/ZoomTable.h"
#include "shell/commands/CommandIds.h"
#include "shell/ui/bars/BarCommands.h"
#include "shell/ui/bars/BarMenus.h"
#include "shell/ui/bars/UndoDropDown.h"

namespace vornel {

namespace {

wxString Text(const std::string& text) { return wxString::FromUTF8(text.data(), text.size()); }

bool IsUndoButton(int id) { return id == commands::kUndo || id == commands::kRedo; }

// A button's picture drawn the first time the bar paints it: a bar that stays hidden, as the
// palette and alfabeto bars do at first, draws none. Its size is known without drawing.
class LazyPicture : public wxBitmapBundleImpl {
 public:
  LazyPicture(BarCommands& commands, int id, int side) : commands_(commands), id_(id), side_(side) {}
  wxSize GetDefaultSize() const override { return wxSize(side_, side_); }
  wxSize GetPreferredBitmapSizeAtScale(double scale) const override {
    const int side = wxRound(side_ * scale);
    return wxSize(side, side);
  }
  wxBitmap GetBitmap(const wxSize& size) override {
    if (!picture_.IsOk()) picture_ = commands_.Picture(id_, side_);
    if (!picture_.IsOk() || size == picture_.GetSize()) return picture_;
    wxBitmap scaled = picture_;
    wxBitmap::Rescale(scaled, size);
    return scaled;
  }

 private:
  BarCommands& commands_;
  int id_;
  int side_;
  wxBitmap picture_;
};

// The bar's look, measuring a button by its picture's size alone: the stock look asks for the
// picture itself, which would draw every button of a bar that is not shown.
class SizedToolArt : public wxAuiDefaultToolBarArt {
 public:
  wxAuiToolBarArt* Clone() override { return new SizedToolArt; }
  wxSize GetToolSize(wxDC& dc, wxWindow* wnd, const wxAuiToolBarItem& item) override {
    if (!item.GetBitmapBundle().IsOk()) return wxAuiDefaultToolBarArt::GetToolSize(dc, wnd, item);
    const wxSize size = item.GetBitmapBundle().GetPreferredBitmapSizeFor(wnd);
    wxBitmap& blank = blanks_[{size.x, size.y}];
    if (!blank.IsOk()) blank = wxBitmap(size);
    wxAuiToolBarItem sized(item);
    sized.SetBitmap(blank);
    return wxAuiDefaultToolBarArt::GetToolSize(dc, wnd, sized);
  }

 private:
  std::map<std::pair<int, int>, wxBitmap> blanks_;
};

}  // namespace

CToolBarEx::CToolBarEx(wxWindow* parent, const bars::ToolbarDefinition& definition, BarCommands& commands)
    : wxAuiToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxAUI_TB_GRIPPER),
      definition_(definition),
      commands_(commands),
      state_(bars::InitialToolbarState(definition)) {
  SetName(Text(definition.name));
  SetArtProvider(new SizedToolArt);
  if (definition.kind == bars::BarKind::kZoom) {
    wxArrayString lines;
    for (const int percent : bars::kZoomPercentages) lines.Add(Text(bars::ZoomLine(percent)));
    zoomBox_ = new wxComboBox(this, bars::kZoomComboCommand, lines[bars::kDefaultZoomIndex], wxDefaultPosition,
                              wxSize(90, -1), lines, wxCB_DROPDOWN | wxTE_PROCESS_ENTER);
    zoomBox_->SetSelection(static_cast<int>(bars::kDefaultZoomIndex));
    zoomBox_->SetToolTip("Zoom");
    zoomBox_->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& event) {
      commands_.Dispatch({bars::kZoomComboCommand, static_cast<long>(event.GetSelection()), {}});
    });
    zoomBox_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent& event) {
      commands_.Dispatch({bars::kZoomComboCommand, std::nullopt, std::string(event.GetString().utf8_str())});
    });
  }
  Bind(wxEVT_MENU, &CToolBarEx::OnTool, this);
  Bind(wxEVT_AUITOOLBAR_TOOL_DROPDOWN, &CToolBarEx::OnDropDown, this);
  Bind(wxEVT_UPDATE_UI, &CToolBarEx::OnUpdateUI, this);
  Bind(wxEVT_AUITOOLBAR_RIGHT_CLICK, [this](wxAuiToolBarEvent& event) {
    if (onContextMenu) onContextMenu(*this, ClientToScreen(event.GetClickPoint()));
  });
  Bind(wxEVT_CONTEXT_MENU, [this](wxContextMenuEvent& event) {
    if (onContextMenu) onContextMenu(*this, event.GetPosition());
  });
  Rebuild();
}

int CToolBarEx::IconSide() const {
  if (definition_.fixedIconSize > 0) return definition_.fixedIconSize;
  return bars::IconSizeOf(state_.icons).width;
}

void CToolBarEx::ApplyState(const bars::ToolbarState& state) {
  state_ = state;
  Rebuild();
}

void CToolBarEx::SetTextOptions(bars::TextOption option) {
  state_.text = option;
  Rebuild();
}

void CToolBarEx::SetIconOptions(bars::IconOption option) {
  state_.icons = option;
  Rebuild();
}

void CToolBarEx::SetButtons(const std::vector<int>& buttons) {
  state_.buttons = buttons;
  Rebuild();
}

void CToolBarEx::Rebuild() {
  long style = GetWindowStyleFlag() & ~(wxAUI_TB_TEXT | wxAUI_TB_HORZ_LAYOUT);
  if (state_.text == bars::TextOption::kShowTextLabels) style |= wxAUI_TB_TEXT;
  if (state_.text == bars::TextOption::kSelectiveTextOnRight) style |= wxAUI_TB_HORZ_TEXT;
  SetWindowStyleFlag(style);
  const int side = IconSide();
  const bars::IconSize size = definition_.fixedIconSize > 0 ? bars::IconSize{side, side} : bars::IconSizeOf(state_.icons);
  SetToolBitmapSize(wxSize(size.width, size.height));

  Clear();
  menuButtons_.clear();
  for (const int id : state_.buttons) {
    if (id == bars::kSeparator) {
      AddSeparator();
      continue;
    }
    if (id == bars::kZoomComboCommand && zoomBox_ != nullptr) {
      if (!controlsHidden_) AddControl(zoomBox_, "Zoom");
      continue;
    }
    const std::string label = bars::ToolbarButtonLabel(id);
    const wxBitmapBundle picture = wxBitmapBundle::FromImpl(new LazyPicture(commands_, id, side));
    if (bars::IsMenuButton(id)) {
      const int windowId = wxWindow::NewControlId();
      menuButtons_[windowId] = bars::MenuOfButton(id);
      AddTool(windowId, Text(label), picture, Text(label), wxITEM_NORMAL);
      SetToolDropDown(windowId, true);
      continue;
    }
    AddTool(id, Text(label), picture, Text(bars::ToolTipOf(id, label, true)),
            IsUndoButton(id) ? wxITEM_NORMAL : wxITEM_CHECK);
    if (IsUndoButton(id)) SetToolDropDown(id, true);
  }
  if (zoomBox_ != nullptr) zoomBox_->Show(!controlsHidden_ && GetToolIndex(bars::kZoomComboCommand) != wxNOT_FOUND);
  Realize();
  if (onChanged) onChanged(*this);
}

void CToolBarEx::ShowZoom(int percent) {
  if (zoomBox_ == nullptr || zoomBox_->HasFocus()) return;
  const wxString line = Text(bars::ZoomLine(percent));
  if (zoomBox_->GetValue() != line) zoomBox_->SetValue(line);
}

void CToolBarEx::SetControlsHidden(bool hidden) {
  if (hidden == controlsHidden_) return;
  controlsHidden_ = hidden;
  Rebuild();
}

void CToolBarEx::OnTool(wxCommandEvent& event) {
  const int id = event.GetId();
  if (const auto menu = menuButtons_.find(id); menu != menuButtons_.end()) {
    const bars::RibbonMenu* items = bars::FindRibbonMenu(menu->second);
    if (items != nullptr) {
      std::unique_ptr<wxMenu> popup = BuildCommandMenu(items->items, commands_);
      PopupMenu(popup.get());
    }
    return;
  }
  if (sendCommand) {
    sendCommand(id);
    // A check mark the view does not give back stays as it was before the click.
    if (FindTool(id) != nullptr && FindTool(id)->GetKind() == wxITEM_CHECK) {
      const std::optional<bool> checked = checkState ? checkState(id) : std::nullopt;
      const bool mark = checked.value_or(marks_[id]);
      marks_[id] = mark;
      ToggleTool(id, mark);
      Refresh();
    }
    return;
  }
  // The route carries it; an id it does not know goes on to the frame.
  if (!commands_.Dispatch({id, std::nullopt, {}})) event.Skip();
}

void CToolBarEx::OnDropDown(wxAuiToolBarEvent& event) {
  const int id = event.GetId();
  if (!event.IsDropDownClicked() && menuButtons_.count(id) == 0) {
    event.Skip();
    return;
  }
  if (IsUndoButton(id)) {
    ShowUndoList(id);
    return;
  }
  wxCommandEvent click(wxEVT_MENU, id);
  OnTool(click);
}

void CToolBarEx::ShowUndoList(int id) {
  // Nothing opens while the button is disabled.
  const view::CommandState state = commands_.StateOf(id);
  if (!state.handled || !state.enabled) return;
  auto* list = new CUndoMenu(this, commands_.UndoNames(id == commands::kRedo), [this, id](int steps) {
    for (int i = 0; i < steps; ++i) {
      if (!commands_.Dispatch({id, std::nullopt, {}})) break;
    }
  });
  undoList_ = list;
  const wxRect rect = GetToolRect(id);
  list->Position(ClientToScreen(rect.GetBottomLeft()), wxSize(0, 0));
  list->Popup();
}

CUndoMenu* CToolBarEx::OpenUndoList() const { return undoList_.get(); }

void CToolBarEx::OnUpdateUI(wxUpdateUIEvent& event) {
  const int id = event.GetId();
  // Only the bar's tools follow the route: the bar itself and its controls (the zoom box)
  // stay usable.
  wxAuiToolBarItem* tool = FindTool(id);
  if (tool == nullptr || tool->GetWindow() != nullptr) {
    event.Skip();
    return;
  }
  if (menuButtons_.count(id) != 0) return;
  if (sendCommand) {
    // The console's buttons stay usable; only their check marks follow the view.
    if (checkState) {
      if (const std::optional<bool> checked = checkState(id)) {
        marks_[id] = *checked;
        event.Check(*checked);
      }
    }
    return;
  }
  const view::CommandState state = commands_.StateOf(id);
  event.Enable(state.handled && state.enabled);
  if (!IsUndoButton(id)) event.Check(state.checked.value_or(false));
}

}  // namespace vornel
