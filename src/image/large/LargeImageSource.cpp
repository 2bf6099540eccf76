#include "image/large/LargeImageSource.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLByteOrder.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/PLAnyPicDecoder.h"
#include "image/codec/io/PLFileSource.h"
#include "image/codec/external/PLJpegGlue.h"
#include "image/large/BoxSampler.h"
#include "image/large/PartSources.h"

namespace vornel {

namespace {

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

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
    BoxSampler sampler(out, scaled, rest);
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
          sampler.AddRun(int64_t(y) - sy0, int64_t(xoffset) - sx0, reinterpret_cast<const PLPixel32*>(line),
                         int32_t(cropWidth));
        }
      });
    }
    jpeg_destroy_decompress(&cinfo);
    if (!ok && error.code == kPLErrCancelled) RaiseDecodeCancelled();
    if (!ok) PLPicDecoder::RaiseError(kPLErrFormatUnknown, std::string(error.message) + "\n");
    sampler.Finish();
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

// --- Anything else: decoded whole once, in its own depth, then reduced from memory.
class WholeSource : public LargeImageSource {
 public:
  explicit WholeSource(std::unique_ptr<PLAnyBmp> bmp)
      : LargeImageSource(bmp->GetWidth(), bmp->GetHeight(), bmp->HasAlpha()), bmp_(std::move(bmp)) {}

 protected:
  void DoRead(const ImageRegion& region, int factor, PLBmp& out, IProgressNotification* progress) override {
    BoxSampler sampler(out, region, factor);
    std::vector<PLPixel32> line(size_t(bmp_->GetWidth()));
    for (int32_t r = 0; r < region.height; ++r) {
      if (r % 256 == 0) ReportDecodeProgress(progress, double(r) / region.height);
      if (!sampler.WantsRow(r)) continue;
      PLBmp::ExpandLine(bmp_->GetLineArray()[region.y + r], bmp_->GetBitsPerPixel(), bmp_->GetPalette(),
                        bmp_->GetWidth(), line.data());
      if (!bmp_->HasAlpha()) {
        for (PLPixel32& p : line) p.a = 255;
      }
      sampler.AddRun(r, 0, line.data() + region.x, region.width);
    }
    sampler.Finish();
  }

 private:
  std::unique_ptr<PLAnyBmp> bmp_;
};

// The size a GIF, PCX, PSD, TGA or BMP file declares, read from its header; 0 x 0 for others.
ImageRegion DeclaredSize(PLAnyPicDecoder::FileType type, const uint8_t* d, int64_t size) {
  const auto le16 = [&](int64_t at) { return at + 2 <= size ? int32_t(d[at] | (d[at + 1] << 8)) : 0; };
  const auto le32 = [&](int64_t at) { return at + 4 <= size ? int64_t(PLReadLE32(d + at)) : 0; };
  const auto be32 = [&](int64_t at) { return at + 4 <= size ? int64_t(PLReadBE32(d + at)) : 0; };
  int64_t width = 0;
  int64_t height = 0;
  switch (type) {
    case PLAnyPicDecoder::kGif:
      width = le16(6), height = le16(8);
      break;
    case PLAnyPicDecoder::kPcx:
      width = le16(8) - le16(4) + 1, height = le16(10) - le16(6) + 1;
      break;
    case PLAnyPicDecoder::kPsd:
      height = be32(14), width = be32(18);
      break;
    case PLAnyPicDecoder::kTga:
      width = le16(12), height = le16(14);
      break;
    case PLAnyPicDecoder::kBmp:
      if (le32(14) == 12) {
        width = le16(18), height = le16(20);
      } else {
        width = int32_t(le32(18)), height = std::abs(int64_t(int32_t(le32(22))));
      }
      break;
    default:
      break;
  }
  return {0, 0, int32_t(std::clamp<int64_t>(width, 0, INT32_MAX)), int32_t(std::clamp<int64_t>(height, 0, INT32_MAX))};
}

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

std::unique_ptr<LargeImageSource> OpenPartialImageSource(const std::string& path, IProgressNotification* progress) {
  auto file = std::make_unique<PLFileSource>();
  if (const int code = file->Open(path); code != 0) {
    PLPicDecoder::RaiseError(code, "Opening " + path + " failed");
  }
  const PLAnyPicDecoder::FileType type =
      PLAnyPicDecoder::DetectSignature(file->ReadEverything(), file->GetFileSize());
  switch (type) {
    case PLAnyPicDecoder::kJpeg:
      return JpegSource::Open(std::move(file));
    case PLAnyPicDecoder::kTiff:
      return OpenTiffParts(std::move(file));
    case PLAnyPicDecoder::kPng:
    case PLAnyPicDecoder::kPgm:
    case PLAnyPicDecoder::kPpm:
    case PLAnyPicDecoder::kBmp:
      if (auto rows = OpenRowParts(std::move(file))) return rows;
      break;
    default:
      break;
  }
  // Formats read as a whole: a large picture is decoded now, in its own depth, and reduced
  // from memory; a small one is left to the caller.
  PLFileSource header;
  if (header.Open(path) != 0) return nullptr;
  const ImageRegion size = DeclaredSize(type, header.ReadEverything(), header.GetFileSize());
  header.Close();
  if (!IsLargeImage(size.width, size.height)) return nullptr;
  auto bmp = std::make_unique<PLAnyBmp>();
  PLAnyPicDecoder decoder;
  decoder.MakeBmpFromFile(path, *bmp, 0, progress);
  return std::make_unique<WholeSource>(std::move(bmp));
}

std::unique_ptr<LargeImageSource> OpenLargeImageSource(const std::string& path) {
  if (std::unique_ptr<LargeImageSource> source = OpenPartialImageSource(path)) return source;
  auto bmp = std::make_unique<PLAnyBmp>();
  PLAnyPicDecoder decoder;
  decoder.MakeBmpFromFile(path, *bmp);
  return std::make_unique<WholeSource>(std::move(bmp));
}

}  // namespace vornel
