// Tablature staves drawn into the recording device: golden logs of small cases, each checked
// by hand against the formulas once (tests/view/golden/tab_*.log; set VORNEL_UPDATE_GOLDEN to
// write them again, VORNEL_RENDER_PNG_DIR to look at them).
//
// At zoom 100 and 96 dpi the lute's lines lie 11 pixels apart (3 mm), the top line at 101
// and the sixth at 156; one line below the staff is 167.

#include <gtest/gtest.h>

#include "GoldenLog.h"
#include "TabFixtures.h"
#include "model/CMetaEvent.h"
#include "support/ScriptedPrompts.h"
#include "view/render/StaffRenderer.h"
#include "view/render/tablature/TabNotes.h"

namespace vornel {
namespace {

using testing::CourseFret;
using testing::TabLine;

constexpr int32_t kTop = 101;
constexpr int32_t kSpacing = 11;

struct GoldenCases {
  std::string log;
  void Add(const std::string& name, TabLine& tab, int32_t columnWidth = 40, bool printing = true) {
    log += "# " + name + "\n" + tab.Draw(name, columnWidth, printing);
  }
};

// ---------------------------------------------------------------------------------------------
// Letters and styles

TEST(TabRenderer, TabStylesWithLettersBetweenLinesAndWhiteBoxes) {
  GoldenCases cases;
  for (int style = 0; style <= 4; ++style) {
    for (int variant = 0; variant < 2; ++variant) {
      TabLine tab;
      tab.Tab().tabStyle = style;
      tab.Tab().betweenLines = variant;
      tab.Tab().drawOpaque = variant;
      tab.Rebuild();
      tab.Add(3, {{0, 0}, {1, 2}, {2, 3}, {5, 10}});
      tab.Add(3, {{3, 1}, {4, 12}, {6, 0}});
      cases.Add("style " + std::to_string(style) + (variant != 0 ? " between lines, opaque" : ""), tab);
    }
  }
  testing::ExpectGoldenLog("tab_styles", cases.log);
}

}  // namespace
}  // namespace vornel
