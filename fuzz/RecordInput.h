#pragma once
// The inputs of the record fuzz targets: the first byte picks the record kind and the
// reading version, or, one step past the versions, the XML form; the rest is the record.

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vornel::fuzzing {

struct RecordInput {
  int kind = 0;
  const char* version = nullptr;  // null: the XML form
  std::span<const uint8_t> rest;
};

inline std::optional<RecordInput> SplitRecordInput(const uint8_t* data, size_t size, int kinds,
                                                   std::span<const char* const> versions) {
  if (size == 0) return std::nullopt;
  const uint8_t selector = data[0];
  const size_t versionIndex = (static_cast<size_t>(selector) / static_cast<size_t>(kinds)) % (versions.size() + 1);
  return RecordInput{selector % kinds, versionIndex < versions.size() ? versions[versionIndex] : nullptr,
                     std::span<const uint8_t>(data + 1, size - 1)};
}

// The root element of the rest read as XML; null when it is no XML.
inline const tinyxml2::XMLElement* ParseRoot(tinyxml2::XMLDocument& doc, std::span<const uint8_t> rest) {
  if (doc.Parse(reinterpret_cast<const char*>(rest.data()), rest.size()) != tinyxml2::XML_SUCCESS) return nullptr;
  return doc.RootElement();
}

}  // namespace vornel::fuzzing
