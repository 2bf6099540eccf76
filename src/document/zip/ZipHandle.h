#pragma once
// The zip library's handle, result codes and entry record, shared by the reader (ZipReader.h)
// and the writer (ZipWriter.h). The library never throws and shows no messages: every
// operation returns a result code and also leaves it as the last result of its half.

#include <cstdint>
#include <memory>
#include <string>

namespace vornel {

using ZipResult = uint32_t;

inline constexpr ZipResult kZipOk = 0;
inline constexpr ZipResult kZipNotOpened = 0x200;       // a file was not created or opened
inline constexpr ZipResult kZipCopyFailed = 0x400;      // a write failed, or an entry's data is bad
inline constexpr ZipResult kZipNotFound = 0x500;        // no entry of that name
inline constexpr ZipResult kZipTooLarge = 0x600;        // an entry beyond the extraction's limits
inline constexpr ZipResult kZipBadArguments = 0x10000;  // null or closed handle, bad index, bad name
inline constexpr ZipResult kZipFinished = 0x50000;      // the archive has been closed already
inline constexpr ZipResult kZipWrongKind = 0x80000;     // a reader operation on a writer or the reverse

// Last results left by opening a damaged archive.
inline constexpr int32_t kZipNoEndRecord = -1;
inline constexpr int32_t kZipInconsistent = -103;

// Entry attributes, with the bit values of the DOS and Windows attributes they stand for.
inline constexpr uint32_t kZipAttrReadOnly = 0x01;
inline constexpr uint32_t kZipAttrHidden = 0x02;
inline constexpr uint32_t kZipAttrSystem = 0x04;
inline constexpr uint32_t kZipAttrDirectory = 0x10;
inline constexpr uint32_t kZipAttrArchive = 0x20;
inline constexpr uint32_t kZipAttrNormal = 0x80;

// Stored names longer than this many bytes are refused by the reader and the writer.
inline constexpr size_t kZipMaxNameBytes = 259;

// One entry as the reader gives it to callers.
struct ZipEntry {
  int index = -1;
  std::string name;  // UTF-8, with the separators as stored
  uint32_t attributes = 0;
  int64_t accessTime = 0;  // seconds since 1970 (UTC)
  int64_t creationTime = 0;
  int64_t modificationTime = 0;
  uint32_t compressedSize = 0;
  uint32_t uncompressedSize = 0;
};

enum class ZipKind { kReader = 1, kWriter = 2 };

// What a handle keeps open; each half derives its own state from it.
class ZipState {
 public:
  virtual ~ZipState() = default;
};

// The handle the caller owns. Closing frees the state but leaves the handle, so a second
// close or an operation after the close answers with a code instead of touching freed memory.
// A handle dropped without its close releases its files (an unfinished archive is discarded).
struct ZipHandle {
  ZipHandle(ZipKind handleKind, std::unique_ptr<ZipState> handleState)
      : kind(handleKind), state(std::move(handleState)) {}
  ZipKind kind;
  std::unique_ptr<ZipState> state;  // null once closed
};

using ZipHandlePtr = std::unique_ptr<ZipHandle>;

// The result of the last operation of each half, on this thread.
int32_t ZipReaderLastResult();
int32_t ZipWriterLastResult();

}  // namespace vornel
