#include "shell/commands/HelpPages.h"

#include <array>
#include <utility>

#include "platform/UserPrompts.h"
#include "shell/files/PathHelpers.h"

namespace vornel {

std::optional<std::string_view> HelpPageName(int command) {
  static constexpr std::array<std::pair<int, std::string_view>, 7> kPages = {{
      {34355, "accelerators.html"},
      {34357, "keyboard.html"},
      {34358, "software.html"},
      {34359, "documents.html"},
      {34360, "sections.html"},
      {34361, "instruments.html"},
      {34362, "editing.html"},
  }};
  for (const auto& [id, page] : kPages) {
    if (id == command) return page;
  }
  return std::nullopt;
}

std::optional<std::string> FindHelpPage(int command, const std::string& documentationFolder) {
  const std::string folder = WithTrailingSeparator(documentationFolder);
  if (!FolderExists(folder)) {
    Prompts().ShowMessage("Cannot find documentation directory: " + folder, MessageKind::kError);
    return std::nullopt;
  }
  const std::optional<std::string_view> page = HelpPageName(command);
  if (!page) return std::nullopt;
  std::string path = folder + std::string(*page);
  if (!FileExists(path)) {
    Prompts().ShowMessage("Missing file: " + path, MessageKind::kError);
    return std::nullopt;
  }
  return path;
}

}  // namespace vornel
