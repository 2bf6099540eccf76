#pragma once
// Where the MusicXML converters and the import write their warnings: one line each, on the
// standard error stream unless a caller (a test) sets another stream for a while.

#include <ostream>
#include <string_view>

namespace vornel {

std::ostream& ImportWarnings();

// Writes `text` and a line end to the warning stream.
void ImportWarning(std::string_view text);

// Sends the warnings to `stream` for its lifetime, then back where they went before.
class ScopedImportWarnings {
 public:
  explicit ScopedImportWarnings(std::ostream& stream);
  ~ScopedImportWarnings();
  ScopedImportWarnings(const ScopedImportWarnings&) = delete;
  ScopedImportWarnings& operator=(const ScopedImportWarnings&) = delete;

 private:
  std::ostream* previous_;
};

}  // namespace vornel
