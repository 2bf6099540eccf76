// image IN OUT.pam [--scale 1/N] [--region X,Y,W,H]: decodes an image file of any format the
// system reads (picked by its name or first bytes) and writes it as a PAM file (RGB_ALPHA,
// 8 bits). With --scale or --region the picture is read in parts, as the viewer reads large
// scans: only the region, reduced by N (a power of two).

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
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

std::string PamOf(const PLBmp& bmp) {
  PLAnyBmp rgba;
  rgba.CreateCopy(bmp, 32);
  std::string pam = "P7\nWIDTH " + std::to_string(rgba.GetWidth()) + "\nHEIGHT " + std::to_string(rgba.GetHeight()) +
                    "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  for (int y = 0; y < rgba.GetHeight(); ++y) {
    const auto* pixels = reinterpret_cast<const PLPixel32*>(rgba.GetLineArray()[y]);
    for (int x = 0; x < rgba.GetWidth(); ++x) {
      const PLPixel32 p = pixels[x];
      pam += static_cast<char>(p.r);
      pam += static_cast<char>(p.g);
      pam += static_cast<char>(p.b);
      pam += static_cast<char>(bmp.HasAlpha() ? p.a : 255);
    }
  }
  return pam;
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
  if (!WriteFileAtomically(args[1], PamOf(bmp), &error)) {
    std::fprintf(stderr, "cannot write %s: %s\n", args[1].c_str(), error.c_str());
    return 1;
  }
  return 0;
}

const ToolCommand registration("image", "image IN OUT.pam [--scale 1/N] [--region X,Y,W,H]",
                               "decode an image file (or a region, reduced) and write it as PAM", Image);

}  // namespace

}  // namespace vornel::tool
