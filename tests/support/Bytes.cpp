#include "support/Bytes.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vornel::testing {

std::vector<uint8_t> HexBytes(std::string_view hex) {
  std::vector<uint8_t> out;
  int pending = -1;
  for (const char c : hex) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else continue;
    if (pending < 0) {
      pending = digit;
    } else {
      out.push_back(static_cast<uint8_t>(pending * 16 + digit));
      pending = -1;
    }
  }
  if (pending >= 0) throw std::invalid_argument("odd number of hex digits");
  return out;
}

std::string ToHex(const std::vector<uint8_t>& bytes) {
  std::string out;
  char buffer[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buffer, sizeof buffer, "%02X", bytes[i]);
    if (i) out += ' ';
    out += buffer;
  }
  return out;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vornel-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string FirstDifference(const std::string& a, const std::string& b) {
  std::istringstream x(a);
  std::istringstream y(b);
  std::string l;
  std::string r;
  std::string before;
  while (true) {
    const bool more = static_cast<bool>(std::getline(x, l));
    const bool moreToo = static_cast<bool>(std::getline(y, r));
    if (!more && !moreToo) return {};
    if (l != r || more != moreToo) return before + "\n< " + l + "\n> " + r;
    before = l;
  }
}

void WriteText(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace vornel::testing
