// The document-group file reader on hostile bytes. A group that was read is listed, written
// again and read back, which must give the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/archive/ArchiveError.h"
#include "shell/library/CVornelDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornel;
  CVornelDatabase group("/home/user/Vornel");
  try {
    group.LoadBytes(std::span<const uint8_t>(data, size));
  } catch (const ArchiveError&) {
    return 0;
  }
  group.ListDocumentPaths();
  group.ResolveRootPath();
  const std::vector<uint8_t> bytes = group.StoreBytes();
  CVornelDatabase again;
  again.LoadBytes(bytes);
  if (again.StoreBytes() != bytes) std::abort();
  return 0;
}
