#pragma once
// Compressed MusicXML (".mxl"): a zip archive whose "META-INF/container.xml" names the score
// among its root files.

#include <cstdint>
#include <span>
#include <string>

namespace vornel {

// True when `head`, the first bytes of a file, is a zip archive's.
bool HasZipSignature(std::span<const uint8_t> head);

// Inflates the score of the compressed MusicXML file `path` into `score`, in memory. The
// score is the first root file of the container that has no media type or the MusicXML one;
// its path must be a safe relative one, and it is bounded as a bundle's document is (64 MiB
// plus 64 bytes per packed byte) and by `maxBytes`, which it may never pass while it inflates.
// False when the file is not such an archive or the score cannot be taken out of it, with
// `reason` saying which part of the archive failed and why.
bool ExtractMxlScore(const std::string& path, uint64_t maxBytes, std::string& score, std::string& reason);

}  // namespace vornel
