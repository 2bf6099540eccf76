// The customisable tool bars without windows: what each bar offers, the stored state and its
// checked reading, and the customisation's operations and reset.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "shell/bars/ToolbarTable.h"

namespace vornel::bars {
namespace {

const ToolbarDefinition& Editing() { return *FindToolbar(kEditingOptionsBar); }

std::vector<int> Ids(const ToolbarDefinition& bar) {
  std::vector<int> ids;
  for (const ToolbarButton& button : bar.buttons) ids.push_back(button.id);
  return ids;
}

TEST(Toolbars, EachBarHoldsItsPanelsButtons) {
  // "Clipboard" and "Editing modes" of the editing page, groups apart; "Remove all..." opens
  // its menu.
  EXPECT_EQ(Ids(Editing()), (std::vector<int>{57634, 57635, 57637, 0, 32981, 32982, 0, 57643, 57644, 0, -1067, 0, 1107,
                                              33115, 33406, 0, 32792, 33011, 33500}));
  EXPECT_EQ(Ids(*FindToolbar(kMidiPlayBar)),
            (std::vector<int>{32826, 32823, 32829, 32824, 32825, 33979, 32827, 34303, 34341}));
  EXPECT_EQ(Ids(*FindToolbar(kAlfabetoBar)), (std::vector<int>{32793, 33310, 33311, 0, 33303, 33307, 33306, 33312}));
  EXPECT_EQ(Ids(*FindToolbar(kPaletteBar)), (std::vector<int>{33819, 33820, 33821, 33822, 33823, 33824, 0, 33826,
                                                               33827, 33828, 33829, 33830, 33831}));
  EXPECT_EQ(FindToolbar(kPaletteBar)->fixedIconSize, 28);
  EXPECT_EQ(Ids(*FindToolbar(kZoomBar)), std::vector<int>{kZoomComboCommand});
  EXPECT_EQ(Ids(*FindToolbar(kConsoleBar)), (std::vector<int>{32792, 32789, 32790, 32791, 32795, 32794, 32786, 32787,
                                                               32785, 32796, 32797, 32798, 32793, 32784}));
  EXPECT_EQ(ToolbarStateKey(3), "ToolBarEx3");
  EXPECT_EQ(ToolbarButtonLabel(-1067), "Remove all...");
  EXPECT_EQ(ToolbarButtonLabel(33828), "Ornaments");
  EXPECT_EQ(ToolbarButtonLabel(32798), "Dotted note or group of notes");
  EXPECT_EQ(IconSizeOf(IconOption::kSmallIcons).height, 15);
  EXPECT_EQ(IconSizeOf(IconOption::kLargeIcons).width, 24);
  // The bar above the ribbon: the tab-row buttons but the ribbon's own two, then the shown
  // quick-access commands; the hidden ones wait in its overflow.
  EXPECT_EQ(Ids(QuickAccessBar()), (std::vector<int>{-213, 33296, 33014, -1070, 0, 57603, 57608}));
  EXPECT_EQ(QuickAccessOverflow(), (std::vector<int>{57600, 57601, 57609}));
}

TEST(Toolbars, AStateIsKeptAndReadBackWithItsOptions) {
  ToolbarState state;
  state.icons = IconOption::kLargeIcons;
  state.text = TextOption::kNoTextLabels;
  state.buttons = {57643, 0, -1067, 57634};
  const std::string text = ToolbarStateText(state);
  EXPECT_EQ(text, "icons=1 text=2 buttons=57643,0,-1067,57634");
  EXPECT_EQ(ReadToolbarState(text, Editing()), state);
}

TEST(Toolbars, AStoredStateIsCheckedAgainstTheBar) {
  struct Case {
    const char* text;
    std::optional<std::vector<int>> buttons;  // nothing: the default layout stays
  };
  const Case cases[] = {
      {"icons=0 text=1 buttons=", std::vector<int>{}},
      {"icons=0 text=2 buttons=57634,99999,57635", std::vector<int>{57634, 57635}},  // unknown id dropped
      {"icons=0 text=2 buttons=57634,57634,0,0,57635", std::vector<int>{57634, 0, 57635}},  // repeats dropped
      {"icons=0 text=2 buttons=0,57634", std::vector<int>{57634}},
      {"icons=0 text=2 buttons=-213,-1067", std::vector<int>{-1067}},  // a menu the bar does not offer
      {"icons=2 text=2 buttons=57634", std::nullopt},                  // no such icon option
      {"icons=0 text=-1 buttons=57634", std::nullopt},
      {"icons=0 text=2 buttons=57634,abc", std::nullopt},
      {"text=2 icons=0 buttons=57634", std::nullopt},
      {"", std::nullopt},
      {"\xff\xfe garbage", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<ToolbarState> state = ReadToolbarState(c.text, Editing());
    ASSERT_EQ(state.has_value(), c.buttons.has_value()) << c.text;
    if (state) {
      EXPECT_EQ(state->buttons, *c.buttons) << c.text;
    }
  }
  // However long the stored list, a bar keeps no more than twice what it offers.
  std::string many = "icons=0 text=2 buttons=57634";
  for (int i = 0; i < 100000; ++i) many += ",0,57635";
  const std::optional<ToolbarState> state = ReadToolbarState(many, Editing());
  ASSERT_TRUE(state);
  EXPECT_LE(state->buttons.size(), Editing().buttons.size() * 2);
}

TEST(Toolbars, CustomisationAddsRemovesMovesAndResets) {
  ToolbarState start = InitialToolbarState(Editing());
  start.text = TextOption::kShowTextLabels;
  start.icons = IconOption::kLargeIcons;
  start.buttons = {57634, 57635};
  ToolbarCustomizer customizer(Editing(), start);
  // What can be added: every button not on the bar, in the bar's order, then a separator.
  const std::vector<int> available = customizer.Available();
  EXPECT_EQ(available.front(), 57637);
  EXPECT_EQ(available.back(), kSeparator);
  EXPECT_TRUE(customizer.Add(57643, 0));
  EXPECT_FALSE(customizer.Add(57643, 0));  // already there
  EXPECT_FALSE(customizer.Add(33297, 0));  // not offered by this bar
  EXPECT_TRUE(customizer.Add(kSeparator, 99));
  EXPECT_EQ(customizer.State().buttons, (std::vector<int>{57643, 57634, 57635, 0}));
  EXPECT_TRUE(customizer.Move(0, 1));
  EXPECT_FALSE(customizer.Move(0, -1));
  EXPECT_FALSE(customizer.Move(3, 1));
  EXPECT_TRUE(customizer.Remove(3));
  EXPECT_FALSE(customizer.Remove(3));
  EXPECT_EQ(customizer.State().buttons, (std::vector<int>{57634, 57643, 57635}));
  customizer.Reset();
  EXPECT_EQ(customizer.State().text, TextOption::kNoTextLabels);
  EXPECT_EQ(customizer.State().icons, IconOption::kSmallIcons);
  EXPECT_EQ(customizer.State().buttons, DefaultToolbarState(Editing()).buttons);
  // The console's bar starts with its large buttons; a reset makes them small like any other.
  EXPECT_EQ(InitialToolbarState(*FindToolbar(kConsoleBar)).icons, IconOption::kLargeIcons);
  EXPECT_EQ(DefaultToolbarState(*FindToolbar(kConsoleBar)).icons, IconOption::kSmallIcons);
}

}  // namespace
}  // namespace vornel::bars
