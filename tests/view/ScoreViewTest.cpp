// The score view without a window: its page metrics, its drawing, the document's update
// hints, the status panes, the zoom and the wheel, and the tip.

#include <gtest/gtest.h>

#include <algorithm>

#include "ViewFixtures.h"
#include "platform/draw/MulDiv.h"

namespace vornel {
namespace {

using testing::TestWindow;
using testing::ViewDocument;
using testing::ViewRig;

TEST(ScoreView, PageMetricsOfThePaperAndOfTheLinearPage) {
  struct Case {
    int32_t zoom;
    bool linear;
    Size page;
  };
  // A4 at 96 pixels per inch: 2100 x 2970 tenths of a millimetre, both with the horizontal
  // resolution; the linear page is 50 columns of 10 mm and as high as the window.
  const Case cases[] = {
      {100, false, {794, 1123}},
      {150, false, {1191, 1684}},
      {100, true, {1890, 1300}},
      {150, true, {MulDiv(7500, 96, 254), 1300}},
  };
  for (const Case& c : cases) {
    ViewRig rig(ViewDocument(1, 4, 4));
    rig.doc->settings.pageSettings.zoom = c.zoom;
    rig.doc->settings.linearMode = c.linear ? 1 : 0;
    rig.view.UpdateScrollSizes();
    EXPECT_EQ(rig.view.State().pageRect, (Rect{0, 0, c.page.cx, c.page.cy})) << c.zoom << " " << c.linear;
    EXPECT_EQ(rig.doc->settings.pageSettings.pageRect, rig.view.State().pageRect);
    EXPECT_EQ(rig.doc->settings.pageSettings.viewClientRect, (Rect{0, 0, 1000, 1300}));
    // The scrollable size leaves 100 pixels round the page.
    EXPECT_EQ(rig.window.total, (Size{c.page.cx + 100, c.page.cy + 100}));
  }
}

TEST(ScoreView, NoSectionsDrawsNothingAndSetsNoPane) {
  ViewRig rig(std::make_unique<CBriotabDoc>());
  RecordingDevice dc(96, false);
  rig.view.OnDraw(dc);
  rig.view.DrawOverlays(dc);
  EXPECT_EQ(dc.Log(), "");
  EXPECT_TRUE(rig.panes.log.empty());
}

TEST(ScoreView, DrawingSetsThePanes) {
  ViewRig rig(ViewDocument(2, 8, 4));
  rig.view.SetZoomKeepingPosition(150);
  rig.panes.log.clear();
  rig.Draw();
  const auto has = [&](const std::string& line) {
    return std::find(rig.panes.log.begin(), rig.panes.log.end(), line) != rig.panes.log.end();
  };
  EXPECT_TRUE(has("status 12 150%"));
  EXPECT_TRUE(has("status 6 1 [p. 1]"));
  EXPECT_TRUE(has("status 10 100"));
  EXPECT_TRUE(has("status 14 ON "));
  EXPECT_TRUE(has("status 8 " + rig.Section().key.GetKeyLabel()));
}

TEST(ScoreView, AStripRepaintThatMovedSystemsRepaintsTheWholeWindow) {
  ViewRig rig(ViewDocument(1, 4, 4));
  const Rect second = rig.Section().System(1)->area;
  rig.Draw();
  EXPECT_TRUE(rig.window.invalidated.empty()) << "nothing moved";

  // The first system grows below its staff: the ones after it move down, outside the strip.
  rig.Stave().spaceBelow = 12;
  rig.doc->UpdateAllViews(kHintRepaintStrip, rig.Section().System(0));
  rig.window.Forget();
  rig.Draw();
  ASSERT_NE(rig.Section().System(1)->area.top, second.top);
  EXPECT_TRUE(rig.window.WholeInvalidated());

  // The repaint that follows finds them where they were drawn: no endless repainting.
  rig.window.Forget();
  rig.Draw();
  EXPECT_TRUE(rig.window.invalidated.empty());
}

TEST(ScoreView, FirstUpdateLeavesTheModifiedFlag) {
  // An imported score not yet saved must still ask before it closes.
  auto doc = ViewDocument(1, 4, 4);
  doc->SetModifiedFlag(true);
  ViewRig rig(std::move(doc));
  EXPECT_TRUE(rig.doc->IsModified());
}

TEST(ScoreView, UpdateHints) {
  ViewRig rig(ViewDocument(2, 8, 4));
  const CStaveArray* system = rig.Section().System(0);
  const Rect area = system->area;
  ASSERT_FALSE(area.IsEmpty());
  // The padding: 7 x (spacing / 7 as tenths of a millimetre), at the zoom; the column width
  // of the page settings is the spacing.
  const int32_t pad = MulDiv(7 * MulDiv(100 / 7, 254, 96), 100, 100);
  const auto expected = [&](Rect r, Point scroll) {
    r.Offset(-scroll.x, -scroll.y);
    r = {std::max(r.left - 50, 0), std::max(r.top - 170, 0), std::min(r.right + 100, 1000),
         std::min(r.bottom + 150, 1300)};
    r.left -= pad / 2;
    r.right += pad / 2;
    return r;
  };

  struct Case {
    const char* name;
    Point scroll;
  };
  for (const Case& c : {Case{"at the top", {0, 0}}, Case{"scrolled", {0, 300}}}) {
    rig.window.scroll = c.scroll;
    rig.window.Forget();
    rig.doc->UpdateAllViews(kHintRepaintSystem, system);
    ASSERT_EQ(rig.window.invalidated.size(), 1u) << c.name;
    EXPECT_EQ(rig.window.invalidated[0], expected(area, c.scroll)) << c.name;
  }

  // Hints 2 and 4: the active line's strip round the cursor.
  rig.window.scroll = {};
  rig.window.Forget();
  const std::optional<Point> cursor = rig.view.CursorPoint();
  ASSERT_TRUE(cursor.has_value());
  rig.doc->UpdateAllViews(kHintRepaintLine, system);
  const Rect line = rig.view.LineRect();
  ASSERT_EQ(rig.window.invalidated.size(), 1u);
  EXPECT_EQ(rig.window.invalidated[0], expected({cursor->x - pad, line.top, cursor->x + pad, line.bottom}, {}));

  // 657: nothing at all.
  rig.window.Forget();
  rig.doc->UpdateAllViews(kHintNothing, system);
  EXPECT_TRUE(rig.window.invalidated.empty());
  EXPECT_TRUE(rig.window.scrolledTo.empty());

  // 0: the whole window, and the view takes the focus.
  rig.doc->UpdateAllViews(kHintRepaintAll, nullptr);
  EXPECT_TRUE(rig.window.WholeInvalidated());
  EXPECT_EQ(rig.window.log.front(), "focus");

  // 3 (a section change): back to the top left and the first page.
  rig.window.scroll = {0, 500};
  rig.view.State().pageIndex = 1;
  rig.window.Forget();
  ASSERT_EQ(rig.doc->SetActiveSection(1), 1);
  EXPECT_EQ(rig.window.scroll, (Point{0, 0}));
  EXPECT_EQ(rig.view.State().pageIndex, 0);
  EXPECT_TRUE(rig.window.WholeInvalidated());
}

TEST(ScoreView, ZoomKeepsThePositionOnThePage) {
  ViewRig rig(ViewDocument(1, 8, 4));
  rig.window.scroll = {100, 400};
  rig.view.SetZoomKeepingPosition(200);
  EXPECT_EQ(rig.doc->settings.pageSettings.zoom, 200);
  EXPECT_EQ(rig.window.scroll, (Point{200, 800}));
  EXPECT_EQ(rig.view.State().pageRect.Width(), MulDiv(4200, 96, 254));
}

TEST(ScoreView, WheelZoomsWithControlAndScrollsOtherwise) {
  struct Case {
    int32_t zoom;
    int delta;
    int32_t after;
  };
  // Steps of 10 within 40..500.
  const Case cases[] = {{100, 120, 110}, {100, -120, 90}, {500, 120, 500}, {40, -120, 40}, {800, 120, 500}};
  for (const Case& c : cases) {
    ViewRig rig(ViewDocument(1, 8, 4));
    rig.doc->settings.pageSettings.zoom = c.zoom;
    rig.view.OnMouseWheel({{10, 10}, 0, view::kControlKey}, c.delta);
    EXPECT_EQ(rig.doc->settings.pageSettings.zoom, c.after) << c.zoom << " " << c.delta;
  }

  ViewRig rig(ViewDocument(1, 8, 4));
  rig.window.client = {800, 600};
  rig.view.UpdateScrollSizes();
  // Towards the user: a page down, then three lines.
  rig.view.OnMouseWheel({{10, 10}, 0, 0}, -120);
  const int32_t page = rig.view.PageStep().cy;
  const int32_t line = rig.view.LineStep().cy;
  ASSERT_EQ(rig.window.scrolledTo.size(), 2u);
  EXPECT_EQ(rig.window.scrolledTo[0], (Point{0, page}));
  EXPECT_EQ(rig.window.scroll, (Point{0, page + 3 * line}));
  EXPECT_EQ(rig.doc->settings.pageSettings.zoom, 100);
  // Shift alone: nothing.
  rig.window.Forget();
  rig.view.OnMouseWheel({{10, 10}, 0, view::kShiftKey}, -120);
  EXPECT_TRUE(rig.window.scrolledTo.empty());
}

TEST(ScoreView, TipShowsForItsTimeAndGoes) {
  ViewRig rig(ViewDocument(1, 4, 4));
  rig.view.ShowTip("", {100, 100});
  EXPECT_FALSE(rig.view.State().tipShown);

  rig.window.scroll = {0, 50};
  rig.view.ShowTip("C5", {100, 100});
  ASSERT_TRUE(rig.view.State().tipShown);
  EXPECT_EQ(rig.window.timers.at(view::kTipTimer), 500);
  // Just left of and below the point (logical), a little box round the text.
  const Rect tip = rig.view.State().tipRect;
  EXPECT_TRUE(tip.Contains({96, 153})) << tip.left << " " << tip.top;
  EXPECT_NE(rig.Draw().find("C5"), std::string::npos);

  rig.view.ShowTip("A long tip", {100, 100}, true);
  EXPECT_EQ(rig.window.timers.at(view::kTipTimer), 800);
  EXPECT_TRUE(rig.view.State().tipRect.Contains({91, 156}));

  rig.window.Forget();
  rig.view.OnTimer(view::kTipTimer);
  EXPECT_FALSE(rig.view.State().tipShown);
  EXPECT_EQ(rig.window.timers.count(view::kTipTimer), 0u);
  EXPECT_FALSE(rig.window.invalidated.empty());

  // A font list too short for the tip's font gives the default font.
  while (rig.doc->settings.pageSettings.fonts.size() > 10) {
    rig.doc->settings.pageSettings.fonts.erase(rig.doc->settings.pageSettings.fonts.size() - 1);
  }
  rig.view.ShowTip("D", {10, 10});
  EXPECT_TRUE(rig.view.State().tipShown);
  rig.Draw();
}

}  // namespace
}  // namespace vornel
