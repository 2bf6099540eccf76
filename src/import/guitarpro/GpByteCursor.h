#pragma once
// A little-endian reading cursor over a file held in memory. Every read is checked against
// the bytes that remain; running out raises a GpReadFailure with the caller's text and the
// offset where the read started, so a truncated file always fails where it ends.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vornel {

class GpReadFailure : public std::runtime_error {
 public:
  GpReadFailure(const std::string& text, size_t offset) : std::runtime_error(text), offset_(offset) {}
  size_t offset() const { return offset_; }

 private:
  size_t offset_;
};

class GpByteCursor {
 public:
  explicit GpByteCursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t Position() const { return pos_; }
  size_t Size() const { return bytes_.size(); }
  size_t Remaining() const { return bytes_.size() - pos_; }
  bool AtEnd() const { return pos_ >= bytes_.size(); }

  // Raises `text` at the current position.
  [[noreturn]] void Fail(const std::string& text) const { throw GpReadFailure(text, pos_); }
  // Raises `text` unless `count` bytes remain.
  void Require(size_t count, std::string_view text) const;

  uint8_t ReadByte(std::string_view eofText = "readByte: EOF");
  int8_t ReadSignedByte(std::string_view eofText = "readByte: EOF") { return static_cast<int8_t>(ReadByte(eofText)); }
  int32_t ReadInt32(std::string_view eofText);
  // The next `count` bytes, which stay in the buffer.
  std::span<const uint8_t> ReadBytes(size_t count, std::string_view eofText);
  void Skip(size_t count, std::string_view eofText = "skip: EOF") { ReadBytes(count, eofText); }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

}  // namespace vornel
