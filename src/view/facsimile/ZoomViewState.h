#pragma once
// The arithmetic of a scrolled view that shows its content at any zoom up to 80 times: logical
// units (content pixels at zoom 1) map to device pixels by the zoom, content smaller than the
// window is centred, the scroll steps follow the zoom, a dragged rectangle is zoomed into and
// a chosen logical point is kept at the window's centre after each zoom. The window keeps one
// of these and hands it its client size; nothing here needs a window system.

#include <cstdint>
#include <optional>

#include "platform/draw/DrawTypes.h"

namespace vornel::view {

class ZoomViewState {
 public:
  static constexpr double kMaxZoom = 80.0;
  // A drag rectangle whose larger device side is below this zooms in one step instead.
  static constexpr int32_t kMinDragPixels = 10;
  static constexpr double kStep = 1.25;

  enum class Mode { kOff = 0, kDragRectangle = 1, kClickOut = 2 };

  // The content's logical size with its page and line steps (logical units; 0 for a tenth of
  // the content, resp. of the page step). The zoom stays as it is.
  void SetZoomExtent(Size logical, Size page, Size line);
  // The window's client size in device pixels, as if it showed no scroll bars.
  void SetClientSize(Size client);

  // Each zoom keeps `point` (logical; the window's centre when none) at the window's centre.
  // A zoom beyond kMaxZoom is refused: false, nothing changes.
  bool ZoomInBy(double factor, std::optional<Point> point = std::nullopt);
  bool ZoomOutBy(double factor, std::optional<Point> point = std::nullopt);
  // Zooms so that the logical rectangle (either corner first) fills the window; one that is
  // less than kMinDragPixels on the screen zooms in by kStep about its centre.
  bool ZoomToRect(Rect logical);
  // Fits the whole content in the window (or in `trueClient`, the window's size without its
  // scroll bars), keeping its shape.
  bool ZoomToWindow(std::optional<Size> trueClient = std::nullopt);
  // Back to zoom 1, scrolled to the top left.
  void ResetZoom();

  // Scrolls so that the logical point stands at the window's centre (as far as scrolling goes).
  void CenterOnLogicalPoint(Point logical);
  Point LogicalCenter() const;
  // Device pixels of the window <-> logical units.
  Point ToLogical(Point device) const;
  Point ToDevice(Point logical) const;
  Rect ToDevice(const Rect& logical) const;
  Rect ToLogical(const Rect& device) const;

  // Scrolling in device pixels, clamped to the content.
  void ScrollTo(Point position);
  void ScrollBy(int32_t dx, int32_t dy) { ScrollTo({scroll_.x + dx, scroll_.y + dy}); }
  Point ScrollPosition() const { return scroll_; }
  Point MaxScroll() const;
  bool NeedsScrolling() const { return MaxScroll().x > 0 || MaxScroll().y > 0; }

  double Zoom() const { return zoom_; }
  Size LogicalSize() const { return logical_; }
  Size DeviceSize() const { return device_; }
  Size ClientSize() const { return client_; }
  Size PageStep() const { return pageStep_; }
  Size LineStep() const { return lineStep_; }
  // Where logical (0, 0) stands in the window: minus the scroll position, or the centring
  // offset when the content is narrower (lower) than the window.
  Point Origin() const;

  // The mouse gestures of the drag-rectangle mode; points in device pixels. The rectangle is
  // kept in logical units; `Dragging` says whether one is being drawn.
  Mode GetMode() const { return mode_; }
  void SetMode(Mode mode) { mode_ = mode; }
  void BeginDrag(Point device);
  void DragTo(Point device);
  // Ends the drag and zooms into the rectangle; false when none was being dragged.
  bool EndDrag();
  void CancelDrag() { dragging_ = false; }
  bool Dragging() const { return dragging_; }
  Rect DragRectangle() const { return drag_; }

  // Shrinks `d` to the shape of `reference` (the side that is too long is cut, truncated).
  static Size KeepAspect(Size reference, Size d);

 private:
  void UpdateScrollSteps();
  void ApplyZoom(double zoom, Point centre);

  Mode mode_ = Mode::kOff;
  bool dragging_ = false;
  Rect drag_;
  Size logical_{10, 10};
  Size unzoomedDevice_{10, 10};
  Size device_{10, 10};
  Size unzoomedPage_;
  Size unzoomedLine_;
  Size pageStep_{1, 1};
  Size lineStep_{1, 1};
  Size client_{1, 1};
  Point scroll_;
  double zoom_ = 1.0;
};

// Where a printed image of `width` x `height` pixels goes on a page of `horzRes` x `vertRes`
// device pixels at `dpiX` x `dpiY`: the full printable width, or the full height when the
// image would be too tall, keeping its shape. An empty rectangle when there is nothing to draw.
Rect ImagePrintDestination(int32_t width, int32_t height, int32_t horzRes, int32_t vertRes, int32_t dpiX,
                           int32_t dpiY);

}  // namespace vornel::view
