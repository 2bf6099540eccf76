#include "image/codec/external/PLPNGDecoder.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "image/bitmap/PLTextException.h"

namespace vornel {

namespace {

// What the library's callbacks leave for our own frame: they never throw, they record and
// jump back through libpng's own error mechanism.
struct PngContext {
  PLDataSource* source = nullptr;
  uint32_t height = 0;
  int code = kPLErrFormatUnknown;
  char message[200] = {};
};

PngContext* ContextOf(png_structp png) { return static_cast<PngContext*>(png_get_error_ptr(png)); }

[[noreturn]] void OnError(png_structp png, png_const_charp text) {
  PngContext* context = ContextOf(png);
  std::snprintf(context->message, sizeof context->message, "%s", text != nullptr ? text : "");
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadData(png_structp png, png_bytep out, size_t length) {
  auto* context = static_cast<PngContext*>(png_get_io_ptr(png));
  PLDataSource& source = *context->source;
  if (static_cast<uint64_t>(source.GetBytesLeft()) < length) {
    context->code = kPLErrEndOfData;
    png_error(png, "End of file reached while decoding.");
  }
  if (IProgressNotification* notification = source.GetNotification(); notification != nullptr && notification->CancelRequested()) {
    context->code = kPLErrCancelled;
    png_error(png, kPLCancelledText);
  }
  std::memcpy(out, source.ReadNBytes(static_cast<int64_t>(length)), length);
}

// After each row: progress every 16 rows, and a cancel leaves as the library's errors do.
void RowDone(png_structp png, png_uint_32 row, int) {
  auto* context = static_cast<PngContext*>(png_get_io_ptr(png));
  IProgressNotification* notification = context->source->GetNotification();
  if (notification == nullptr || row % 16 != 0 || context->height == 0) return;
  bool stop = false;
  try {
    notification->OnProgress(double(row) / context->height);
    stop = notification->CancelRequested();
  } catch (...) {
    // Nothing may leave through the library's frames.
  }
  if (stop) {
    context->code = kPLErrCancelled;
    png_error(png, kPLCancelledText);
  }
}

// Everything that calls libpng. Returns false when the library gave up (its message is in
// the context). The library leaves by a long jump back to here, so this frame holds only
// plain values; the bitmap's own exceptions leave it the ordinary way, never from inside a
// library call.
bool ReadImage(png_structp png, png_infop info, PLBmp& bmp) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_read_info(png, info);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colourType = 0;
  int interlace = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
  static_cast<PngContext*>(png_get_io_ptr(png))->height = height;
  // Deflate makes at most 1,032 bytes of a byte, and a byte of a row holds at most 8 pixels.
  PLPicDecoder::RequirePixels(static_cast<PngContext*>(png_get_io_ptr(png))->source->GetBytesLeft(), width, height,
                              8 * 1032);

  int bits = 32;
  bool alpha = false;
  switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
      bits = 8;
      break;
    case PNG_COLOR_TYPE_RGB:
      png_set_bgr(png);
      png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
      break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      png_set_gray_to_rgb(png);
      png_set_expand(png);
      png_set_bgr(png);
      alpha = true;
      break;
    default:  // RGBA
      png_set_bgr(png);
      alpha = true;
      break;
  }
  bmp.Create(width, height, bits, alpha);

  PLPixel32* palette = bmp.GetPalette();
  if (colourType == PNG_COLOR_TYPE_GRAY) {
    const int count = bitDepth == 16 ? 256 : 1 << bitDepth;
    for (int i = 0; i < count; ++i) {
      const auto level = static_cast<uint8_t>(i * 255 / (count - 1));
      palette[i] = PLPixel32{level, level, level, 255};
    }
  } else if (colourType == PNG_COLOR_TYPE_PALETTE) {
    png_colorp entries = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &entries, &count) != 0) {
      for (int i = 0; i < count && i < 256; ++i) {
        palette[i] = PLPixel32::FromRgba(entries[i].red, entries[i].green, entries[i].blue);
      }
    }
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (interlace != PNG_INTERLACE_NONE) png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) > static_cast<size_t>(PLBmp::DataBytesPerLine(width, bits))) {
    png_error(png, "Unexpected row size.");
  }
  png_read_image(png, const_cast<png_bytepp>(bmp.GetLineArray()));

  png_uint_32 resX = 0;
  png_uint_32 resY = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &resX, &resY, &unit) != 0 && unit == PNG_RESOLUTION_METER) {
    bmp.SetResolution({static_cast<int32_t>(resX / 39.37 + 0.5), static_cast<int32_t>(resY / 39.37 + 0.5)});
  } else {
    bmp.SetResolution({0, 0});
  }
  png_read_end(png, nullptr);
  return true;
}

// The read and info structures of one decoding, destroyed however it ends.
struct PngReadStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngReadStructs() {
    if (png != nullptr) png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
  }
};

}  // namespace

void PLPNGDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  PngContext context;
  context.source = &source;
  PngReadStructs structs;
  structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, OnError, OnWarning);
  if (structs.png == nullptr) RaiseError(kPLErrNoMemory, "Out of memory.");
  structs.info = png_create_info_struct(structs.png);
  if (structs.info == nullptr) RaiseError(kPLErrNoMemory, "Out of memory.");
  png_set_read_fn(structs.png, &context, ReadData);
  png_set_read_status_fn(structs.png, RowDone);
  // Hostile headers may claim any size; the bitmap's own bounds apply, and chunks that are
  // not image data stay small.
  png_set_user_limits(structs.png, PLBmp::kMaxDimension, PLBmp::kMaxDimension);
  png_set_chunk_malloc_max(structs.png, 8 << 20);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // Fuzzing reaches the decoder only past the checksums when they are not checked.
  png_set_crc_action(structs.png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif

  PLBmpLock lock(bmp, false, true);
  if (!ReadImage(structs.png, structs.info, bmp)) {
    if (context.code == kPLErrEndOfData) PLDataSource::RaiseEndOfData();
    if (context.code == kPLErrCancelled) RaiseDecodeCancelled();
    RaiseError(context.code, context.message);
  }
}

}  // namespace vornel
