#include "image/large/LargeImageSource.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/PLAnyPicDecoder.h"
#include "image/codec/PLFileSource.h"
#include "image/codec/PLJpegGlue.h"
#include "image/codec/PLTiffGlue.h"
#include "image/codec/PLTiffSamples.h"

namespace vornel {

namespace {

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

// Averages boxes of factor x factor pixels of a region, fed row pieces in any order, into a
// 32-bit bitmap. With a factor of 1 the pixels go straight into the bitmap.
class BoxReducer {
 public:
  BoxReducer(PLBmp& out, const ImageRegion& region, int factor) : out_(out), factor_(factor) {
    if (factor_ > 1) sums_.assign(size_t(out.GetWidth()) * size_t(out.GetHeight()) * 4, 0);
    // Pixels beyond what the bitmap holds (a region cut at other boundaries) are dropped.
    limitX_ = std::min<int64_t>(region.width, int64_t(out.GetWidth()) * factor);
    limitY_ = std::min<int64_t>(region.height, int64_t(out.GetHeight()) * factor);
  }

  // `count` pixels of region row `y` starting at region column `x` (both relative to the region).
  void Add(int32_t y, int32_t x, const PLPixel32* pixels, int32_t count) {
    if (y < 0 || y >= limitY_) return;
    const int32_t from = std::max(0, -x);
    const auto to = static_cast<int32_t>(std::min<int64_t>(count, limitX_ - x));
    if (factor_ == 1) {
      if (to > from) std::memcpy(out_.GetLineArray()[y] + size_t(x + from) * 4, pixels + from, size_t(to - from) * 4);
      return;
    }
    uint32_t* row = sums_.data() + size_t(y / factor_) * size_t(out_.GetWidth()) * 4;
    for (int32_t i = from; i < to; ++i) {
      uint32_t* s = row + size_t((x + i) / factor_) * 4;
      s[0] += pixels[i].b;
      s[1] += pixels[i].g;
      s[2] += pixels[i].r;
      s[3] += pixels[i].a;
    }
  }

  void Finish() {
    if (factor_ == 1) return;
    const int32_t w = out_.GetWidth();
    for (int32_t oy = 0; oy < out_.GetHeight(); ++oy) {
      const auto rows = static_cast<uint32_t>(std::min<int64_t>(factor_, limitY_ - int64_t(oy) * factor_));
      uint8_t* line = out_.GetLineArray()[oy];
      const uint32_t* s = sums_.data() + size_t(oy) * size_t(w) * 4;
      for (int32_t ox = 0; ox < w; ++ox, s += 4) {
        const uint32_t n = rows * static_cast<uint32_t>(std::min<int64_t>(factor_, limitX_ - int64_t(ox) * factor_));
        for (int k = 0; k < 4; ++k) line[4 * ox + k] = static_cast<uint8_t>((s[k] + n / 2) / n);
      }
    }
  }

 private:
  PLBmp& out_;
  int factor_;
  std::vector<uint32_t> sums_;
  int64_t limitX_ = 0;
  int64_t limitY_ = 0;
};

// --- JPEG: each read starts the library afresh over the mapped file, scales by up to 1/8 in
// the transform, crops the columns and skips the rows above the region.
class JpegSource : public LargeImageSource {
 public:
  static std::unique_ptr<LargeImageSource> Open(std::unique_ptr<PLFileSource> file) {
    jpeg_decompress_struct cinfo{};
    PLJpegErrorManager error;
    cinfo.err = PLJpegInitErrorManager(error);
    if (!PLJpegGuard(error, [&] { jpeg_create_decompress(&cinfo); })) return nullptr;
    const uint8_t* data = file->ReadEverything();
    const auto size = static_cast<unsigned long>(file->GetFileSize());
    const bool read = PLJpegGuard(error, [&] {
      jpeg_mem_src(&cinfo, data, size);
      jpeg_read_header(&cinfo, TRUE);
    });
    const bool colour = read && (cinfo.jpeg_color_space != JCS_CMYK && cinfo.jpeg_color_space != JCS_YCCK);
    const auto width = static_cast<int64_t>(cinfo.image_width);
    const auto height = static_cast<int64_t>(cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    if (!read) PLPicDecoder::RaiseError(kPLErrFormatUnknown, std::string(error.message) + "\n");
    // Ink images are rare among scans: they are decoded whole.
    if (!colour || width > PLBmp::kMaxDimension || height > PLBmp::kMaxDimension) return nullptr;
    return std::unique_ptr<LargeImageSource>(new JpegSource(std::move(file), int32_t(width), int32_t(height)));
  }

 protected:
  void DoRead(const ImageRegion& region, int factor, PLBmp& out, IProgressNotification* progress) override {
    jpeg_decompress_struct cinfo{};
    PLJpegErrorManager error;
    cinfo.err = PLJpegInitErrorManager(error);
    if (!PLJpegGuard(error, [&] { jpeg_create_decompress(&cinfo); })) {
      PLPicDecoder::RaiseError(kPLErrNoMemory, "Out of memory.");
    }
    cinfo.mem->max_memory_to_use = static_cast<long>(PLBmp::kMaxBytes);
    PLJpegProgress monitor;
    PLJpegInstallProgress(reinterpret_cast<j_common_ptr>(&cinfo), monitor, error, progress);
    const int scale = std::min(factor, 8);
    const int rest = factor / scale;
    // Scaled coordinates of the region.
    const auto sx0 = static_cast<JDIMENSION>(region.x / scale);
    const auto sy0 = static_cast<JDIMENSION>(region.y / scale);
    const auto sx1 = static_cast<JDIMENSION>(CeilDiv(int64_t(region.x) + region.width, scale));
    const auto sy1 = static_cast<JDIMENSION>(CeilDiv(int64_t(region.y) + region.height, scale));
    const ImageRegion scaled{0, 0, int32_t(sx1 - sx0), int32_t(sy1 - sy0)};
    BoxReducer reducer(out, scaled, rest);
    row_.clear();
    JDIMENSION xoffset = sx0;
    JDIMENSION cropWidth = sx1 - sx0;
    const uint8_t* data = file_->ReadEverything();
    const auto size = static_cast<unsigned long>(file_->GetFileSize());
    // Nothing with a destructor lives inside the guarded calls: the library may jump out.
    bool ok = PLJpegGuard(error, [&] {
      jpeg_mem_src(&cinfo, data, size);
      jpeg_read_header(&cinfo, TRUE);
      cinfo.scale_num = 1;
      cinfo.scale_denom = static_cast<unsigned>(scale);
      cinfo.out_color_space = JCS_EXT_BGRX;  // grey comes out as three equal colours
      cinfo.dct_method = JDCT_ISLOW;
      jpeg_start_decompress(&cinfo);
    });
    if (ok && cinfo.output_width < sx1) ok = false;
    if (ok) {
      row_.resize(size_t(cinfo.output_width) * 4);
      ok = PLJpegGuard(error, [&] {
        jpeg_crop_scanline(&cinfo, &xoffset, &cropWidth);
        if (sy0 > 0) jpeg_skip_scanlines(&cinfo, sy0);
        JSAMPROW line = row_.data();
        while (cinfo.output_scanline < sy1 && cinfo.output_scanline < cinfo.output_height) {
          const JDIMENSION y = cinfo.output_scanline;
          jpeg_read_scanlines(&cinfo, &line, 1);
          reducer.Add(int32_t(y - sy0), int32_t(xoffset) - int32_t(sx0), reinterpret_cast<const PLPixel32*>(line),
                      int32_t(cropWidth));
        }
      });
    }
    jpeg_destroy_decompress(&cinfo);
    if (!ok && error.code == kPLErrCancelled) RaiseDecodeCancelled();
    if (!ok) PLPicDecoder::RaiseError(kPLErrFormatUnknown, std::string(error.message) + "\n");
    reducer.Finish();
    // The filler byte of BGRX is no alpha.
    for (int32_t y = 0; y < out.GetHeight(); ++y) {
      uint8_t* line = out.GetLineArray()[y];
      for (int32_t x = 0; x < out.GetWidth(); ++x) line[4 * x + 3] = 255;
    }
  }

 private:
  JpegSource(std::unique_ptr<PLFileSource> file, int32_t width, int32_t height)
      : LargeImageSource(width, height, false), file_(std::move(file)) {}

  std::unique_ptr<PLFileSource> file_;
  std::vector<JSAMPLE> row_;
};

// --- TIFF: the strips or tiles that meet the region, one at a time.
struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

class TiffSource : public LargeImageSource {
 public:
  static std::unique_ptr<LargeImageSource> Open(std::unique_ptr<PLFileSource> file) {
    auto memFile = std::make_unique<PLTiffMemFile>(file->ReadEverything(), static_cast<uint64_t>(file->GetFileSize()));
    std::unique_ptr<TIFF, TiffCloser> tiff(memFile->Open());
    if (!tiff) PLPicDecoder::RaiseError(kPLErrWrongSignature, memFile->LastError());
    if (!PLTiffSamples::Handles(tiff.get())) return nullptr;
    auto samples = std::make_unique<PLTiffSamples>(tiff.get(), memFile->LastError());
    return std::unique_ptr<LargeImageSource>(
        new TiffSource(std::move(file), std::move(memFile), std::move(tiff), std::move(samples)));
  }

 protected:
  void DoRead(const ImageRegion& region, int factor, PLBmp& out, IProgressNotification* progress) override {
    BoxReducer reducer(out, region, factor);
    for (size_t i = 0; i < samples_->UnitCount(); ++i) {
      const PLTiffSamples::Unit& unit = samples_->UnitAt(i);
      if (int64_t(unit.x) >= int64_t(region.x) + region.width || int64_t(unit.x) + unit.width <= region.x ||
          int64_t(unit.y) >= int64_t(region.y) + region.height || int64_t(unit.y) + unit.height <= region.y) {
        continue;
      }
      samples_->ReadUnit(i, true);
      pixels_.resize(unit.width);
      for (uint32_t r = 0; r < unit.height; ++r) {
        samples_->RowPixels(r, 0, 1, unit.width, pixels_.data());
        reducer.Add(int32_t(unit.y + r) - region.y, int32_t(unit.x) - region.x, pixels_.data(), int32_t(unit.width));
      }
      ReportDecodeProgress(progress, double(i + 1) / double(samples_->UnitCount()));
    }
    reducer.Finish();
  }

 private:
  TiffSource(std::unique_ptr<PLFileSource> file, std::unique_ptr<PLTiffMemFile> memFile,
             std::unique_ptr<TIFF, TiffCloser> tiff, std::unique_ptr<PLTiffSamples> samples)
      : LargeImageSource(int32_t(samples->Width()), int32_t(samples->Height()), samples->HasAlpha()),
        file_(std::move(file)),
        memFile_(std::move(memFile)),
        tiff_(std::move(tiff)),
        samples_(std::move(samples)) {}

  // Declared in the order they are made: the handle goes before its file.
  std::unique_ptr<PLFileSource> file_;
  std::unique_ptr<PLTiffMemFile> memFile_;
  std::unique_ptr<TIFF, TiffCloser> tiff_;
  std::unique_ptr<PLTiffSamples> samples_;
  std::vector<PLPixel32> pixels_;
};

// --- Anything else: decoded whole once, then reduced from memory.
class WholeSource : public LargeImageSource {
 public:
  explicit WholeSource(std::unique_ptr<PLAnyBmp> bmp)
      : LargeImageSource(bmp->GetWidth(), bmp->GetHeight(), bmp->HasAlpha()), bmp_(std::move(bmp)) {}

 protected:
  void DoRead(const ImageRegion& region, int factor, PLBmp& out, IProgressNotification* progress) override {
    BoxReducer reducer(out, region, factor);
    for (int32_t r = 0; r < region.height; ++r) {
      if (r % 256 == 0) ReportDecodeProgress(progress, double(r) / region.height);
      const auto* line = reinterpret_cast<const PLPixel32*>(bmp_->GetLineArray()[region.y + r]);
      reducer.Add(r, 0, line + region.x, region.width);
    }
    reducer.Finish();
  }

 private:
  std::unique_ptr<PLAnyBmp> bmp_;
};

}  // namespace

void LargeImageSource::Read(const ImageRegion& wanted, int factor, PLBmp& out, IProgressNotification* progress) {
  if (factor < 1 || factor > kMaxFactor || (factor & (factor - 1)) != 0) {
    PLPicDecoder::RaiseError(kPLErrFormatNotSupported, "Bad reduction factor.");
  }
  const int64_t x0 = std::clamp<int64_t>(wanted.x, 0, width_);
  const int64_t y0 = std::clamp<int64_t>(wanted.y, 0, height_);
  const int64_t x1 = std::clamp<int64_t>(int64_t(wanted.x) + std::max(0, wanted.width), 0, width_);
  const int64_t y1 = std::clamp<int64_t>(int64_t(wanted.y) + std::max(0, wanted.height), 0, height_);
  if (x1 <= x0 || y1 <= y0) PLPicDecoder::RaiseError(kPLErrFormatNotSupported, "Empty image region.");
  const ImageRegion region{int32_t(x0), int32_t(y0), int32_t(x1 - x0), int32_t(y1 - y0)};
  out.Create(CeilDiv(region.width, factor), CeilDiv(region.height, factor), 32, hasAlpha_);
  PLBmpLock lock(out, false, true);
  DoRead(region, factor, out, progress);
}

bool IsLargeImage(int64_t width, int64_t height) {
  return width * height >= kLargeImagePixels || width * height * 4 > PLBmp::kMaxBytes;
}

int ReductionForScale(double scale) {
  int factor = 1;
  while (factor < LargeImageSource::kMaxFactor && scale * factor * 2 <= 1.0 + 1e-9) factor *= 2;
  return factor;
}

std::unique_ptr<LargeImageSource> OpenPartialImageSource(const std::string& path) {
  auto file = std::make_unique<PLFileSource>();
  if (const int code = file->Open(path); code != 0) {
    PLPicDecoder::RaiseError(code, "Opening " + path + " failed");
  }
  const PLAnyPicDecoder::FileType type =
      PLAnyPicDecoder::DetectSignature(file->ReadEverything(), file->GetFileSize());
  if (type == PLAnyPicDecoder::kJpeg) return JpegSource::Open(std::move(file));
  if (type == PLAnyPicDecoder::kTiff) return TiffSource::Open(std::move(file));
  return nullptr;
}

std::unique_ptr<LargeImageSource> OpenLargeImageSource(const std::string& path) {
  if (std::unique_ptr<LargeImageSource> source = OpenPartialImageSource(path)) return source;
  auto bmp = std::make_unique<PLAnyBmp>();
  PLAnyPicDecoder decoder;
  decoder.MakeBmpFromFile(path, *bmp, 32);
  return std::make_unique<WholeSource>(std::move(bmp));
}

}  // namespace vornel
