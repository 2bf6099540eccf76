#pragma once
// A sink that collects the encoded image in memory and writes it to its file in one piece
// when closed, through a temporary file renamed into place: a failed save leaves the old
// file as it was.

#include <memory>
#include <string>

#include "image/codec/io/PLDataSink.h"

namespace vornel {

class PLFileSink : public PLDataSink {
 public:
  PLFileSink() = default;
  ~PLFileSink() override;

  // 0 when the file can be written and the buffer had; -1 otherwise.
  int Open(const std::string& path, int64_t maxSize);
  // Writes what was written to the file (an empty file when nothing was). A failed write
  // throws code -1 after the old file has been left in place.
  void Close() override;
  // Forgets what was written and removes the temporary file: the file named at Open stays
  // as it was. For an encoding that failed part-way.
  void Discard();

 private:
  std::unique_ptr<uint8_t[]> buffer_;
  std::string path_;
  std::string tempPath_;
  int fd_ = -1;
};

}  // namespace vornel
