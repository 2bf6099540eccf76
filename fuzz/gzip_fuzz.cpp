// gzip expansion on hostile bytes: bounded output, and what expands compresses and expands
// back to the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "shell/files/Gzip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kLimit = size_t(1) << 20;
  const auto expanded = vornel::GunzipBytes(std::span(data, size), kLimit);
  if (!expanded) return 0;
  if (expanded->size() > kLimit) std::abort();
  const auto back = vornel::GunzipBytes(vornel::GzipBytes(*expanded), kLimit);
  if (!back || *back != *expanded) std::abort();
  return 0;
}
