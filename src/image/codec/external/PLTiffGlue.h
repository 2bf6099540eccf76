#pragma once
// What the TIFF decoder and encoder share around libtiff: a "file" in memory that the
// library reads or writes through client procedures of ours, and the library's errors and
// warnings collected per handle instead of printed.

#include <cstdint>
#include <string>
#include <vector>

#include <tiffio.h>

namespace vornel {

class PLTiffMemFile {
 public:
  // A file to read: `size` bytes at `data`, which must outlive the handle.
  PLTiffMemFile(const uint8_t* data, uint64_t size);
  // A file to write, of at most `capacity` bytes; what is written beyond is cut off.
  explicit PLTiffMemFile(uint64_t capacity);
  PLTiffMemFile(const PLTiffMemFile&) = delete;
  PLTiffMemFile& operator=(const PLTiffMemFile&) = delete;

  // Opens the library's handle over this file (mode "r" or "w"); null on failure, with the
  // reason in LastError(). The handle must be closed before this object goes.
  TIFF* Open();

  // The last error the library reported on this file, with a line feed; empty when none.
  const std::string& LastError() const { return lastError_; }
  // The bytes written, and whether some were cut off at the capacity.
  const std::vector<uint8_t>& Written() const { return written_; }
  bool Overflowed() const { return overflowed_; }

 private:
  static tmsize_t Read(thandle_t handle, void* buffer, tmsize_t size);
  static tmsize_t Write(thandle_t handle, void* buffer, tmsize_t size);
  static toff_t Seek(thandle_t handle, toff_t offset, int whence);
  static int Close(thandle_t handle);
  static toff_t Size(thandle_t handle);
  static int Map(thandle_t handle, void** base, toff_t* size);
  static void Unmap(thandle_t handle, void* base, toff_t size);
  static int OnError(TIFF* tiff, void* user, const char* module, const char* format, va_list args);
  static int OnWarning(TIFF* tiff, void* user, const char* module, const char* format, va_list args);

  const uint8_t* data_ = nullptr;  // reading
  std::vector<uint8_t> written_;    // writing
  bool writing_ = false;
  bool overflowed_ = false;
  uint64_t position_ = 0;
  uint64_t capacity_ = 0;
  uint64_t length_ = 0;
  std::string lastError_;
};

}  // namespace vornel
