#include "image/codec/external/PLTiffGlue.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "image/bitmap/PLBmp.h"
#include "image/codec/PLPicDecoder.h"

namespace vornel {

namespace {

std::string Format(const char* format, va_list args) {
  char text[512];
  std::vsnprintf(text, sizeof text, format, args);
  return text;
}

// Messages the library reports outside any one file go to the trace, never to the terminal.
void GlobalError(const char* module, const char* format, va_list args) {
  PLPicDecoder::Trace(0, std::string(module != nullptr ? module : "") + ": " + Format(format, args) + "\n");
}

void GlobalWarning(const char* module, const char* format, va_list args) {
  const std::string text = Format(format, args);
  if (module != nullptr) PLPicDecoder::Trace(2, std::string("Warning in LIBTIFF(") + module + "): " + text + "\n");
  else PLPicDecoder::Trace(2, "Warning in LIBTIFF: " + text + "\n");
}

void InstallGlobalHandlers() {
  static const bool installed = [] {
    TIFFSetErrorHandler(GlobalError);
    TIFFSetWarningHandler(GlobalWarning);
    return true;
  }();
  (void)installed;
}

}  // namespace

PLTiffMemFile::PLTiffMemFile(const uint8_t* data, uint64_t size) : data_(data), capacity_(size), length_(size) {}

PLTiffMemFile::PLTiffMemFile(uint64_t capacity) : writing_(true), capacity_(capacity) {}

TIFF* PLTiffMemFile::Open() {
  InstallGlobalHandlers();
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (options == nullptr) {
    lastError_ = "Out of memory.\n";
    return nullptr;
  }
  TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, this);
  TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, this);
  // No single buffer of the library may take more than a bitmap may.
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, PLBmp::kMaxBytes);
  TIFF* tiff = TIFFClientOpenExt("MemSource", writing_ ? "w" : "r", this, Read, Write, Seek, Close, Size, Map, Unmap,
                                 options);
  TIFFOpenOptionsFree(options);
  return tiff;
}

tmsize_t PLTiffMemFile::Read(thandle_t handle, void* buffer, tmsize_t size) {
  auto* file = static_cast<PLTiffMemFile*>(handle);
  if (file->writing_ || size <= 0 || file->position_ >= file->length_) return 0;
  const uint64_t count = std::min<uint64_t>(static_cast<uint64_t>(size), file->length_ - file->position_);
  std::memcpy(buffer, file->data_ + file->position_, count);
  file->position_ += count;
  return static_cast<tmsize_t>(count);
}

tmsize_t PLTiffMemFile::Write(thandle_t handle, void* buffer, tmsize_t size) {
  auto* file = static_cast<PLTiffMemFile*>(handle);
  if (!file->writing_ || size <= 0) return 0;
  const uint64_t room = file->position_ < file->capacity_ ? file->capacity_ - file->position_ : 0;
  const uint64_t count = std::min<uint64_t>(static_cast<uint64_t>(size), room);
  if (count < static_cast<uint64_t>(size)) file->overflowed_ = true;
  if (count == 0) return 0;
  const uint64_t end = file->position_ + count;
  if (file->written_.size() < end) file->written_.resize(end);
  std::memcpy(file->written_.data() + file->position_, buffer, count);
  file->position_ = end;
  file->length_ = std::max(file->length_, end);
  return static_cast<tmsize_t>(count);
}

toff_t PLTiffMemFile::Seek(thandle_t handle, toff_t offset, int whence) {
  auto* file = static_cast<PLTiffMemFile*>(handle);
  uint64_t base = 0;
  if (whence == SEEK_CUR) base = file->position_;
  else if (whence == SEEK_END) base = file->length_;
  const uint64_t target = base + offset;
  // Offsets far beyond any file we could hold are refused as the library expects.
  if (target < base || target > (uint64_t(1) << 40)) return static_cast<toff_t>(-1);
  file->position_ = target;
  if (file->writing_ && file->position_ > file->length_) {
    // A gap the library leaves is zeros, as in a file.
    if (file->position_ > file->capacity_) {
      file->overflowed_ = true;
    } else {
      file->written_.resize(file->position_);
      file->length_ = file->position_;
    }
  }
  return file->position_;
}

int PLTiffMemFile::Close(thandle_t) { return 0; }

toff_t PLTiffMemFile::Size(thandle_t handle) { return static_cast<PLTiffMemFile*>(handle)->length_; }

// The data being read is already in memory: the library reads it in place, as from a mapped
// file (its unmapped path refuses uncompressed tiles read through the RGBA interface).
int PLTiffMemFile::Map(thandle_t handle, void** base, toff_t* size) {
  auto* file = static_cast<PLTiffMemFile*>(handle);
  if (file->writing_ || file->data_ == nullptr) return 0;
  *base = const_cast<uint8_t*>(file->data_);
  *size = file->length_;
  return 1;
}

void PLTiffMemFile::Unmap(thandle_t, void*, toff_t) {}

int PLTiffMemFile::OnError(TIFF*, void* user, const char*, const char* format, va_list args) {
  auto* file = static_cast<PLTiffMemFile*>(user);
  file->lastError_ = Format(format, args) + "\n";
  PLPicDecoder::Trace(0, file->lastError_);
  return 1;
}

int PLTiffMemFile::OnWarning(TIFF*, void*, const char* module, const char* format, va_list args) {
  GlobalWarning(module, format, args);
  return 1;
}

}  // namespace vornel
