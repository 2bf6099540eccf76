#include "image/codec/PLPGMDecoder.h"

#include "image/codec/PLPnmReader.h"

namespace vornel {

void PLPGMDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  Trace(2, "Decoding PGM.\n");
  PLPnmReader reader(source);
  const auto header = reader.ReadHeader('2', '5', "PGM decoder: Is not the correct identifier P5 or P2.");
  // The grey palette that Create sets makes each index its grey level.
  bmp.Create(header.width, header.height, 8, false);
  const int64_t max = header.maxValue;
  const auto level = [max](int64_t sample) { return static_cast<uint8_t>(sample * 255 / max); };
  const int width = bmp.GetWidth();
  if (header.type == 0) reader.SkipWhiteSpace();
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    uint8_t* out = bmp.GetLineArray()[y];
    if (header.type == 1) {
      const uint8_t* in = source.ReadNBytes(width);
      for (int x = 0; x < width; ++x) out[x] = level(in[x]);
    } else {
      for (int x = 0; x < width; ++x) {
        reader.SkipWhiteSpace();
        out[x] = level(reader.ReadNumber());
      }
    }
  }
}

}  // namespace vornel
