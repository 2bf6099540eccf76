#include "model/CUndoSectionArray.h"

#include <algorithm>

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace vornel {

std::unique_ptr<CSystemArray> CopySection(const CSystemArray& section) {
  ArchiveWriter writer;
  section.Store(writer);
  const std::vector<uint8_t> bytes = writer.TakeBytes();
  ArchiveReader reader(bytes);
  auto copy = std::make_unique<CSystemArray>();
  copy->Load(reader);
  return copy;
}

int CUndoSectionArray::SaveSnapshot(const CSystemArray& section) {
  PushFront(CopySection(section));
  return 1;
}

void CUndoSectionArray::PushFront(std::unique_ptr<CSystemArray> section) {
  if (limit <= 0) return;
  insert(0, std::move(section));
  Trim();
}

std::unique_ptr<CSystemArray> CUndoSectionArray::PopFront() {
  if (empty()) return nullptr;
  return release(0);
}

void CUndoSectionArray::Trim() {
  const size_t keep = static_cast<size_t>(std::max<int32_t>(limit, 0));
  while (size() > keep) erase(size() - 1);
}

}  // namespace vornel
