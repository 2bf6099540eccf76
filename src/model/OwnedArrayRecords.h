#pragma once
// Shared steps of the owning lists of records: instrument records (fonts, pedals, ornaments)
// and the parts of a document.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/archive/ArchiveReader.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

// Reads an object array into `target`, every null entry of the file becoming a default
// element: the lists' users index them without checking for holes. `target` changes only
// when the whole array was read.
template <typename T>
void LoadArrayWithoutNulls(ArchiveReader& ar, OwnedArray<T>& target) {
  OwnedArray<T> read;
  ar.ReadOwnedObjectArray<T>(read.items());
  for (auto& element : read.items()) {
    if (element) continue;
    ar.ChargeBuilt(ArchiveReader::BuildWeight<T>());  // two bytes of the file stand for a whole object
    element = std::make_unique<T>();
  }
  target = std::move(read);
}

// Reads an object array of whole parts of a document (sections, systems, instrument
// definitions, instrument lines, staves). These lists never hold an empty entry, and a default
// part weighs kilobytes where the empty entry took two bytes of the file, so an empty entry
// ends the read as a damaged file, as do more than `maxEntries` entries. `target` changes
// only when the whole array was read.
template <typename T, bool InlineFirst>
void LoadArrayOfParts(ArchiveReader& ar, OwnedArray<T, InlineFirst>& target, size_t maxEntries = SIZE_MAX) {
  OwnedArray<T, InlineFirst> read;
  ar.ReadOwnedObjectArray<T>(read.items());
  if (read.size() > maxEntries) {
    ar.Fail(ArchiveErrorCode::kBadCount, "more " + std::string(T::kClassName) + " records than a list of them holds");
  }
  if (std::find(read.items().begin(), read.items().end(), nullptr) != read.items().end()) {
    ar.Fail(ArchiveErrorCode::kBadData, "an empty entry in a list of " + std::string(T::kClassName) + " records");
  }
  target = std::move(read);
}

// Assigns each element of `source` to the element at the same index of `target`, as far as
// both lists reach.
template <typename T>
void AssignByIndex(OwnedArray<T>& target, const OwnedArray<T>& source) {
  const size_t count = std::min(target.size(), source.size());
  for (size_t i = 0; i < count; ++i) {
    if (target.at(i) != nullptr && source.at(i) != nullptr) *target.at(i) = *source.at(i);
  }
}

}  // namespace vornel
