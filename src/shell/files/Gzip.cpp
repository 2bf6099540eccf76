#include "shell/files/Gzip.h"

#include <zlib.h>

#include <algorithm>
#include <string_view>

#include "platform/io/FileIO.h"

namespace vornel {

namespace {

constexpr std::string_view kSuffix = ".ft3";
// Files read for compression or expansion; the ".ft3" files are a few kilobytes.
constexpr size_t kMaxSourceBytes = size_t(256) << 20;

}  // namespace

std::vector<uint8_t> GzipBytes(std::span<const uint8_t> data) {
  z_stream stream{};
  // 15 window bits plus 16: a gzip header and trailer around the deflate data.
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(data.size())) + 32);
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return result == Z_STREAM_END ? out : std::vector<uint8_t>{};
}

std::optional<std::vector<uint8_t>> GunzipBytes(std::span<const uint8_t> data, size_t limit) {
  if (data.empty()) return std::nullopt;
  z_stream stream{};
  if (inflateInit2(&stream, 15 + 16) != Z_OK) return std::nullopt;
  std::vector<uint8_t> out;
  uint8_t chunk[16384];
  size_t position = 0;
  bool ok = false;
  for (;;) {
    const size_t offered = std::min<size_t>(data.size() - position, size_t(1) << 30);
    stream.next_in = const_cast<Bytef*>(data.data() + position);
    stream.avail_in = static_cast<uInt>(offered);
    stream.next_out = chunk;
    stream.avail_out = sizeof chunk;
    const int result = inflate(&stream, Z_NO_FLUSH);
    position += offered - stream.avail_in;
    const size_t produced = sizeof chunk - stream.avail_out;
    if (out.size() + produced > limit) break;
    out.insert(out.end(), chunk, chunk + produced);
    if (result == Z_STREAM_END) {
      if (position == data.size()) {
        ok = true;
        break;
      }
      // Another member follows, as gzip writes when files are joined.
      inflateReset(&stream);
    } else if (result != Z_OK) {
      break;  // bad data, or data cut short (no progress possible)
    }
  }
  inflateEnd(&stream);
  if (!ok) return std::nullopt;
  return out;
}

bool RunGzipOnFt3File(std::string& path, bool compress) {
  std::string target;
  if (compress) {
    target = path + std::string(kSuffix);
  } else {
    if (path.size() <= kSuffix.size() || std::string_view(path).substr(path.size() - kSuffix.size()) != kSuffix) {
      return false;
    }
    target = path.substr(0, path.size() - kSuffix.size());
  }
  const std::optional<std::vector<uint8_t>> source = ReadFileBytes(path, kMaxSourceBytes);
  if (!source) return false;
  std::vector<uint8_t> result;
  if (compress) {
    result = GzipBytes(*source);
    if (result.empty()) return false;
  } else {
    std::optional<std::vector<uint8_t>> expanded = GunzipBytes(*source);
    if (!expanded) return false;
    result = std::move(*expanded);
  }
  if (!WriteFileAtomically(target, result)) return false;
  path = std::move(target);
  return true;
}

}  // namespace vornel
