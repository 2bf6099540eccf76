#include "document/zip/ZipWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <vector>

#include "document/zip/ZipFormat.h"
#include "platform/io/FileIO.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

using namespace zip;

constexpr uint16_t kVersionMadeBy = 0x0B17;
constexpr uint16_t kVersionNeeded = 20;
constexpr int kDeflateLevel = 8;
constexpr uint64_t kMaxOffset = 0xFFFFFFFF;
constexpr size_t kMaxEntries = 0xFFFF;
constexpr uint32_t kUnixFile = 0x8000, kUnixOwnerRead = 0x0100, kUnixOwnerWrite = 0x0080;
constexpr uint32_t kNotADiskFile = 0x80000000;

struct CentralRecord {
  uint16_t flags = 0;
  uint16_t method = 0;
  uint32_t dosDateTime = 0;
  uint32_t crc = 0;
  uint32_t compressedSize = 0;
  uint32_t uncompressedSize = 0;
  uint32_t external = 0;
  uint32_t localHeader = 0;
  uint32_t modificationTime = 0;  // for the central "UT" field
  std::string name;
};

// Attributes and times of the file being added.
struct SourceFacts {
  int64_t size = -1;  // -1 when unknown (a pipe or a device)
  uint32_t external = kNotADiskFile;
  int64_t modificationTime = 0;
  int64_t accessTime = 0;
  int64_t creationTime = 0;
};

SourceFacts FactsOf(int fd, const struct stat& info) {
  SourceFacts facts;
  if (!S_ISREG(info.st_mode)) {
    facts.modificationTime = facts.accessTime = facts.creationTime = std::time(nullptr);
    return facts;
  }
  facts.size = info.st_size;
  const bool readOnly = (info.st_mode & S_IWUSR) == 0;
  const uint32_t mode = kUnixFile | kUnixOwnerRead | (readOnly ? 0 : kUnixOwnerWrite);
  facts.external = (mode << 16) | (readOnly ? kZipAttrReadOnly : 0);
  facts.modificationTime = info.st_mtim.tv_sec;
  facts.accessTime = info.st_atim.tv_sec;
  facts.creationTime = info.st_mtim.tv_sec;
  struct statx extended {};
  if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &extended) == 0 && (extended.stx_mask & STATX_BTIME) != 0) {
    facts.creationTime = extended.stx_btime.tv_sec;
  }
  return facts;
}

// Names that show their files are compressed already are stored as they are.
bool IsCompressedName(std::string_view name) {
  static constexpr std::array<std::string_view, 8> kSuffixes = {".z",   ".zip", ".zoo", ".arc",
                                                                ".lzh", ".arj", ".gz",  ".tgz"};
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string suffix = AsciiLower(name.substr(dot));
  return std::find(kSuffixes.begin(), kSuffixes.end(), suffix) != kSuffixes.end();
}

bool IsPlainAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

class WriterState : public ZipState {
 public:
  bool Create(const std::string& path) {
    // An archive saved through a symbolic link replaces the file the link names; the link stays.
    path_ = FinalLinkTarget(path);
    struct stat info {};
    if (::stat(path_.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return false;
    return output_.Create(path_);
  }
  ZipResult Add(std::string_view name, const std::string& sourcePath);
  ZipResult Finish();

 private:
  bool Write(std::span<const uint8_t> bytes) {
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    return pending_.size() < kChunkSize || Flush();
  }
  bool Flush() {
    const bool ok = WriteAt(output_.fd(), flushed_, pending_);
    flushed_ += pending_.size();
    pending_.clear();
    return ok;
  }
  uint64_t Written() const { return flushed_ + pending_.size(); }
  // Drops everything from `offset` on: a failed entry leaves nothing behind. When even that
  // fails the archive cannot be trusted and takes nothing more.
  void TruncateTo(uint64_t offset) {
    pending_.clear();
    broken_ = ::ftruncate(output_.fd(), static_cast<off_t>(offset)) != 0;
    flushed_ = offset;
  }
  bool WriteData(int source, uint16_t method, CentralRecord& record);
  RecordBuilder LocalHeader(const CentralRecord& record, uint32_t accessTime, uint32_t creationTime) const;

  TemporaryOutput output_;
  std::string path_;
  uint64_t flushed_ = 0;
  std::vector<uint8_t> pending_;
  std::vector<CentralRecord> records_;
  bool broken_ = false;
};

RecordBuilder WriterState::LocalHeader(const CentralRecord& r, uint32_t accessTime, uint32_t creationTime) const {
  RecordBuilder header;
  header.U32(kLocalSignature).U16(kVersionNeeded).U16(r.flags).U16(r.method).U32(r.dosDateTime);
  header.U32(r.crc).U32(r.compressedSize).U32(r.uncompressedSize).U16(static_cast<uint32_t>(r.name.size())).U16(17);
  header.Text(r.name);
  header.U16(kExtendedTimeTag).U16(13).U8(7).U32(r.modificationTime).U32(accessTime).U32(creationTime);
  return header;
}

// Copies or deflates the source into the archive; fills in the CRC-32 and both sizes.
bool WriterState::WriteData(int source, uint16_t method, CentralRecord& record) {
  std::vector<uint8_t> input(kChunkSize);
  uLong crc = crc32(0, nullptr, 0);
  uint64_t bytesRead = 0;
  uint64_t produced = 0;

  if (method == kMethodStored) {
    for (;;) {
      const ssize_t n = ReadSome(source, input.data(), input.size());
      if (n < 0) return false;
      if (n == 0) break;
      crc = crc32(crc, input.data(), static_cast<uInt>(n));
      bytesRead += static_cast<uint64_t>(n);
      if (bytesRead > kMaxOffset || !Write(std::span(input.data(), static_cast<size_t>(n)))) return false;
    }
    produced = bytesRead;
  } else {
    z_stream stream{};
    if (deflateInit2(&stream, kDeflateLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    struct End {
      z_stream* s;
      ~End() { deflateEnd(s); }
    } end{&stream};
    std::vector<uint8_t> output(kChunkSize);
    for (;;) {
      const ssize_t n = ReadSome(source, input.data(), input.size());
      if (n < 0) return false;
      crc = crc32(crc, input.data(), static_cast<uInt>(n));
      bytesRead += static_cast<uint64_t>(n);
      if (bytesRead > kMaxOffset) return false;
      const int flush = n == 0 ? Z_FINISH : Z_NO_FLUSH;
      stream.next_in = input.data();
      stream.avail_in = static_cast<uInt>(n);
      int status;
      do {
        stream.next_out = output.data();
        stream.avail_out = static_cast<uInt>(output.size());
        status = deflate(&stream, flush);
        if (status == Z_STREAM_ERROR) return false;
        const size_t have = output.size() - stream.avail_out;
        produced += have;
        if (produced > kMaxOffset || !Write(std::span(output.data(), have))) return false;
      } while (stream.avail_out == 0);
      if (flush == Z_FINISH) {
        if (status != Z_STREAM_END) return false;
        break;
      }
    }
  }
  record.crc = static_cast<uint32_t>(crc);
  record.uncompressedSize = static_cast<uint32_t>(bytesRead);
  record.compressedSize = static_cast<uint32_t>(produced);
  return true;
}

ZipResult WriterState::Add(std::string_view name, const std::string& sourcePath) {
  if (name.empty() || name.size() > kZipMaxNameBytes) return kZipBadArguments;
  if (broken_ || records_.size() >= kMaxEntries) return kZipCopyFailed;
  CentralRecord record;
  record.name = std::string(name);
  std::replace(record.name.begin(), record.name.end(), '\\', '/');
  record.method = IsCompressedName(record.name) ? kMethodStored : kMethodDeflated;

  FileDescriptor source(::open(sourcePath.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!source.valid() || ::fstat(source.get(), &info) != 0 || S_ISDIR(info.st_mode)) return kZipNotOpened;
  const SourceFacts facts = FactsOf(source.get(), info);
  const uint64_t localHeader = Written();
  if (facts.size > static_cast<int64_t>(kMaxOffset) || localHeader > kMaxOffset) return kZipCopyFailed;

  record.flags = kFlagDataDescriptor | (IsPlainAscii(record.name) ? 0 : kFlagUtf8Name);
  const std::time_t modified = static_cast<std::time_t>(facts.modificationTime);
  std::tm local{};
  localtime_r(&modified, &local);
  record.dosDateTime = DosDateTime(local);
  record.modificationTime = ExtraFieldTime(facts.modificationTime);
  const uint32_t accessTime = ExtraFieldTime(facts.accessTime);
  const uint32_t creationTime = ExtraFieldTime(facts.creationTime);
  const uint32_t announced = facts.size < 0 ? 0 : static_cast<uint32_t>(facts.size);
  record.compressedSize = record.method == kMethodStored ? announced : 0;
  record.uncompressedSize = announced;
  record.external = facts.external;
  record.localHeader = static_cast<uint32_t>(localHeader);

  // The header goes out first with provisional values and is rewritten once the data is in.
  bool ok =
      Write(LocalHeader(record, accessTime, creationTime).Bytes()) && WriteData(source.get(), record.method, record);
  record.flags &= static_cast<uint16_t>(~kFlagDataDescriptor);
  ok = ok && Flush() && Written() <= kMaxOffset &&
       WriteAt(output_.fd(), localHeader, LocalHeader(record, accessTime, creationTime).Bytes());
  if (!ok) {
    TruncateTo(localHeader);
    return kZipCopyFailed;
  }
  records_.push_back(std::move(record));
  return kZipOk;
}

ZipResult WriterState::Finish() {
  const uint64_t directoryStart = Written();
  bool ok = !broken_;
  for (const auto& r : records_) {
    RecordBuilder header;
    header.U32(kCentralSignature).U16(kVersionMadeBy).U16(kVersionNeeded).U16(r.flags).U16(r.method);
    header.U32(r.dosDateTime).U32(r.crc).U32(r.compressedSize).U32(r.uncompressedSize);
    header.U16(static_cast<uint32_t>(r.name.size())).U16(9).U16(0).U16(0).U16(0).U32(r.external).U32(r.localHeader);
    header.Text(r.name).U16(kExtendedTimeTag).U16(5).U8(7).U32(r.modificationTime);
    ok = ok && Write(header.Bytes());
  }
  const uint32_t entries = static_cast<uint32_t>(records_.size());
  RecordBuilder end;
  end.U32(kEndSignature).U16(0).U16(0).U16(entries).U16(entries);
  end.U32(static_cast<uint32_t>(Written() - directoryStart)).U32(static_cast<uint32_t>(directoryStart)).U16(0);
  ok = ok && Write(end.Bytes()) && Flush();
  // Keep the permissions of an archive being replaced, or the usual ones for a new file.
  struct stat old {};
  const unsigned mode = ::stat(path_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  ok = ok && output_.Commit(mode, true);
  return ok ? kZipOk : kZipCopyFailed;
}

ZipResult Done(ZipResult code) {
  SetWriterResult(static_cast<int32_t>(code));
  return code;
}

}  // namespace

ZipHandlePtr CreateZip(const std::string& path) {
  auto state = std::make_unique<WriterState>();
  if (!state->Create(path)) {
    Done(kZipNotOpened);
    return nullptr;
  }
  Done(kZipOk);
  return std::make_unique<ZipHandle>(ZipKind::kWriter, std::move(state));
}

ZipResult ZipAdd(ZipHandle* handle, std::string_view name, const std::string& sourcePath) {
  if (handle == nullptr) return Done(kZipBadArguments);
  if (handle->kind != ZipKind::kWriter) return Done(kZipWrongKind);
  if (!IsValidUtf8(name)) return kZipBadArguments;
  if (handle->state == nullptr) return Done(kZipFinished);
  return Done(static_cast<WriterState*>(handle->state.get())->Add(name, sourcePath));
}

ZipResult CloseZip(ZipHandle* handle) {
  if (handle == nullptr) return Done(kZipBadArguments);
  if (handle->kind != ZipKind::kWriter) return Done(kZipWrongKind);
  if (handle->state == nullptr) return Done(kZipFinished);
  const ZipResult result = static_cast<WriterState*>(handle->state.get())->Finish();
  handle->state.reset();
  return Done(result);
}

}  // namespace vornel
