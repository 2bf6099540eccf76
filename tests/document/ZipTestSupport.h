#pragma once
// Helpers shared by the zip tests: archives built from (name, content) lists, file times, and
// a UTC time zone so that DOS times and Unix times line up in fixtures.

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/zip/ZipReader.h"
#include "document/zip/ZipWriter.h"
#include "support/Bytes.h"

namespace vornel::testing {

// Sets the time zone to UTC for the object's lifetime.
class ScopedUtc {
 public:
  ScopedUtc() {
    if (const char* old = std::getenv("TZ")) old_ = old;
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
  }
  ~ScopedUtc() {
    if (old_)
      ::setenv("TZ", old_->c_str(), 1);
    else
      ::unsetenv("TZ");
    ::tzset();
  }

 private:
  std::optional<std::string> old_;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void SetFileTimes(const std::string& path, int64_t modified, int64_t accessed) {
  const struct timespec times[2] = {{static_cast<time_t>(accessed), 0}, {static_cast<time_t>(modified), 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

inline bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// Writes each content to a file of `dir` and adds it under its name; returns the archive path.
inline std::string MakeArchive(const TempDir& dir, const std::vector<std::pair<std::string, std::string>>& entries,
                               const std::string& archiveName = "made.zip") {
  const std::string path = dir.File(archiveName);
  ZipHandlePtr zip = CreateZip(path);
  int n = 0;
  for (const auto& [name, content] : entries) {
    const std::string source = dir.File("source-" + std::to_string(n++));
    WriteText(source, content);
    if (ZipAdd(zip.get(), name, source) != kZipOk) return {};
  }
  return CloseZip(zip.get()) == kZipOk ? path : std::string();
}

}  // namespace vornel::testing
