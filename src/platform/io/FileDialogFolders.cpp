#include "platform/io/FileDialogFolders.h"

#include <filesystem>
#include <system_error>

namespace vornel {

namespace {

bool IsFolder(std::string_view path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(std::filesystem::path(path), ec);
}

}  // namespace

FileDialogFolders& FileDialogFolders::Shared() {
  static FileDialogFolders folders;
  return folders;
}

std::string FileDialogFolders::StartFolder(std::string_view asked) const {
  for (const std::string_view folder : {asked, std::string_view(last_), std::string_view(documents_)}) {
    if (IsFolder(folder)) return std::string(folder);
  }
  return {};
}

void FileDialogFolders::Chosen(const std::string& path, bool isFolder) {
  if (path.empty()) return;
  last_ = isFolder ? path : std::filesystem::path(path).parent_path().string();
}

std::string WithPatternExtension(std::string path, std::string_view pattern) {
  if (pattern.size() < 3 || pattern.substr(0, 2) != "*." || pattern.find_first_of(";*?", 2) != std::string_view::npos) {
    return path;
  }
  const std::filesystem::path name(path);
  if (name.filename().empty() || name.has_extension()) return path;
  path += pattern.substr(1);
  return path;
}

}  // namespace vornel
