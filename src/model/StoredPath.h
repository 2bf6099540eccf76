#pragma once
// Paths as documents store them: kept as written (backslashes and drive letters from the
// files of other systems, slashes from ours, or web addresses), split into the folder part
// with its trailing separator and the file name.

#include <string>
#include <string_view>

namespace vornel {

struct SplitPath {
  std::string folder;  // everything up to and including the last '\' or '/'
  std::string name;    // the file name with its extension
};

SplitPath SplitStoredPath(std::string_view path);

// `folder` and `name` joined again: a backslash goes between them only when the folder is
// not empty and does not already end in a separator.
std::string JoinStoredPath(std::string_view folder, std::string_view name);

}  // namespace vornel
