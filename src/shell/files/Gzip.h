#pragma once
// gzip compression of the ".ft3" files of another tablature program, done in-process: the
// compressed form is the file's name with ".ft3" appended, the expanded form the name with
// ".ft3" removed. The source file is kept; the result is written through a temporary file.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vornel {

// Expanded data larger than this is refused.
inline constexpr size_t kMaxGunzippedBytes = size_t(256) << 20;

std::vector<uint8_t> GzipBytes(std::span<const uint8_t> data);
// The data of every gzip member in turn; nothing when the data is not gzip, is cut short or
// expands beyond `limit`.
std::optional<std::vector<uint8_t>> GunzipBytes(std::span<const uint8_t> data, size_t limit = kMaxGunzippedBytes);

// Compresses `path` into "<path>.ft3", or expands a path ending in ".ft3" into the path
// without it; on success `path` names the result. False, with `path` and every file as they
// were, when the file cannot be read, is not gzip data or the result cannot be written.
bool RunGzipOnFt3File(std::string& path, bool compress);

}  // namespace vornel
