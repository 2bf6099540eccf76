#include "view/ui/titlepage/TitlePageCanvas.h"

#include <wx/dcclient.h>

#include <algorithm>

#include "view/commands/CommandTable.h"
#include "view/ui/ScrolledViewWindow.h"

namespace vornel::view {

TitlePageCanvas::TitlePageCanvas(wxWindow* parent, CBriotabDoc& doc, COLORREF background)
    : wxScrolledCanvas(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxHSCROLL | wxVSCROLL | wxWANTS_CHARS),
      background_(background),
      window_(std::make_unique<ScrolledViewWindow>(*this, painting_)) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetScrollRate(1, 1);
  view_ = std::make_unique<CTitlePageView>(doc, *window_);
  view_->OnInitialUpdate();

  Bind(wxEVT_PAINT, &TitlePageCanvas::OnPaint, this);
  Bind(wxEVT_SIZE, &TitlePageCanvas::OnSize, this);
  Bind(wxEVT_LEFT_DOWN, &TitlePageCanvas::OnMouse, this);
  Bind(wxEVT_LEFT_UP, &TitlePageCanvas::OnMouse, this);
  Bind(wxEVT_LEFT_DCLICK, &TitlePageCanvas::OnMouse, this);
  Bind(wxEVT_MOTION, &TitlePageCanvas::OnMouse, this);
  Bind(wxEVT_KEY_DOWN, &TitlePageCanvas::OnKey, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
    ClearTracker();
    Guarded([this] { view_->CancelDrag(); });
  });
}

TitlePageCanvas::~TitlePageCanvas() {
  // The view lets go of the document before the window it draws in goes.
  view_.reset();
}

template <typename F>
void TitlePageCanvas::Guarded(F&& call) {
  ReportCommandFailures(CommandEvent{}, std::function<void()>(std::forward<F>(call)));
}

void TitlePageCanvas::PaintInto(DeviceContext& dc) {
  const wxSize size = GetClientSize();
  PaintView(*view_, dc, {size.x, size.y}, background_);
}

void TitlePageCanvas::OnPaint(wxPaintEvent&) {
  PaintWithCairo(*this, window_->Resolution(), painting_, [this](DeviceContext& device) { PaintInto(device); });
  // The painted page holds the tracker now; the overlay starts again from it.
  overlay_.Reset();
}

void TitlePageCanvas::OnSize(wxSizeEvent& event) {
  Guarded([this] { view_->UpdateScrollSizes(); });
  Refresh(false);
  event.Skip();
}

void TitlePageCanvas::OnMouse(wxMouseEvent& event) {
  MouseEvent e;
  e.point = {event.GetX(), event.GetY()};
  if (event.LeftIsDown()) e.buttons |= kLeftButton;
  const wxEventType type = event.GetEventType();
  Guarded([&] {
    if (type == wxEVT_LEFT_DOWN) {
      SetFocus();
      if (view_->OnLButtonDown(e)) DrawTracker();
    } else if (type == wxEVT_MOTION) {
      if (!view_->Dragging()) return;
      view_->OnMouseMove(e);
      DrawTracker();
    } else if (type == wxEVT_LEFT_UP) {
      if (!view_->Dragging()) return;
      ClearTracker();
      view_->OnLButtonUp(e);
    } else if (type == wxEVT_LEFT_DCLICK) {
      ClearTracker();
      view_->OnLButtonDblClk(e);
    }
  });
  event.Skip(type == wxEVT_LEFT_DOWN);
}

void TitlePageCanvas::OnKey(wxKeyEvent& event) {
  // Escape lets a drag go without moving anything.
  if (event.GetKeyCode() == WXK_ESCAPE && view_->Dragging()) {
    ClearTracker();
    Guarded([this] { view_->CancelDrag(); });
    return;
  }
  event.Skip();
}

void TitlePageCanvas::DrawTracker() {
  const std::optional<Rect> tracker = view_->TrackerRect();
  if (!tracker) return;
  wxClientDC dc(this);
  wxDCOverlay overlay(overlay_, &dc);
  overlay.Clear();
  dc.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_DOT));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(tracker->left, tracker->top, std::max(tracker->Width(), 1), std::max(tracker->Height(), 1));
}

void TitlePageCanvas::ClearTracker() {
  {
    wxClientDC dc(this);
    wxDCOverlay overlay(overlay_, &dc);
    overlay.Clear();
  }
  overlay_.Reset();
}

}  // namespace vornel::view
