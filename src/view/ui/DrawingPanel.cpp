#include "view/ui/DrawingPanel.h"

#include <cairo.h>
#include <wx/dcclient.h>
#include <wx/graphics.h>
#include <wx/log.h>

#include <exception>
#include <memory>

#include "platform/draw/CairoDevice.h"

namespace vornel {

DrawingPanel::DrawingPanel(wxWindow* parent, Painter painter)
    : wxPanel(parent, wxID_ANY), painter_(std::move(painter)) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &DrawingPanel::OnPaint, this);
}

void DrawingPanel::SetPainter(Painter painter) {
  painter_ = std::move(painter);
  Refresh();
}

void DrawingPanel::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  wxGraphicsRenderer* renderer = wxGraphicsRenderer::GetCairoRenderer();
  if (renderer == nullptr) return;
  std::unique_ptr<wxGraphicsContext> gc(renderer->CreateContext(dc));
  if (!gc) return;
  auto* cr = static_cast<cairo_t*>(gc->GetNativeContext());
  if (cr == nullptr) return;
  const wxSize ppi = dc.GetPPI();
  CairoDevice device(cr, ppi.x > 0 ? ppi.x : 96, ppi.y > 0 ? ppi.y : 96, false);
  const wxSize size = GetClientSize();
  device.SetExtent({size.x, size.y});
  device.FillSolidRect({0, 0, size.x, size.y}, 0xFFFFFF);
  if (!painter_) return;
  // Nothing thrown while painting may reach the window system.
  try {
    painter_(device);
  } catch (const std::exception& e) {
    wxLogDebug("drawing failed: %s", e.what());
  }
}

}  // namespace vornel
