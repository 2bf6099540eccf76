// A section laid out a page at a time comes out on the pages that measuring it whole gives,
// and the view shows the first page of a long section before measuring the rest.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PageFixtures.h"
#include "ViewFixtures.h"
#include "document/CPageDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "platform/draw/RecordingDevice.h"
#include "view/core/ViewIds.h"
#include "view/draw/DrawContext.h"
#include "view/draw/PageDrawSettings.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/PageFitting.h"
#include "view/render/pages/SectionPages.h"

namespace vornel {
namespace {

using testing::NotatedSection;
using testing::PageChord;

// 23 systems, some of them reaching far over their staves, at most five on a page.
std::unique_ptr<CSystemArray> UnevenSection() {
  auto section = NotatedSection("Uneven", 23);
  section->stavesPerPage = 5;
  for (const size_t s : {2u, 3u, 9u, 10u, 11u, 17u}) {
    for (int i = 0; i < 6; ++i) section->System(s)->Line(0)->firstVoice.push_back(PageChord(4, {100 + i}));
  }
  return section;
}

TEST(PageFitting, PageByPageGivesThePagesOfTheWholeSection) {
  PageDrawSettings settings;
  DrawingStaveRenderer renderer;
  const ScopedStaveRenderer installed(renderer);
  RecordingDevice dc(96, false);
  const DrawContext context(dc, settings);
  CPageDlg page;
  page.pageRect = {0, 0, 794, 1123};
  const Rect printable{40, 40, 760, 700};
  auto whole = UnevenSection();
  FitSystemsOfSection(*whole, dc, page, printable);
  const std::vector<size_t> expected = whole->pageStarts;
  ASSERT_GT(expected.size(), 4u);

  struct Case {
    size_t throughPage;
    size_t budget;  // systems a call measures at the most, to a page's end
  };
  for (const Case c : {Case{0, SIZE_MAX}, Case{2, SIZE_MAX}, Case{0, 1}, Case{1, 7}, Case{SIZE_MAX, 3}}) {
    auto section = UnevenSection();
    FitSystemsThroughPage(*section, dc, page, printable, c.throughPage, c.budget);
    // The pages through the one asked for are those of the whole section.
    const size_t known = std::min(c.throughPage + 2, expected.size());
    ASSERT_GE(section->pageStarts.size(), known) << c.throughPage;
    for (size_t p = 0; p < known && c.budget == SIZE_MAX; ++p) {
      EXPECT_EQ(section->pageStarts[p], expected[p]) << "page " << p << " through " << c.throughPage;
    }
    // Measured on to the end, a part at a time.
    for (int calls = 0; !PagesLaidOut(*section) && calls < 100; ++calls) {
      FitSystemsThroughPage(*section, dc, page, printable, SIZE_MAX, c.budget);
    }
    EXPECT_TRUE(PagesLaidOut(*section));
    EXPECT_EQ(section->pageStarts, expected) << "through " << c.throughPage << ", " << c.budget << " at a time";
  }
}

TEST(PageFitting, TheViewShowsTheFirstPageBeforeMeasuringTheRest) {
  // The rig draws the first page as the window opens.
  testing::ViewRig rig(testing::ViewDocument(1, 60, 4));
  CSystemArray& section = rig.Section();
  EXPECT_FALSE(PagesLaidOut(section));
  EXPECT_EQ(rig.window.timers.count(view::kLayoutTimer), 1u);
  EXPECT_EQ(section.FirstSystemOfPage(1), 4u);

  // Going to a system on a page not measured yet measures up to it first.
  rig.view.GoToSystem(45);
  const int page = rig.view.State().pageIndex;
  rig.Draw();
  EXPECT_NE(rig.Section().System(45)->area.bottom, rig.Section().System(45)->area.top);

  // The timer measures the rest between the user's events, then stops.
  for (int ticks = 0; rig.window.timers.count(view::kLayoutTimer) != 0 && ticks < 100; ++ticks) {
    rig.view.OnTimer(view::kLayoutTimer);
  }
  EXPECT_TRUE(PagesLaidOut(section));
  EXPECT_EQ(rig.window.timers.count(view::kLayoutTimer), 0u);
  EXPECT_EQ(static_cast<int>(section.PageOfSystem(45)), page);
  EXPECT_EQ(section.pageStarts.size(), 15u);
}

}  // namespace
}  // namespace vornel
