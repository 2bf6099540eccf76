#pragma once
// The score view's window where there is no screen (the command-line tool's printing, the
// benchmarks): a client area of a given size at 96 pixels to the inch, a scroll position kept
// within its range, and nothing painted, timed or shown.

#include <algorithm>
#include <vector>

#include "view/core/ViewWindow.h"

namespace vornel::view {

class HeadlessViewWindow : public ViewWindow {
 public:
  explicit HeadlessViewWindow(Size client = {1000, 1300}) : client_(client) {}

  Size ClientSize() const override { return client_; }
  Size Resolution() const override { return {96, 96}; }
  Point ScrollPosition() const override { return scroll_; }
  void SetScrollSizes(Size total, Size, Size) override { total_ = total; }
  void ScrollTo(Point p) override {
    scroll_ = {std::clamp(p.x, 0, std::max(total_.cx - client_.cx, 0)),
               std::clamp(p.y, 0, std::max(total_.cy - client_.cy, 0))};
  }
  bool HasScrollBar(bool) const override { return true; }
  void Invalidate() override {}
  void InvalidateRect(const Rect&) override {}
  void UpdateNow() override {}
  void TakeFocus() override {}
  void StartTimer(int, int) override {}
  void StopTimer(int) override {}
  void CaptureMouse() override {}
  void ReleaseMouse() override {}
  void SetPointer(PointerShape) override {}
  void ShowContextMenu(int, const std::vector<MenuItem>&, Point) override {}
  void RunPrint(bool, bool) override {}

 private:
  Size client_;
  Point scroll_;
  Size total_;
};

}  // namespace vornel::view
