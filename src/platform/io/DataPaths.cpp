#include "platform/io/DataPaths.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace vornel {

std::string ProgramDirectory() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : exe.parent_path().string();
}

std::string ShippedDataDirectory() {
  if (const char* fromEnvironment = std::getenv("VORNEL_DATA_DIR"); fromEnvironment && *fromEnvironment) {
    return fromEnvironment;
  }
  std::error_code ec;
  const auto beside = std::filesystem::path(ProgramDirectory()).parent_path() / "data";
  if (std::filesystem::is_directory(beside / "fonts", ec)) return beside.string();
  for (const std::string& folder : XdgDataFolders()) {
    const auto candidate = std::filesystem::path(folder) / "vornel";
    if (std::filesystem::is_directory(candidate / "fonts", ec) || std::filesystem::is_directory(candidate / "Templates", ec)) {
      return candidate.string();
    }
  }
  return VORNEL_BUILD_DATA_DIR;
}

std::vector<std::string> XdgDataFolders() {
  std::vector<std::string> folders;
  const char* home = std::getenv("XDG_DATA_HOME");
  const char* user = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') {
    folders.emplace_back(home);
  } else if (user != nullptr && user[0] == '/') {
    folders.push_back(std::string(user) + "/.local/share");
  }
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  std::string_view list = dirs != nullptr && dirs[0] != 0 ? dirs : "/usr/local/share:/usr/share";
  while (!list.empty()) {
    const size_t colon = list.find(':');
    const std::string_view entry = list.substr(0, colon);
    // Relative entries are invalid and ignored.
    if (!entry.empty() && entry.front() == '/') folders.emplace_back(entry);
    list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
  }
  return folders;
}

}  // namespace vornel
