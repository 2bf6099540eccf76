#include "image/codec/io/PLMemSource.h"

namespace vornel {

PLMemSource::~PLMemSource() {
  if (IsOpen()) PLMemSource::Close();
}

int PLMemSource::Open(const uint8_t* data, int64_t size) {
  PLDataSource::Open("Mem", data, size);
  return 0;
}

}  // namespace vornel
