#include "document/zip/ZipReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <span>
#include <utility>
#include <vector>

#include "document/zip/ZipFormat.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

using namespace zip;

constexpr size_t kEndSearchBytes = kEndRecordSize + 0xFFFF;  // the record and the longest comment
constexpr size_t kMaxFindNameBytes = 255;

struct CentralEntry {
  ZipEntry record;
  std::string foldedName;  // for lookups without regard to case
  uint16_t flags = 0;
  uint16_t method = 0;
  uint32_t crc = 0;
  uint64_t localHeader = 0;  // position in the file
};

class ReaderState : public ZipState {
 public:
  FileDescriptor file;
  uint64_t directoryStart = 0;  // entries' data must end before it
  std::string root;             // extraction folder, with a final "/"
  std::vector<CentralEntry> entries;
};

// Lower case of the letters that Windows folds in file names (Latin, Greek, Cyrillic).
char32_t FoldCase(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : c + 32;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (c == 0x178) return 0xFF;
    // Two runs have the capital on the odd code point.
    const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    return ((c & 1) != 0) == oddCapitals ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

std::string FoldName(std::string_view name) {
  std::string folded;
  folded.reserve(name.size());
  for (size_t pos = 0; pos < name.size();) {
    const char32_t c = DecodeUtf8(name, pos);
    AppendUtf8(folded, c == U'\\' ? U'/' : FoldCase(c));
  }
  return folded;
}

// Calls `visit(tag, data)` for each well-formed block of an extra field.
template <typename Visit>
void ForEachExtraBlock(std::span<const uint8_t> extra, Visit visit) {
  while (extra.size() >= 4) {
    const uint16_t tag = Get16(extra.data());
    const size_t length = Get16(extra.data() + 2);
    if (length > extra.size() - 4) return;
    visit(tag, extra.subspan(4, length));
    extra = extra.subspan(4 + length);
  }
}

std::string DecodeName(std::string_view stored, uint16_t flags, std::span<const uint8_t> extra) {
  if ((flags & kFlagUtf8Name) != 0 && IsValidUtf8(stored)) return std::string(stored);
  std::optional<std::string> unicode;
  ForEachExtraBlock(extra, [&](uint16_t tag, std::span<const uint8_t> data) {
    // Version 1, then the CRC-32 of the stored name it stands for, then the UTF-8 name.
    if (tag != kUnicodePathTag || data.size() < 5 || data.size() - 5 > kZipMaxNameBytes || data[0] != 1) return;
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(stored.data()), static_cast<uInt>(stored.size()));
    const std::string_view name(reinterpret_cast<const char*>(data.data() + 5), data.size() - 5);
    if (Get32(data.data() + 1) == crc && IsValidUtf8(name)) unicode = std::string(name);
  });
  return unicode ? *unicode : Cp1252ToUtf8(stored);
}

uint32_t AttributesOf(uint32_t external, std::string_view name) {
  const uint32_t mode = external >> 16;  // a Unix mode, when the entry carries one
  const uint32_t dos = external & 0xFF;
  const bool folder = (mode & S_IFMT) == S_IFDIR || (dos & kZipAttrDirectory) != 0 ||
                      (!name.empty() && (name.back() == '/' || name.back() == '\\'));
  uint32_t attributes = folder ? kZipAttrDirectory : kZipAttrNormal;
  attributes |= dos & (kZipAttrArchive | kZipAttrHidden | kZipAttrSystem | kZipAttrReadOnly);
  // Entries made on DOS carry no mode: their clear owner-write bit means nothing.
  if (mode != 0 && (mode & S_IWUSR) == 0) attributes |= kZipAttrReadOnly;
  return attributes;
}

void ApplyExtendedTimes(std::span<const uint8_t> extra, ZipEntry& entry) {
  ForEachExtraBlock(extra, [&](uint16_t tag, std::span<const uint8_t> data) {
    if (tag != kExtendedTimeTag || data.empty()) return;
    const uint8_t present = data[0];
    size_t offset = 1;
    // The flags may announce more times than the block holds (central copies keep only the
    // first): take each only when its bytes are there.
    const std::pair<uint8_t, int64_t*> times[] = {
        {1, &entry.modificationTime}, {2, &entry.accessTime}, {4, &entry.creationTime}};
    for (const auto& [bit, time] : times) {
      if ((present & bit) == 0) continue;
      if (data.size() - offset < 4) return;
      *time = Get32(data.data() + offset);
      offset += 4;
    }
  });
}

// Finds the end record, scanning back from the end of the file. A match that does not fit
// the file (a "PK 5 6" inside a comment or trailing data) is passed over.
int32_t ReadDirectory(ReaderState& state, uint64_t fileSize) {
  const size_t tailSize = static_cast<size_t>(std::min<uint64_t>(fileSize, kEndSearchBytes));
  const uint64_t tailStart = fileSize - tailSize;
  std::vector<uint8_t> tail(tailSize);
  if (!ReadAt(state.file.get(), tailStart, tail.data(), tail.size())) return kZipNoEndRecord;

  bool seen = false;
  for (size_t p = tailSize >= kEndRecordSize ? tailSize - kEndRecordSize + 1 : 0; p-- > 0;) {
    const uint8_t* r = tail.data() + p;
    if (Get32(r) != kEndSignature) continue;
    seen = true;
    const uint16_t disk = Get16(r + 4);
    const uint16_t directoryDisk = Get16(r + 6);
    const uint16_t entriesHere = Get16(r + 8);
    const uint16_t entries = Get16(r + 10);
    const uint32_t directorySize = Get32(r + 12);
    const uint32_t directoryOffset = Get32(r + 16);
    const uint64_t recordAt = tailStart + p;
    if (disk != 0 || directoryDisk != 0 || entriesHere != entries ||
        uint64_t{directoryOffset} + directorySize > recordAt ||
        uint64_t{entries} * kCentralHeaderSize > directorySize) {
      continue;
    }
    // Bytes in front of where the directory should start belong to data placed before the
    // archive; every stored offset is shifted by their count.
    const uint64_t shift = recordAt - directorySize - directoryOffset;
    const uint64_t directoryStart = directoryOffset + shift;
    std::vector<uint8_t> directory(directorySize);
    if (!ReadAt(state.file.get(), directoryStart, directory.data(), directory.size())) return kZipInconsistent;

    state.directoryStart = directoryStart;
    state.entries.clear();
    state.entries.reserve(entries);
    std::span<const uint8_t> rest(directory);
    for (int i = 0; i < entries; ++i) {
      if (rest.size() < kCentralHeaderSize || Get32(rest.data()) != kCentralSignature) return kZipInconsistent;
      const uint8_t* h = rest.data();
      const size_t nameLength = Get16(h + 28);
      const size_t extraLength = Get16(h + 30);
      const size_t commentLength = Get16(h + 32);
      if (nameLength > kZipMaxNameBytes) return kZipInconsistent;
      if (nameLength + extraLength + commentLength > rest.size() - kCentralHeaderSize) return kZipInconsistent;
      const std::string_view stored(reinterpret_cast<const char*>(h + kCentralHeaderSize), nameLength);
      const auto extra = rest.subspan(kCentralHeaderSize + nameLength, extraLength);

      CentralEntry entry;
      entry.flags = Get16(h + 8);
      entry.method = Get16(h + 10);
      entry.crc = Get32(h + 16);
      entry.localHeader = Get32(h + 42) + shift;
      ZipEntry& record = entry.record;
      record.index = i;
      record.name = DecodeName(stored, entry.flags, extra);
      record.compressedSize = Get32(h + 20);
      record.uncompressedSize = Get32(h + 24);
      record.attributes = AttributesOf(Get32(h + 38), record.name);
      record.modificationTime = UnixTimeFromDos(Get16(h + 14), Get16(h + 12));
      record.accessTime = record.creationTime = record.modificationTime;
      ApplyExtendedTimes(extra, record);
      entry.foldedName = FoldName(record.name);
      state.entries.push_back(std::move(entry));
      rest = rest.subspan(kCentralHeaderSize + nameLength + extraLength + commentLength);
    }
    return kZipOk;
  }
  return seen ? kZipInconsistent : kZipNoEndRecord;
}

// The reader state behind a handle, or the code that refuses the handle.
ReaderState* StateOf(ZipHandle* handle, ZipResult& refusal) {
  if (handle == nullptr || (handle->kind == ZipKind::kReader && handle->state == nullptr)) {
    refusal = kZipBadArguments;
    return nullptr;
  }
  if (handle->kind != ZipKind::kReader) {
    refusal = kZipWrongKind;
    return nullptr;
  }
  return static_cast<ReaderState*>(handle->state.get());
}

ZipResult Done(ZipResult code) {
  SetReaderResult(static_cast<int32_t>(code));
  return code;
}

// `path` with "\" as "/" and without empty or "." steps; nothing when it is absolute, has a
// drive letter or a ".." step, or holds a zero byte.
std::optional<std::string> NormalizedRelativePath(std::string_view path) {
  if (path.empty() || path.front() == '/' || path.front() == '\\' || path.find('\0') != std::string_view::npos ||
      (path.size() >= 2 && path[1] == ':')) {
    return std::nullopt;
  }
  std::string normal;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view step = path.substr(start, end - start);
    if (step == "..") return std::nullopt;
    if (!step.empty() && step != ".") {
      if (!normal.empty()) normal += '/';
      normal += step;
    }
    start = end + 1;
  }
  if (normal.empty()) return std::nullopt;
  return normal;
}

// Creates each missing folder of `relative` (steps separated by "/") below `root`.
bool CreateFolders(const std::string& root, std::string_view relative) {
  std::string path = root;
  size_t start = 0;
  while (start < relative.size()) {
    size_t end = relative.find('/', start);
    if (end == std::string_view::npos) end = relative.size();
    path.append(relative.substr(start, end - start));
    if (::mkdir(path.c_str(), 0755) != 0) {
      struct stat info {};
      if (errno != EEXIST || ::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    }
    path += '/';
    start = end + 1;
  }
  return true;
}

// Copies or inflates the entry's data, handing it to `emit` a chunk at a time, and checks its
// size and CRC-32. On failure `reason` (when given) says what was wrong.
template <typename Emit>
ZipResult CopyEntryData(const ReaderState& state, const CentralEntry& entry, Emit emit, std::string* reason) {
  const auto fail = [reason](std::string why) {
    if (reason != nullptr) *reason = std::move(why);
    return kZipCopyFailed;
  };
  const int in = state.file.get();
  uint8_t header[kLocalHeaderSize];
  if ((entry.flags & kFlagEncrypted) != 0) return fail("it is encrypted");
  if (entry.localHeader > state.directoryStart || state.directoryStart - entry.localHeader < kLocalHeaderSize ||
      !ReadAt(in, entry.localHeader, header, sizeof header) || Get32(header) != kLocalSignature ||
      Get16(header + 8) != entry.method) {
    return fail("its local header does not match the directory");
  }
  const uint64_t dataStart = entry.localHeader + kLocalHeaderSize + Get16(header + 26) + Get16(header + 28);
  const uint32_t compressedSize = entry.record.compressedSize;
  const uint32_t expectedSize = entry.record.uncompressedSize;
  if (dataStart > state.directoryStart || state.directoryStart - dataStart < compressedSize) {
    return fail("its data runs past the end of the archive");
  }

  std::vector<uint8_t> input(kChunkSize);
  uint64_t readAt = dataStart;
  uint32_t remaining = compressedSize;
  uLong crc = crc32(0, nullptr, 0);
  uint64_t produced = 0;
  bool beyondDeclared = false;
  const auto put = [&](const uint8_t* data, size_t size) {
    if (size > expectedSize - produced) {  // more than the entry announced
      beyondDeclared = true;
      return false;
    }
    crc = crc32(crc, data, static_cast<uInt>(size));
    if (!emit(std::span(data, size), produced)) return false;
    produced += size;
    return true;
  };
  const auto readChunk = [&]() -> size_t {
    const size_t size = std::min<size_t>(input.size(), remaining);
    if (!ReadAt(in, readAt, input.data(), size)) return 0;
    readAt += size;
    remaining -= static_cast<uint32_t>(size);
    return size;
  };
  const auto stopped = [&] {
    if (beyondDeclared) return fail("it unpacks to more than the " + std::to_string(expectedSize) + " bytes it declares");
    return fail("it could not be written out");
  };

  if (entry.method == kMethodStored) {
    if (compressedSize != expectedSize) return fail("it is stored with two different sizes");
    while (remaining > 0) {
      const size_t size = readChunk();
      if (size == 0) return fail("the archive could not be read");
      if (!put(input.data(), size)) return stopped();
    }
  } else if (entry.method == kMethodDeflated && !(compressedSize == 0 && expectedSize == 0)) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return fail("the inflater could not start");
    struct End {
      z_stream* s;
      ~End() { inflateEnd(s); }
    } end{&stream};
    std::vector<uint8_t> output(kChunkSize);
    for (;;) {
      if (stream.avail_in == 0 && remaining > 0) {
        const size_t size = readChunk();
        if (size == 0) return fail("the archive could not be read");
        stream.next_in = input.data();
        stream.avail_in = static_cast<uInt>(size);
      }
      stream.next_out = output.data();
      stream.avail_out = static_cast<uInt>(output.size());
      // With all input taken, inflate may still hold output for several calls; it says
      // Z_BUF_ERROR only once it can make no progress, which then means the stream is cut short.
      const int status = inflate(&stream, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END) {
        return fail(status == Z_BUF_ERROR ? std::string("its packed data ends early")
                                          : "its packed data is damaged" +
                                                (stream.msg != nullptr ? " (" + std::string(stream.msg) + ")" : ""));
      }
      if (!put(output.data(), output.size() - stream.avail_out)) return stopped();
      if (status == Z_STREAM_END) break;
    }
  } else if (entry.method != kMethodDeflated) {
    return fail("it is packed with method " + std::to_string(entry.method) + ", which is not read");
  }
  if (produced != expectedSize) {
    return fail("it unpacks to " + std::to_string(produced) + " bytes, not the " + std::to_string(expectedSize) +
                " it declares");
  }
  if (crc != entry.crc) return fail("its CRC-32 does not match its data");
  return kZipOk;
}

// Refuses an entry that declares more than `limits` allow, saying why.
ZipResult CheckLimits(const ZipEntry& record, const ZipLimits& limits, std::string* reason) {
  const uint64_t unpacked = record.uncompressedSize;
  const uint64_t packed = record.compressedSize;
  const auto refuse = [&](const std::string& why) {
    if (reason != nullptr) {
      *reason = "it declares " + std::to_string(unpacked) + " bytes from " + std::to_string(packed) + " packed, " + why;
    }
    return kZipTooLarge;
  };
  if (unpacked > limits.maxBytes) return refuse("more than the " + std::to_string(limits.maxBytes) + " allowed");
  if (limits.maxRatio != 0 && unpacked > limits.baseBytes + uint64_t{limits.maxRatio} * packed) {
    return refuse("more than the " + std::to_string(limits.baseBytes + uint64_t{limits.maxRatio} * packed) +
                  " allowed for that packed size (" + std::to_string(limits.baseBytes) + " and " +
                  std::to_string(limits.maxRatio) + " per packed byte)");
  }
  return kZipOk;
}

}  // namespace

bool IsSafeRelativePath(std::string_view path) { return NormalizedRelativePath(path).has_value(); }

ZipHandlePtr OpenZip(const std::string& path, const std::string& rootFolder) {
  auto state = std::make_unique<ReaderState>();
  if (rootFolder.empty()) {
    std::vector<char> buffer(4096);
    state->root = ::getcwd(buffer.data(), buffer.size()) != nullptr ? buffer.data() : ".";
  } else {
    state->root = rootFolder;
  }
  if (state->root.back() != '/') state->root += '/';

  // Without O_NONBLOCK a pipe given as the archive would wait for a writer forever.
  state->file.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (!state->file.valid() || ::fstat(state->file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    SetReaderResult(static_cast<int32_t>(kZipNotOpened));
    return nullptr;
  }
  const int32_t result = ReadDirectory(*state, static_cast<uint64_t>(info.st_size));
  SetReaderResult(result);
  if (result != kZipOk) return nullptr;
  return std::make_unique<ZipHandle>(ZipKind::kReader, std::move(state));
}

ZipResult FindZipItem(ZipHandle* handle, std::string_view name, int& index, ZipEntry& entry) {
  ZipResult refusal = kZipOk;
  const ReaderState* state = StateOf(handle, refusal);
  if (state == nullptr) return Done(refusal);
  index = -1;
  entry = ZipEntry{};
  if (name.size() > kMaxFindNameBytes) return Done(kZipNotFound);
  const std::string wanted = FoldName(name);
  for (const auto& candidate : state->entries) {
    if (candidate.foldedName == wanted) {
      index = candidate.record.index;
      entry = candidate.record;
      return Done(kZipOk);
    }
  }
  return Done(kZipNotFound);
}

ZipResult GetZipItem(ZipHandle* handle, int index, ZipEntry& entry) {
  ZipResult refusal = kZipOk;
  const ReaderState* state = StateOf(handle, refusal);
  if (state == nullptr) return Done(refusal);
  entry = ZipEntry{};
  if (index == -1) {
    entry.index = static_cast<int>(state->entries.size());
    return Done(kZipOk);
  }
  if (index < 0 || static_cast<size_t>(index) >= state->entries.size()) return Done(kZipBadArguments);
  entry = state->entries[static_cast<size_t>(index)].record;
  return Done(kZipOk);
}

ZipResult UnzipItem(ZipHandle* handle, int index, const std::string& destination, const ZipLimits& limits,
                    std::string* reason) {
  ZipResult refusal = kZipOk;
  const ReaderState* state = StateOf(handle, refusal);
  if (state == nullptr) return Done(refusal);
  if (index < 0 || static_cast<size_t>(index) >= state->entries.size()) return Done(kZipBadArguments);
  const auto relative = NormalizedRelativePath(destination);
  if (!relative) return Done(kZipBadArguments);
  const CentralEntry& entry = state->entries[static_cast<size_t>(index)];

  if ((entry.record.attributes & kZipAttrDirectory) != 0) {
    return Done(CreateFolders(state->root, *relative) ? kZipOk : kZipNotOpened);
  }
  if (CheckLimits(entry.record, limits, reason) != kZipOk) return Done(kZipTooLarge);
  const size_t slash = relative->rfind('/');
  if (slash != std::string::npos && !CreateFolders(state->root, std::string_view(*relative).substr(0, slash))) {
    return Done(kZipNotOpened);
  }
  TemporaryOutput output;
  if (!output.Create(state->root + *relative)) return Done(kZipNotOpened);
  const int out = output.fd();
  const ZipResult copied = CopyEntryData(
      *state, entry, [out](std::span<const uint8_t> data, uint64_t at) { return WriteAt(out, at, data); }, reason);
  if (copied != kZipOk) return Done(copied);

  const struct timespec times[2] = {{static_cast<time_t>(entry.record.accessTime), 0},
                                    {static_cast<time_t>(entry.record.modificationTime), 0}};
  ::futimens(output.fd(), times);
  const bool readOnly = (entry.record.attributes & kZipAttrReadOnly) != 0;
  return Done(output.Commit(readOnly ? 0444 : 0644, false) ? kZipOk : kZipNotOpened);
}

ZipResult UnzipItemToMemory(ZipHandle* handle, int index, std::string& out, const ZipLimits& limits,
                            std::string* reason) {
  ZipResult refusal = kZipOk;
  const ReaderState* state = StateOf(handle, refusal);
  if (state == nullptr) return Done(refusal);
  if (index < 0 || static_cast<size_t>(index) >= state->entries.size()) return Done(kZipBadArguments);
  const CentralEntry& entry = state->entries[static_cast<size_t>(index)];
  if ((entry.record.attributes & kZipAttrDirectory) != 0) return Done(kZipBadArguments);
  if (CheckLimits(entry.record, limits, reason) != kZipOk) return Done(kZipTooLarge);
  out.clear();
  out.reserve(entry.record.uncompressedSize);  // within the limits, and never passed
  const ZipResult copied = CopyEntryData(
      *state, entry,
      [&out](std::span<const uint8_t> data, uint64_t) {
        out.append(reinterpret_cast<const char*>(data.data()), data.size());
        return true;
      },
      reason);
  if (copied != kZipOk) std::string().swap(out);
  return Done(copied);
}

ZipResult CloseZipReader(ZipHandle* handle) {
  ZipResult refusal = kZipOk;
  if (StateOf(handle, refusal) == nullptr) return Done(refusal);
  handle->state.reset();
  return Done(kZipOk);
}

}  // namespace vornel
