#pragma once
// A data source over a file mapped into memory: decoders read it with plain pointers.

#include <string>

#include "image/codec/io/PLDataSource.h"

namespace vornel {

class PLFileSource : public PLDataSource {
 public:
  explicit PLFileSource(IProgressNotification* notification = nullptr) : PLDataSource(notification) {}
  ~PLFileSource() override;

  // 0 when the file is open; 3 when its folder does not exist, 4 when the file does not
  // (or cannot be read for another reason), 5 when access is denied or it cannot be mapped.
  int Open(const std::string& fileName);
  void Close() override;

 private:
  void* view_ = nullptr;
  size_t viewSize_ = 0;
};

}  // namespace vornel
