#pragma once
// Whole-file reading and writing. Writes go to a temporary file beside the target that is
// renamed into place, so a failed save leaves the old file as it was.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vornel {

// The bytes of a file, or nothing when it cannot be read. Files above `maxBytes` are refused.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes = size_t(1) << 31);

// Writes `bytes` to `path` through a temporary file; on failure the temporary file is removed,
// `path` is untouched and `error` (when given) says why.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string* error = nullptr);
bool WriteFileAtomically(const std::string& path, std::string_view text, std::string* error = nullptr);

}  // namespace vornel
