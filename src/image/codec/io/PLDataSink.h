#pragma once
// Where encoders write an image: a bounded memory buffer. Subclasses decide where the bytes
// go when the sink is closed.

#include <cstdint>
#include <string>
#include <string_view>

#include "image/bitmap/PLObject.h"

namespace vornel {

class PLDataSink : public PLObject {
 public:
  PLDataSink() = default;
  PLDataSink(const PLDataSink&) = delete;
  PLDataSink& operator=(const PLDataSink&) = delete;
  ~PLDataSink() override = default;

  // Appends `count` bytes and returns count. Beyond the maximum size nothing is written and
  // code 11 "Buffer overflow while encoding.\n" is thrown.
  int64_t WriteNBytes(int64_t count, const uint8_t* data);
  virtual void Close();

  const std::string& GetName() const { return name_; }
  const uint8_t* GetBufferStart() const { return buffer_; }
  int64_t GetBytesWritten() const { return bytesWritten_; }
  int64_t GetMaxSize() const { return maxSize_; }

 protected:
  void Open(std::string_view name, uint8_t* buffer, int64_t maxSize);

 private:
  uint8_t* buffer_ = nullptr;
  int64_t bytesWritten_ = 0;
  std::string name_;
  int64_t maxSize_ = 0;
};

}  // namespace vornel
