#pragma once
// A data source over a caller's memory block, which must outlive the decoding.

#include "image/codec/io/PLDataSource.h"

namespace vornel {

class PLMemSource : public PLDataSource {
 public:
  PLMemSource() = default;
  ~PLMemSource() override;
  // Named "Mem"; returns 0.
  int Open(const uint8_t* data, int64_t size);
};

}  // namespace vornel
