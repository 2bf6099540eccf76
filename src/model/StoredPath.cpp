#include "model/StoredPath.h"

namespace vornel {

SplitPath SplitStoredPath(std::string_view path) {
  const size_t cut = path.find_last_of("\\/");
  if (cut == std::string_view::npos) return {std::string(), std::string(path)};
  return {std::string(path.substr(0, cut + 1)), std::string(path.substr(cut + 1))};
}

std::string JoinStoredPath(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  if (!joined.empty() && joined.back() != '\\' && joined.back() != '/') joined += '\\';
  joined += name;
  return joined;
}

}  // namespace vornel
