#pragma once
// A view's canvas in a frame of its own for the window tests: made with the canvas's own
// arguments, painted on request (letting the events run), and closed when the test ends.

#include <wx/app.h>
#include <wx/frame.h>

#include <utility>

namespace vornel::testing {

inline void SettleWindows(int rounds = 30) {
  for (int i = 0; i < rounds; ++i) wxTheApp->Yield(true);
}

template <typename Canvas>
struct CanvasWindow {
  wxFrame* frame;
  Canvas* canvas;

  template <typename... Args>
  explicit CanvasWindow(const char* title, Args&&... args)
      : frame(new wxFrame(nullptr, wxID_ANY, title, wxDefaultPosition, wxSize(900, 800))),
        canvas(new Canvas(frame, std::forward<Args>(args)...)) {}
  ~CanvasWindow() {
    frame->Close(true);
    wxTheApp->ProcessIdle();
    SettleWindows(5);
  }
  CanvasWindow(const CanvasWindow&) = delete;
  CanvasWindow& operator=(const CanvasWindow&) = delete;

  void Paint() {
    canvas->Refresh();
    canvas->Update();
    SettleWindows();
  }
};

}  // namespace vornel::testing
