// A 20,000 x 15,000 scan (300 megapixels) in each form a facsimile comes in: RGB as a baseline
// JPEG, a tiled LZW TIFF (without and with a reduced copy), a PNG and a BMP; grey as a TIFF of LZW strips; black and white as a
// CCITT group 4 TIFF (all written by the benchmark with the libraries into the temporary
// folder, and removed after). Measured: the time to the first fitted screen of a 1920 x 1080
// canvas (opening the file, reading the overview, drawing), then to a screen at 100 % (decoding
// its tiles, drawing), and the peak memory of the reading, against the readers' bound of
// 64 MiB + 64 bytes per byte of the file. Goals: first screen under 1 s, later screens under
// 100 ms, peak within the bound.

#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <png.h>
#include <sys/resource.h>
#include <tiffio.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <string>
#include <vector>

#include "image/large/LargeImageSource.h"
#include "image/large/TiledPicture.h"
#include "platform/draw/CairoDevice.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 20000;
constexpr int kHeight = 15000;
constexpr int kCanvasWidth = 1920;
constexpr int kCanvasHeight = 1080;

// A scan-like page: paper tone, gradients and a little texture.
void FillRow(int y, std::vector<uint8_t>& row) {
  for (int x = 0; x < kWidth; ++x) {
    const int texture = (x * 7 + y * 13) % 9;
    row[3 * x] = static_cast<uint8_t>(200 + (x / 400) % 40 + texture);
    row[3 * x + 1] = static_cast<uint8_t>(190 + (y / 300) % 40 + texture);
    row[3 * x + 2] = static_cast<uint8_t>(150 + ((x + y) / 500) % 60);
  }
}

fs::path Folder() {
  static const fs::path dir = fs::temp_directory_path() / ("vornel-scan-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir;
}

const fs::path& JpegScan() {
  static const fs::path path = [] {
    const fs::path p = Folder() / "scan.jpg";
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    FILE* file = std::fopen(p.c_str(), "wb");
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(kWidth) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
      FillRow(static_cast<int>(cinfo.next_scanline), row);
      JSAMPROW line = row.data();
      jpeg_write_scanlines(&cinfo, &line, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
    return p;
  }();
  return path;
}

// Tiles of 256 x 256 of an RGB picture of `width` x `height` whose rows `fill` gives, in the
// directory the handle stands at.
template <typename Fill>
void WriteTiles(TIFF* tiff, uint32_t width, uint32_t height, const Fill& fill) {
  constexpr uint32_t kTile = 256;
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  TIFFSetField(tiff, TIFFTAG_TILEWIDTH, kTile);
  TIFFSetField(tiff, TIFFTAG_TILELENGTH, kTile);
  std::vector<uint8_t> band(size_t(width) * 3 * kTile);
  std::vector<uint8_t> tile(size_t(kTile) * kTile * 3);
  std::vector<uint8_t> row(size_t(width) * 3);
  for (uint32_t ty = 0; ty < height; ty += kTile) {
    for (uint32_t r = 0; r < kTile; ++r) {
      fill(int(std::min(ty + r, height - 1)), row);
      std::copy(row.begin(), row.end(), band.begin() + ptrdiff_t(r) * width * 3);
    }
    for (uint32_t tx = 0; tx < width; tx += kTile) {
      for (uint32_t r = 0; r < kTile; ++r) {
        for (uint32_t c = 0; c < kTile; ++c) {
          const uint32_t x = std::min(tx + c, width - 1);
          std::copy_n(band.begin() + ptrdiff_t(r * width + x) * 3, 3, tile.begin() + ptrdiff_t(r * kTile + c) * 3);
        }
      }
      TIFFWriteTile(tiff, tile.data(), tx, ty, 0, 0);
    }
  }
}

// The scan in LZW tiles; with `pyramid`, followed by a copy reduced by 8 (one pixel of each
// box of 8 x 8), as the files of image servers hold them.
fs::path TiledScan(const char* name, bool pyramid) {
  const fs::path p = Folder() / name;
  TIFF* tiff = TIFFOpen(p.c_str(), "w");
  WriteTiles(tiff, kWidth, kHeight, FillRow);
  if (pyramid) {
    TIFFWriteDirectory(tiff);
    TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_REDUCEDIMAGE);
    std::vector<uint8_t> whole(size_t(kWidth) * 3);
    WriteTiles(tiff, kWidth / 8, kHeight / 8, [&](int y, std::vector<uint8_t>& row) {
      FillRow(y * 8, whole);
      for (size_t x = 0; x < row.size() / 3; ++x) std::copy_n(whole.begin() + ptrdiff_t(x * 8 * 3), 3, row.begin() + ptrdiff_t(x * 3));
    });
  }
  TIFFClose(tiff);
  return p;
}

const fs::path& TiffScan() {
  static const fs::path path = TiledScan("scan.tif", false);
  return path;
}

const fs::path& PyramidTiffScan() {
  static const fs::path path = TiledScan("scan_pyramid.tif", true);
  return path;
}

// The scan as grey levels.
void FillGreyRow(int y, std::vector<uint8_t>& rgb, std::vector<uint8_t>& grey) {
  FillRow(y, rgb);
  for (int x = 0; x < kWidth; ++x) {
    grey[size_t(x)] = static_cast<uint8_t>((rgb[3 * x] * 77 + rgb[3 * x + 1] * 150 + rgb[3 * x + 2] * 29) >> 8);
  }
}

// Black writing on white: lines of word-like strokes across the page.
bool Ink(int x, int y) {
  const int line = y / 120;
  return y % 120 < 60 && x > 800 && x < kWidth - 800 && ((x / 90 + line * 7) % 6) != 0 && ((x + y) % 23) < 17;
}

// Grey or black and white, in strips of the library's default size.
fs::path StripTiff(const char* name, bool bilevel) {
  const fs::path p = Folder() / name;
  TIFF* tiff = TIFFOpen(p.c_str(), "w");
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(kWidth));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(kHeight));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bilevel ? 1 : 8);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, bilevel ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, bilevel ? COMPRESSION_CCITTFAX4 : COMPRESSION_LZW);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
  std::vector<uint8_t> rgb(size_t(kWidth) * 3);
  std::vector<uint8_t> row(static_cast<size_t>(kWidth));
  for (int y = 0; y < kHeight; ++y) {
    if (bilevel) {
      std::fill(row.begin(), row.end(), 0);
      for (int x = 0; x < kWidth; ++x) {
        if (Ink(x, y)) row[size_t(x) >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
      }
    } else {
      FillGreyRow(y, rgb, row);
    }
    TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0);
  }
  TIFFClose(tiff);
  return p;
}

const fs::path& G4Scan() {
  static const fs::path path = StripTiff("scan_g4.tif", true);
  return path;
}

const fs::path& GreyTiffScan() {
  static const fs::path path = StripTiff("scan_grey.tif", false);
  return path;
}

const fs::path& PngScan() {
  static const fs::path path = [] {
    const fs::path p = Folder() / "scan.png";
    FILE* file = std::fopen(p.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(size_t(kWidth) * 3);
    for (int y = 0; y < kHeight; ++y) {
      FillRow(y, row);
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return p;
  }();
  return path;
}

const fs::path& BmpScan() {
  static const fs::path path = [] {
    const fs::path p = Folder() / "scan.bmp";
    const uint32_t stride = (uint32_t(kWidth) * 3 + 3) & ~3u;
    uint8_t header[54] = {'B', 'M'};
    const auto put32 = [&](int at, uint32_t v) { std::memcpy(header + at, &v, 4); };
    put32(2, 54 + stride * uint32_t(kHeight));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(kWidth));
    put32(22, uint32_t(kHeight));
    header[26] = 1;
    header[28] = 24;
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    std::vector<uint8_t> rgb(size_t(kWidth) * 3);
    std::vector<uint8_t> bgr(stride);
    for (int y = kHeight - 1; y >= 0; --y) {  // bottom line first
      FillRow(y, rgb);
      for (int x = 0; x < kWidth; ++x) {
        bgr[3 * size_t(x)] = rgb[3 * size_t(x) + 2];
        bgr[3 * size_t(x) + 1] = rgb[3 * size_t(x) + 1];
        bgr[3 * size_t(x) + 2] = rgb[3 * size_t(x)];
      }
      out.write(reinterpret_cast<const char*>(bgr.data()), stride);
    }
    return p;
  }();
  return path;
}

// The peak memory since the last reset, and the reset (the kernel's high-water mark of the
// process's resident memory, which writing 5 to clear_refs sets back to the current size).
double PeakMiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

void Screens(benchmark::State& state, const fs::path& path) {
  using Clock = std::chrono::steady_clock;
  double first = 0;
  double firstCpu = 0;
  double later = 0;
  int screens = 0;
  ResetPeak();
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const double cpu0 = ProcessCpuSeconds();
    vornel::TiledPicture picture(vornel::OpenLargeImageSource(path.string()), kCanvasWidth, kCanvasHeight);
    vornel::ImageDevice canvas(kCanvasWidth, kCanvasHeight);
    const double fit = std::min(double(kCanvasWidth) / kWidth, double(kCanvasHeight) / kHeight);
    const int fittedWidth = int(kWidth * fit);
    const int fittedHeight = int(kHeight * fit);
    picture.Draw(canvas, vornel::Rect{0, 0, fittedWidth, fittedHeight}, vornel::Rect{0, 0, kWidth, kHeight});
    first += std::chrono::duration<double>(Clock::now() - t0).count();
    firstCpu += ProcessCpuSeconds() - cpu0;
    // Screens at 100 % across the page, as a user pans down the middle.
    for (int step = 0; step < 4; ++step) {
      const int x = 7000 + step * 1500;
      const int y = 3000 + step * 2500;
      const vornel::Rect visible{x, y, x + kCanvasWidth, y + kCanvasHeight};
      const auto t1 = Clock::now();
      picture.Prepare(visible, 1.0);
      picture.Draw(canvas, vornel::Rect{0, 0, kCanvasWidth, kCanvasHeight}, visible);
      later += std::chrono::duration<double>(Clock::now() - t1).count();
      ++screens;
    }
  }
  state.counters["first_screen_ms"] = 1000.0 * first / double(state.iterations());
  // The processor time of all the threads, which a busy machine does not stretch.
  state.counters["first_screen_cpu_ms"] = 1000.0 * firstCpu / double(state.iterations());
  state.counters["screen_100pct_ms"] = 1000.0 * later / std::max(1, screens);
  const double fileMiB = double(fs::file_size(path)) / (1 << 20);
  state.counters["peak_MiB"] = PeakMiB();
  state.counters["bound_MiB"] = 64 + 64 * fileMiB;
  state.counters["file_MiB"] = fileMiB;
}

void BM_JpegScan(benchmark::State& state) { Screens(state, JpegScan()); }
void BM_TiledLzwTiffScan(benchmark::State& state) { Screens(state, TiffScan()); }
void BM_PyramidTiffScan(benchmark::State& state) { Screens(state, PyramidTiffScan()); }
void BM_G4TiffScan(benchmark::State& state) { Screens(state, G4Scan()); }
void BM_GreyTiffScan(benchmark::State& state) { Screens(state, GreyTiffScan()); }
void BM_PngScan(benchmark::State& state) { Screens(state, PngScan()); }
void BM_BmpScan(benchmark::State& state) { Screens(state, BmpScan()); }

BENCHMARK(BM_JpegScan)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiledLzwTiffScan)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PyramidTiffScan)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_G4TiffScan)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GreyTiffScan)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngScan)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpScan)->Iterations(2)->Unit(benchmark::kMillisecond);

// The scans are removed however the run ends normally.
struct Cleanup {
  Cleanup() { Folder(); }  // made first, so the folder's path outlives this object
  ~Cleanup() {
    std::error_code ignored;
    fs::remove_all(Folder(), ignored);
  }
} cleanup;

}  // namespace
