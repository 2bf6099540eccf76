#pragma once
// A private folder for the fuzz targets that read files, in memory when the system offers one,
// removed at exit.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace vornel::fuzzing {

class ScratchFolder {
 public:
  explicit ScratchFolder(const char* name) {
    namespace fs = std::filesystem;
    const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / (std::string(name) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
  }
  ~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::filesystem::path path;
};

}  // namespace vornel::fuzzing
