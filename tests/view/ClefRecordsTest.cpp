// A page starts with the clefs the clef changes before it left, however the pages were drawn
// before it: a page drawn after others, again, or after an edit of an earlier system draws as
// it does when nothing was drawn before.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PageFixtures.h"
#include "ViewFixtures.h"
#include "document/CPageDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/instrument/CInstrument.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "platform/draw/RecordingDevice.h"
#include "view/draw/DrawContext.h"
#include "view/draw/PageDrawSettings.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/ClefRecords.h"
#include "view/render/pages/SectionPages.h"

namespace vornel {
namespace {

using testing::NotatedSection;

constexpr size_t kPerPage = 3;

struct Pages {
  Pages() : section(NotatedSection("Clefs", 12)) {
    section->stavesPerPage = static_cast<int32_t>(kPerPage);
    page.pageRect = {0, 0, 794, 1123};
    AddClefChange(1, 2);
    AddClefChange(4, 3);
  }
  // A clef change on the third event of the system's line.
  void AddClefChange(size_t system, uint32_t clef) {
    auto event = std::make_unique<nChord>(static_cast<uint16_t>(nChord::kSpecialEvent | 0x90));
    event->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kClef, "", clef, 0, 0));
    section->System(system)->Line(0)->firstVoice.insert(2, std::move(event));
  }
  std::string Draw(size_t pageIndex) {
    RecordingDevice dc(96, false);
    const DrawContext context(dc, settings);
    DrawSystems(*section, dc, page, static_cast<int32_t>(pageIndex), pageIndex * kPerPage, kPerPage, pageIndex == 0);
    return dc.Log();
  }
  // The page as a drawing that knows nothing of earlier ones draws it.
  std::string DrawFirst(size_t pageIndex) {
    ForgetClefRecords(*section);
    return Draw(pageIndex);
  }

  PageDrawSettings settings;
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed{renderer};
  std::unique_ptr<CSystemArray> section;
  CPageDlg page;
};

TEST(ClefRecords, APageDrawsAsAFirstDrawingWhateverWasDrawnBefore) {
  const std::vector<std::vector<size_t>> orders = {
      {3, 3}, {0, 3}, {3, 1, 3}, {2, 0, 3}, {1, 2, 3}, {3, 2}, {2, 1}, {3, 0, 2},
  };
  for (const std::vector<size_t>& order : orders) {
    Pages pages;
    const std::string expected = pages.DrawFirst(order.back());
    pages.DrawFirst(order.front());
    std::string last;
    for (size_t i = 1; i < order.size(); ++i) last = pages.Draw(order[i]);
    EXPECT_EQ(last, expected) << "page " << order.back() << " after " << order.front();
  }
}

TEST(ClefRecords, AnEditForgetsWhatWasRecordedPastIt) {
  struct Case {
    const char* name;
    size_t system;
    std::function<void(Pages&)> edit;
  };
  const Case cases[] = {
      {"a clef change added on the page before", 7, [](Pages& p) { p.AddClefChange(7, 1); }},
      {"a clef change added on the second page", 5, [](Pages& p) { p.AddClefChange(5, 1); }},
      {"a clef change taken out", 4, [](Pages& p) { p.section->System(4)->Line(0)->firstVoice.erase(2); }},
  };
  for (const Case& c : cases) {
    Pages pages;
    pages.DrawFirst(3);
    pages.Draw(1);
    pages.Draw(2);
    const std::string before = pages.Draw(3);
    c.edit(pages);
    // As the view does after an edit at the cursor in that system.
    ForgetClefRecordsAfter(*pages.section, c.system);
    const std::string after = pages.Draw(3);
    EXPECT_NE(after, before) << c.name;
    EXPECT_EQ(after, pages.DrawFirst(3)) << c.name;
  }
}

// The view tells the drawing what an edit at the cursor changed: a page after it starts with
// the clefs the edit left.
TEST(ClefRecords, TheViewForgetsWhatAnEditAtTheCursorChanged) {
  testing::ViewRig rig(testing::ViewDocument(1, 12, 3));
  CBriotabDoc& doc = *rig.doc;
  rig.view.GoToSystem(10);
  rig.Draw();
  rig.view.GoToSystem(4);
  rig.Draw();
  auto event = std::make_unique<nChord>(static_cast<uint16_t>(nChord::kSpecialEvent | 0x90));
  event->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kClef, "", 2, 0, 0));
  rig.view.ActiveLine()->firstVoice.insert(2, std::move(event));
  doc.NotifyChanged(kHintRepaintSystem);
  rig.view.GoToSystem(10);
  const std::string drawn = rig.Draw();
  ForgetClefRecords(*rig.doc->GetActiveSection());
  EXPECT_EQ(drawn, rig.Draw());
}

}  // namespace
}  // namespace vornel
