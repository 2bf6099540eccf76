// The ribbon's table against the golden list of its pages, panels, elements and menus; the
// places of the commands that stand more than once; labels and tool tips; and the coverage of
// every command the windows send: carried by a target, or explained by the catalogue.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/io/FileIO.h"
#include "shell/bars/CommandCatalogue.h"
#include "shell/bars/RibbonTable.h"
#include "shell/bars/ToolbarTable.h"
#include "shell/commands/CommandRoute.h"
#include "shell/commands/HeadlessCommandTargets.h"
#include "view/commands/CommandTable.h"

namespace vornel::bars {
namespace {

std::string Golden(const std::string& name) {
  const auto bytes = ReadFileBytes(std::string(VORNEL_SOURCE_DIR) + "/tests/shell/golden/" + name, 1 << 20);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

TEST(RibbonTable, TheDumpIsTheGoldenList) {
  const std::string golden = Golden("ribbon.txt");
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(RibbonDump(), golden);
}

// Where each command stands: "page/panel" of every element, sub-item or group button.
std::map<int, std::vector<std::string>> Places() {
  std::map<int, std::vector<std::string>> places;
  for (const RibbonCategory& page : RibbonCategories()) {
    for (const RibbonPanel& panel : page.panels) {
      const std::string where = DisplayLabel(page.label) + "/" + DisplayLabel(panel.label);
      for (const RibbonElement& element : panel.elements) {
        if (element.id != 0) places[element.id].push_back(where);
        for (const RibbonItem& item : element.items) places[item.id].push_back(where);
      }
    }
  }
  return places;
}

TEST(RibbonTable, SharedCommandsStandInEachOfTheirPlaces) {
  const auto places = Places();
  using Where = std::vector<std::string>;
  EXPECT_EQ(places.at(57600), (Where{"File/(application menu)", "Document/Actions"}));
  EXPECT_EQ(places.at(33211), (Where{"Instruments/Voicing operations", "Transformations/Voicing operations"}));
  EXPECT_EQ(places.at(33520), (Where{"Document/Printing", "Book Settings/Print elements"}));
  EXPECT_EQ(places.at(33411), (Where{"Document/Format", "Sections/Instruments", "Editing/Format"}));
  // "Parse voices" has the same sub-items on both pages.
  std::vector<std::vector<int>> subItems;
  for (const RibbonCategory& page : RibbonCategories()) {
    for (const RibbonPanel& panel : page.panels) {
      for (const RibbonElement& element : panel.elements) {
        if (element.id != 33211) continue;
        std::vector<int> ids;
        for (const RibbonItem& item : element.items) ids.push_back(item.id);
        subItems.push_back(ids);
      }
    }
  }
  EXPECT_EQ(subItems, (std::vector<std::vector<int>>{{33139, 33103}, {33139, 33103}}));
  // Elements without a command only open their items or menus.
  for (const RibbonCategory& page : RibbonCategories()) {
    for (const RibbonPanel& panel : page.panels) {
      for (const RibbonElement& element : panel.elements) {
        if (element.id != 0 || element.kind == RibbonKind::kButtonGroup || element.kind == RibbonKind::kLabel ||
            element.kind == RibbonKind::kRecentFiles) {
          continue;
        }
        EXPECT_TRUE(!element.items.empty() || FindRibbonMenu(element.menu) != nullptr) << element.label;
      }
    }
  }
}

TEST(RibbonTable, LabelsShowWithoutMnemonicsAndTheirTipsAfterTheBreak) {
  struct Case {
    const char* label;
    int id;
    bool iconOnly;
    const char* shown;
    const char* tip;
  };
  const Case cases[] = {
      {"&New", 57600, false, "New", "New (Ctrl+N)"},
      {"Save &As...", 57604, false, "Save As...", "Save As... (Ctrl+Shift+S)"},
      // Key tip letters are no tips; the command's keys are.
      {"New document\nv", 57600, false, "New document", "New document (Ctrl+N)"},
      {"Linear mode\nx", 1107, true, "Linear mode", "Linear mode"},
      {"Copy\nc", 57634, true, "Copy", "Copy (Ctrl+C)"},
      {"Enable echo\nil", 33983, false, "Enable echo", "Enable echo"},
      {"Reformat pages\nRedraw", 33411, true, "Reformat pages", "Reformat pages\nRedraw"},
      {"Copy voice", 32981, true, "Copy voice", "Copy voice"},
      {"Merged staves\n", 34308, false, "Merged staves", "Merged staves"},
      {"Copy & Paste", 0, false, "Copy & Paste", "Copy & Paste"},
      {"R&&D", 0, false, "R&D", "R&D"},
      {"\na", 57664, false, "", ""},
      // The marked-area buttons all read "Transpose Instrument": their tips say what they do.
      {"Transpose Instrument\nzc", 34228, true, "Transpose Instrument", "Copy marked area"},
      {"Transpose Instrument\nzc", 34231, true, "Transpose Instrument", "Remove selected zone"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DisplayLabel(c.label), c.shown) << c.label;
    EXPECT_EQ(ToolTipOf(c.id, c.label, c.iconOnly), c.tip) << c.label;
  }
  EXPECT_EQ(CommandLabel(57600), "New");
  EXPECT_EQ(CommandLabel(33406), "Coloured syntax");
  EXPECT_EQ(CommandLabel(34226), "Begin new marked area");
  EXPECT_EQ(CommandLabel(33483), "120%");
  EXPECT_EQ(CommandLabel(12345), "");
}

// The route the editor builds reaches a handler for every id of the windows but the title
// page's, which wait for their view.
TEST(CommandCoverage, EveryCommandOfTheWindowsReachesAHandlerOrIsExplained) {
  const HeadlessCommandTargets targets;
  const std::vector<const view::CommandTable*> route = targets.Route();
  const std::vector<int> ids = WindowCommandIds();
  std::vector<int> unreached;
  for (const UnreachedCommand& command : UnreachedCommands(route, ids)) {
    unreached.push_back(command.id);
    EXPECT_EQ(command.reach, Reach::kPlaceholder) << command.id;
    ASSERT_NE(FindPendingCommand(command.id), nullptr) << command.id;
    EXPECT_EQ(FindPendingCommand(command.id)->availability, Availability::kOtherView) << command.id;
  }
  EXPECT_EQ(unreached, (std::vector<int>{33178, 34076, 34078}));
  // The windows send what the table, the bars and the context menus hold.
  for (const int id : {57600, 34078, 33977, 33481, 34029, 32784, 33819, 103, 32942, 131, 33360}) {
    EXPECT_TRUE(std::binary_search(ids.begin(), ids.end(), id)) << id;
  }
}

TEST(CommandCoverage, AWaitingCommandShowsDisabledUntilATargetCarriesIt) {
  view::CommandTable pending;
  AddPendingCommands(pending);
  view::CommandTable later;
  view::CommandRouter router;
  router.SetRoute({&later, &pending});
  EXPECT_TRUE(router.State(34076).handled);
  EXPECT_FALSE(router.State(34076).enabled);
  EXPECT_FALSE(router.Dispatch(34076));
  ASSERT_NE(FindPendingCommand(34076), nullptr);
  EXPECT_EQ(FindPendingCommand(34076)->reason, "carried by the title-page view");
  // A handler registered (the title-page view's) takes the id: nothing else is edited.
  int ran = 0;
  later.Add(34076, [&](const view::CommandEvent&) { ++ran; });
  EXPECT_TRUE(router.State(34076).enabled);
  EXPECT_TRUE(router.Dispatch(34076));
  EXPECT_EQ(ran, 1);
  const std::vector<const view::CommandTable*> route = {&later, &pending};
  EXPECT_EQ(ReachOf(route, 34076), Reach::kHandled);
  // A target that carries an id without a handler only shows it.
  view::CommandTable shown;
  shown.Add(34076, {});
  const std::vector<const view::CommandTable*> shadowed = {&shown, &later, &pending};
  EXPECT_EQ(ReachOf(shadowed, 34076), Reach::kPlaceholder);
  EXPECT_EQ(ReachOf(shadowed, 12345), Reach::kNotCarried);
}

}  // namespace
}  // namespace vornel::bars
