#pragma once
// The reading half of the zip library: opens an archive, finds or lists its entries and
// extracts them to files. Stored entries are copied and deflated ones inflated (raw
// deflate); every extracted byte is checked against the entry's size and CRC-32.
//
// Names are UTF-8: a stored name is read as UTF-8 when its entry says so (flag bit 11 or a
// Unicode path field), otherwise as Windows-1252. The archive is read with every length,
// count and offset checked against the file; an archive that fails a check does not open.

#include <cstdint>
#include <string>
#include <string_view>

#include "document/zip/ZipHandle.h"

namespace vornel {

// Opens an archive for reading; null when it cannot be opened, with the reader's last result
// saying why: 0x200 (the file cannot be opened), -1 (no end record in the last 65,557 bytes)
// or -103 (the end record or the central directory is inconsistent). Extracted entries go
// below `rootFolder`, or below the current folder when it is empty.
ZipHandlePtr OpenZip(const std::string& path, const std::string& rootFolder = {});

// Looks an entry up by name, without regard to letter case ("\" matching "/"). Found: 0, with
// its index and record. Not found: 0x500, index -1 and an empty record numbered -1.
ZipResult FindZipItem(ZipHandle* handle, std::string_view name, int& index, ZipEntry& entry);

// The record of entry `index`; -1 gives an empty record whose index is the number of entries.
ZipResult GetZipItem(ZipHandle* handle, int index, ZipEntry& entry);

// What an extraction accepts: an entry that declares more than `maxBytes`, or more than
// `baseBytes` plus `maxRatio` times its packed size (`maxRatio` 0: any), is refused before a
// byte is inflated.
struct ZipLimits {
  uint64_t maxBytes = UINT64_MAX;
  uint32_t maxRatio = 0;
  uint64_t baseBytes = 0;
};

// Extracts entry `index` to `destination`, a relative path below the root folder ("/" or "\"
// between folders), creating the folders it needs. Absolute paths and paths with a ".."
// step are refused with 0x10000 and nothing is written. The file is written under a temporary
// name and renamed into place only when complete, so a failed extraction (0x200, 0x600 for an
// entry beyond `limits`, or 0x400 for a read, inflate, size or CRC error) leaves no partial
// file and any earlier file of that name as it was. A folder entry only creates the folder.
// Inflating never produces more than the size the entry announces. On failure `reason` (when
// given) says what was wrong with the entry.
ZipResult UnzipItem(ZipHandle* handle, int index, const std::string& destination, const ZipLimits& limits = {},
                    std::string* reason = nullptr);

// Inflates entry `index` into `out` (which it replaces) with the same checks, without touching
// the disk. A folder entry gives 0x10000.
ZipResult UnzipItemToMemory(ZipHandle* handle, int index, std::string& out, const ZipLimits& limits = {},
                            std::string* reason = nullptr);

// Closes a reader handle. A writer handle gives 0x80000 and is left alone; a handle closed
// before gives 0x10000.
ZipResult CloseZipReader(ZipHandle* handle);

// True when `path` can name a file below an extraction folder: not empty, relative, without a
// drive letter and without ".." steps ("/" and "\" both separate).
bool IsSafeRelativePath(std::string_view path);

}  // namespace vornel
