#include "image/codec/native/PLPCXDecoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "image/bitmap/PLByteOrder.h"

namespace vornel {

namespace {

// The fields of the 128-byte header the decoder uses.
struct PcxHeader {
  uint8_t manufacturer = 0;
  uint8_t encoding = 0;
  uint8_t bitsPerPixel = 0;
  uint16_t xMin = 0;
  uint16_t yMin = 0;
  uint16_t xMax = 0;
  uint16_t yMax = 0;
  uint16_t hRes = 0;
  uint16_t vRes = 0;
  std::array<uint8_t, 48> palette{};
  uint8_t planes = 0;
  uint16_t bytesPerLine = 0;
};

PcxHeader ReadHeader(PLDataSource& source) {
  const uint8_t* p = source.ReadNBytes(128);
  PcxHeader header;
  header.manufacturer = p[0];
  header.encoding = p[2];
  header.bitsPerPixel = p[3];
  header.xMin = PLReadLE16(p + 4);
  header.yMin = PLReadLE16(p + 6);
  header.xMax = PLReadLE16(p + 8);
  header.yMax = PLReadLE16(p + 10);
  header.hRes = PLReadLE16(p + 12);
  header.vRes = PLReadLE16(p + 14);
  std::memcpy(header.palette.data(), p + 16, 48);
  header.planes = p[65];
  header.bytesPerLine = PLReadLE16(p + 66);
  return header;
}

}  // namespace

void PLPCXDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  Trace(2, "Decoding PCX.\n");
  const PcxHeader header = ReadHeader(source);
  if (header.manufacturer != 10) RaiseError(1, "Error decoding pcx: Not a PCX file.");
  if (header.encoding != 1) RaiseError(1, "File has unknown encoding scheme.");

  const int64_t width = int64_t(header.xMax) - header.xMin + 1;
  const int64_t height = int64_t(header.yMax) - header.yMin + 1;
  const int bits = header.bitsPerPixel;
  const int planes = header.planes;
  if (bits == 1) {
    if (planes > 4) RaiseError(2, "Can't handle image with more than 4 planes.");
  } else if (!((bits == 2 || bits == 4 || bits == 8) && (planes == 1 || planes == 3)) && !(bits == 8 && planes == 4)) {
    RaiseError(2, "Can't handle bits per pixel image with planes.");
  }
  if (planes == 0) RaiseError(2, "Can't handle bits per pixel image with planes.");
  // A plane's line must hold the whole width, or pixels would come from the next line.
  const int bytesPerLine = header.bytesPerLine;
  if (int64_t(bytesPerLine) * 8 < width * bits) RaiseError(2, "Bytes per line don't cover the image width.");

  // Run-length decode the whole image at once: runs may cross lines and planes. A run
  // gives at most 63 bytes for 2, so a larger image than that cannot be in the data.
  const int64_t lineBytes = int64_t(bytesPerLine) * planes;
  const int64_t total = lineBytes * height;
  if (total > 32 * source.GetBytesLeft()) PLDataSource::RaiseEndOfData();
  // Only now that the header holds together is the bitmap made; a maximum below its
  // minimum gives no size, which Create refuses.
  // Four planes of 8 bits are red, green, blue and alpha.
  const bool alpha = bits == 8 && planes == 4;
  bmp.Create(width, height, 32, alpha);
  std::vector<uint8_t> image(static_cast<size_t>(total));
  // Decoded straight from the data, which is consumed in one piece afterwards.
  const uint8_t* in = source.GetBufferPtr(0);
  const int64_t available = source.GetBytesLeft();
  int64_t used = 0;
  for (int64_t done = 0; done < total;) {
    if (used == available) PLDataSource::RaiseEndOfData();
    const uint8_t b = in[used++];
    if ((b & 0xC0) == 0xC0) {
      const int count = b & 0x3F;
      if (used == available) PLDataSource::RaiseEndOfData();
      const uint8_t value = in[used++];
      if (count > total - done) RaiseError(7, "repeat count spans end of image.");
      std::memset(image.data() + done, value, static_cast<size_t>(count));
      done += count;
    } else {
      image[static_cast<size_t>(done++)] = b;
    }
  }
  source.ReadNBytes(used);

  std::array<PLPixel32, 256> palette{};
  for (int i = 0; i < 16; ++i) {
    const uint8_t* rgb = header.palette.data() + 3 * i;
    palette[i] = PLPixel32::FromRgba(rgb[0], rgb[1], rgb[2]);
  }
  if (bits == 8 && planes == 1) {
    source.ReadByte();  // the marker in front of the 256-colour palette
    const uint8_t* rgb = source.ReadNBytes(768);
    for (int i = 0; i < 256; ++i) palette[i] = PLPixel32::FromRgba(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  } else if (bits == 1 && planes == 1) {
    palette[0] = PLPixel32::FromRgba(0, 0, 0);
    palette[1] = PLPixel32::FromRgba(255, 255, 255);
  }

  PLBmpLock lock(bmp, false, true);
  const int w = bmp.GetWidth();
  std::vector<uint8_t> indices(static_cast<size_t>(w) + size_t(bytesPerLine) * 8);
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    const uint8_t* data = image.data() + y * lineBytes;
    auto* out = reinterpret_cast<PLPixel32*>(bmp.GetLineArray()[y]);
    if (bits == 8 && planes >= 3) {
      const uint8_t* a = alpha ? data + 3 * bytesPerLine : nullptr;
      for (int x = 0; x < w; ++x) {
        out[x] = PLPixel32::FromRgba(data[x], data[bytesPerLine + x], data[2 * bytesPerLine + x], a ? a[x] : 255);
      }
      continue;
    }
    if (planes == 1) {
      PLBmp::UnpackIndices(data, bits, int64_t(bytesPerLine) * (8 / bits), indices.data());
    } else {
      if (planes > 4) RaiseError(7, "Can't handle more than 4 planes.");
      if (bits != 1) RaiseError(7, "Can't handle more than 1 bit per pixel.");
      std::fill(indices.begin(), indices.end(), 0);
      for (int p = 0; p < planes; ++p) {
        const uint8_t* plane = data + p * bytesPerLine;
        for (int x = 0; x < bytesPerLine * 8; ++x) {
          if (plane[x >> 3] & (0x80 >> (x & 7))) indices[static_cast<size_t>(x)] += static_cast<uint8_t>(1 << p);
        }
      }
    }
    for (int x = 0; x < w; ++x) out[x] = palette[indices[static_cast<size_t>(x)]];
  }
  bmp.SetResolution({header.hRes, header.vRes});
}

}  // namespace vornel
