// image IN OUT.pam [--scale 1/N] [--region X,Y,W,H]: decodes an image file of any format the
// system reads (picked by its name or first bytes) and writes it as a PAM file (RGB_ALPHA,
// 8 bits). With --scale or --region the picture is read in parts, as the viewer reads large
// scans: only the region, reduced by N (a power of two).

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "ToolCommand.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/PLAnyPicDecoder.h"
#include "image/large/LargeImageSource.h"
#include "platform/io/FileIO.h"

namespace vornel::tool {

namespace {

// Writes `bmp` as a PAM file (RGB_ALPHA, 8 bits) a band of rows at a time: bitmaps of 1 to 8
// bits are expanded through their palette row by row, never as a whole 32-bit copy.
bool WritePam(const std::string& path, const PLBmp& bmp, std::string* error) {
  AtomicFile file;
  if (!file.Open(path, error)) return false;
  const int width = bmp.GetWidth();
  const int bits = bmp.GetBitsPerPixel();
  const bool alpha = bmp.HasAlpha();
  if (!file.Write("P7\nWIDTH " + std::to_string(width) + "\nHEIGHT " + std::to_string(bmp.GetHeight()) +
                  "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", error)) {
    return false;
  }
  const auto rgba = [alpha](PLPixel32 p) {
    return std::array<uint8_t, 4>{p.r, p.g, p.b, alpha ? p.a : uint8_t(255)};
  };
  // The four bytes of every index, and for 1 bit the 32 bytes of every byte of eight pixels.
  std::array<std::array<uint8_t, 4>, 256> colours{};
  std::vector<std::array<uint8_t, 32>> eights;
  if (bits <= 8) {
    for (int i = 0; i < (1 << bits); ++i) colours[size_t(i)] = rgba(bmp.GetPalette()[i]);
  }
  if (bits == 1) {
    eights.resize(256);
    for (int b = 0; b < 256; ++b) {
      for (int k = 0; k < 8; ++k) std::memcpy(eights[size_t(b)].data() + 4 * k, colours[(b >> (7 - k)) & 1].data(), 4);
    }
  }
  const size_t rowBytes = size_t(width) * 4;
  const int bandRows = std::max(1, int((size_t(1) << 20) / rowBytes));
  std::vector<uint8_t> band(rowBytes * size_t(bandRows) + 32);
  std::vector<PLPixel32> line(bits > 8 ? size_t(width) : 0);
  for (int top = 0; top < bmp.GetHeight(); top += bandRows) {
    const int rows = std::min(bandRows, bmp.GetHeight() - top);
    for (int r = 0; r < rows; ++r) {
      const uint8_t* in = bmp.GetLineArray()[top + r];
      uint8_t* out = band.data() + size_t(r) * rowBytes;
      if (bits == 1) {
        // Whole bytes of eight pixels; the last may spill into the next row, written over next.
        for (int x = 0; x < width; x += 8) std::memcpy(out + 4 * size_t(x), eights[in[x >> 3]].data(), 32);
      } else if (bits == 8) {
        for (int x = 0; x < width; ++x) std::memcpy(out + 4 * size_t(x), colours[in[x]].data(), 4);
      } else if (bits < 8) {
        for (int x = 0; x < width; ++x) {
          const int index = (in[x * bits / 8] >> (8 - bits - (x * bits) % 8)) & ((1 << bits) - 1);
          std::memcpy(out + 4 * size_t(x), colours[size_t(index)].data(), 4);
        }
      } else {
        PLBmp::ExpandLine(in, bits, nullptr, width, line.data());
        for (int x = 0; x < width; ++x) std::memcpy(out + 4 * size_t(x), rgba(line[size_t(x)]).data(), 4);
      }
    }
    if (!file.Write(std::span<const uint8_t>(band.data(), rowBytes * size_t(rows)), error)) return false;
  }
  return file.Commit(error);
}

// "X,Y,W,H" with four whole numbers.
bool ParseRegion(const std::string& text, ImageRegion& region) {
  int32_t* fields[] = {&region.x, &region.y, &region.width, &region.height};
  size_t at = 0;
  for (size_t i = 0; i < 4; ++i) {
    const size_t end = i < 3 ? text.find(',', at) : text.size();
    if (end == std::string::npos) return false;
    const std::string field = text.substr(at, end - at);
    char* stop = nullptr;
    const long value = std::strtol(field.c_str(), &stop, 10);
    if (field.empty() || *stop != 0 || value < 0 || value > INT32_MAX) return false;
    *fields[i] = static_cast<int32_t>(value);
    at = end + 1;
  }
  return true;
}

int Image(const CommandArguments& args) {
  if (args.size() < 2) return PrintUsage("image");
  int factor = 0;
  std::optional<ImageRegion> region;
  for (size_t i = 2; i < args.size(); ++i) {
    if (args[i] == "--scale" && i + 1 < args.size() && args[i + 1].starts_with("1/")) {
      factor = std::atoi(args[++i].c_str() + 2);
      if (factor < 1 || factor > LargeImageSource::kMaxFactor || (factor & (factor - 1)) != 0) {
        return PrintUsage("image");
      }
    } else if (args[i] == "--region" && i + 1 < args.size()) {
      region.emplace();
      if (!ParseRegion(args[++i], *region)) return PrintUsage("image");
    } else {
      return PrintUsage("image");
    }
  }
  PLAnyBmp bmp;
  try {
    if (factor != 0 || region) {
      const auto source = OpenLargeImageSource(args[0]);
      source->Read(region.value_or(ImageRegion{0, 0, source->Width(), source->Height()}), std::max(factor, 1), bmp);
    } else {
      PLAnyPicDecoder decoder;
      decoder.MakeBmpFromFile(args[0], bmp);
    }
  } catch (const PLTextException& e) {
    std::string text = e.GetText();
    while (!text.empty() && text.back() == '\n') text.pop_back();
    std::fprintf(stderr, "error %d: %s\n", e.GetCode(), text.c_str());
    return 1;
  }
  std::printf("%dx%d %d alpha=%d dpi=%d,%d\n", bmp.GetWidth(), bmp.GetHeight(), bmp.GetBitsPerPixel(),
              bmp.HasAlpha() ? 1 : 0, bmp.GetResolution().x, bmp.GetResolution().y);
  std::string error;
  if (!WritePam(args[1], bmp, &error)) {
    std::fprintf(stderr, "cannot write %s: %s\n", args[1].c_str(), error.c_str());
    return 1;
  }
  return 0;
}

const ToolCommand registration("image", "image IN OUT.pam [--scale 1/N] [--region X,Y,W,H]",
                               "decode an image file (or a region, reduced) and write it as PAM", Image);

}  // namespace

}  // namespace vornel::tool
