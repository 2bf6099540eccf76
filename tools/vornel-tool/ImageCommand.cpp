// image IN OUT.pam: decodes an image file and writes it as a PAM file (RGB_ALPHA, 8 bits).

#include <cstdio>
#include <string>
#include <vector>

#include "ToolCommand.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/PLBmpDecoder.h"
#include "image/codec/PLPCXDecoder.h"
#include "image/codec/PLPGMDecoder.h"
#include "image/codec/PLPPMDecoder.h"
#include "image/codec/PLPSDDecoder.h"
#include "image/codec/PLTGADecoder.h"
#include "platform/io/FileIO.h"

namespace vornel::tool {

namespace {

// Picks one of the decoders by the first bytes of the data.
class SignatureDecoder : public PLPicDecoder {
 public:
  void MakeBmp(PLDataSource& source, PLBmp& bmp, int wantedBitsPerPixel) override {
    const uint8_t* b = source.GetBufferPtr(32);
    const int64_t size = source.GetFileSize();
    // Bytes beyond the data never match.
    const auto at = [&](int64_t i) { return i < size ? int(b[i]) : -1; };
    const auto is = [&](int64_t i, char c) { return at(i) == static_cast<uint8_t>(c); };
    const auto oneOf = [&](int64_t i, std::initializer_list<int> values) {
      for (const int v : values) if (at(i) == v) return true;
      return false;
    };
    PLPicDecoder* decoder = nullptr;
    if ((is(0, 'B') && oneOf(1, {'A', 'M'})) || (is(0, 'I') && is(1, 'C')) ||
        (is(0, 'C') && oneOf(1, {'P', 'I'}))) {
      decoder = &bmp_;
    } else if (oneOf(1, {0, 1}) && oneOf(2, {0, 1, 2, 3, 9, 10, 11}) && oneOf(7, {0, 8, 15, 16, 24, 32}) &&
               oneOf(16, {8, 15, 16, 24, 32})) {
      decoder = &tga_;
    } else if (at(0) == 10 && at(2) == 1) {
      decoder = &pcx_;
    } else if (is(0, 'P') && oneOf(1, {'2', '5'})) {
      decoder = &pgm_;
    } else if (is(0, 'P') && oneOf(1, {'3', '6'})) {
      decoder = &ppm_;
    } else if (is(0, '8') && is(1, 'B') && is(2, 'P') && is(3, 'S')) {
      decoder = &psd_;
    } else {
      RaiseError(kPLErrUnknownFileType, "Unknown file type.");
    }
    decoder->MakeBmp(source, bmp, wantedBitsPerPixel);
  }

 private:
  PLBmpDecoder bmp_;
  PLTGADecoder tga_;
  PLPCXDecoder pcx_;
  PLPGMDecoder pgm_;
  PLPPMDecoder ppm_;
  PLPSDDecoder psd_;
};

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
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: vornel-tool image IN OUT.pam\n");
    return 2;
  }
  PLAnyBmp bmp;
  try {
    SignatureDecoder decoder;
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
