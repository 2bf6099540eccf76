#include "image/codec/external/PLJPEGDecoder.h"

#include <string>
#include <vector>

#include "image/bitmap/PLTextException.h"
#include "image/codec/external/PLJpegGlue.h"

namespace vornel {

namespace {

// The end-of-image marker handed to the library when the data runs out, so that a
// truncated file ends where it ends instead of failing.
const JOCTET kEndOfImage[2] = {0xFF, 0xD9};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

void SupplyEndOfImage(j_decompress_ptr cinfo) {
  WARNMS(cinfo, JWRN_JPEG_EOF);
  cinfo->src->next_input_byte = kEndOfImage;
  cinfo->src->bytes_in_buffer = sizeof kEndOfImage;
}

// Called only when the data is used up.
boolean FillInputBuffer(j_decompress_ptr cinfo) {
  SupplyEndOfImage(cinfo);
  return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* src = cinfo->src;
  if (static_cast<size_t>(count) < src->bytes_in_buffer) {
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<size_t>(count);
  } else {
    SupplyEndOfImage(cinfo);
  }
}

// Adobe's CMYK JPEGs store inverted inks; either way the colour is the ink's complement
// darkened by black, rounded as 8-bit multiplication rounds.
uint8_t InkToColour(unsigned ink, unsigned black) {
  const unsigned value = (255 - ink) * (255 - black) + 128;
  return static_cast<uint8_t>((value + (value >> 8)) >> 8);
}

}  // namespace

struct PLJpegDecompressState {
  jpeg_decompress_struct cinfo{};
  PLJpegErrorManager error;
  jpeg_source_mgr source{};
  PLJpegProgress progress;
  bool created = false;
};

PLJPEGDecoder::PLJPEGDecoder() : state_(std::make_unique<PLJpegDecompressState>()) {
  PLJpegDecompressState& s = *state_;
  s.cinfo.err = PLJpegInitErrorManager(s.error);
  if (!PLJpegGuard(s.error, [&] { jpeg_create_decompress(&s.cinfo); })) {
    throw PLTextException(kPLErrNoMemory, "Out of memory.");
  }
  s.created = true;
  // Bounds what a hostile header can make the library allocate for its own buffers.
  s.cinfo.mem->max_memory_to_use = static_cast<long>(PLBmp::kMaxBytes);
  s.source.init_source = InitSource;
  s.source.fill_input_buffer = FillInputBuffer;
  s.source.skip_input_data = SkipInputData;
  s.source.resync_to_restart = jpeg_resync_to_restart;
  s.source.term_source = TermSource;
}

PLJPEGDecoder::~PLJPEGDecoder() {
  if (state_->created) jpeg_destroy_decompress(&state_->cinfo);
}

void PLJPEGDecoder::RaiseLibraryError() {
  jpeg_abort_decompress(&state_->cinfo);
  if (state_->error.code == kPLErrCancelled) RaiseDecodeCancelled();
  RaiseError(state_->error.code, std::string(state_->error.message) + "\n");
}

void PLJPEGDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  PLJpegDecompressState& s = *state_;
  jpeg_decompress_struct& cinfo = s.cinfo;
  s.error.code = 6;
  // The whole rest of the source: all of a JPEG file, or the part of a picture from where
  // its JPEG stream starts.
  s.source.bytes_in_buffer = static_cast<size_t>(source.GetBytesLeft());
  s.source.next_input_byte = source.ReadEverything();
  cinfo.src = &s.source;
  PLJpegInstallProgress(reinterpret_cast<j_common_ptr>(&cinfo), s.progress, s.error, source.GetNotification());

  if (!PLJpegGuard(s.error, [&] { jpeg_read_header(&cinfo, TRUE); })) RaiseLibraryError();
  const int64_t width = cinfo.image_width;
  const int64_t height = cinfo.image_height;
  if (width > PLBmp::kMaxDimension || height > PLBmp::kMaxDimension || width * height * 4 > PLBmp::kMaxBytes) {
    jpeg_abort_decompress(&cinfo);
    RaiseError(kPLErrNoMemory, "Out of memory creating bitmap.");
  }
  // A truncated file would have the library make up every missing line: the data must be
  // able to carry the picture it declares (a block of 64 pixels takes a bit at the least,
  // and arithmetic coding keeps even that generous).
  try {
    RequirePixels(static_cast<int64_t>(s.source.bytes_in_buffer), width, height, 4096);
  } catch (...) {
    jpeg_abort_decompress(&cinfo);
    throw;
  }
  cinfo.dct_method = JDCT_FLOAT;
  if (fast_) cinfo.do_fancy_upsampling = FALSE;
  const bool grey = cinfo.out_color_space == JCS_GRAYSCALE;
  const bool inks = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  // Colour goes straight into the bitmap's lines as blue, green, red and a filler byte.
  cinfo.out_color_space = grey ? JCS_GRAYSCALE : inks ? JCS_CMYK : JCS_EXT_BGRX;
  if (!PLJpegGuard(s.error, [&] { jpeg_start_decompress(&cinfo); })) RaiseLibraryError();

  try {
    bmp.Create(width, height, grey ? 8 : 32, false);
  } catch (...) {
    jpeg_abort_decompress(&cinfo);
    throw;
  }
  const bool inverted = inks && cinfo.saw_Adobe_marker;
  std::vector<JSAMPLE> inkRow(inks ? static_cast<size_t>(width) * 4 : 0);
  JSAMPLE* inkLine = inkRow.data();
  uint8_t* const* lines = bmp.GetLineArray();
  {
    PLBmpLock lock(bmp, false, true);
    const bool read = PLJpegGuard(s.error, [&] {
      while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION y = cinfo.output_scanline;
        JSAMPROW row = inks ? inkLine : lines[y];
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (!inks) continue;
        uint8_t* out = lines[y];
        for (int64_t x = 0; x < width; ++x) {
          const JSAMPLE* p = inkLine + 4 * x;
          const unsigned c = inverted ? 255u - p[0] : p[0];
          const unsigned m = inverted ? 255u - p[1] : p[1];
          const unsigned yl = inverted ? 255u - p[2] : p[2];
          const unsigned k = inverted ? 255u - p[3] : p[3];
          out[4 * x] = InkToColour(yl, k);
          out[4 * x + 1] = InkToColour(m, k);
          out[4 * x + 2] = InkToColour(c, k);
        }
      }
    });
    if (!read) RaiseLibraryError();
  }
  if (!PLJpegGuard(s.error, [&] { jpeg_finish_decompress(&cinfo); })) RaiseLibraryError();
  bmp.SetResolution({cinfo.X_density > 1 ? cinfo.X_density : 72, cinfo.Y_density > 1 ? cinfo.Y_density : 72});
}

}  // namespace vornel
