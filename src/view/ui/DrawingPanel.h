#pragma once
// A window whose painting goes through the drawing layer: the paint handler hands the
// window's Cairo context to a device and the painter draws on it as on any other device.

#include <wx/panel.h>

#include <functional>

namespace vornel {

class DeviceContext;

class DrawingPanel : public wxPanel {
 public:
  using Painter = std::function<void(DeviceContext&)>;

  DrawingPanel(wxWindow* parent, Painter painter);
  void SetPainter(Painter painter);

 private:
  void OnPaint(wxPaintEvent& event);

  Painter painter_;
};

}  // namespace vornel
