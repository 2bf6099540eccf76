#include "model/instrument/CPedal.h"

#include <algorithm>

#include "model/OwnedArrayRecords.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace vornel {

bool CPedal::operator==(const CPedal& o) const {
  return persistent == o.persistent && stringMask == o.stringMask && action == o.action && color == o.color &&
         caption == o.caption;
}

bool CPedal::ActsOn(int string) const {
  return action != 0 && string >= 0 && string < 32 && (stringMask >> string) & 1u;
}

void CPedal::Store(ArchiveWriter& ar) const {
  ar.WriteI32(persistent);
  ar.WriteI32(action);
  ar.WriteU32(stringMask);
  ar.WriteU32(color);
  ar.WriteText(caption);
}

void CPedal::Load(ArchiveReader& ar) {
  CPedal read = *this;
  read.persistent = ar.ReadI32();
  read.action = ar.ReadI32();
  read.stringMask = ar.ReadU32();
  read.color = ar.ReadU32();
  if (ar.VersionAtLeast("8.05")) read.caption = ar.ReadText();
  *this = read;
}

CPedalArray::CPedalArray() {
  for (size_t i = 0; i < kPedalCount; ++i) push_back(std::make_unique<CPedal>());
}

void CPedalArray::CopyFrom(const CPedalArray& other) { AssignByIndex<CPedal>(*this, other); }

const CPedal* CPedalArray::FindPedalForString(int string) const {
  for (const auto& pedal : items()) {
    if (pedal && pedal->ActsOn(string)) return pedal.get();
  }
  return nullptr;
}

void CPedalArray::CollectPersistent(std::vector<const CPedal*>& out) const {
  out.clear();
  for (const auto& pedal : items()) {
    if (pedal && pedal->persistent != 0) out.push_back(pedal.get());
  }
}

void CPedalArray::Store(ArchiveWriter& ar) const { ar.WriteObjectArray(items()); }

void CPedalArray::Load(ArchiveReader& ar) {
  OwnedArray<CPedal> read;
  ar.ReadOwnedObjectArray<CPedal>(read.items());
  read.items().resize(kPedalCount);  // before the empty entries are filled: those beyond ten go
  for (auto& pedal : read.items()) {
    if (!pedal) pedal = std::make_unique<CPedal>();
  }
  static_cast<OwnedArray<CPedal>&>(*this) = std::move(read);
}

}  // namespace vornel
