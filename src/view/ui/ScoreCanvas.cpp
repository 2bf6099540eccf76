#include "view/ui/ScoreCanvas.h"

#include "view/commands/Accelerators.h"
#include "view/commands/CommandTable.h"

#include <wx/weakref.h>
#include <wx/dcclient.h>
#include <wx/menu.h>

#include <exception>

#include "layout/ui/dialogs/PaperSetup.h"
#include "midi/play/MidiOutStream.h"
#include "midi/ui/WxMidiDialogs.h"
#include "platform/UserPrompts.h"
#include "view/FramePanes.h"
#include "view/entry/KeyInput.h"
#include "view/entry/NoteEntry.h"
#include "view/ui/KeyMapping.h"
#include "view/ui/ScorePrinting.h"
#include "view/ui/ScrolledViewWindow.h"

namespace vornel::view {

namespace {

// Score canvases painting now (a paint may run inside another window's event).
int g_paintDepth = 0;

uint32_t ModifiersOf(const wxMouseState& state) {
  uint32_t modifiers = 0;
  if (state.ShiftDown()) modifiers |= kShiftKey;
  if (state.ControlDown()) modifiers |= kControlKey;
  if (state.AltDown()) modifiers |= kAltKey;
  return modifiers;
}

uint32_t ButtonsOf(const wxMouseEvent& event) {
  uint32_t buttons = 0;
  if (event.LeftIsDown()) buttons |= kLeftButton;
  if (event.RightIsDown()) buttons |= kRightButton;
  if (event.MiddleIsDown()) buttons |= kMiddleButton;
  return buttons;
}

wxCursor CursorOf(PointerShape shape) {
  switch (shape) {
    case PointerShape::kPanNeutral: return wxCursor(wxCURSOR_SIZING);
    case PointerShape::kPanUp:
    case PointerShape::kPanDown: return wxCursor(wxCURSOR_SIZENS);
    case PointerShape::kPanLeft:
    case PointerShape::kPanRight: return wxCursor(wxCURSOR_SIZEWE);
    default: return wxNullCursor;
  }
}

void AppendItems(wxMenu& menu, const std::vector<MenuItem>& items, std::map<int, int>& commands) {
  for (const MenuItem& item : items) {
    if (!item.items.empty()) {
      auto* sub = new wxMenu;
      AppendItems(*sub, item.items, commands);
      menu.AppendSubMenu(sub, wxString::FromUTF8(item.text));
    } else if (item.id == 0) {
      menu.AppendSeparator();
    } else {
      const int windowId = wxWindow::NewControlId();
      commands[windowId] = item.id;
      wxMenuItem* added = menu.Append(windowId, wxString::FromUTF8(WithAcceleratorKeys(item.id, item.text)));
      const CommandState state = Panes().CommandStateOf(item.id);
      added->Enable(state.handled && state.enabled);
    }
  }
}

}  // namespace

// The window as the view sees it: a scrolled canvas with the score's timers, menus, pointer
// shapes and printing.
class ScoreCanvas::Window : public ScrolledViewWindow {
 public:
  explicit Window(ScoreCanvas& canvas) : ScrolledViewWindow(canvas, canvas.painting_), score_(canvas) {}

  void StartTimer(int id, int milliseconds) override {
    std::unique_ptr<wxTimer>& timer = score_.timers_[id];
    if (timer == nullptr) {
      timer = std::make_unique<wxTimer>(&score_);
      score_.Bind(wxEVT_TIMER, [this, id](wxTimerEvent&) { score_.OnTimer(id); }, timer->GetId());
    }
    timer->Start(milliseconds);
  }
  void StopTimer(int id) override {
    const auto found = score_.timers_.find(id);
    if (found != score_.timers_.end()) found->second->Stop();
  }
  void SetPointer(PointerShape shape) override { score_.SetCursor(CursorOf(shape)); }
  void ShowContextMenu(int, const std::vector<MenuItem>& items, Point client) override {
    wxMenu menu;
    std::map<int, int> commands;
    AppendItems(menu, items, commands);
    const int chosen = score_.GetPopupMenuSelectionFromUser(menu, wxPoint(client.x, client.y));
    const auto found = commands.find(chosen);
    if (found != commands.end()) Panes().DispatchCommand(found->second);
  }
  void RunPrint(bool preview, bool showDialog) override {
    RunScorePrint(wxGetTopLevelParent(&score_), score_.View(), preview, showDialog);
    if (preview) return;
    // Printed or cancelled, the keys come back to the score. The main window is activated
    // again once the print dialog has gone and then puts the keys on itself: they are given
    // back after that as well.
    score_.SetFocus();
    wxWeakRef<wxWindow> score(&score_);
    score_.CallAfter([score] {
      if (score) score->SetFocus();
    });
  }
  bool RunPrintSetup(CPageDlg& page) override { return RunPageSetup(wxGetTopLevelParent(&score_), page); }

 private:
  ScoreCanvas& score_;
};

ScoreCanvas::ScoreCanvas(wxWindow* parent, CBriotabDoc& doc, ScoreCanvasOptions options)
    : wxScrolledCanvas(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxHSCROLL | wxVSCROLL | wxWANTS_CHARS),
      background_(options.background),
      window_(std::make_unique<Window>(*this)) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetScrollRate(1, 1);
  playerOwner_ = std::make_unique<WindowPlayerOwner>(*this, [this](uint32_t word) {
    MidiOutStream* player = view_ != nullptr ? view_->Player() : nullptr;
    if (player != nullptr) Guarded([&] { view_->OnPlayerNotify(player, PlayerReportOf(word, *player)); });
  });
  ViewServices services;
  services.playerOwner = playerOwner_.get();
  services.playerOutput = std::move(options.playerOutput);
  services.echo = std::move(options.echo);
  services.playTick = std::move(options.playTick);
  services.playMidiFile = std::move(options.playMidiFile);
  view_ = std::make_unique<CBriotabView>(doc, *window_, std::move(services));
  view_->OnInitialUpdate();
  if (view_->Player() != nullptr) playerOwner_->Attach(*view_->Player());

  Bind(wxEVT_PAINT, &ScoreCanvas::OnPaint, this);
  Bind(wxEVT_SIZE, &ScoreCanvas::OnSize, this);
  Bind(wxEVT_LEFT_DOWN, &ScoreCanvas::OnMouse, this);
  Bind(wxEVT_LEFT_UP, &ScoreCanvas::OnMouse, this);
  Bind(wxEVT_LEFT_DCLICK, &ScoreCanvas::OnMouse, this);
  Bind(wxEVT_MOTION, &ScoreCanvas::OnMouse, this);
  Bind(wxEVT_MIDDLE_DOWN, &ScoreCanvas::OnMouse, this);
  Bind(wxEVT_MIDDLE_UP, &ScoreCanvas::OnMouse, this);
  Bind(wxEVT_MOUSEWHEEL, &ScoreCanvas::OnWheel, this);
  Bind(wxEVT_CONTEXT_MENU, &ScoreCanvas::OnContextMenu, this);
  Bind(wxEVT_SET_FOCUS, &ScoreCanvas::OnFocus, this);
  Bind(wxEVT_KILL_FOCUS, &ScoreCanvas::OnFocus, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, [](wxMouseCaptureLostEvent&) {});
  Bind(wxEVT_KEY_DOWN, &ScoreCanvas::OnKey, this);
  Bind(wxEVT_KEY_UP, &ScoreCanvas::OnKey, this);
  Bind(wxEVT_CHAR, &ScoreCanvas::OnCharEvent, this);
}

ScoreCanvas::~ScoreCanvas() {
  for (auto& [id, timer] : timers_) timer->Stop();
  // The view goes first: it stops its player and lets go of the owner.
  view_.reset();
  playerOwner_.reset();
}

template <typename F>
void ScoreCanvas::Guarded(F&& call) {
  // As a command's failure: shown as the system's message, never past the handler.
  ReportCommandFailures(CommandEvent{}, std::function<void()>(std::forward<F>(call)));
}

bool ScoreCanvas::AnyPainting() { return g_paintDepth > 0; }

void ScoreCanvas::InputPianoKey(int pitch) {
  Guarded([&] { view_->Entry().InputPianoKey(pitch); });
}

void ScoreCanvas::PaintInto(DeviceContext& dc) {
  const wxSize size = GetClientSize();
  PaintView(*view_, dc, {size.x, size.y}, background_);
}

void ScoreCanvas::OnPaint(wxPaintEvent&) {
  ++g_paintDepth;
  PaintWithCairo(*this, window_->Resolution(), painting_, [this](DeviceContext& device) { PaintInto(device); });
  --g_paintDepth;
}

void ScoreCanvas::OnSize(wxSizeEvent& event) {
  Guarded([this] { view_->UpdateScrollSizes(); });
  Refresh(false);
  event.Skip();
}

void ScoreCanvas::OnMouse(wxMouseEvent& event) {
  MouseEvent e;
  e.point = {event.GetX(), event.GetY()};
  e.buttons = ButtonsOf(event);
  e.modifiers = ModifiersOf(event);
  const wxEventType type = event.GetEventType();
  Guarded([&] {
    if (type == wxEVT_LEFT_DOWN) {
      SetFocus();
      view_->OnLButtonDown(e);
    } else if (type == wxEVT_LEFT_UP) {
      view_->OnLButtonUp(e);
    } else if (type == wxEVT_LEFT_DCLICK) {
      view_->OnLButtonDblClk(e);
    } else if (type == wxEVT_MOTION) {
      view_->OnMouseMove(e);
    } else if (type == wxEVT_MIDDLE_DOWN) {
      view_->OnMButtonDown(e);
    } else if (type == wxEVT_MIDDLE_UP) {
      view_->OnMButtonUp(e);
    }
  });
  event.Skip(type == wxEVT_LEFT_DOWN);
}

void ScoreCanvas::OnWheel(wxMouseEvent& event) {
  MouseEvent e;
  e.point = {event.GetX(), event.GetY()};
  e.modifiers = ModifiersOf(event);
  const int delta = event.GetWheelRotation();
  if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL) {
    event.Skip();
    return;
  }
  Guarded([&] { view_->OnMouseWheel(e, delta); });
}

void ScoreCanvas::OnContextMenu(wxContextMenuEvent& event) {
  wxPoint point = event.GetPosition();
  point = point == wxDefaultPosition ? wxPoint(0, 0) : ScreenToClient(point);
  Guarded([&] { view_->OnContextMenu({point.x, point.y}); });
}

void ScoreCanvas::OnKey(wxKeyEvent& event) {
  // Function keys belong to the frame's accelerators; everything else goes to the view first,
  // with the character the key types: the view types it when it does not take the key. A key
  // the view took or typed is passed on no further; the others go on (to the frame, and to
  // the window system, whose character for them is not wanted here).
  event.Skip();
  const int code = event.GetKeyCode();
  if (code >= WXK_F1 && code <= WXK_F24) return;
  KeyEvent key;
  key.key = VirtualKeyOf(code);
  key.shift = event.ShiftDown();
  key.ctrl = event.ControlDown();
  key.alt = event.AltDown();
  const bool down = event.GetEventType() == wxEVT_KEY_DOWN;
  const char32_t typed = down ? CharacterOfKeysym(event.GetRawKeyCode()) : 0;
  if (key.key == 0 && typed == 0) return;
  bool taken = false;
  Guarded([&] {
    if (down) {
      taken = view_->Entry().PressKey(key, typed);
    } else if (key.key != 0) {
      view_->Entry().OnKeyUp(key);
    }
  });
  if (taken) event.Skip(false);
}

void ScoreCanvas::OnCharEvent(wxKeyEvent&) {
  // Characters were typed when their keys went down; the window system's characters of the
  // keys passed on are not passed on either, so the scrolled window does not scroll as well.
}

void ScoreCanvas::OnFocus(wxFocusEvent& event) {
  const bool gained = event.GetEventType() == wxEVT_SET_FOCUS;
  Guarded([&] {
    if (gained) {
      view_->OnSetFocus();
    } else {
      view_->OnKillFocus();
    }
  });
  event.Skip();
}

void ScoreCanvas::OnTimer(int id) {
  Guarded([&] { view_->OnTimer(id); });
}

}  // namespace vornel::view
