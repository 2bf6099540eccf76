#include "shell/files/PathHelpers.h"

#include <sys/stat.h>

#include <array>
#include <cstdio>

#include "model/StoredPath.h"

namespace vornel {

std::string GetPathFolder(std::string_view path) { return SplitStoredPath(path).folder; }

std::string GetPathFileName(std::string_view path) { return SplitStoredPath(path).name; }

std::string GetPathFileTitle(std::string_view path, bool withExtension) {
  std::string name = SplitStoredPath(path).name;
  if (withExtension) return name;
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool FolderExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string WithTrailingSeparator(std::string_view folder) {
  while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.remove_suffix(1);
  return std::string(folder) + '/';
}

std::string FormatDate(const std::tm& date) {
  static constexpr std::array<const char*, 12> kMonths = {"January", "February", "March",     "April",
                                                          "May",     "June",     "July",      "August",
                                                          "September", "October", "November", "December"};
  const int month = date.tm_mon >= 0 && date.tm_mon < 12 ? date.tm_mon : 0;
  char day[8];
  std::snprintf(day, sizeof day, "%02d", date.tm_mday);
  return std::to_string(date.tm_year + 1900) + ", " + kMonths[static_cast<size_t>(month)] + " " + day;
}

std::string FormatTodayDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return FormatDate(local);
}

std::string StripHttpScheme(std::string_view root) {
  constexpr std::string_view kScheme = "http://";
  if (root.substr(0, kScheme.size()) == kScheme) root.remove_prefix(kScheme.size());
  return std::string(root);
}

std::string GetDocumentRootUrl(std::string_view htmlRoot, std::string_view xmlFolder) {
  if (!htmlRoot.empty()) return "http://" + std::string(htmlRoot);
  return "file://" + std::string(xmlFolder);
}

std::string ImageListPrefixOf(std::string_view htmlRoot) {
  std::string root = StripHttpScheme(htmlRoot);
  if (root.empty()) return {};
  if (root.back() != '/') root += '/';
  return (root.starts_with("https://") ? root : "http://" + root) + "Images/";
}

}  // namespace vornel
