#pragma once
// The title-page view's window: a scrolled canvas that paints the view through the Cairo
// device and hands it its mouse. While a text is dragged its tracker is drawn on a wxOverlay
// over the painted page; the page is painted again only when the text has moved. Nothing
// thrown by the view leaves an event handler.

#include <wx/overlay.h>
#include <wx/scrolwin.h>

#include <memory>

#include "view/titlepage/CTitlePageView.h"

namespace vornel {

class CBriotabDoc;

namespace view {

class ScrolledViewWindow;

class TitlePageCanvas : public wxScrolledCanvas {
 public:
  TitlePageCanvas(wxWindow* parent, CBriotabDoc& doc, COLORREF background = 0x808080);
  ~TitlePageCanvas() override;

  CTitlePageView& View() { return *view_; }
  // Paints the view as the window does into a device of the client's size.
  void PaintInto(DeviceContext& dc);

 private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnMouse(wxMouseEvent& event);
  void OnKey(wxKeyEvent& event);
  void DrawTracker();
  void ClearTracker();
  template <typename F>
  void Guarded(F&& call);

  COLORREF background_;
  bool painting_ = false;
  std::unique_ptr<ScrolledViewWindow> window_;
  std::unique_ptr<CTitlePageView> view_;
  wxOverlay overlay_;
};

}  // namespace view
}  // namespace vornel
