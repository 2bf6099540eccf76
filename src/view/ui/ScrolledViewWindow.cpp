#include "view/ui/ScrolledViewWindow.h"

#include <cairo.h>
#include <wx/graphics.h>

#include <algorithm>
#include <exception>
#include <memory>

#include "platform/draw/CairoDevice.h"

namespace vornel::view {

Size ScrolledViewWindow::ClientSize() const {
  const wxSize size = canvas_.GetClientSize();
  return {size.x, size.y};
}

Size ScrolledViewWindow::Resolution() const {
  const wxSize dpi = canvas_.GetDPI();
  return {dpi.x > 0 ? dpi.x : 96, dpi.y > 0 ? dpi.y : 96};
}

Point ScrolledViewWindow::ScrollPosition() const {
  const wxPoint start = canvas_.GetViewStart();
  return {start.x, start.y};
}

void ScrolledViewWindow::SetScrollSizes(Size total, Size, Size) {
  const wxSize size(std::max(total.cx, 1), std::max(total.cy, 1));
  if (canvas_.GetVirtualSize() != size) canvas_.SetVirtualSize(size);
}

void ScrolledViewWindow::ScrollTo(Point position) {
  if (painting_) {
    // Not while a paint runs: right after it.
    canvas_.CallAfter([this, position] { canvas_.Scroll(position.x, position.y); });
    return;
  }
  canvas_.Scroll(position.x, position.y);
}

bool ScrolledViewWindow::HasScrollBar(bool vertical) const {
  const wxSize client = canvas_.GetClientSize();
  const wxSize total = canvas_.GetVirtualSize();
  return vertical ? total.y > client.y : total.x > client.x;
}

void ScrolledViewWindow::Invalidate() { canvas_.Refresh(false); }

void ScrolledViewWindow::InvalidateRect(const Rect& client) {
  if (client.IsEmpty()) return;
  const wxRect rect(client.left, client.top, client.Width(), client.Height());
  canvas_.RefreshRect(rect, false);
}

void ScrolledViewWindow::UpdateNow() {
  if (!painting_) canvas_.Update();
}

void ScrolledViewWindow::TakeFocus() {
  if (canvas_.IsShownOnScreen() && !canvas_.HasFocus()) canvas_.SetFocus();
}

void ScrolledViewWindow::CaptureMouse() {
  if (!canvas_.HasCapture()) canvas_.CaptureMouse();
}

void ScrolledViewWindow::ReleaseMouse() {
  if (canvas_.HasCapture()) canvas_.ReleaseMouse();
}

bool PaintWithCairo(wxWindow& window, Size dpi, bool& painting, const std::function<void(DeviceContext&)>& paint) {
  wxPaintDC dc(&window);
  wxGraphicsRenderer* renderer = wxGraphicsRenderer::GetCairoRenderer();
  if (renderer == nullptr) return false;
  std::unique_ptr<wxGraphicsContext> gc(renderer->CreateContext(dc));
  auto* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
  if (cr == nullptr) return false;
  painting = true;
  try {
    CairoDevice device(cr, dpi.cx, dpi.cy, false);
    const wxSize client = window.GetClientSize();
    device.SetExtent({client.x, client.y});
    paint(device);
  } catch (const std::exception&) {
    // A page that cannot be drawn leaves the window as far as it got; the drawing reported it.
  }
  painting = false;
  return true;
}

}  // namespace vornel::view
