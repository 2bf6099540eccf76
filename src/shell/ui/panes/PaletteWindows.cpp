#include "shell/ui/panes/PaletteWindows.h"

#include <wx/sizer.h>

#include <algorithm>

#include "platform/UserPrompts.h"
#include "platform/draw/DeviceContext.h"
#include "shell/palettes/PaletteArt.h"
#include "shell/ui/bars/CommandBitmaps.h"
#include "shell/ui/panes/PaneTools.h"

namespace vornel {

using palettes::PaletteInfo;

namespace {

constexpr COLORREF kBackground = 0xFAFAFA;
constexpr const char* kFloatingPaneName = "floating-palette";

Rect ClientRect(const wxWindow& window) {
  const wxSize size = window.GetClientSize();
  return Rect{0, 0, size.x, size.y};
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// One palette

PalettePanel::PalettePanel(wxWindow* parent, const PaletteInfo& info, PaletteRouting routing)
    : DrawingPanel(parent, {}), palette_(info), routing_(std::move(routing)) {
  SetName(wxString::FromUTF8(std::string(info.title)));
  SetPainter([this](DeviceContext& dc) { Paint(dc); });
  SetMinSize(wxSize(palette_.Info().buttonSize + 10, palette_.Info().buttonSize + 10));
  Bind(wxEVT_MOTION, &PalettePanel::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &PalettePanel::OnLeftUp, this);
  Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent& event) {
    if (hover_ >= 0) {
      hover_ = -1;
      Refresh();
    }
    event.Skip();
  });
  Bind(wxEVT_UPDATE_UI, &PalettePanel::OnUpdateUI, this);
}

void PalettePanel::SetColumns(int columns) {
  palette_.SetColumns(columns);
  Refresh();
}

void PalettePanel::SetGlyphs(bool notation, std::span<const uint32_t> codes) {
  palette_.SetGlyphs(notation, codes);
  atlas_ = DeviceBitmap();
  Refresh();
}

wxSize PalettePanel::PaletteSize() const {
  const Size size = palette_.SizeFor(palette_.Columns());
  return wxSize(size.cx, size.cy);
}

int PalettePanel::ButtonAt(const wxPoint& point) const {
  const palettes::PaletteLayout layout = palette_.LayOut(ClientRect(*this));
  for (size_t i = 0; i < layout.buttons.size(); ++i) {
    const Rect& r = layout.buttons[i];
    if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return static_cast<int>(i);
  }
  return -1;
}

void PalettePanel::Press(size_t index) {
  if (index >= palette_.Buttons().size() || !routing_.send) return;
  const palettes::PaletteButton& button = palette_.Buttons()[index];
  routing_.send(view::CommandEvent{button.command, button.value, {}});
}

void PalettePanel::Paint(DeviceContext& dc) {
  const Rect client = ClientRect(*this);
  dc.FillSolidRect(client, kBackground);
  // The buttons' pictures are drawn when the palette first shows.
  if (atlas_.IsEmpty()) atlas_ = palettes::DrawPaletteAtlas(palette_);
  const palettes::PaletteLayout layout = palette_.LayOut(client);
  for (size_t i = 0; i < layout.buttons.size(); ++i) {
    const view::CommandState state = routing_.state ? routing_.state(palette_.Buttons()[i].command) : view::CommandState{};
    const bool enabled = state.handled && state.enabled;
    const Rect& r = layout.buttons[i];
    const Rect cell = palettes::AtlasCell(palette_, i, enabled);
    dc.BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, atlas_, cell.left, cell.top);
    Rect inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (state.checked.value_or(false)) {
      dc.Draw3dRect(r, RGB(250, 150, 150), RGB(230, 150, 150));
      dc.Draw3dRect(inner, RGB(128, 128, 128), RGB(255, 255, 255));
    } else if (static_cast<int>(i) == hover_ && enabled) {
      dc.Draw3dRect(inner, RGB(255, 255, 255), RGB(128, 128, 128));
    }
  }
  palettes::DrawPaletteFrame(dc, client, layout.title, palette_.Info().title);
}

void PalettePanel::OnMotion(wxMouseEvent& event) {
  const int button = ButtonAt(event.GetPosition());
  if (button != hover_) {
    hover_ = button;
    SetToolTip(button >= 0 ? wxString::FromUTF8(std::string(palette_.Buttons()[static_cast<size_t>(button)].tip))
                           : wxString());
    Refresh();
  }
  event.Skip();
}

void PalettePanel::OnLeftUp(wxMouseEvent& event) {
  const int button = ButtonAt(event.GetPosition());
  if (button >= 0) {
    const view::CommandState state =
        routing_.state ? routing_.state(palette_.Buttons()[static_cast<size_t>(button)].command) : view::CommandState{};
    if (state.handled && state.enabled) Press(static_cast<size_t>(button));
  }
  event.Skip();
}

void PalettePanel::OnUpdateUI(wxUpdateUIEvent& event) {
  // The buttons show what the routing says of their commands: repaint when that changed.
  if (routing_.state && IsShownOnScreen()) {
    std::vector<view::CommandState> states;
    states.reserve(palette_.Buttons().size());
    for (const palettes::PaletteButton& button : palette_.Buttons()) states.push_back(routing_.state(button.command));
    const auto same = [](const view::CommandState& a, const view::CommandState& b) {
      return a.handled == b.handled && a.enabled == b.enabled && a.checked == b.checked;
    };
    if (states.size() != shownStates_.size() || !std::equal(states.begin(), states.end(), shownStates_.begin(), same)) {
      shownStates_ = std::move(states);
      Refresh();
    }
  }
  event.Skip();
}

// ---------------------------------------------------------------------------------------------
// A pane of six palettes

PalettePane::PalettePane(wxWindow* parent, int pane, PaletteRouting routing) : wxPanel(parent, wxID_ANY) {
  const std::span<const PaletteInfo> infos = palettes::PanePalettes(pane);
  firstCommand_ = infos.front().command;
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  selector_ = new wxChoice(this, wxID_ANY);
  for (const PaletteInfo& info : infos) selector_->Append(wxString::FromUTF8(std::string(info.selectorName)));
  selector_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& event) { OnSelector(event.GetSelection()); });
  sizer->Add(selector_, 0, wxEXPAND);

  // The bar draws its own buttons, so that all six fit the pane's width.
  selectorBar_ = new wxAuiToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0);
  for (const PaletteInfo& info : infos) {
    auto* panel = new PalettePanel(this, info, routing);
    panel->Hide();
    palettes_.push_back(panel);
    // Each selector shows the first glyph of its palette.
    const wxString name = wxString::FromUTF8(std::string(info.selectorName));
    selectorBar_->AddTool(info.command, name, ToWxBitmap(palettes::DrawPaletteButton(palettes::ToolsPalette(info), 0)),
                          name, wxITEM_RADIO);
  }
  selectorBar_->SetToolBitmapSize(wxSize(infos.front().buttonSize, infos.front().buttonSize));
  selectorBar_->SetToolBorderPadding(1);
  selectorBar_->SetToolPacking(0);
  selectorBar_->SetMargins(1, 1, 1, 1);
  selectorBar_->Realize();
  selectorBar_->Bind(wxEVT_TOOL, [routing](wxCommandEvent& event) {
    if (routing.send) routing.send(view::CommandEvent{event.GetId(), std::nullopt, {}});
  });
  sizer->Add(selectorBar_, 0, wxEXPAND);
  for (PalettePanel* panel : palettes_) sizer->Add(panel, 1, wxEXPAND);
  SetSizer(sizer);
  SelectPalette(firstCommand_);
}

void PalettePane::SelectPalette(int command) {
  if (current_ != nullptr) current_->Hide();
  current_ = nullptr;
  currentCommand_ = command;
  const int index = command - firstCommand_;
  if (index >= 0 && static_cast<size_t>(index) < palettes_.size()) {
    current_ = palettes_[static_cast<size_t>(index)];
    current_->Show();
    selector_->SetSelection(index);
    selectorBar_->ToggleTool(command, true);
  }
  Layout();
  Refresh();
}

void PalettePane::OnSelector(int index) {
  if (index < 0 || static_cast<size_t>(index) >= palettes_.size()) {
    Prompts().ShowMessage("No such toolbar", MessageKind::kError);
    return;
  }
  SelectPalette(firstCommand_ + index);
}

// ---------------------------------------------------------------------------------------------
// The two panes and their tool bar

SplitPalettePane::SplitPalettePane(wxWindow* parent, wxAuiManager& dock, PaletteRouting routing)
    : wxPanel(parent, wxID_ANY), dock_(dock), routing_(std::move(routing)) {
  SetName("Palettes");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  toolBar_ = MakeCommandToolBar(this, palettes::kPaneToolBar, [this](int command) { SendCommand(command); });
  sizer->Add(toolBar_, 0, wxEXPAND);
  splitter_ = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_LIVE_UPDATE | wxSP_3DSASH);
  splitter_->SetMinimumPaneSize(25);
  splitter_->SetSashGravity(0.5);
  panes_[0] = new PalettePane(splitter_, palettes::kUpperPane, routing_);
  panes_[1] = new PalettePane(splitter_, palettes::kLowerPane, routing_);
  splitter_->SplitHorizontally(panes_[0], panes_[1]);
  sizer->Add(splitter_, 1, wxEXPAND);
  SetSizer(sizer);
  // The upper pane takes half of the height below the tool bar.
  splitter_->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    splitter_->SetSashPosition(std::max(25, event.GetSize().y / 2));
    event.Skip();
  });
}

SplitPalettePane::~SplitPalettePane() {
  if (floating_ != nullptr) {
    dock_.DetachPane(floating_);
    floating_->Destroy();
  }
}

void SplitPalettePane::SelectPalette(int command) {
  for (PalettePane* pane : panes_) {
    for (PalettePanel* palette : pane->Palettes()) {
      if (palette->Model().Info().command == command) pane->SelectPalette(command);
    }
  }
}

int SplitPalettePane::CurrentPalette(int pane) const {
  return pane >= 0 && pane < 2 ? panes_[static_cast<size_t>(pane)]->CurrentCommand() : 0;
}

void SplitPalettePane::FloatPalette(int pane) {
  if (pane < 0 || pane > 1) return;
  PalettePanel* current = panes_[static_cast<size_t>(pane)]->Current();
  if (current == nullptr) return;
  const PaletteInfo& info = current->Model().Info();
  if (floating_ != nullptr && floatingResource_ == info.resource) {
    dock_.GetPane(floating_).Show();
    dock_.Update();
    return;
  }
  if (floating_ != nullptr) {
    dock_.DetachPane(floating_);
    floating_->Destroy();
    floating_ = nullptr;
  }
  auto* copy = new PalettePanel(dock_.GetManagedWindow(), info, routing_);
  copy->SetColumns(4);
  if (info.resource == palettes::kOrnamentPaletteResource) {
    copy->Model().SetLocked(false);
    // The copy shows the ornament glyphs the pane's ornament palette was given.
    for (PalettePanel* palette : panes_[1]->Palettes()) {
      const palettes::ToolsPalette& model = palette->Model();
      if (model.Info().resource == palettes::kOrnamentPaletteResource && !model.GlyphCodes().empty()) {
        copy->SetGlyphs(model.NotationGlyphs(), model.GlyphCodes());
      }
    }
  }
  const wxSize size = copy->PaletteSize();
  dock_.AddPane(copy, wxAuiPaneInfo()
                          .Name(kFloatingPaneName)
                          .Caption(wxString::FromUTF8(std::string(info.title)))
                          .Float()
                          .FloatingPosition(GetScreenPosition() + wxPoint(GetSize().x + 10, 0))
                          .FloatingSize(size + wxSize(10, 40))
                          .BestSize(size)
                          .CloseButton(true));
  dock_.Update();
  floating_ = copy;
  floatingResource_ = info.resource;
}

void SplitPalettePane::SetColumns(int columns) {
  columns_ = columns;
  for (PalettePane* pane : panes_) {
    for (PalettePanel* palette : pane->Palettes()) palette->SetColumns(columns);
  }
}

void SplitPalettePane::SendCommand(int id) {
  if (routing_.send) routing_.send(view::CommandEvent{id, std::nullopt, {}});
}

}  // namespace vornel
