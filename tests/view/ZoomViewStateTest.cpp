// The zoom arithmetic of the image view: limits, drag rectangles, fitting to the window,
// scroll steps, centring and the printed image's place on the page.

#include <gtest/gtest.h>

#include "view/facsimile/ZoomViewState.h"

namespace vornel::view {
namespace {

ZoomViewState View(Size logical, Size client) {
  ZoomViewState view;
  view.SetClientSize(client);
  view.SetZoomExtent(logical, {}, {});
  return view;
}

TEST(ZoomViewState, ZoomInStopsAtEightyAndZoomOutHasNoLimit) {
  ZoomViewState view = View({1000, 1000}, {400, 300});
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(view.ZoomInBy(ZoomViewState::kStep));
  EXPECT_DOUBLE_EQ(view.Zoom(), 1.953125);
  EXPECT_EQ(view.DeviceSize(), (Size{1953, 1953}));

  view.ResetZoom();
  ASSERT_TRUE(view.ZoomInBy(64.0));
  EXPECT_TRUE(view.ZoomInBy(1.25));
  EXPECT_DOUBLE_EQ(view.Zoom(), 80.0);
  EXPECT_FALSE(view.ZoomInBy(1.25));
  EXPECT_DOUBLE_EQ(view.Zoom(), 80.0);

  // Out without end: the device size truncates toward nothing and the mapping stays usable.
  for (int i = 0; i < 60; ++i) ASSERT_TRUE(view.ZoomOutBy(1.25));
  EXPECT_EQ(view.DeviceSize(), (Size{0, 0}));
  EXPECT_LT(view.Zoom(), 0.001);
  (void)view.LogicalCenter();
}

TEST(ZoomViewState, DragRectanglesZoomByTheirLargerSideAndInEitherDirection) {
  struct Case {
    Rect drag;  // device pixels at zoom 1 with the content at the top left
    double zoom;
    Point scroll;
  };
  // Client 500 x 401 over 2000 x 2000: (500 + 1) / width and (401 + 1) / height, the smaller.
  const Case cases[] = {
      {{100, 100, 105, 300}, 402.0 / 200, {0, 201}},  // 5 x 200: the tall side counts
      {{105, 300, 100, 100}, 402.0 / 200, {0, 201}},  // the same dragged backwards
      {{200, 200, 209, 209}, 1.25, {5, 55}},           // 9 x 9: one step about its centre
      {{0, 0, 100, 50}, 5.01, {0, 0}},
  };
  for (const Case& c : cases) {
    ZoomViewState view = View({2000, 2000}, {500, 401});
    view.BeginDrag(c.drag.TopLeft());
    view.DragTo(c.drag.BottomRight());
    ASSERT_TRUE(view.EndDrag());
    EXPECT_DOUBLE_EQ(view.Zoom(), c.zoom) << c.drag.left << "," << c.drag.right;
    EXPECT_EQ(view.ScrollPosition(), c.scroll) << c.drag.left << "," << c.drag.right;
    EXPECT_FALSE(view.Dragging());
  }
  // Zooming past 80 by a rectangle keeps the old zoom.
  ZoomViewState view = View({2000, 2000}, {500, 400});
  ASSERT_TRUE(view.ZoomInBy(8.0));
  EXPECT_FALSE(view.ZoomToRect({0, 0, 2, 2}));
  EXPECT_DOUBLE_EQ(view.Zoom(), 8.0);
  EXPECT_FALSE(view.EndDrag());
}

TEST(ZoomViewState, ZoomToWindowKeepsTheShape) {
  ZoomViewState view = View({1000, 500}, {800, 600});
  ASSERT_TRUE(view.ZoomToWindow());
  EXPECT_EQ(view.DeviceSize(), (Size{800, 400}));
  EXPECT_DOUBLE_EQ(view.Zoom(), 0.8);
  EXPECT_EQ(ZoomViewState::KeepAspect({1000, 500}, {300, 600}), (Size{300, 150}));
  EXPECT_EQ(ZoomViewState::KeepAspect({1000, 500}, {300, 150}), (Size{300, 150}));
}

TEST(ZoomViewState, ScrollStepsFollowTheZoom) {
  ZoomViewState view;
  view.SetClientSize({100, 100});
  view.SetZoomExtent({1000, 500}, {}, {});
  EXPECT_EQ(view.PageStep(), (Size{100, 50}));  // a tenth of the content
  EXPECT_EQ(view.LineStep(), (Size{10, 5}));    // a tenth of the page
  view.SetZoomExtent({1000, 500}, {200, -100}, {20, 0});
  ASSERT_TRUE(view.ZoomInBy(2.0));
  EXPECT_EQ(view.PageStep(), (Size{400, 200}));
  EXPECT_EQ(view.LineStep(), (Size{40, 20}));
}

TEST(ZoomViewState, SmallContentIsCentredAndMapsBothWays) {
  ZoomViewState view = View({200, 100}, {600, 400});
  EXPECT_EQ(view.Origin(), (Point{200, 150}));
  EXPECT_EQ(view.ToDevice(Point{10, 10}), (Point{210, 160}));
  EXPECT_FALSE(view.NeedsScrolling());

  // Larger content scrolls: the centre stays on the chosen point as far as scrolling allows.
  ASSERT_TRUE(view.ZoomInBy(8.0, Point{100, 50}));
  EXPECT_EQ(view.DeviceSize(), (Size{1600, 800}));
  EXPECT_EQ(view.ScrollPosition(), (Point{500, 200}));
  EXPECT_EQ(view.LogicalCenter(), (Point{100, 50}));
  EXPECT_EQ(view.ToLogical(view.ToDevice(Point{37, 21})), (Point{37, 21}));
  view.ScrollTo({5000, -3});
  EXPECT_EQ(view.ScrollPosition(), (Point{1000, 0}));
}

TEST(ImagePrintDestination, FillsTheWidthOrTheHeight) {
  EXPECT_EQ(ImagePrintDestination(1000, 2000, 4800, 6600, 600, 600), (Rect{0, 0, 3300, 6600}));
  EXPECT_EQ(ImagePrintDestination(2000, 1000, 4800, 6600, 600, 600), (Rect{0, 0, 4800, 2400}));
  EXPECT_EQ(ImagePrintDestination(1000, 1000, 4800, 6600, 600, 300), (Rect{0, 0, 4800, 2400}));
  EXPECT_TRUE(ImagePrintDestination(0, 10, 4800, 6600, 600, 600).IsEmpty());
}

}  // namespace
}  // namespace vornel::view
