#include "image/codec/PLPPMDecoder.h"

#include "image/codec/PLPnmReader.h"

namespace vornel {

void PLPPMDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  Trace(2, "Decoding PPM.\n");
  PLPnmReader reader(source);
  const auto header = reader.ReadHeader('3', '6', "PPM decoder: Is not the correct identifier P3 or P6.");
  if (header.type == 1) RequireLines(source, header.width * 3, header.height);
  bmp.Create(header.width, header.height, 32, false);
  // Samples are 8-bit (text ones keep their low 8 bits); with a smaller maximum they are
  // stretched to 0..255.
  const int64_t max = header.maxValue;
  const auto scale = [max](int64_t sample) {
    sample &= 0xFF;
    return static_cast<uint8_t>(max == 255 ? sample : sample * 255 / max);
  };
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    auto* out = reinterpret_cast<PLPixel32*>(bmp.GetLineArray()[y]);
    const bool more = reader.ReadLine(header, bmp.GetWidth(), 3, [&](int x, const int64_t* rgb) {
      out[x] = PLPixel32::FromRgba(scale(rgb[0]), scale(rgb[1]), scale(rgb[2]));
    });
    if (!more) break;
  }
}

}  // namespace vornel
