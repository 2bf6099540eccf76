#pragma once
// Compressed MusicXML (".mxl"): a zip archive whose "META-INF/container.xml" names the score
// among its root files.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vornel {

class TemporaryFolder;

// True when `head`, the first bytes of a file, is a zip archive's.
bool HasZipSignature(std::span<const uint8_t> head);

// Extracts the score of the compressed MusicXML file `path` into `folder` and returns its path
// there. The score is the first root file of the container that has no media type or the
// MusicXML one; its path must be a safe relative one, and an entry that declares more than
// `maxBytes` is refused before anything is extracted. Nothing when the file is not such an
// archive or the score cannot be taken out of it.
std::optional<std::string> ExtractMxlScore(const std::string& path, const TemporaryFolder& folder, uint64_t maxBytes);

}  // namespace vornel
