#pragma once
// The older archive forms of the font and text records, for building the records of old
// files in tests: a font holds its colour only above "6.3" and its micro-tuning from "9.53";
// a track text holds its flags from "7.4".

#include <cstdint>
#include <string_view>
#include <vector>

#include "model/text/CTrackText.h"
#include "model/text/dfLogFont.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/archive/VersionText.h"

namespace vornel::testing {

inline std::vector<uint8_t> FontBytesFor(const dfLogFont& font, std::string_view version) {
  ArchiveWriter w;
  font.Store(w);
  std::vector<uint8_t> bytes = w.Bytes();
  if (VersionBelow(version, "9.53")) bytes.resize(bytes.size() - 4);
  if (!VersionAbove(version, "6.3")) bytes.resize(bytes.size() - 4);
  return bytes;
}

// The whole record of `text` (a derived text's own fields included) in the form of `version`.
inline std::vector<uint8_t> TextBytesFor(const CTrackText& text, std::string_view version) {
  ArchiveWriter font;
  text.font.Store(font);
  ArchiveWriter part;
  text.CTrackText::Store(part);
  ArchiveWriter whole;
  text.Store(whole);
  std::vector<uint8_t> bytes = FontBytesFor(text.font, version);
  const auto partEnd = whole.Bytes().begin() + static_cast<std::ptrdiff_t>(part.Bytes().size());
  bytes.insert(bytes.end(), whole.Bytes().begin() + static_cast<std::ptrdiff_t>(font.Bytes().size()),
               partEnd - (VersionBelow(version, "7.4") ? 4 : 0));
  bytes.insert(bytes.end(), partEnd, whole.Bytes().end());
  return bytes;
}

}  // namespace vornel::testing
