#pragma once
// What a view's scrolled canvas gives its view alike for every view: the client size, the
// screen's resolution, scrolling (put off until a paint in progress is over), invalidation,
// focus, capture and the pointer. Timers, menus and printing do nothing unless a canvas
// offers them. PaintWithCairo is the canvases' paint: the paint context's Cairo context as
// one of our devices of the client's size.

#include <wx/dcclient.h>
#include <wx/scrolwin.h>

#include <functional>

#include "platform/draw/DeviceContext.h"
#include "view/core/ViewWindow.h"


namespace vornel::view {

class ScrolledViewWindow : public ViewWindow {
 public:
  // `painting` is true while the canvas paints.
  ScrolledViewWindow(wxScrolledCanvas& canvas, const bool& painting) : canvas_(canvas), painting_(painting) {}

  Size ClientSize() const override;
  Size Resolution() const override;
  Point ScrollPosition() const override;
  void SetScrollSizes(Size total, Size page, Size line) override;
  void ScrollTo(Point position) override;
  bool HasScrollBar(bool vertical) const override;
  void Invalidate() override;
  void InvalidateRect(const Rect& client) override;
  void UpdateNow() override;
  void TakeFocus() override;
  void StartTimer(int, int) override {}
  void StopTimer(int) override {}
  void CaptureMouse() override;
  void ReleaseMouse() override;
  void SetPointer(PointerShape) override {}
  void ShowContextMenu(int, const std::vector<MenuItem>&, Point) override {}
  void RunPrint(bool, bool) override {}

 protected:
  wxScrolledCanvas& canvas_;
  const bool& painting_;
};

// A paint handler's work: through the Cairo renderer of the window's paint context, `paint`
// draws on a device of `dpi` and the client's size, with `painting` true meanwhile. Nothing it
// throws leaves; false when there was no Cairo context.
bool PaintWithCairo(wxWindow& window, Size dpi, bool& painting, const std::function<void(DeviceContext&)>& paint);

// A view painted as its window shows it: the background, then on the view's prepared device
// its page and what only the screen shows.
template <typename View>
void PaintView(View& view, DeviceContext& dc, Size client, COLORREF background) {
  dc.FillSolidRect({0, 0, client.cx, client.cy}, background);
  dc.SaveDC();
  view.OnPrepareDC(dc);
  view.OnDraw(dc);
  view.DrawOverlays(dc);
  dc.RestoreDC();
}

}  // namespace vornel::view
