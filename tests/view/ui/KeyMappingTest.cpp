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
      {'\\', keys::kBackslash}, {'.', 190},  {'[', 219},       {WXK_F1, 112},   {WXK_F10, 121},
      {WXK_MENU, 0},        // no code: the view never sees it
  };
  for (const Case& c : cases) EXPECT_EQ(VirtualKeyOf(c.wxCode), c.expected) << c.wxCode;
}

// The raw key code of a key event is the keysym the keyboard layout made of the key, Shift
// and Caps Lock included: its character is what the key types.
TEST(KeyMapping, KeysymsBecomeTheCharactersTheKeysType) {
  struct Case {
    uint32_t keysym;
    char32_t expected;
  };
  const Case cases[] = {
      {'a', U'a'},     {'A', U'A'},         {'#', U'#'},      {' ', U' '},        {'~', U'~'},
      {0xE9, U'\u00E9'}, {0x010020AC, U'\u20AC'},               // Latin-1 and a Unicode keysym
      {0xFFB7, U'7'},  {0xFFAB, U'+'},      {0xFFAE, U'.'},   {0xFF80, U' '},     // the keypad
      {0xFF51, 0},     {0xFFE1, 0},         {0xFF0D, 0},      {0xFE51, 0},        // Left, Shift, Return, a dead key
      {0xFFBE, 0},     {0x7F, 0},           {0x1F, 0},        {0x01000041, 0},    // F1, DEL, a control, below the Unicode keysyms
  };
  for (const Case& c : cases) EXPECT_EQ(CharacterOfKeysym(c.keysym), c.expected) << std::hex << c.keysym;
}

// Scripts type as on a US keyboard: every printable character has its key, which types it.
TEST(KeyMapping, EveryPrintableCharacterHasAKeyThatTypesIt) {
  for (char32_t c = 32; c < 127; ++c) {
    const KeyEvent key = KeyTyping(c);
    EXPECT_NE(key.key, 0) << static_cast<char>(c);
    EXPECT_EQ(TypedCharacter(key), c) << static_cast<char>(c);
    if (!key.shift) {
      EXPECT_EQ(KeyOfPlainCharacter(c), key.key) << static_cast<char>(c);
    }
  }
  KeyEvent numpad;
  numpad.key = keys::kNumpad0 + 4;
  EXPECT_EQ(TypedCharacter(numpad), U'4');
  numpad.key = keys::kLeft;
  EXPECT_EQ(TypedCharacter(numpad), 0u);
  EXPECT_EQ(KeyTyping(U'\u00E9').key, 0);
}

}  // namespace
}  // namespace vornel::view
