#pragma once
// Real input for the window tests of the running editor: the pointer moved to a point of a
// window on the screen and clicked, keys typed, through the window system's own event queue
// (wxUIActionSimulator), with the events they cause handled before the next step.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/eventfilter.h>
#include <wx/menu.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/window.h>

#include <functional>
#include <string>
#include <utility>

namespace vornel::testing {

// Lets the window system deliver what is queued (the simulator's events arrive through the X
// server) and handles it.
inline void Pump(int rounds = 6) {
  for (int i = 0; i < rounds; ++i) {
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxTheApp->ProcessPendingEvents();
    wxTheApp->Yield(true);
  }
}

// The window painted, so that what the pointer meets is what it shows.
inline void Expose(wxWindow& window) {
  if (wxWindow* top = wxGetTopLevelParent(&window)) top->Update();
  window.Update();
  Pump();
}

inline void MoveTo(wxWindow& window, wxPoint client) {
  Expose(window);
  wxUIActionSimulator input;
  input.MouseMove(window.ClientToScreen(client));
  Pump();
}

inline void ClickAt(wxWindow& window, wxPoint client, int button = wxMOUSE_BTN_LEFT) {
  MoveTo(window, client);
  wxUIActionSimulator input;
  input.MouseClick(button);
  Pump();
}

inline void DoubleClickAt(wxWindow& window, wxPoint client) {
  MoveTo(window, client);
  wxUIActionSimulator input;
  input.MouseDblClick();
  Pump();
}

// Presses at `from`, moves in steps to `to` and lets go there.
inline void DragFromTo(wxWindow& window, wxPoint from, wxPoint to) {
  MoveTo(window, from);
  wxUIActionSimulator input;
  input.MouseDown();
  Pump();
  constexpr int kSteps = 4;
  for (int i = 1; i <= kSteps; ++i) {
    const wxPoint at = from + (to - from) * i / kSteps;
    input.MouseMove(window.ClientToScreen(at));
    Pump();
  }
  input.MouseUp();
  Pump();
}

inline void ClickCentre(wxWindow& window) {
  const wxSize size = window.GetClientSize();
  ClickAt(window, wxPoint(size.x / 2, size.y / 2));
}

inline void TypeText(const std::string& text) {
  wxUIActionSimulator input;
  input.Text(text.c_str());
  Pump();
}

inline void PressKey(int key, int modifiers = wxMOD_NONE) {
  wxUIActionSimulator input;
  input.Char(key, modifiers);
  Pump();
}

// Works the next pop-up menu that opens: a menu shown by a click blocks until it is
// dismissed, so `action` (keys that choose an entry) runs from its loop, once it has opened.
class OnNextMenu : public wxEventFilter {
 public:
  explicit OnNextMenu(std::function<void(wxMenu& menu)> action) : action_(std::move(action)) {
    timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
      if (action_ && menu_ != nullptr) std::exchange(action_, nullptr)(*menu_);
    });
    wxEvtHandler::AddFilter(this);
  }
  ~OnNextMenu() override {
    wxEvtHandler::RemoveFilter(this);
    timer_.Stop();
  }
  bool Opened() const { return opened_; }

  int FilterEvent(wxEvent& event) override {
    if (event.GetEventType() == wxEVT_MENU_OPEN && !opened_) {
      opened_ = true;
      menu_ = static_cast<wxMenuEvent&>(event).GetMenu();
      // The menu takes the keyboard once it is mapped.
      timer_.StartOnce(50);
    }
    return Event_Skip;
  }

 private:
  std::function<void(wxMenu&)> action_;
  wxTimer timer_;
  bool opened_ = false;
  wxMenu* menu_ = nullptr;
};

}  // namespace vornel::testing
