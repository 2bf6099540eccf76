#pragma once
// What the zip reader and writer share inside the library: record layouts, little-endian
// fields, DOS times, file descriptors and the temporary output that is renamed into place.

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/zip/ZipHandle.h"

namespace vornel::zip {

inline constexpr uint32_t kLocalSignature = 0x04034B50;    // "PK" 3 4
inline constexpr uint32_t kCentralSignature = 0x02014B50;  // "PK" 1 2
inline constexpr uint32_t kEndSignature = 0x06054B50;      // "PK" 5 6
inline constexpr size_t kLocalHeaderSize = 30;
inline constexpr size_t kCentralHeaderSize = 46;
inline constexpr size_t kEndRecordSize = 22;
inline constexpr uint16_t kExtendedTimeTag = 0x5455;  // "UT"
inline constexpr uint16_t kUnicodePathTag = 0x7075;   // "up": UTF-8 name beside the stored one
inline constexpr uint16_t kFlagEncrypted = 0x0001;
inline constexpr uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr uint16_t kFlagUtf8Name = 0x0800;
inline constexpr uint16_t kMethodStored = 0;
inline constexpr uint16_t kMethodDeflated = 8;
inline constexpr size_t kChunkSize = 64 * 1024;

inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

// Appends little-endian fields to a record being built.
class RecordBuilder {
 public:
  RecordBuilder& U8(uint32_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  RecordBuilder& U16(uint32_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
  }
  RecordBuilder& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  RecordBuilder& Text(std::string_view s) {
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    return *this;
  }
  std::span<const uint8_t> Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// DOS date (high 16 bits) and time (low 16 bits) of a local time. Years outside the DOS
// range 1980-2107 take its first or last day, keeping the time of day.
uint32_t DosDateTime(std::tm local);

// The moment a DOS date and time stand for, read as local time.
int64_t UnixTimeFromDos(uint16_t date, uint16_t time);

// A Unix time for the "UT" extra field: years before 1970 become 1 January 1970 and years
// after 2037 become 31 December 2037, keeping the local time of day.
uint32_t ExtraFieldTime(int64_t unixTime);

// An open file descriptor, closed with the object.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Reset(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  void Reset(int fd = -1);
  bool Close();  // false when closing reports an error

 private:
  int fd_ = -1;
};

// Reads exactly `size` bytes at `offset`; false on an error or an early end.
bool ReadAt(int fd, uint64_t offset, void* data, size_t size);
// Reads up to `size` bytes from the current position; the count, or -1 on an error.
ssize_t ReadSome(int fd, void* data, size_t size);
// Writes all of `data` at `offset`.
bool WriteAt(int fd, uint64_t offset, std::span<const uint8_t> data);

// A file written beside its target under a temporary name and renamed onto the target only
// when committed; dropped uncommitted, the temporary file is removed and the target stays.
class TemporaryOutput {
 public:
  TemporaryOutput() = default;
  ~TemporaryOutput() { Discard(); }
  TemporaryOutput(const TemporaryOutput&) = delete;
  TemporaryOutput& operator=(const TemporaryOutput&) = delete;

  bool Create(const std::string& target);
  int fd() const { return fd_.get(); }
  // Gives the file `mode`, closes it (flushed to the disk first with `sync`) and renames it
  // onto the target.
  bool Commit(unsigned mode, bool sync);
  void Discard();

 private:
  FileDescriptor fd_;
  std::string target_;
  std::string temporary_;
};

// Keeps the result of the last operation of each half.
void SetReaderResult(int32_t result);
void SetWriterResult(int32_t result);

}  // namespace vornel::zip
