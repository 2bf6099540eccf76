#pragma once
// The score view's window: a scrolled canvas that paints the view through the Cairo device at
// device pixels and hands the view its mouse, wheel, focus, size and timer events and its
// player's reports. Nothing thrown by the view leaves an event handler.

#include <wx/scrolwin.h>
#include <wx/timer.h>

#include <map>
#include <memory>

#include "midi/play/MidiOut.h"
#include "view/core/CBriotabView.h"

namespace vornel {

class CBriotabDoc;
class WindowPlayerOwner;

namespace view {

struct ScoreCanvasOptions {
  COLORREF background = 0x808080;  // the screen around the page
  MidiOutFactory playerOutput;     // empty: the default output
  std::shared_ptr<EchoOutput> echo;  // null: no echo
  std::function<void()> playTick;
  std::function<void()> playMidiFile;
};

class ScoreCanvas : public wxScrolledCanvas {
 public:
  ScoreCanvas(wxWindow* parent, CBriotabDoc& doc, ScoreCanvasOptions options = {});
  ~ScoreCanvas() override;

  CBriotabView& View() { return *view_; }
  // Paints the view as the window would into a device of the client's size (for tests and
  // screenshots).
  void PaintInto(DeviceContext& dc);
  // True while any score canvas paints: the view sets the status bar's panes as it draws, and
  // a window that repaints at once would nest a paint inside this one.
  static bool AnyPainting();
  // Enters a key of the keyboard console's piano (a MIDI pitch) at the view's cursor.
  void InputPianoKey(int pitch);

 private:
  class Window;

  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnMouse(wxMouseEvent& event);
  void OnWheel(wxMouseEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnFocus(wxFocusEvent& event);
  void OnKey(wxKeyEvent& event);
  void OnCharEvent(wxKeyEvent& event);
  void OnTimer(int id);
  // Runs a view call; what it throws is shown as the system's message.
  template <typename F>
  void Guarded(F&& call);

  COLORREF background_;
  std::unique_ptr<Window> window_;
  std::unique_ptr<WindowPlayerOwner> playerOwner_;
  std::unique_ptr<CBriotabView> view_;
  std::map<int, std::unique_ptr<wxTimer>> timers_;
  bool painting_ = false;
  friend class Window;
};

}  // namespace view
}  // namespace vornel
