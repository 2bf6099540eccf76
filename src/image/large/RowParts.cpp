// Readers in parts that go through a picture's rows: uncompressed BMP files and binary
// greymaps and pixmaps straight from the file (only the rows that count), and PNG
// files other than plain ones (PngParts.cpp) a row at a time through libpng, interlaced ones a pass at a time (a reduced read
// stops after the passes that hold the rows and columns it samples).

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "image/bitmap/PLTextException.h"
#include "image/codec/PLPicDecoder.h"
#include "image/codec/PLRowLayout.h"
#include "image/large/BoxSampler.h"
#include "image/large/PartSources.h"

namespace vornel {

namespace {

// Rows are read with pread rather than through the mapping: touching a few hundred megabytes
// of mapped pages costs far more than copying the rows that count.
class RawRowSource : public LargeImageSource {
 public:
  RawRowSource(int descriptor, const PLRowLayout& layout)
      : LargeImageSource(int32_t(layout.width), int32_t(layout.height), layout.alpha),
        descriptor_(descriptor),
        layout_(layout) {}
  ~RawRowSource() override { ::close(descriptor_); }
  RawRowSource(const RawRowSource&) = delete;
  RawRowSource& operator=(const RawRowSource&) = delete;

 protected:
  void DoRead(const ImageRegion& region, int factor, PLBmp& out, IProgressNotification* progress) override {
    BoxSampler sampler(out, region, factor);
    const int32_t count = sampler.ColumnCount(0, region.width);
    pixels_.resize(size_t(std::max(count, 1)));
    // The bytes of the region's columns within a row.
    const int64_t first = int64_t(region.x) * layout_.bits / 8;
    const int64_t end = std::min<int64_t>(layout_.stride, (int64_t(region.x) + region.width) * layout_.bits / 8 + 4);
    bytes_.resize(size_t(end - first));
    for (int32_t y = 0; y < region.height; y += sampler.Step()) {
      if (y % 256 < sampler.Step()) ReportDecodeProgress(progress, double(y) / region.height);
      if (!sampler.WantsRow(y)) continue;
      const int64_t at = layout_.RowOffset(int64_t(region.y) + y) + first;
      if (::pread(descriptor_, bytes_.data(), bytes_.size(), at) != static_cast<ssize_t>(bytes_.size())) {
        PLDataSource::RaiseEndOfData();  // the file changed since it was opened
      }
      // Columns counted from the first byte read: whole bytes of 1- and 4-bit pixels.
      const int64_t x = region.x - first * 8 / layout_.bits;
      layout_.Convert(bytes_.data(), x, sampler.Step(), count, pixels_.data());
      sampler.Add(y, 0, pixels_.data(), count);
    }
    sampler.Finish();
  }

 private:
  int descriptor_;
  PLRowLayout layout_;
  std::vector<uint8_t> bytes_;
  std::vector<PLPixel32> pixels_;
};

// --- PNG

struct PngInput {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t at = 0;
  char message[200] = {};
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp text) {
  auto* input = static_cast<PngInput*>(png_get_error_ptr(png));
  std::snprintf(input->message, sizeof input->message, "%s", text != nullptr ? text : "");
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void ReadPng(png_structp png, png_bytep out, size_t length) {
  auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
  if (input->size - input->at < length) png_error(png, "End of file reached while decoding.");
  std::memcpy(out, input->data + input->at, length);
  input->at += length;
}

// One reading of the file through libpng, its structures freed however it ends.
struct PngReading {
  explicit PngReading(const uint8_t* data, size_t size) {
    input.data = data;
    input.size = size;
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &input, OnPngError, OnPngWarning);
    if (png != nullptr) info = png_create_info_struct(png);
    if (png == nullptr || info == nullptr) PLPicDecoder::RaiseError(kPLErrNoMemory, "Out of memory.");
    png_set_read_fn(png, &input, ReadPng);
    png_set_user_limits(png, PLBmp::kMaxDimension, PLBmp::kMaxDimension);
    png_set_chunk_malloc_max(png, 8 << 20);
    // A scan is shown, not verified: no checksums are computed (damage still ends the read).
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
  }
  ~PngReading() { png_destroy_read_struct(&png, &info, nullptr); }
  PngReading(const PngReading&) = delete;
  PngReading& operator=(const PngReading&) = delete;

  PngInput input;
  png_structp png = nullptr;
  png_infop info = nullptr;
};

// Reads the header and sets the reading up to give 8-bit blue, green, red, alpha rows, as the
// whole decoder's pixels (transparency chunks are not applied, as it does not). False when
// libpng gave up; the frame holds only plain values, as libpng leaves it by a long jump.
bool StartPng(PngReading& r, png_uint_32& width, png_uint_32& height, bool& alpha, bool& interlaced) {
  if (setjmp(png_jmpbuf(r.png)) != 0) return false;
  png_read_info(r.png, r.info);
  int depth = 0;
  int colour = 0;
  int interlace = 0;
  png_get_IHDR(r.png, r.info, &width, &height, &depth, &colour, &interlace, nullptr, nullptr);
  alpha = (colour & PNG_COLOR_MASK_ALPHA) != 0;
  interlaced = interlace != PNG_INTERLACE_NONE;
  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(r.png);
  if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(r.png);
  if (depth == 16) png_set_strip_16(r.png);
  if ((colour & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(r.png);
  if (!alpha) png_set_filler(r.png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(r.png);
  png_read_update_info(r.png, r.info);
  return png_get_rowbytes(r.png, r.info) == size_t(width) * 4;
}

bool ReadPngRow(PngReading& r, PLPixel32* row) {
  if (setjmp(png_jmpbuf(r.png)) != 0) return false;
  png_read_row(r.png, reinterpret_cast<png_bytep>(row), nullptr);
  return true;
}

class PngSource : public LargeImageSource {
 public:
  PngSource(std::unique_ptr<PLFileSource> file, int32_t width, int32_t height, bool alpha, bool interlaced)
      : LargeImageSource(width, height, alpha), file_(std::move(file)), interlaced_(interlaced) {}

 protected:
  void DoRead(const ImageRegion& region, int factor, PLBmp& out, IProgressNotification* progress) override {
    // A reading that stopped above the region goes on from where it stopped (views pan down
    // a page); any other starts afresh, as the data can only be inflated from its start.
    if (!reading_ || interlaced_ || nextRow_ > region.y) {
      reading_.reset();
      reading_ = std::make_unique<PngReading>(file_->ReadEverything(), static_cast<size_t>(file_->GetFileSize()));
      png_uint_32 width = 0;
      png_uint_32 height = 0;
      bool alpha = false;
      bool interlaced = false;
      if (!StartPng(*reading_, width, height, alpha, interlaced) || int64_t(width) != Width() ||
          int64_t(height) != Height()) {
        const std::string message = reading_->input.message;
        reading_.reset();
        PLPicDecoder::RaiseError(kPLErrFormatUnknown, message);
      }
      nextRow_ = 0;
    }
    PngReading& r = *reading_;
    // Until the reading has come to its end, a failure leaves it to be started afresh.
    struct Forget {
      std::unique_ptr<PngReading>& reading;
      bool done = false;
      ~Forget() {
        if (!done) reading.reset();
      }
    } forget{reading_};
    const uint32_t height = static_cast<uint32_t>(Height());
    const uint32_t width = static_cast<uint32_t>(Width());
    BoxSampler sampler(out, region, factor);
    row_.resize(width);
    const int step = sampler.Step();
    // The passes of an interlaced picture, or the one pass of the others: first row and
    // column, and the spacing of both.
    struct Pass {
      int x0, y0, dx, dy;
    };
    std::vector<Pass> passes;
    if (!interlaced_) {
      passes.push_back({0, 0, 1, 1});
    } else {
      for (int p = 0; p < 7; ++p) {
        passes.push_back({int(PNG_PASS_START_COL(p)), int(PNG_PASS_START_ROW(p)), 1 << PNG_PASS_COL_SHIFT(p),
                          1 << PNG_PASS_ROW_SHIFT(p)});
      }
    }
    // A pass matters when it holds some row and column that count: position v of the
    // picture counts when v - start is a multiple of the step.
    const auto holds = [step](int first, int spacing, int64_t start) {
      const int64_t modulus = std::min(step, spacing);
      return ((first - start) % modulus + modulus) % modulus == 0;
    };
    size_t lastPass = 0;
    for (size_t p = 0; p < passes.size(); ++p) {
      if (holds(passes[p].x0, passes[p].dx, region.x) && holds(passes[p].y0, passes[p].dy, region.y)) lastPass = p;
    }
    const int64_t regionEnd = int64_t(region.y) + region.height;
    for (size_t p = 0; p <= lastPass; ++p) {
      const Pass& pass = passes[p];
      const int64_t rows = (int64_t(height) - pass.y0 + pass.dy - 1) / pass.dy;
      const int64_t columns = (int64_t(width) - pass.x0 + pass.dx - 1) / pass.dx;
      if (rows <= 0 || columns <= 0) continue;  // the library passes over empty passes
      for (int64_t r0 = interlaced_ ? 0 : nextRow_; r0 < rows; ++r0) {
        const int64_t y = pass.y0 + r0 * pass.dy;
        if (!interlaced_ && y >= regionEnd) break;  // the rest is not needed
        if (!interlaced_) nextRow_ = y + 1;
        if (r0 % 64 == 0) ReportDecodeProgress(progress, (double(p) + double(r0) / double(rows)) / double(lastPass + 1));
        if (!ReadPngRow(r, row_.data())) PLPicDecoder::RaiseError(kPLErrFormatUnknown, r.input.message);
        if (y < region.y || y >= regionEnd) continue;
        // Columns of the pass from the region's left edge on.
        const int64_t first = std::max<int64_t>(0, (int64_t(region.x) - pass.x0 + pass.dx - 1) / pass.dx);
        const int64_t last = std::min<int64_t>(columns, (int64_t(region.x) + region.width - pass.x0 + pass.dx - 1) / pass.dx);
        if (last > first) {
          sampler.AddSpaced(y - region.y, pass.x0 + first * pass.dx - region.x, row_.data() + first,
                            static_cast<int32_t>(last - first), pass.dx);
        }
      }
    }
    sampler.Finish();
    forget.done = !interlaced_;
  }

 private:
  std::unique_ptr<PLFileSource> file_;
  bool interlaced_;
  std::vector<PLPixel32> row_;
  std::unique_ptr<PngReading> reading_;  // a reading of rows [0, nextRow_) that may go on
  int64_t nextRow_ = 0;
};

}  // namespace

std::unique_ptr<LargeImageSource> OpenRowParts(std::unique_ptr<PLFileSource> file) {
  const uint8_t* data = file->ReadEverything();
  const int64_t size = file->GetFileSize();
  PLRowLayout layout;
  if (FindBmpRowLayout(data, size, layout) || FindPnmRowLayout(data, size, layout)) {
    if (layout.width > PLBmp::kMaxDimension || layout.height > PLBmp::kMaxDimension) return nullptr;
    const int descriptor = ::open(file->GetName().c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) PLPicDecoder::RaiseError(5, "Opening " + file->GetName() + " failed");
    return std::make_unique<RawRowSource>(descriptor, layout);
  }
  if (size >= 8 && png_sig_cmp(data, 0, 8) == 0) {
    if (auto plain = OpenPlainPngParts(file)) return plain;
    PngReading r(data, static_cast<size_t>(size));
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool alpha = false;
    bool interlaced = false;
    if (!StartPng(r, width, height, alpha, interlaced)) PLPicDecoder::RaiseError(kPLErrFormatUnknown, r.input.message);
    return std::make_unique<PngSource>(std::move(file), int32_t(width), int32_t(height), alpha, interlaced);
  }
  return nullptr;
}

}  // namespace vornel
