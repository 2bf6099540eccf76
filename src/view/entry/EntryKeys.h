#pragma once
// The keys of the score view as a user reads them: note entry, rhythm values, moving the
// cursor and the other keys the view takes itself (NoteEntry). The help page "keyboard.html"
// is made from this list; keep it beside the key map when a key changes.

#include <span>
#include <string_view>

namespace vornel::view {

struct EntryKey {
  std::string_view group;  // the heading the key is listed under
  std::string_view keys;   // "a ... z", "Shift+Enter", "Keypad +"
  std::string_view what;
};

// In the order of the help page, grouped.
std::span<const EntryKey> EntryKeys();

}  // namespace vornel::view
