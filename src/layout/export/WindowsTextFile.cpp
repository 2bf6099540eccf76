#include "layout/export/WindowsTextFile.h"

#include "platform/io/FileIO.h"
#include "platform/text/TextConversion.h"

namespace vornel {

std::string ToWindowsTextFile(std::string_view utf8) {
  const std::string bytes = Utf8ToCp1252(utf8);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 16);
  for (const char c : bytes) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

bool WriteWindowsTextFile(const std::string& path, std::string_view utf8, std::string* error) {
  return WriteFileAtomically(path, ToWindowsTextFile(utf8), error);
}

}  // namespace vornel
