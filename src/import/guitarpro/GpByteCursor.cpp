#include "import/guitarpro/GpByteCursor.h"

namespace vornel {

void GpByteCursor::Require(size_t count, std::string_view text) const {
  if (count > Remaining()) Fail(std::string(text));
}

uint8_t GpByteCursor::ReadByte(std::string_view eofText) {
  Require(1, eofText);
  return bytes_[pos_++];
}

int32_t GpByteCursor::ReadInt32(std::string_view eofText) {
  Require(4, eofText);
  const uint32_t v = static_cast<uint32_t>(bytes_[pos_]) | (static_cast<uint32_t>(bytes_[pos_ + 1]) << 8) |
                     (static_cast<uint32_t>(bytes_[pos_ + 2]) << 16) | (static_cast<uint32_t>(bytes_[pos_ + 3]) << 24);
  pos_ += 4;
  return static_cast<int32_t>(v);
}

std::span<const uint8_t> GpByteCursor::ReadBytes(size_t count, std::string_view eofText) {
  Require(count, eofText);
  const std::span<const uint8_t> out = bytes_.subspan(pos_, count);
  pos_ += count;
  return out;
}

}  // namespace vornel
