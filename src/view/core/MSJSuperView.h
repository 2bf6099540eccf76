#pragma once
// The scrolling base of the score view: the scroll origin every drawing and hit test goes
// through, scrolling by a direction, and middle-button panning. Pressing the middle button
// (alone, without Ctrl) marks the point it went down at; while it is held a 10 ms timer
// scrolls the view towards the pointer at a speed of an eighth of its distance from the
// mark, and the pointer shows the direction. The pointer is never moved (a window may not
// warp it), and the mark is drawn by the view.
//
// The score view draws in device pixels at its own zoom, so this base has no zoom factor of
// its own: Ctrl + wheel goes to the view's zoom (CBriotabView::OnMouseWheel).

#include <optional>

#include "platform/draw/DeviceContext.h"
#include "view/core/ViewWindow.h"

namespace vornel::view {

class MSJSuperView {
 public:
  // Scroll directions of ScrollBy.
  enum Direction : int { kUp = 1, kLeft = 2, kDown = 3, kRight = 4 };

  // One step of a pan: where the pointer stands from the mark gives the direction (the
  // larger distance wins; a tie goes up or down) and an eighth of that distance the amount.
  struct PanStep {
    int direction = 0;  // kUp ... kRight
    int amount = 0;     // pixels; 0 scrolls nothing
    PointerShape shape = PointerShape::kPanNeutral;
  };
  static PanStep PanStepFor(Point offset);

  explicit MSJSuperView(ViewWindow& window) : window_(window) {}
  virtual ~MSJSuperView() = default;
  MSJSuperView(const MSJSuperView&) = delete;
  MSJSuperView& operator=(const MSJSuperView&) = delete;

  ViewWindow& Window() const { return window_; }

  // Puts the scroll origin on `dc`: the page's logical pixels land on the client.
  void OnPrepareDC(DeviceContext& dc) const;
  Point ClientToLogical(Point client) const;
  Point LogicalToClient(Point logical) const;
  Rect LogicalToClient(const Rect& logical) const;
  Rect ClientToLogical(const Rect& client) const;
  // The client area in logical pixels.
  Rect LogicalClientRect() const;

  // The scrollable size the view set last, and the steps it derives (a tenth of the size a
  // page, a tenth of a page a line).
  void SetScrollSizes(Size total);
  Size TotalSize() const { return total_; }
  Size PageStep() const;
  Size LineStep() const;
  // Scrolls to a position within the range.
  void ScrollTo(Point position);
  // Scrolls `amount` pixels in a direction along an axis the window can scroll; true when the
  // position changed. An axis without a scroll bar does not move; the other still does.
  bool ScrollBy(int direction, int amount);

  // --- panning
  // Middle button down: starts a pan when the middle button is the only one held and Ctrl is
  // up. True when it started.
  bool OnMButtonDown(const MouseEvent& event);
  void OnMButtonUp(const MouseEvent& event);
  // The pointer moved (client point); a pan reads it on its next tick.
  void OnPointerMoved(Point client) { pointer_ = client; }
  // The pan timer's tick: scrolls towards the pointer; returns the step taken.
  PanStep OnPanTimer();
  bool Panning() const { return panning_; }
  // Where the pan's mark stands (client), while panning.
  std::optional<Point> PanMark() const;
  // Draws the pan's mark at its place (logical units on a prepared device).
  void DrawPanMark(DeviceContext& dc) const;

 private:
  ViewWindow& window_;
  Size total_;
  bool panning_ = false;
  Point panOrigin_;
  Point pointer_;
};

}  // namespace vornel::view
