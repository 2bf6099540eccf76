#include "model/CUndoSectionArray.h"

#include <algorithm>

#include "model/CInstrumentDlg.h"
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
  // The stored form keeps no ornament row's type or kind (a load sets them from the row's
  // place); a copy keeps those of the original, so that an undo gives back what was there.
  const size_t definitions = std::min(section.definitions.size(), copy->definitions.size());
  for (size_t d = 0; d < definitions; ++d) {
    const COrnamentTable& from = section.definitions.at(d)->ornaments.table;
    COrnamentTable& to = copy->definitions.at(d)->ornaments.table;
    for (size_t i = 0; i < std::min(from.size(), to.size()); ++i) {
      if (from.at(i) == nullptr || to.at(i) == nullptr) continue;
      to.at(i)->type = from.at(i)->type;
      to.at(i)->kind = from.at(i)->kind;
    }
  }
  return copy;
}

int CUndoSectionArray::SaveSnapshot(const CSystemArray& section, std::string label) {
  PushFront(CopySection(section), std::move(label));
  return 1;
}

void CUndoSectionArray::PushFront(std::unique_ptr<CSystemArray> section, std::string label) {
  if (limit <= 0) return;
  // Names stay entry by entry even if entries came or went through the plain list.
  strings.resize(size());
  insert(0, std::move(section));
  strings.insert(strings.begin(), std::move(label));
  Trim();
}

std::unique_ptr<CSystemArray> CUndoSectionArray::PopFront(std::string* label) {
  if (empty()) return nullptr;
  strings.resize(size());
  if (label != nullptr) *label = std::move(strings.front());
  strings.erase(strings.begin());
  return release(0);
}

void CUndoSectionArray::Trim() {
  const size_t keep = static_cast<size_t>(std::max<int32_t>(limit, 0));
  while (size() > keep) erase(size() - 1);
  strings.resize(size());
}

void CUndoSectionArray::clear() {
  CSectionArray::clear();
  strings.clear();
}

const std::string& CUndoSectionArray::Label(size_t index) const {
  static const std::string kNone;
  return index < strings.size() && index < size() ? strings[index] : kNone;
}

}  // namespace vornel
