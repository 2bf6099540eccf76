#include "view/entry/KeyInput.h"

#include <array>
#include <cctype>
#include <string>
#include <utility>

namespace vornel::view {

namespace {

// The keys of a US keyboard that type a character other than a letter, with the character
// each types without and with Shift.
struct UsKey {
  int key;
  char plain;
  char shifted;
};
constexpr std::array<UsKey, 22> kUsKeys = {{
    {'0', '0', ')'}, {'1', '1', '!'}, {'2', '2', '@'}, {'3', '3', '#'}, {'4', '4', '$'}, {'5', '5', '%'},
    {'6', '6', '^'}, {'7', '7', '&'}, {'8', '8', '*'}, {'9', '9', '('}, {keys::kSpace, ' ', ' '},
    {186, ';', ':'}, {187, '=', '+'}, {188, ',', '<'}, {189, '-', '_'}, {190, '.', '>'}, {191, '/', '?'},
    {192, '`', '~'}, {219, '[', '{'}, {keys::kBackslash, '\\', '|'}, {221, ']', '}'}, {222, '\'', '"'},
}};

}  // namespace

std::optional<KeyEvent> ParseKeyName(std::string_view text) {
  KeyEvent key;
  // Modifiers first: "Shift+", "Ctrl+", "Alt+" in any order.
  while (true) {
    const size_t plus = text.find('+');
    if (plus == std::string_view::npos || plus + 1 >= text.size()) break;
    const std::string_view modifier = text.substr(0, plus);
    if (modifier == "Shift") {
      key.shift = true;
    } else if (modifier == "Ctrl") {
      key.ctrl = true;
    } else if (modifier == "Alt") {
      key.alt = true;
    } else {
      break;
    }
    text.remove_prefix(plus + 1);
  }
  static constexpr std::array<std::pair<std::string_view, int>, 24> kNames = {{
      {"Backspace", keys::kBackspace}, {"Tab", keys::kTab}, {"Enter", keys::kEnter}, {"Shift", keys::kShift},
      {"Ctrl", keys::kControl}, {"Space", keys::kSpace}, {"PageUp", keys::kPageUp}, {"PageDown", keys::kPageDown},
      {"End", keys::kEnd}, {"Home", keys::kHome}, {"Left", keys::kLeft}, {"Up", keys::kUp},
      {"Right", keys::kRight}, {"Down", keys::kDown}, {"Insert", keys::kInsert}, {"Delete", keys::kDelete},
      {"Add", keys::kAdd}, {"Subtract", keys::kSubtract}, {"Decimal", keys::kDecimal}, {"Backslash", keys::kBackslash},
      {"NumpadAdd", keys::kAdd}, {"NumpadSubtract", keys::kSubtract}, {"NumpadDecimal", keys::kDecimal},
      {"Escape", 27},
  }};
  for (const auto& [name, code] : kNames) {
    if (text == name) {
      key.key = code;
      return key;
    }
  }
  if (text.size() == 7 && text.substr(0, 6) == "Numpad" && std::isdigit(static_cast<unsigned char>(text[6]))) {
    key.key = keys::kNumpad0 + (text[6] - '0');
    return key;
  }
  if (text.size() == 1) {
    const unsigned char c = static_cast<unsigned char>(text[0]);
    if (std::isdigit(c)) {
      key.key = c;
      return key;
    }
    if (std::isalpha(c)) {
      key.key = std::toupper(c);
      return key;
    }
  }
  return std::nullopt;
}

int KeyOfPlainCharacter(char32_t character) {
  if (character >= U'a' && character <= U'z') return static_cast<int>(character - U'a') + 'A';
  for (const UsKey& k : kUsKeys) {
    if (static_cast<char32_t>(k.plain) == character) return k.key;
  }
  return 0;
}

char32_t TypedCharacter(const KeyEvent& key) {
  if (key.key >= 'A' && key.key <= 'Z') return static_cast<char32_t>(key.shift ? key.key : key.key - 'A' + 'a');
  if (key.key >= keys::kNumpad0 && key.key <= keys::kNumpad0 + 9) return static_cast<char32_t>('0' + key.key - keys::kNumpad0);
  switch (key.key) {
    case keys::kAdd: return U'+';
    case keys::kSubtract: return U'-';
    case keys::kDecimal: return U'.';
    default: break;
  }
  for (const UsKey& k : kUsKeys) {
    if (k.key == key.key) return static_cast<char32_t>(key.shift ? k.shifted : k.plain);
  }
  return 0;
}

KeyEvent KeyTyping(char32_t character) {
  KeyEvent key;
  if (character >= U'A' && character <= U'Z') {
    key.key = static_cast<int>(character);
    key.shift = true;
    return key;
  }
  if (const int plain = KeyOfPlainCharacter(character); plain != 0) {
    key.key = plain;
    return key;
  }
  for (const UsKey& k : kUsKeys) {
    if (static_cast<char32_t>(k.shifted) == character) {
      key.key = k.key;
      key.shift = true;
      return key;
    }
  }
  return key;
}

std::string KeyActionName(const KeyEvent& key, char32_t typed) {
  if (key.key == keys::kBackspace || key.key == keys::kDelete) return key.ctrl ? "Delete chord" : "Delete note";
  if (key.key == keys::kInsert) return "Insert chord";
  // Ctrl with a digit types the frets from 10 on.
  if (key.ctrl && !key.alt && key.key >= keys::kDigit0 && key.key <= keys::kDigit0 + 9) {
    return "Type fret " + std::to_string(10 + key.key - keys::kDigit0);
  }
  if (typed > 32 && typed < 127 && !key.ctrl && !key.alt) return std::string("Type ") + static_cast<char>(typed);
  return "Key";
}

}  // namespace vornel::view
