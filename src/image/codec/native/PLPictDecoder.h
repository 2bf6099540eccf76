#pragma once
// Reads the first bitmap of a Macintosh PICT picture (versions 1 and 2): it walks the opcode
// stream only as far as needed to pass over drawing commands and decodes the first
// monochrome bitmap, indexed or direct pixel map, or embedded JPEG stream. A picture that
// holds only vector drawing is refused with code 6.

#include <array>
#include <vector>

#include "image/codec/PLPicDecoder.h"

namespace vornel {

struct PictRect {
  int16_t top = 0;
  int16_t left = 0;
  int16_t bottom = 0;
  int16_t right = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

struct PictPixMap {
  uint16_t version = 0;
  uint16_t packType = 0;
  uint32_t packSize = 0;
  uint32_t hRes = 0;
  uint32_t vRes = 0;
  uint16_t pixelType = 0;
  uint16_t pixelSize = 0;
  uint16_t cmpCount = 0;
  uint16_t cmpSize = 0;
  uint32_t planeBytes = 0;
  uint32_t pmTable = 0;
  uint32_t pmReserved = 0;
};

class PLPictDecoder : public PLPicDecoder {
 public:
  // `jpegDecoder` (not owned, may be null) decodes JPEG data held in the picture.
  explicit PLPictDecoder(PLPicDecoder* jpegDecoder = nullptr) : jpegDecoder_(jpegDecoder) {}

 protected:
  void DoDecode(PLBmp& bmp, PLDataSource& source) override;

 private:
  using Palette = std::array<PLPixel32, 256>;

  void ReadVersion(PLDataSource& source);
  int ReadOpcode(PLDataSource& source);
  // Interprets one opcode; true when it decoded the bitmap.
  bool Interpret(int opcode, PLBmp& bmp, PLDataSource& source);
  void ReadHeaderOpcode(PLDataSource& source);
  void ReadJpegOpcode(PLBmp& bmp, PLDataSource& source);
  void SkipPixPattern(PLDataSource& source);
  void ReadBitmapOpcode(int opcode, PLBmp& bmp, PLDataSource& source);
  void ReadDirectPixMapOpcode(PLBmp& bmp, PLDataSource& source);

  static PictRect ReadRect(PLDataSource& source);
  static PictPixMap ReadPixMap(PLDataSource& source);
  static void TracePixMap(const PictRect& bounds, const PictPixMap& pixMap);
  static void ReadColourTable(PLDataSource& source, Palette& palette);
  static void SkipRegion(PLDataSource& source);
  static void CreateForPixMap(PLBmp& bmp, const PictRect& bounds, const PictPixMap& pixMap);
  static void ReadRows(PLBmp& bmp, PLDataSource& source, int pixelSize, int components, int64_t rowBytes);
  static void ReadIndexedRows(PLBmp& bmp, PLDataSource& source, int64_t rowBytes);
  static void ReadDirectRows(PLBmp& bmp, PLDataSource& source, int components, int64_t rowBytes);
  static void ReadUnpackedRows(PLBmp& bmp, PLDataSource& source, int pixelSize, int64_t rowBytes);
  // The packed length before a row: a byte when the row holds at most 250 bytes.
  static int64_t ReadPackedLength(PLDataSource& source, int64_t rowBytes);
  // One row of `rowBytes` into `row`: below 8 bytes as they stand, else PackBits data (in
  // units of two bytes when `pairs`) after its packed length. What it does not fill is 0.
  static void ReadRow(PLDataSource& source, int64_t rowBytes, bool pairs, std::span<uint8_t> row);

  PLPicDecoder* jpegDecoder_;
  int version_ = 0;
  int32_t resolutionX_ = 0;
  int32_t resolutionY_ = 0;
};

}  // namespace vornel
