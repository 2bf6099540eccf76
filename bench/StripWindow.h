#pragma once
// A headless score window that remembers the last area the view invalidated, as the canvas's
// paint clips to it (the benchmarks of typing repaint that strip), and the timers running.

#include <cairo.h>

#include <set>

#include "platform/draw/CairoDevice.h"
#include "view/core/CBriotabView.h"
#include "view/core/HeadlessViewWindow.h"

namespace vornel::bench {

class StripWindow : public view::HeadlessViewWindow {
 public:
  StripWindow() : HeadlessViewWindow({1200, 900}) {}
  void InvalidateRect(const Rect& r) override { last = r; }
  void StartTimer(int id, int) override { timers.insert(id); }
  void StopTimer(int id) override { timers.erase(id); }
  Rect last;
  std::set<int> timers;
};

// One paint of the view on `cr` as the window's canvas paints it: prepared, drawn and overlaid.
inline void PaintView(view::CBriotabView& view, const StripWindow& window, cairo_t* cr) {
  CairoDevice dc(cr, 96, 96, false);
  dc.SetExtent(window.ClientSize());
  view.OnPrepareDC(dc);
  view.OnDraw(dc);
  view.DrawOverlays(dc);
}

}  // namespace vornel::bench
