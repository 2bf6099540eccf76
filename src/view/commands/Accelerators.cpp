#include "view/commands/Accelerators.h"

namespace vornel::view {

namespace {

constexpr std::string_view kFiles = "Files and the program";
constexpr std::string_view kEditing = "Editing";
constexpr std::string_view kLayout = "Layout";
constexpr std::string_view kMoving = "Moving about";
constexpr std::string_view kPlaying = "Playing";

constexpr Accelerator kAccelerators[] = {
    {57600, "Ctrl+N", "New document", kFiles},
    {57601, "Ctrl+O", "Open a document", kFiles},
    {57603, "Ctrl+S", "Save the document", kFiles},
    {57604, "Ctrl+Shift+S", "Save the document under another name", kFiles},
    {57602, "Ctrl+W", "Close the document", kFiles},
    {57607, "Ctrl+P", "Print", kFiles},
    {57665, "Ctrl+Q", "Exit", kFiles},
    {57666, "F1", "Help", kFiles},
    {57643, "Ctrl+Z", "Undo", kEditing},
    {57644, "Ctrl+Y", "Redo", kEditing},
    {57644, "Ctrl+Shift+Z", "Redo", kEditing},
    {57635, "Ctrl+X", "Cut", kEditing},
    {57634, "Ctrl+C", "Copy", kEditing},
    {57637, "Ctrl+V", "Paste", kEditing},
    {33116, "Ctrl+K", "Insert static space", kEditing},
    {33345, "Ctrl+L", "Lyric", kEditing},
    {33991, "Ctrl+B", "Set binary flag", kEditing},
    {33992, "Ctrl+T", "Set triplet flags", kEditing},
    {33361, "Ctrl+F", "Toggle flag beam direction", kEditing},
    {33333, "Ctrl+\\", "Split chord into even tied notes", kEditing},
    {33210, "{", "Change Active voice", kEditing},
    {33212, "}", "Switch note to other voice", kEditing},
    {32784, "F12", "Format system", kLayout},
    {33171, "Ctrl+F12", "Reformat all section staves", kLayout},
    {33115, "F8", "Use proportional spacing", kLayout},
    {33006, "Alt+Ctrl+Left", "Move first bar up", kLayout},
    {33007, "Alt+Ctrl+Right", "Move last bar down", kLayout},
    {33090, "F9", "View slur bar", kLayout},
    {32766, "Alt+Left", "Previous section", kMoving},
    {32767, "Alt+Right", "Next section", kMoving},
    {32829, "F11", "Play single voice", kPlaying},
    {32830, "F10", "Play single instrument", kPlaying},
    {32831, "Ctrl+F10", "Play all instruments", kPlaying},
};

}  // namespace

std::span<const Accelerator> Accelerators() { return kAccelerators; }

std::string_view AcceleratorKeys(int command) {
  for (const Accelerator& entry : Accelerators()) {
    if (entry.command == command) return entry.keys;
  }
  return {};
}

int CharacterCommand(char32_t character) {
  for (const Accelerator& entry : Accelerators()) {
    if (entry.IsCharacter() && static_cast<unsigned char>(entry.keys.front()) == character) return entry.command;
  }
  return 0;
}

std::string WithAcceleratorKeys(int command, std::string_view text) {
  const std::string_view keys = AcceleratorKeys(command);
  if (keys.empty()) return std::string(text);
  return std::string(text.substr(0, text.find('\t'))) + '\t' + std::string(keys);
}

}  // namespace vornel::view
