// image IN OUT.pam: decodes an image file of any format the system reads (picked by its name
// or first bytes) and writes it as a PAM file (RGB_ALPHA, 8 bits).

#include <cstdio>
#include <string>
#include <vector>

#include "ToolCommand.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/PLAnyPicDecoder.h"
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

int Image(const CommandArguments& args) {
  if (args.size() != 2) return PrintUsage("image");
  PLAnyBmp bmp;
  try {
    PLAnyPicDecoder decoder;
    decoder.MakeBmpFromFile(args[0], bmp);
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

const ToolCommand registration("image", "image IN OUT.pam", "decode an image file and write it as PAM", Image);

}  // namespace

}  // namespace vornel::tool
