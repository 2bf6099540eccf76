#include "image/codec/io/PLDataSink.h"

#include <cstring>

#include "image/bitmap/PLTextException.h"

namespace vornel {

void PLDataSink::Open(std::string_view name, uint8_t* buffer, int64_t maxSize) {
  name_ = name;
  buffer_ = buffer;
  maxSize_ = maxSize;
  bytesWritten_ = 0;
}

int64_t PLDataSink::WriteNBytes(int64_t count, const uint8_t* data) {
  if (count < 0 || count > maxSize_ - bytesWritten_) {
    throw PLTextException(kPLErrEndOfData, "Buffer overflow while encoding.\n");
  }
  if (count > 0) std::memcpy(buffer_ + bytesWritten_, data, static_cast<size_t>(count));
  bytesWritten_ += count;
  return count;
}

void PLDataSink::Close() {
  name_.clear();
  buffer_ = nullptr;
  bytesWritten_ = 0;
}

}  // namespace vornel
