#include <gtest/gtest.h>
#include <wx/defs.h>

#include "view/entry/KeyInput.h"
#include "view/ui/KeyMapping.h"

namespace vornel::view {
namespace {

TEST(KeyMapping, WindowKeysBecomeTheViewsKeyCodes) {
  struct Case {
    int wxCode;
    int expected;
  };
  const Case cases[] = {
      {'A', 'A'},          {'z', 'Z'},          {'7', '7'},         {WXK_NUMPAD3, keys::kNumpad0 + 3},
      {WXK_LEFT, keys::kLeft}, {WXK_NUMPAD_LEFT, keys::kLeft}, {WXK_DOWN, keys::kDown},
      {WXK_RETURN, keys::kEnter}, {WXK_NUMPAD_ENTER, keys::kEnter}, {WXK_TAB, keys::kTab},
      {WXK_BACK, keys::kBackspace}, {WXK_DELETE, keys::kDelete}, {WXK_INSERT, keys::kInsert},
      {WXK_SPACE, keys::kSpace}, {WXK_HOME, keys::kHome}, {WXK_END, keys::kEnd},
      {WXK_PAGEDOWN, keys::kPageDown}, {WXK_NUMPAD_ADD, keys::kAdd}, {WXK_NUMPAD_SUBTRACT, keys::kSubtract},
      {'\\', keys::kBackslash}, {WXK_F1, 112},   {WXK_F10, 121},
      {WXK_MENU, 0},        // no code: the view never sees it
  };
  for (const Case& c : cases) EXPECT_EQ(VirtualKeyOf(c.wxCode), c.expected) << c.wxCode;
}

}  // namespace
}  // namespace vornel::view
