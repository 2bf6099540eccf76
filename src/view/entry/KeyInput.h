#pragma once
// Keys as the score view's key handling receives them: the system's virtual-key codes (the
// window layer maps its own codes onto these), the modifiers, and for typed characters the
// character itself.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vornel::view {

namespace keys {
inline constexpr int kBackspace = 8;
inline constexpr int kTab = 9;
inline constexpr int kEnter = 13;
inline constexpr int kShift = 16;
inline constexpr int kControl = 17;
inline constexpr int kSpace = 32;
inline constexpr int kPageUp = 33;
inline constexpr int kPageDown = 34;
inline constexpr int kEnd = 35;
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kInsert = 45;
inline constexpr int kDelete = 46;
inline constexpr int kDigit0 = 48;   // '0'..'9' are 48..57, 'A'..'Z' 65..90
inline constexpr int kNumpad0 = 96;  // 96..105
inline constexpr int kAdd = 107;
inline constexpr int kSubtract = 109;
inline constexpr int kDecimal = 110;
inline constexpr int kBackslash = 220;
}  // namespace keys

struct KeyEvent {
  int key = 0;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  // Shift = 1, Ctrl = 2.
  int Mask() const { return (shift ? 1 : 0) | (ctrl ? 2 : 0); }
};

// The name of the undo step a key takes in the score: "Type a" for a typed character, "Delete
// note", "Delete chord", "Insert chord" for the editing keys, "Key" for the others.
std::string KeyActionName(const KeyEvent& key, char32_t typed);

// "Shift+Enter", "Ctrl+3", "Tab", "Left", "F" ... as the key script and tests write keys;
// nothing for a name it does not know.
std::optional<KeyEvent> ParseKeyName(std::string_view text);

// The key of a US keyboard that types `character` without Shift (letters in lower case,
// digits, punctuation, space); 0 for none.
int KeyOfPlainCharacter(char32_t character);

// The character a key types on a US keyboard in its Shift state: letters, digits,
// punctuation, Space, and the keypad's digits and operators; 0 for a key that types none.
// Ctrl and Alt leave it as it is (the key handling decides what they make of it).
char32_t TypedCharacter(const KeyEvent& key);

// The key, with Shift when it needs it, that types `character` on a US keyboard; key 0 for a
// character no key types.
KeyEvent KeyTyping(char32_t character);

}  // namespace vornel::view
