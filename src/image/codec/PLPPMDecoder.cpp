#include "image/codec/PLPPMDecoder.h"

#include "image/codec/PLPnmReader.h"

namespace vornel {

void PLPPMDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  Trace(2, "Decoding PPM.\n");
  PLPnmReader reader(source);
  const auto header = reader.ReadHeader('3', '6', "PPM decoder: Is not the correct identifier P3 or P6.");
  bmp.Create(header.width, header.height, 32, false);
  const int64_t max = header.maxValue;
  // Samples are 8-bit; with a smaller maximum they are stretched to 0..255.
  const auto scale = [max](int64_t sample) { return static_cast<uint8_t>(max == 255 ? sample : sample * 255 / max); };
  const int width = bmp.GetWidth();
  if (header.type == 0) reader.SkipWhiteSpace();
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    auto* out = reinterpret_cast<PLPixel32*>(bmp.GetLineArray()[y]);
    if (header.type == 1) {
      const uint8_t* in = source.ReadNBytes(int64_t(width) * 3);
      for (int x = 0; x < width; ++x) out[x] = PLPixel32::FromRgba(scale(in[3 * x]), scale(in[3 * x + 1]), scale(in[3 * x + 2]));
    } else {
      for (int x = 0; x < width; ++x) {
        uint8_t rgb[3];
        for (uint8_t& sample : rgb) {
          reader.SkipWhiteSpace();
          sample = scale(reader.ReadNumber() & 0xFF);
        }
        out[x] = PLPixel32::FromRgba(rgb[0], rgb[1], rgb[2]);
      }
    }
  }
}

}  // namespace vornel
