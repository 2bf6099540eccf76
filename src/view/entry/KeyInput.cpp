#include "view/entry/KeyInput.h"

#include <array>
#include <cctype>
#include <string>
#include <utility>

namespace vornel::view {

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

}  // namespace vornel::view
