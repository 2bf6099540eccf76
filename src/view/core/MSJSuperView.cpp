#include "view/core/MSJSuperView.h"

#include <algorithm>
#include <cstdlib>

#include "view/core/ViewIds.h"

namespace vornel::view {

namespace {

// The pan's mark: a circle of this radius with a dot.
constexpr int32_t kMarkRadius = 12;
// Closer than this on both axes, the pointer shows no direction.
constexpr int32_t kNeutralZone = 5;
constexpr int32_t kPanDivisor = 8;

int32_t Clamp(int64_t v, int32_t high) { return static_cast<int32_t>(std::clamp<int64_t>(v, 0, std::max(high, 0))); }

}  // namespace

MSJSuperView::PanStep MSJSuperView::PanStepFor(Point offset) {
  const int64_t dx = offset.x;
  const int64_t dy = offset.y;
  PanStep step;
  int64_t distance = 0;
  if (std::llabs(dy) < std::llabs(dx)) {
    step.direction = dx > 0 ? kRight : kLeft;
    distance = std::llabs(dx);
  } else {
    step.direction = dy > 0 ? kDown : kUp;
    distance = std::llabs(dy);
  }
  step.amount = static_cast<int>(std::min<int64_t>(distance / kPanDivisor, 1 << 20));
  switch (step.direction) {
    case kUp: step.shape = PointerShape::kPanUp; break;
    case kLeft: step.shape = PointerShape::kPanLeft; break;
    case kDown: step.shape = PointerShape::kPanDown; break;
    default: step.shape = PointerShape::kPanRight; break;
  }
  if (step.amount == 0 && std::llabs(dx) < kNeutralZone && std::llabs(dy) < kNeutralZone) {
    step.shape = PointerShape::kPanNeutral;
  }
  return step;
}

void MSJSuperView::OnPrepareDC(DeviceContext& dc) const {
  const Point scroll = window_.ScrollPosition();
  dc.SetViewportOrg(-scroll.x, -scroll.y);
}

Point MSJSuperView::ClientToLogical(Point client) const {
  const Point scroll = window_.ScrollPosition();
  return {client.x + scroll.x, client.y + scroll.y};
}

Point MSJSuperView::LogicalToClient(Point logical) const {
  const Point scroll = window_.ScrollPosition();
  return {logical.x - scroll.x, logical.y - scroll.y};
}

Rect MSJSuperView::LogicalToClient(const Rect& logical) const {
  Rect r = logical;
  const Point scroll = window_.ScrollPosition();
  r.Offset(-scroll.x, -scroll.y);
  return r;
}

Rect MSJSuperView::ClientToLogical(const Rect& client) const {
  Rect r = client;
  const Point scroll = window_.ScrollPosition();
  r.Offset(scroll.x, scroll.y);
  return r;
}

Rect MSJSuperView::LogicalClientRect() const {
  const Size size = window_.ClientSize();
  return ClientToLogical(Rect{0, 0, size.cx, size.cy});
}

void MSJSuperView::SetScrollSizes(Size total) {
  total_ = total;
  window_.SetScrollSizes(total_, PageStep(), LineStep());
}

Size MSJSuperView::PageStep() const { return {std::max(total_.cx / 10, 1), std::max(total_.cy / 10, 1)}; }

Size MSJSuperView::LineStep() const {
  const Size page = PageStep();
  return {std::max(page.cx / 10, 1), std::max(page.cy / 10, 1)};
}

void MSJSuperView::ScrollTo(Point position) {
  const Size client = window_.ClientSize();
  window_.ScrollTo({Clamp(position.x, total_.cx - client.cx), Clamp(position.y, total_.cy - client.cy)});
}

bool MSJSuperView::ScrollBy(int direction, int amount) {
  const Point from = window_.ScrollPosition();
  const Size client = window_.ClientSize();
  Point to = from;
  const bool horizontal = direction == kLeft || direction == kRight;
  // Along an axis that cannot scroll nothing moves; the other axis still can.
  if (!window_.HasScrollBar(!horizontal)) return false;
  switch (direction) {
    case kUp: to.y = Clamp(int64_t{from.y} - amount, total_.cy - client.cy); break;
    case kDown: to.y = Clamp(int64_t{from.y} + amount, total_.cy - client.cy); break;
    case kLeft: to.x = Clamp(int64_t{from.x} - amount, total_.cx - client.cx); break;
    case kRight: to.x = Clamp(int64_t{from.x} + amount, total_.cx - client.cx); break;
    default: return false;
  }
  if (to == from) return false;
  window_.ScrollTo(to);
  window_.UpdateNow();
  return true;
}

bool MSJSuperView::OnMButtonDown(const MouseEvent& event) {
  if (event.buttons != kMiddleButton || (event.modifiers & kControlKey) != 0) return false;
  panning_ = true;
  panOrigin_ = event.point;
  pointer_ = event.point;
  window_.CaptureMouse();
  window_.StartTimer(kPanTimer, kPanPeriodMs);
  window_.SetPointer(PointerShape::kPanNeutral);
  window_.InvalidateRect({panOrigin_.x - kMarkRadius - 2, panOrigin_.y - kMarkRadius - 2,
                          panOrigin_.x + kMarkRadius + 3, panOrigin_.y + kMarkRadius + 3});
  return true;
}

void MSJSuperView::OnMButtonUp(const MouseEvent&) {
  if (!panning_) return;
  panning_ = false;
  window_.ReleaseMouse();
  window_.StopTimer(kPanTimer);
  window_.SetPointer(PointerShape::kDefault);
  window_.InvalidateRect({panOrigin_.x - kMarkRadius - 2, panOrigin_.y - kMarkRadius - 2,
                          panOrigin_.x + kMarkRadius + 3, panOrigin_.y + kMarkRadius + 3});
}

MSJSuperView::PanStep MSJSuperView::OnPanTimer() {
  if (!panning_) return {};
  const PanStep step = PanStepFor({pointer_.x - panOrigin_.x, pointer_.y - panOrigin_.y});
  if (step.amount > 0) ScrollBy(step.direction, step.amount);
  window_.SetPointer(step.shape);
  return step;
}

std::optional<Point> MSJSuperView::PanMark() const {
  if (!panning_) return std::nullopt;
  return panOrigin_;
}

void MSJSuperView::DrawPanMark(DeviceContext& dc) const {
  if (!panning_) return;
  const Point c = ClientToLogical(panOrigin_);
  const Pen oldPen = dc.SelectPen(Pen::Create(PS_SOLID, 2, RGB(90, 90, 90)));
  const Brush oldBrush = dc.SelectBrush(Brush::Null());
  dc.Ellipse(c.x - kMarkRadius, c.y - kMarkRadius, c.x + kMarkRadius + 1, c.y + kMarkRadius + 1);
  dc.SelectBrush(Brush::Solid(RGB(90, 90, 90)));
  dc.Ellipse(c.x - 2, c.y - 2, c.x + 3, c.y + 3);
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

}  // namespace vornel::view
