#pragma once
// A headless score window that remembers the last area the view invalidated, as the canvas's
// paint clips to it (the benchmarks of typing repaint that strip), and the timers running.

#include <set>

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

}  // namespace vornel::bench
