// What a page drawing keeps of its systems' measurements: an edit, a copy, another device or
// other clefs give the pages and the page breaks that a first drawing gives.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PageFixtures.h"
#include "document/CPageDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/undo/CUndoSectionArray.h"
#include "platform/draw/RecordingDevice.h"
#include "view/draw/DrawContext.h"
#include "view/draw/PageDrawSettings.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/ClefRecords.h"
#include "view/render/pages/SectionPages.h"
#include "view/render/pages/SystemDrawing.h"
#include "view/render/pages/SystemReachCache.h"

namespace vornel {
namespace {

using testing::NotatedSection;
using testing::PageChord;

struct Scope {
  PageDrawSettings settings;
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed{renderer};
};

// Where each system stands, then the drawing of the page.
std::string DrawnPage(CSystemArray& section, CPageDlg& page, const Scope& scope) {
  RecordingDevice dc(96, true);
  const DrawContext context(dc, scope.settings);
  DrawSystems(section, dc, page, 0, 0, section.systems.size(), true);
  std::string tops;
  for (size_t s = 0; s < section.systems.size(); ++s) tops += std::to_string(section.System(s)->area.top) + " ";
  return tops + "\n" + dc.Log();
}

std::vector<size_t> FittedPageStarts(CSystemArray& section, CPageDlg& page, const Rect& printable, const Scope& scope) {
  RecordingDevice dc(96, true);
  const DrawContext context(dc, scope.settings);
  FitSystemsOfSection(section, dc, page, printable);
  return section.pageStarts;
}

// Notes high over the staff of the system's first line: the system reaches further up.
void AddHighNotes(CStaveArray& system) {
  for (int i = 0; i < 6; ++i) system.Line(0)->firstVoice.push_back(PageChord(4, {100 + i}));
}

void AddClefChange(CStaveArray& system) {
  auto event = std::make_unique<nChord>(static_cast<uint16_t>(nChord::kSpecialEvent | 0x90));
  event->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kClef, "", 2, 0, 0));
  system.Line(0)->firstVoice.insert(2, std::move(event));
}

// After each edit the page is drawn as it is when nothing was measured before.
TEST(SystemReaches, EditedPagesAreDrawnAsAFirstDrawingDrawsThem) {
  struct Case {
    const char* name;
    std::function<void(CSystemArray&, CPageDlg&)> edit;
  };
  const Case cases[] = {
      {"a taller second system", [](CSystemArray& s, CPageDlg&) { AddHighNotes(*s.System(1)); }},
      {"a clef change in the first system", [](CSystemArray& s, CPageDlg&) { AddClefChange(*s.System(0)); }},
      // The systems after it number their bars anew.
      {"a bar line in the first system", [](CSystemArray& s, CPageDlg&) {
         s.System(0)->Line(0)->firstVoice.insert(1, std::make_unique<nChord>(nChord::kBarLine));
         s.NumberBars(0);
       }},
      {"the instrument hidden", [](CSystemArray& s, CPageDlg&) { s.Definition(0)->visible = 0; }},
      {"narrower margins", [](CSystemArray&, CPageDlg& p) { p.leftMargin /= 2; }},
  };
  Scope scope;
  for (const Case& c : cases) {
    auto section = NotatedSection("Reaches", 4);
    CPageDlg page;
    page.pageRect = {0, 0, 794, 1123};
    page.verticalJustification = 0;
    const std::string before = DrawnPage(*section, page, scope);
    c.edit(*section, page);
    const std::string edited = DrawnPage(*section, page, scope);
    EXPECT_NE(edited, before) << c.name;
    ForgetMeasuredReaches();
    EXPECT_EQ(edited, DrawnPage(*section, page, scope)) << c.name;
  }
}

// A system grown taller moves the systems after it down, and the page breaks follow.
TEST(SystemReaches, ATallerSystemRefitsThePage) {
  Scope scope;
  auto section = NotatedSection("Reaches", 4);
  section->stavesPerPage = 4;
  CPageDlg page;
  page.pageRect = {0, 0, 794, 1123};
  page.verticalJustification = 0;
  RecordingDevice dc(96, true);
  const DrawContext context(dc, scope.settings);
  // A page that holds three of the systems as they are, and not four.
  const std::vector<int64_t> rooms = MeasureSystemRooms(*section, dc, page, {0, 0, 794, 1000});
  const int64_t gap = GapBetweenSystems(dc, page);
  const Rect printable{0, 0, 794, static_cast<int32_t>(rooms[0] + rooms[1] + rooms[2] + 2 * gap + 2)};
  ASSERT_EQ(FittedPageStarts(*section, page, printable, scope), (std::vector<size_t>{0, 3}));
  DrawnPage(*section, page, scope);
  const int32_t thirdTop = section->System(2)->area.top;

  AddHighNotes(*section->System(1));
  EXPECT_EQ(FittedPageStarts(*section, page, printable, scope), (std::vector<size_t>{0, 2}));
  DrawnPage(*section, page, scope);
  EXPECT_GT(section->System(2)->area.top, thirdTop);
}

// The key of a measurement follows what a system holds and what it is drawn on, not which
// object holds it: the copy an undo gives back finds the original's measurements.
TEST(SystemReaches, KeysFollowContentAndDevice) {
  Scope scope;
  auto section = NotatedSection("Reaches", 2);
  const std::unique_ptr<CSystemArray> copy = CopySection(*section);
  EXPECT_EQ(SystemFingerprint(*copy, *copy->System(1)), SystemFingerprint(*section, *section->System(1)));
  EXPECT_NE(SystemFingerprint(*section, *section->System(0)), SystemFingerprint(*section, *section->System(1)));
  const uint64_t before = SystemFingerprint(*section, *section->System(1));
  section->System(1)->Line(0)->firstVoice.at(0)->notes.at(0)->pitch += 1;
  EXPECT_NE(SystemFingerprint(*section, *section->System(1)), before);

  CPageDlg page;
  const Rect printable{0, 0, 794, 1000};
  RecordingDevice paper(96, true);
  const ReachContext base = ReachContextOf(*section, page, paper, printable);
  EXPECT_EQ(ReachContextOf(*copy, page, paper, printable), base);
  RecordingDevice screen(96, false);
  RecordingDevice fine(300, true);
  CPageDlg zoomed;
  zoomed.zoom = 150;
  EXPECT_NE(ReachContextOf(*section, page, screen, printable), base);
  EXPECT_NE(ReachContextOf(*section, page, fine, printable), base);
  EXPECT_NE(ReachContextOf(*section, zoomed, screen, printable), ReachContextOf(*section, page, screen, printable));
  EXPECT_NE(ReachContextOf(*section, page, paper, {0, 0, 794, 900}), base);
  copy->Definition(0)->staves.at(0)->lines += 1;
  EXPECT_NE(ReachContextOf(*copy, page, paper, printable), base);
}

// Where on its page a system stands changes nothing it draws: the measurements fitting the
// pages made serve the drawing of each page, which measures nothing again.
TEST(SystemReaches, APlaceOnThePageChangesNothingDrawn) {
  Scope scope;
  auto section = NotatedSection("Reaches", 3);
  AddClefChange(*section->System(1));
  AddHighNotes(*section->System(2));
  CPageDlg page;
  page.pageRect = {0, 0, 794, 1123};
  const Rect printable{40, 40, 760, 1080};
  for (size_t s = 0; s < section->systems.size(); ++s) {
    std::string first;
    for (const uint32_t placement : {0u, (5u << 26) | (0u << 20), (5u << 26) | (4u << 20), (63u << 26) | (63u << 20)}) {
      // Each drawing starts with no clef change recorded.
      ForgetClefRecords(*section);
      RecordingDevice dc(96, false);
      const DrawContext context(dc, scope.settings);
      const SystemReach reach = MeasureSystem(*section, s, dc, page, placement, printable);
      DrawSystem(*section->System(s), dc, page, placement, printable.left, printable.top, printable.right,
                 printable.bottom);
      const std::string drawn = std::to_string(reach.above) + " " + std::to_string(reach.height) + " " +
                                std::to_string(reach.below) + "\n" + dc.Log();
      if (first.empty()) first = drawn;
      EXPECT_TRUE(drawn == first) << "system " << s << " placed " << std::hex << placement;
    }
  }
}

}  // namespace
}  // namespace vornel
