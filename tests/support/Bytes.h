#pragma once
// Byte fixtures written as hex text ("FF FE FF 00") for byte-exact tests.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vornel::testing {

std::vector<uint8_t> HexBytes(std::string_view hex);
std::string ToHex(const std::vector<uint8_t>& bytes);

// A unique temporary folder for one test, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, std::string_view text);

// The first line where two texts part, with the line before it; empty when they agree.
std::string FirstDifference(const std::string& a, const std::string& b);

}  // namespace vornel::testing
