#include "image/codec/native/PLTGADecoder.h"

#include <algorithm>

namespace vornel {

namespace {

struct TgaHeader {
  uint8_t idLength = 0;
  uint8_t colorMapType = 0;
  uint8_t imageType = 0;
  uint16_t colorMapFirst = 0;
  uint16_t colorMapLength = 0;
  uint8_t colorMapEntrySize = 0;
  uint16_t xOrigin = 0;
  uint16_t yOrigin = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t pixelDepth = 0;
  uint8_t descriptor = 0;
};

constexpr uint8_t kTopFirst = 0x20;
constexpr uint8_t kRightFirst = 0x10;

int BytesPerPixel(int depth) {
  if (depth == 15 || depth == 16) return 2;
  if (depth == 24) return 3;
  if (depth == 32) return 4;
  return 1;
}

// One pixel of `depth` bits as a 32-bit colour (15 and 16 bits are 5-5-5 words).
PLPixel32 ColorOf(const uint8_t* p, int depth) {
  switch (depth) {
    case 15:
    case 16: {
      const unsigned v = p[0] | (p[1] << 8);
      return PLPixel32::From555(v, depth == 15 ? 255 : ((v & 0x8000) ? 128 : 0));
    }
    case 24:
      return PLPixel32{p[0], p[1], p[2], 255};
    default:
      return PLPixel32{p[0], p[1], p[2], p[3]};
  }
}

// Reads pixels of one depth into bitmap lines; run-length packets may run on into the next
// line, as many writers store them.
class TgaPixelReader {
 public:
  // Grey pixels of 16 bits are a grey byte and an alpha byte.
  TgaPixelReader(PLDataSource& source, int depth, bool indexed, bool greyAlpha)
      : source_(source), depth_(depth), bytes_(BytesPerPixel(depth)), indexed_(indexed), greyAlpha_(greyAlpha) {}

  void ReadRawRow(uint8_t* line, int width) {
    const uint8_t* in = source_.ReadNBytes(int64_t(width) * bytes_);
    for (int x = 0; x < width; ++x) Put(line, x, in + x * bytes_);
  }

  void ReadRleRow(uint8_t* line, int width) {
    int x = 0;
    while (x < width) {
      if (left_ == 0) {
        const int header = source_.ReadByte();
        isRun_ = header >= 0x80;
        left_ = isRun_ ? header - 127 : header + 1;
        if (isRun_) runPixel_ = source_.ReadNBytes(bytes_);
      }
      const int count = std::min(left_, width - x);
      // A run repeats its one pixel; a raw packet steps through its pixels.
      const uint8_t* in = isRun_ ? runPixel_ : source_.ReadNBytes(int64_t(count) * bytes_);
      const int step = isRun_ ? 0 : bytes_;
      for (int i = 0; i < count; ++i) Put(line, x + i, in + i * step);
      x += count;
      left_ -= count;
    }
  }

 private:
  void Put(uint8_t* line, int x, const uint8_t* p) const {
    if (indexed_) line[x] = p[0];
    else if (greyAlpha_) reinterpret_cast<PLPixel32*>(line)[x] = PLPixel32{p[0], p[0], p[0], p[1]};
    else reinterpret_cast<PLPixel32*>(line)[x] = ColorOf(p, depth_);
  }

  PLDataSource& source_;
  int depth_;
  int bytes_;
  bool indexed_;
  bool greyAlpha_;
  int left_ = 0;  // pixels still to come from the current packet
  bool isRun_ = false;
  const uint8_t* runPixel_ = nullptr;
};

}  // namespace

void PLTGADecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  Trace(2, "Decoding TGA.\n");
  TgaHeader header;
  header.idLength = source.ReadByte();
  header.colorMapType = source.ReadByte();
  header.imageType = source.ReadByte();
  header.colorMapFirst = source.ReadLE16();
  header.colorMapLength = source.ReadLE16();
  header.colorMapEntrySize = source.ReadByte();
  header.xOrigin = source.ReadLE16();
  header.yOrigin = source.ReadLE16();
  header.width = source.ReadLE16();
  header.height = source.ReadLE16();
  header.pixelDepth = source.ReadByte();
  header.descriptor = source.ReadByte();
  source.ReadNBytes(header.idLength);

  const int depth = header.pixelDepth;
  const bool trueColor = depth == 15 || depth == 16 || depth == 24 || depth == 32;
  if (header.imageType >= 1 && header.imageType <= 3) {
    RequireLines(source, int64_t(header.width) * BytesPerPixel(depth), header.height);
  } else if (header.imageType >= 9 && header.imageType <= 11) {
    // A packet of a header byte and at least one pixel gives at most 128 pixels.
    const int64_t packets = (int64_t(header.width) * header.height + 127) / 128;
    RequireLines(source, 1 + BytesPerPixel(depth), packets);
  }
  const int type = header.imageType;
  const bool grey = type == 3 || type == 11;
  const bool greyAlpha = grey && depth == 16;
  bmp.Create(header.width, header.height, trueColor ? 32 : 8, depth == 16 || depth == 32);

  if (header.colorMapType != 0) {
    // Entries wrap around the 256-entry palette. A true-colour image has no palette to
    // fill, and entry sizes other than 15, 16, 24 and 32 bits have no colour form: both
    // are read past.
    const int entrySize = header.colorMapEntrySize;
    const bool known = entrySize == 15 || entrySize == 16 || entrySize == 24 || entrySize == 32;
    const int entryBytes = known ? BytesPerPixel(entrySize) : (entrySize + 7) / 8;
    const uint8_t* map = source.ReadNBytes(int64_t(header.colorMapLength) * entryBytes);
    if (PLPixel32* palette = bmp.GetPalette(); palette != nullptr && known) {
      for (int i = 0; i < header.colorMapLength; ++i) {
        palette[(header.colorMapFirst + i) % 256] = ColorOf(map + i * entryBytes, entrySize);
      }
    }
  }
  if (grey && !greyAlpha) bmp.SetGrayPalette();
  const bool rle = type >= 9 && type <= 11;
  if (!(type >= 1 && type <= 3) && !rle) RaiseError(2, "Unknown TGA image type.");

  PLBmpLock lock(bmp, false, true);
  TgaPixelReader reader(source, depth, !trueColor, greyAlpha);
  const bool topFirst = (header.descriptor & kTopFirst) != 0;
  const bool rightFirst = (header.descriptor & kRightFirst) != 0;
  const int height = bmp.GetHeight();
  const int width = bmp.GetWidth();
  for (int y = 0; y < height; ++y) {
    uint8_t* line = bmp.GetLineArray()[topFirst ? y : height - 1 - y];
    if (rle) reader.ReadRleRow(line, width);
    else reader.ReadRawRow(line, width);
    if (!rightFirst) continue;
    if (trueColor) std::reverse(reinterpret_cast<PLPixel32*>(line), reinterpret_cast<PLPixel32*>(line) + width);
    else std::reverse(line, line + width);
  }
}

}  // namespace vornel
