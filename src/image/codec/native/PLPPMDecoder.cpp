#include "image/codec/native/PLPPMDecoder.h"

#include "image/codec/native/PLPnmReader.h"

namespace vornel {

void PLPPMDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  Trace(2, "Decoding PPM.\n");
  PLPnmReader reader(source);
  const auto header = reader.ReadHeader('3', '6', "PPM decoder: Is not the correct identifier P3 or P6.");
  if (header.type == 1) RequireLines(source, header.width * 3 * header.BytesPerSample(), header.height);
  // A text sample takes a byte at the least: a few bytes that declare a huge picture never fill one.
  else RequirePixels(source.GetBytesLeft(), header.width, header.height, 1);
  bmp.Create(header.width, header.height, 32, false);
  const auto scale = [&header](int64_t sample) { return header.Level(sample); };
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    auto* out = reinterpret_cast<PLPixel32*>(bmp.GetLineArray()[y]);
    const bool more = reader.ReadLine(header, bmp.GetWidth(), 3, [&](int x, const int64_t* rgb) {
      out[x] = PLPixel32::FromRgba(scale(rgb[0]), scale(rgb[1]), scale(rgb[2]));
    });
    if (!more) break;
  }
}

}  // namespace vornel
