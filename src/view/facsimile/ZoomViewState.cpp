#include "view/facsimile/ZoomViewState.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vornel::view {

namespace {

// Device sizes stay well inside 32 bits whatever the content and zoom.
constexpr double kMaxDeviceSide = double(std::numeric_limits<int32_t>::max() / 4);

int32_t Truncated(double value) { return static_cast<int32_t>(std::clamp(value, 0.0, kMaxDeviceSide)); }

bool UsableFactor(double factor) { return std::isfinite(factor) && factor > 0.0; }

}  // namespace

void ZoomViewState::SetZoomExtent(Size logical, Size page, Size line) {
  logical_ = {std::max(logical.cx, 1), std::max(logical.cy, 1)};
  unzoomedDevice_ = logical_;  // one logical unit is one pixel at zoom 1
  unzoomedPage_ = page;
  unzoomedLine_ = line;
  device_ = {Truncated(unzoomedDevice_.cx * zoom_), Truncated(unzoomedDevice_.cy * zoom_)};
  UpdateScrollSteps();
  ScrollTo(scroll_);
}

void ZoomViewState::SetClientSize(Size client) {
  client_ = {std::max(client.cx, 1), std::max(client.cy, 1)};
  ScrollTo(scroll_);
}

void ZoomViewState::ResetZoom() {
  zoom_ = 1.0;
  device_ = unzoomedDevice_;
  UpdateScrollSteps();
  ScrollTo({0, 0});
}

void ZoomViewState::UpdateScrollSteps() {
  const double sx = double(device_.cx) / logical_.cx;
  const double sy = double(device_.cy) / logical_.cy;
  pageStep_ = {Truncated(std::abs(unzoomedPage_.cx * sx)), Truncated(std::abs(unzoomedPage_.cy * sy))};
  lineStep_ = {Truncated(std::abs(unzoomedLine_.cx * sx)), Truncated(std::abs(unzoomedLine_.cy * sy))};
  if (pageStep_.cx == 0) pageStep_.cx = device_.cx / 10;
  if (pageStep_.cy == 0) pageStep_.cy = device_.cy / 10;
  if (lineStep_.cx == 0) lineStep_.cx = pageStep_.cx / 10;
  if (lineStep_.cy == 0) lineStep_.cy = pageStep_.cy / 10;
}

void ZoomViewState::ApplyZoom(double zoom, Point centre) {
  zoom_ = zoom;
  device_ = {Truncated(unzoomedDevice_.cx * zoom_), Truncated(unzoomedDevice_.cy * zoom_)};
  UpdateScrollSteps();
  CenterOnLogicalPoint(centre);
}

bool ZoomViewState::ZoomInBy(double factor, std::optional<Point> point) {
  if (!UsableFactor(factor)) return false;
  const Point centre = point ? *point : LogicalCenter();
  const double zoom = zoom_ * factor;
  if (zoom > kMaxZoom) return false;
  ApplyZoom(zoom, centre);
  return true;
}

bool ZoomViewState::ZoomOutBy(double factor, std::optional<Point> point) {
  if (!UsableFactor(factor)) return false;
  const Point centre = point ? *point : LogicalCenter();
  const double zoom = zoom_ / factor;
  if (!(zoom > 0.0)) return false;
  ApplyZoom(zoom, centre);
  return true;
}

bool ZoomViewState::ZoomToRect(Rect logical) {
  logical.Normalize();
  const Point centre = logical.CenterPoint();
  const Rect device = ToDevice(logical);
  if (std::max(device.Width(), device.Height()) < kMinDragPixels) return ZoomInBy(kStep, centre);
  const double sx = double(client_.cx + 1) / logical.Width();  // +inf for a zero width
  const double sy = double(client_.cy + 1) / logical.Height();
  const double zoom = std::min(sx, sy);
  if (zoom > kMaxZoom || !UsableFactor(zoom)) return false;
  ApplyZoom(zoom, centre);
  return true;
}

bool ZoomViewState::ZoomToWindow(std::optional<Size> trueClient) {
  device_ = KeepAspect(logical_, trueClient ? *trueClient : client_);
  zoom_ = double(device_.cx) / unzoomedDevice_.cx;
  UpdateScrollSteps();
  ScrollTo(scroll_);
  return true;
}

Size ZoomViewState::KeepAspect(Size reference, Size d) {
  if (reference.cy == 0 || d.cy == 0) return d;
  const double r = double(reference.cx) / reference.cy;
  const double ratio = double(d.cx) / d.cy;
  if (ratio < r) d.cy = static_cast<int32_t>(d.cx / r);
  else if (ratio > r) d.cx = static_cast<int32_t>(d.cy * r);
  return d;
}

Point ZoomViewState::Origin() const {
  return {device_.cx < client_.cx ? (client_.cx - device_.cx) / 2 : -scroll_.x,
          device_.cy < client_.cy ? (client_.cy - device_.cy) / 2 : -scroll_.y};
}

Point ZoomViewState::ToDevice(Point logical) const {
  const Point origin = Origin();
  const auto scaled = [](int32_t v, int32_t device, int32_t logicalSide) {
    return static_cast<int32_t>(std::clamp(std::floor(double(v) * device / logicalSide), -kMaxDeviceSide, kMaxDeviceSide));
  };
  return {origin.x + scaled(logical.x, device_.cx, logical_.cx), origin.y + scaled(logical.y, device_.cy, logical_.cy)};
}

Rect ZoomViewState::ToDevice(const Rect& logical) const {
  const Point a = ToDevice(logical.TopLeft());
  const Point b = ToDevice(logical.BottomRight());
  return {a.x, a.y, b.x, b.y};
}

Point ZoomViewState::ToLogical(Point device) const {
  const Point origin = Origin();
  // A zoomed-out view may have shrunk to nothing; the zoom itself then gives the scale.
  const double sx = device_.cx > 0 ? double(device_.cx) / logical_.cx : zoom_;
  const double sy = device_.cy > 0 ? double(device_.cy) / logical_.cy : zoom_;
  return {static_cast<int32_t>(std::floor((device.x - origin.x) / sx)),
          static_cast<int32_t>(std::floor((device.y - origin.y) / sy))};
}

Rect ZoomViewState::ToLogical(const Rect& device) const {
  const Point a = ToLogical(device.TopLeft());
  const Point b = ToLogical(device.BottomRight());
  return {a.x, a.y, b.x, b.y};
}

Point ZoomViewState::MaxScroll() const {
  return {std::max(0, device_.cx - client_.cx), std::max(0, device_.cy - client_.cy)};
}

void ZoomViewState::ScrollTo(Point position) {
  const Point most = MaxScroll();
  scroll_ = {std::clamp(position.x, 0, most.x), std::clamp(position.y, 0, most.y)};
}

void ZoomViewState::CenterOnLogicalPoint(Point logical) {
  const int32_t x = Truncated(double(logical.x) * device_.cx / logical_.cx);
  const int32_t y = Truncated(double(logical.y) * device_.cy / logical_.cy);
  ScrollTo({x - client_.cx / 2, y - client_.cy / 2});
}

Point ZoomViewState::LogicalCenter() const { return ToLogical(Point{client_.cx / 2, client_.cy / 2}); }

void ZoomViewState::BeginDrag(Point device) {
  dragging_ = true;
  const Point at = ToLogical(device);
  drag_ = {at.x, at.y, at.x, at.y};
}

void ZoomViewState::DragTo(Point device) {
  if (!dragging_) return;
  const Point at = ToLogical(device);
  drag_.right = at.x;
  drag_.bottom = at.y;
}

bool ZoomViewState::EndDrag() {
  if (!dragging_) return false;
  dragging_ = false;
  return ZoomToRect(drag_);
}

Rect ImagePrintDestination(int32_t width, int32_t height, int32_t horzRes, int32_t vertRes, int32_t dpiX,
                           int32_t dpiY) {
  if (width <= 0 || height <= 0 || horzRes <= 0 || vertRes <= 0 || dpiX <= 0 || dpiY <= 0) return {};
  const int64_t a = int64_t(width) * dpiX;
  const int64_t b = int64_t(height) * dpiY;
  const int64_t fullWidthHeight = (b * horzRes + a / 2) / a;
  if (fullWidthHeight <= vertRes) return {0, 0, horzRes, static_cast<int32_t>(fullWidthHeight)};
  return {0, 0, static_cast<int32_t>((a * vertRes + b / 2) / b), vertRes};
}

}  // namespace vornel::view
