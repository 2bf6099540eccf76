#pragma once
// The program's shortcut keys in one table: the keys the commands' own texts name ("&Print...
// \tCtrl+P", "Format system\tF12", "Change Active voice\t({)" ...), and the desktop's usual keys
// for the standard commands that name none (Ctrl+S, Ctrl+O, Ctrl+N, Ctrl+W, Ctrl+Y,
// Ctrl+Shift+Z, Ctrl+Q, F1). The main window makes its accelerators from it, menus and tool
// tips show the keys, the score view takes the typed characters it names, and the help page
// lists it.

#include <span>
#include <string>
#include <string_view>

namespace vornel::view {

struct Accelerator {
  int command = 0;
  // "Ctrl+S", "Ctrl+Shift+Z", "F12", "Alt+Ctrl+Left"; one character ("{") is a typed
  // character of the score view rather than a key of the window.
  std::string_view keys;
  // What the command does, as the help page names it, and the heading it is listed under.
  std::string_view text;
  std::string_view group;

  bool IsCharacter() const { return keys.size() == 1; }
};

// Every entry, in the order of the help page; a command may have more than one.
std::span<const Accelerator> Accelerators();
// The first keys of a command ("Ctrl+S"); empty when it has none.
std::string_view AcceleratorKeys(int command);
// The command of a typed character the table names ('{' ...); 0 when none.
int CharacterCommand(char32_t character);
// `text` with the command's keys after a tab, as menus show them (keys the text names after a
// tab give way to the table's spelling); unchanged for a command without keys.
std::string WithAcceleratorKeys(int command, std::string_view text);

}  // namespace vornel::view
