#include "document/OpenFailure.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/io/FileIO.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/NumberText.h"

namespace vornel {

namespace {

namespace fs = std::filesystem;

// Enough of the file's beginning to tell its kind; the whole file to count its lines, up to a
// bound (a document larger than that is not counted).
constexpr size_t kHeadBytes = 4096;
constexpr size_t kCountedBytes = size_t(256) << 20;

struct Signature {
  std::string_view bytes;
  std::string_view kind;  // "a PNG picture" ...
};

constexpr std::array<Signature, 9> kSignatures = {{
    {"\x89PNG", "a PNG picture"},
    {"\xFF\xD8\xFF", "a JPEG picture"},
    {"GIF8", "a GIF picture"},
    {"%PDF", "a PDF document"},
    {"MThd", "a MIDI file"},
    {"II*", "a TIFF picture"},
    {std::string_view("MM\0*", 4), "a TIFF picture"},
    {"BM", "a BMP picture"},
    {"PK\x03\x04", "a zip archive"},
}};

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The line the XML parser stopped at ("Line number=12" in its message), 0 when it says none.
int ParserLine(std::string_view details) {
  constexpr std::string_view kLine = "Line number=";
  const size_t at = details.find(kLine);
  if (at == std::string_view::npos) return 0;
  size_t end = at + kLine.size();
  while (end < details.size() && details[end] >= '0' && details[end] <= '9') ++end;
  uint32_t line = 0;
  if (!ScanInt(details.substr(at + kLine.size(), end - at - kLine.size()), line) || line > 1u << 30) return 0;
  return static_cast<int>(line);
}

// The lines of the file: a last line without its line break counts too.
int LineCount(const std::string& path) {
  const auto bytes = ReadFileBytes(path, kCountedBytes);
  if (!bytes) return 0;
  int lines = static_cast<int>(std::count(bytes->begin(), bytes->end(), uint8_t{'\n'}));
  if (!bytes->empty() && bytes->back() != '\n') ++lines;
  return lines;
}

// What is wrong, in a musician's words (no full stop).
std::string Cause(const std::string& path, std::string_view details) {
  std::error_code ec;
  if (!fs::exists(path, ec)) return "it is not there (it may have been moved, renamed or deleted)";
  if (fs::is_directory(path, ec)) return "it is a folder";
  const uintmax_t size = fs::file_size(path, ec);
  if (!ec && size == 0) return "the file is empty";
  std::ifstream file(path, std::ios::binary);
  std::string head(kHeadBytes, '\0');
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  if (!file && !file.eof()) return "it is not a file that can be read";
  head.resize(static_cast<size_t>(file.gcount()));
  const std::string_view start(head);
  const bool bundle = EndsWithNoCase(path, ".btz");
  for (const Signature& signature : kSignatures) {
    if (!start.starts_with(signature.bytes)) continue;
    if (bundle && signature.bytes == "PK\x03\x04") break;  // a bundle is a zip archive
    std::string cause = "it is ";
    cause += signature.kind;
    cause += ", not a score: only its name says otherwise";
    if (signature.bytes == "MThd") cause += " (bring it in with \"Import a MIDI file...\")";
    return cause;
  }
  if (start.find("<score-partwise") != std::string_view::npos || start.find("<score-timewise") != std::string_view::npos) {
    return "it is a MusicXML score, not a document of this program (bring it in with \"Import a MusicXML file...\")";
  }
  if (bundle) {
    return "the bundle is damaged or incomplete (it may have been cut short while it was copied or downloaded)";
  }
  if (const int line = ParserLine(details); line > 0) {
    const int lines = LineCount(path);
    if (lines > 0 && line >= lines) {
      return "it breaks off at line " + std::to_string(line) +
             ", before its end: it was perhaps not saved, copied or downloaded whole";
    }
    return "it is damaged at line " + std::to_string(line);
  }
  if (!start.empty() && start.front() != '<' && !start.starts_with("\xEF\xBB\xBF<") && !EndsWithNoCase(path, ".btb") &&
      !EndsWithNoCase(path, ".btt")) {
    return "it is not a document of this program";
  }
  return "it is damaged, or not a document of this program";
}

}  // namespace

std::string OpenFailureMessage(const std::string& path, std::string_view details) {
  std::string message(1, '"');
  message += FileName(path);
  message += "\" cannot be opened: ";
  message += Cause(path, details);
  message += ".\n\n";
  message += path;
  if (!details.empty()) {
    message += '\n';
    message += details;
  }
  return message;
}

}  // namespace vornel
