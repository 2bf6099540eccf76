#include "platform/io/DataPaths.h"

#include <cstdlib>
#include <filesystem>
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
  return VORNEL_BUILD_DATA_DIR;
}

}  // namespace vornel
