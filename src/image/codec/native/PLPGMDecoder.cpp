#include "image/codec/native/PLPGMDecoder.h"

#include "image/codec/native/PLPnmReader.h"

namespace vornel {

void PLPGMDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  Trace(2, "Decoding PGM.\n");
  PLPnmReader reader(source);
  const auto header = reader.ReadHeader('2', '5', "PGM decoder: Is not the correct identifier P5 or P2.");
  if (header.type == 1) RequireLines(source, header.width * header.BytesPerSample(), header.height);
  // A text sample takes a byte at the least: a few bytes that declare a huge picture never fill one.
  else RequirePixels(source.GetBytesLeft(), header.width, header.height, 1);
  // The grey palette that Create sets makes each index its grey level.
  bmp.Create(header.width, header.height, 8, false);
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    uint8_t* out = bmp.GetLineArray()[y];
    const bool more = reader.ReadLine(header, bmp.GetWidth(), 1, [&](int x, const int64_t* level) {
      out[x] = header.Level(*level);
    });
    if (!more) break;
  }
}

}  // namespace vornel
