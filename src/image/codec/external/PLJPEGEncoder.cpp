#include "image/codec/external/PLJPEGEncoder.h"

#include <string>

#include "image/bitmap/PLTextException.h"
#include "image/codec/external/PLJpegGlue.h"
#include "image/codec/PLPicDecoder.h"

namespace vornel {

namespace {

constexpr size_t kBufferSize = 8192;

struct Destination {
  jpeg_destination_mgr pub{};
  PLDataSink* sink = nullptr;
  JOCTET* buffer = nullptr;
};

// Writes `count` bytes of the buffer to the sink; a full sink ends the encoding through the
// library's error exit (never an exception through its frames).
void Flush(j_compress_ptr cinfo, size_t count) {
  auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
  PLDataSink& sink = *dest->sink;
  if (static_cast<int64_t>(count) > sink.GetMaxSize() - sink.GetBytesWritten()) {
    reinterpret_cast<PLJpegErrorManager*>(cinfo->err)->code = kPLErrEndOfData;
    ERREXIT(cinfo, JERR_FILE_WRITE);
  }
  sink.WriteNBytes(static_cast<int64_t>(count), dest->buffer);
}

void InitDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
  dest->buffer = static_cast<JOCTET*>(
      (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, kBufferSize));
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = kBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
  Flush(cinfo, kBufferSize);
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = kBufferSize;
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  const size_t count = kBufferSize - cinfo->dest->free_in_buffer;
  if (count > 0) Flush(cinfo, count);
}

}  // namespace

struct PLJpegCompressState {
  jpeg_compress_struct cinfo{};
  PLJpegErrorManager error;
  Destination destination;
  bool created = false;
};

PLJPEGEncoder::PLJPEGEncoder() : state_(std::make_unique<PLJpegCompressState>()) {
  PLJpegCompressState& s = *state_;
  s.cinfo.err = PLJpegInitErrorManager(s.error);
  if (!PLJpegGuard(s.error, [&] { jpeg_create_compress(&s.cinfo); })) {
    throw PLTextException(kPLErrNoMemory, "Out of memory.");
  }
  s.created = true;
  s.destination.pub.init_destination = InitDestination;
  s.destination.pub.empty_output_buffer = EmptyOutputBuffer;
  s.destination.pub.term_destination = TermDestination;
}

PLJPEGEncoder::~PLJPEGEncoder() {
  if (state_->created) jpeg_destroy_compress(&state_->cinfo);
}

void PLJPEGEncoder::DoEncode(PLBmp& bmp, PLDataSink& sink) {
  if (bmp.GetBitsPerPixel() != 32) {
    throw PLTextException(kPLErrFormatNotSupported, "Image bit depth doesn't match request.");
  }
  PLJpegCompressState& s = *state_;
  jpeg_compress_struct& cinfo = s.cinfo;
  s.error.code = kPLErrFormatNotSupported;
  s.destination.sink = &sink;
  cinfo.dest = &s.destination.pub;
  PLBmpLock lock(bmp, true, false);
  uint8_t* const* lines = bmp.GetLineArray();
  const PLPoint resolution = bmp.GetResolution();
  const bool encoded = PLJpegGuard(s.error, [&] {
    cinfo.image_width = static_cast<JDIMENSION>(bmp.GetWidth());
    cinfo.image_height = static_cast<JDIMENSION>(bmp.GetHeight());
    // The bitmap's own lines: blue, green, red and a byte the library passes over.
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);
    cinfo.X_density = static_cast<UINT16>(resolution.x);
    cinfo.Y_density = static_cast<UINT16>(resolution.y);
    cinfo.dct_method = JDCT_FLOAT;
    if (quality_ != 0) jpeg_set_quality(&cinfo, quality_, TRUE);
    cinfo.optimize_coding = optimizeCoding_ ? TRUE : FALSE;
    cinfo.smoothing_factor = smoothingFactor_;
    if (densityX_ != 0 || densityY_ != 0) {
      cinfo.density_unit = 1;
      cinfo.X_density = static_cast<UINT16>(densityX_);
      cinfo.Y_density = static_cast<UINT16>(densityY_);
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW row = lines[cinfo.next_scanline];
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
  });
  if (!encoded) {
    jpeg_abort_compress(&cinfo);
    if (s.error.code == kPLErrEndOfData) throw PLTextException(kPLErrEndOfData, "Buffer overflow while encoding.\n");
    PLPicDecoder::RaiseError(s.error.code, std::string(s.error.message) + "\n");
  }
}

}  // namespace vornel
