#include "shell/ui/console/KeyboardConsole.h"

#include "shell/bars/ToolbarTable.h"
#include "shell/console/ConsoleTable.h"
#include "shell/console/PianoKeyboard.h"
#include "platform/draw/DeviceContext.h"
#include "shell/ui/bars/ToolBarEx.h"

namespace vornel {

namespace {

bool InClickRect(const wxPoint& p) {
  const Rect& r = console::kPianoClickRect;
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

CPianoKey::CPianoKey(wxWindow* parent, std::function<void(uint8_t)> enter)
    : DrawingPanel(parent, [this](DeviceContext& dc) {
        const wxSize client = GetClientSize();
        dc.FillSolidRect({0, 0, client.x, client.y}, console::kPianoBackground);
        console::DrawPianoKeyboard(dc);
      }),
      enter_(std::move(enter)) {
  const Size size = console::PianoPictureSize();
  SetMinSize(wxSize(size.cx, size.cy));
  Bind(wxEVT_LEFT_DOWN, &CPianoKey::OnLeftDown, this);
  Bind(wxEVT_MOTION, &CPianoKey::OnMotion, this);
}

bool CPianoKey::Click(int x, int y) {
  const std::optional<uint8_t> pitch = console::PianoKeyAt(x, y);
  if (!pitch) return false;
  if (enter_) enter_(*pitch);
  return true;
}

void CPianoKey::OnLeftDown(wxMouseEvent& event) {
  Click(event.GetX(), event.GetY());
  event.Skip();
}

void CPianoKey::OnMotion(wxMouseEvent& event) {
  // The key cursor over the keys, the ordinary one elsewhere.
  SetCursor(InClickRect(event.GetPosition()) ? wxCursor(wxCURSOR_CROSS) : wxNullCursor);
  event.Skip();
}

CMyKeyboardBar::CMyKeyboardBar(wxWindow* parent, BarCommands& commands, ConsoleTarget target)
    : wxPanel(parent, wxID_ANY), target_(std::move(target)) {
  bar_ = new CToolBarEx(this, *bars::FindToolbar(bars::kConsoleBar), commands);
  bar_->sendCommand = [this](int id) {
    console::RunConsoleCommand(target_.viewCommands ? target_.viewCommands() : nullptr, id);
  };
  bar_->checkState = [this](int id) {
    return console::ConsoleCheckState(target_.viewCommands ? target_.viewCommands() : nullptr, id);
  };
  bar_->onChanged = [this](CToolBarEx&) {
    wxSizeEvent size(GetSize());
    OnSize(size);
  };
  piano_ = new CPianoKey(this, [this](uint8_t pitch) {
    if (target_.inputPianoKey) target_.inputPianoKey(pitch);
  });
  Bind(wxEVT_SIZE, &CMyKeyboardBar::OnSize, this);
}

void CMyKeyboardBar::ShowEditingBar(bool show) {
  bar_->Show(show);
  wxSizeEvent size(GetSize());
  OnSize(size);
}

bool CMyKeyboardBar::EditingBarShown() const { return bar_->IsShown(); }

void CMyKeyboardBar::OnSize(wxSizeEvent& event) {
  // The bar spans the width from the top; the piano fills the rest from 32 pixels down.
  const wxSize client = GetClientSize();
  bar_->SetSize(0, 0, client.x, bar_->GetBestSize().y);
  piano_->SetSize(0, kPianoTop, client.x, std::max(0, client.y - kPianoTop));
  event.Skip();
}

}  // namespace vornel
