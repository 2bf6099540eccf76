#include "view/ui/facsimile/ViewerCursors.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

namespace vornel::view {

namespace {

constexpr int kSide = 32;
const wxColour kClear(255, 0, 255);  // the mask colour

// A hand seen from its back: the palm and four fingers, stretched out or curled.
void DrawHand(wxDC& dc, bool closed) {
  const int fingerTop = closed ? 10 : 3;
  for (int i = 0; i < 4; ++i) dc.DrawRoundedRectangle(8 + 4 * i, fingerTop + (i == 0 || i == 3 ? 3 : 0), 5, 16, 2);
  dc.DrawRoundedRectangle(7, 14, 18, 13, 4);
  if (!closed) dc.DrawRoundedRectangle(3, 13, 7, 5, 2);  // the thumb
}

wxCursor Draw(ViewerCursor which) {
  wxBitmap bitmap(kSide, kSide, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(kClear));
    dc.Clear();
    dc.SetPen(wxPen(*wxBLACK, 1));
    dc.SetBrush(*wxWHITE_BRUSH);
    if (which == ViewerCursor::kZoom) {
      dc.SetPen(wxPen(*wxBLACK, 3));
      dc.DrawLine(18, 18, 28, 28);  // the handle
      dc.SetPen(wxPen(*wxBLACK, 1));
      dc.DrawCircle(11, 11, 9);
      dc.DrawLine(7, 11, 16, 11);  // a plus in the glass
      dc.DrawLine(11, 7, 11, 16);
    } else {
      DrawHand(dc, which == ViewerCursor::kDrag);
    }
  }
  wxImage image = bitmap.ConvertToImage();
  image.SetMaskColour(kClear.Red(), kClear.Green(), kClear.Blue());
  image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, which == ViewerCursor::kZoom ? 11 : 16);
  image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, which == ViewerCursor::kZoom ? 11 : 16);
  return wxCursor(image);
}

}  // namespace

const wxCursor& GetViewerCursor(ViewerCursor which) {
  static const wxCursor zoom = Draw(ViewerCursor::kZoom);
  static const wxCursor hand = Draw(ViewerCursor::kHand);
  static const wxCursor drag = Draw(ViewerCursor::kDrag);
  switch (which) {
    case ViewerCursor::kZoom: return zoom;
    case ViewerCursor::kHand: return hand;
    case ViewerCursor::kDrag: break;
  }
  return drag;
}

}  // namespace vornel::view
