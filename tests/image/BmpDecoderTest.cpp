#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "support/Bytes.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/codec/native/PLBmpDecoder.h"

namespace vornel {
namespace {

using testing::ByteWriter;
using testing::ColorAt;
using testing::DecodeCode;

std::vector<PLPixel32> Palette(std::initializer_list<uint32_t> rgb) {
  std::vector<PLPixel32> out;
  for (const uint32_t c : rgb) out.push_back(PLPixel32::FromRgba((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, 0));
  return out;
}

// A Windows bitmap with a 40-byte information header.
class WindowsBmp {
 public:
  WindowsBmp(int32_t width, int32_t height, int bits) : width_(width), height_(height), bits_(bits) {}
  WindowsBmp& Compression(uint32_t compression) { compression_ = compression; return *this; }
  WindowsBmp& Colors(std::vector<PLPixel32> palette) { palette_ = std::move(palette); return *this; }
  // Masks (compression 3), or a gap between the palette and the pixel data.
  WindowsBmp& AfterHeader(std::string_view hex) { afterHeader_ = testing::HexBytes(hex); return *this; }
  WindowsBmp& Pixels(std::string_view hex) { pixels_ = testing::HexBytes(hex); return *this; }
  WindowsBmp& PixelsPerMetre(int32_t ppm) { ppm_ = ppm; return *this; }
  WindowsBmp& ColorsUsed(uint32_t count) { colorsUsed_ = count; return *this; }

  std::vector<uint8_t> Bytes() const {
    const auto offset = static_cast<uint32_t>(14 + 40 + 4 * palette_.size() + afterHeader_.size());
    ByteWriter w;
    w.Text("BM").LE32(0).LE16(0).LE16(0).LE32(offset);
    w.LE32(40).LE32(static_cast<uint32_t>(width_)).LE32(static_cast<uint32_t>(height_)).LE16(1).LE16(bits_);
    w.LE32(compression_).LE32(0).LE32(ppm_).LE32(ppm_);
    w.LE32(colorsUsed_ >= 0 ? static_cast<uint32_t>(colorsUsed_) : static_cast<uint32_t>(palette_.size())).LE32(0);
    if (compression_ == 3) w.Bytes(afterHeader_);
    for (const PLPixel32 p : palette_) w.U8(p.b).U8(p.g).U8(p.r).U8(0);
    if (compression_ != 3) w.Bytes(afterHeader_);
    return w.Bytes(pixels_).bytes();
  }

 private:
  int32_t width_;
  int32_t height_;
  int bits_;
  uint32_t compression_ = 0;
  std::vector<PLPixel32> palette_;
  std::vector<uint8_t> afterHeader_;
  std::vector<uint8_t> pixels_;
  int32_t ppm_ = 2835;
  int64_t colorsUsed_ = -1;  // the palette's size
};

std::string Indices(const PLBmp& bmp, int y) {
  std::string out;
  for (int x = 0; x < bmp.GetWidth(); ++x) out += static_cast<char>('0' + bmp.GetLineArray()[y][x]);
  return out;
}

int Decode(const std::vector<uint8_t>& bytes, PLBmp& bmp, std::string* text = nullptr) {
  PLBmpDecoder decoder;
  return DecodeCode(decoder, bytes, bmp, text);
}

TEST(BmpDecoder, OneBitWidthNineReadsTwoBytesAndPaddingPerLine) {
  // Bottom line first; the ninth pixel comes from the top bit of the second byte.
  const auto file = WindowsBmp(9, 2, 1).Colors(Palette({0x000000, 0xFF0000})).Pixels("55 80 EE EE  FF 00 EE EE");
  PLAnyBmp bmp;
  ASSERT_EQ(Decode(file.Bytes(), bmp), 0);
  EXPECT_EQ(bmp.GetBitsPerPixel(), 8);
  EXPECT_EQ(Indices(bmp, 1), "010101011");
  EXPECT_EQ(Indices(bmp, 0), "111111110");
  EXPECT_EQ(ColorAt(bmp, 1, 1), "#FF0000");
  EXPECT_EQ(bmp.GetPalette()[1].a, 255);  // palette alpha is set whatever the file says
}

TEST(BmpDecoder, ArrayHeadersPrecedeAnOs2Bitmap) {
  // Two "BA" array headers, then an OS/2 1.x bitmap whose data offset counts them.
  ByteWriter w;
  for (int i = 0; i < 2; ++i) w.Text("BA").LE32(0).LE16(0).LE16(0).LE32(0);
  const uint32_t offset = 28 + 26 + 2 * 3 + 4;  // headers, 2 palette entries, a 4-byte gap
  w.Text("BM").LE32(0).LE16(0).LE16(0).LE32(offset);
  w.LE32(12).LE16(3).LE16(1).LE16(1).LE16(1);
  w.U8(0x00).U8(0x00).U8(0xFF).U8(0xFF).U8(0xFF).U8(0xFF);  // red, white (blue, green, red)
  w.Fill(4, 0xEE).Bytes(testing::HexBytes("A0 00 00 00"));
  PLAnyBmp bmp;
  ASSERT_EQ(Decode(w.bytes(), bmp), 0);
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#FFFFFF");
  EXPECT_EQ(ColorAt(bmp, 1, 0), "#FF0000");
  EXPECT_EQ(ColorAt(bmp, 2, 0), "#FFFFFF");
  EXPECT_EQ(bmp.GetResolution(), (PLPoint{150, 150}));  // OS/2 1.x has no resolution
}

// Entry i is the grey 17 * i, so that indices can be read back from colours.
std::vector<PLPixel32> Greys() {
  std::vector<PLPixel32> out;
  for (int i = 0; i < 16; ++i) out.push_back(PLPixel32::FromRgba(uint8_t(17 * i), uint8_t(17 * i), uint8_t(17 * i)));
  return out;
}

// Line y of a run-length image with the Greys palette: the index of each pixel, "." where
// the data left it transparent.
std::string Cells(const PLBmp& bmp, int y) {
  if (bmp.GetBitsPerPixel() == 8) return Indices(bmp, y);
  std::string out;
  for (int x = 0; x < bmp.GetWidth(); ++x) {
    const PLPixel32 p = testing::PixelAt(bmp, x, y);
    out += p.a == 0 ? '.' : static_cast<char>("0123456789ABCDEF"[p.r / 17]);
  }
  return out;
}

// Runs and absolute runs are cut at the end of their line. What the data never sets (after
// an early end of line or of the bitmap, or passed over by a delta) is undefined and shows
// as transparent: the image then has 32 bits with alpha.
TEST(BmpDecoder, RunLengthDataLeavesWhatItDoesNotSetTransparent) {
  struct Case {
    const char* name;
    int width;
    int height;
    int bits;
    uint32_t compression;
    const char* data;
    std::vector<std::string> lines;  // top line first
  };
  const Case cases[] = {
      {"rle8 every pixel", 3, 2, 8, 1, "03 07 00 00  01 01 02 09 00 01", {"199", "777"}},
      {"rle8 clipped, end of bitmap", 4, 3, 8, 1,
       "06 07 00 00"         // bottom line: a run of 6 on a line of 4
       "00 03 01 02 03 00"   // absolute run of 3 and its padding byte
       "00 01",              // end of bitmap: the rest is not set
       {"....", "123.", "7777"}},
      {"rle4 runs and absolute runs", 5, 2, 4, 2,
       "00 03 56 70  02 12  00 00"  // bottom: absolute 5 6 7 (two bytes, no padding), run 1 2
       "02 34  00 01",              // top: run 3 4, then the end of the bitmap
       {"34...", "56712"}},
      {"rle4 read as compression 1", 5, 1, 4, 1, "00 05 12 34 50 00  00 01", {"12345"}},
      {"rle8 deltas", 5, 4, 8, 1,
       "02 07  00 02 01 02"  // bottom: 7 7, then one right and two up
       "02 09  00 00"        // third line from the bottom: . . . 9 9
       "01 05  00 02 04 00"  // 5, then four right on the same line (cut at its end)
       "00 01",
       {"5....", "...99", ".....", "77..."}},
      {"rle4 delta past the top", 5, 3, 4, 2,
       "02 12  00 02 02 01"  // bottom: 1 2, then two right and one up
       "03 34  00 02 09 09"  // middle: 3 at the end (4 3 fall off), then a delta past the top
       "02 56  00 01",       // never reached
       {".....", "....3", "12..."}},
      {"top-down rle8", 3, -2, 8, 1, "03 01 00 00  02 02 00 01", {"111", "22."}},
      {"data ends in a line", 4, 2, 8, 1, "04 03 00 00  02 05 00 03 06", {"55..", "3333"}},
  };
  for (const Case& c : cases) {
    const auto file = WindowsBmp(c.width, c.height, c.bits).Compression(c.compression).Colors(Greys()).Pixels(c.data);
    PLAnyBmp bmp;
    std::string why;
    ASSERT_EQ(Decode(file.Bytes(), bmp, &why), 0) << c.name << ": " << why;
    ASSERT_EQ(bmp.GetHeight(), int(c.lines.size())) << c.name;
    const bool opaque = c.lines[0].find('.') == std::string::npos && c.lines.back().find('.') == std::string::npos;
    EXPECT_EQ(bmp.GetBitsPerPixel(), opaque ? 8 : 32) << c.name;
    EXPECT_EQ(bmp.HasAlpha(), !opaque) << c.name;
    for (int y = 0; y < bmp.GetHeight(); ++y) EXPECT_EQ(Cells(bmp, y), c.lines[size_t(y)]) << c.name << " line " << y;
  }
}

// Seventy-five bytes of run-length data that declare 19,200 x 21,507 pixels cannot fill
// them: refused before a bitmap is made for them (the same file seeds the fuzz target).
TEST(BmpDecoder, RunLengthDataMustBeAbleToFillTheDeclaredSize) {
  const auto file = WindowsBmp(19200, 21507, 8).Compression(1).Colors(Palette({0, 0xFFFFFF, 0xFF0000, 0x00FF00}))
                        .Pixels("FF 01 00 00 01").Bytes();
  ASSERT_EQ(file.size(), 75u);
  PLAnyBmp bmp;
  std::string text;
  EXPECT_EQ(Decode(file, bmp, &text), 11);
  EXPECT_EQ(text, "End of file reached while decoding.\n");
}

TEST(BmpDecoder, SixteenBitMasksChooseFiveFiveFiveOrFiveSixFive) {
  struct Case {
    uint32_t compression;
    const char* masks;
    const char* color;
  };
  const Case cases[] = {
      {0, "", "#F8F8F8"},
      {3, "00 7C 00 00  E0 03 00 00  1F 00 00 00", "#F8F8F8"},
      {3, "00 F8 00 00  E0 07 00 00  1F 00 00 00", "#78F8F8"},  // the lowest green bit is dropped
  };
  for (const Case& c : cases) {
    const auto file = WindowsBmp(1, 1, 16).Compression(c.compression).AfterHeader(c.masks).Pixels("FF 7F 00 00");
    PLAnyBmp bmp;
    ASSERT_EQ(Decode(file.Bytes(), bmp), 0);
    EXPECT_EQ(ColorAt(bmp, 0, 0, true), std::string(c.color) + "/FF") << c.masks;
    EXPECT_FALSE(bmp.HasAlpha());
  }
}

TEST(BmpDecoder, LongHeadersCarryTheSixteenBitMasks) {
  // A 124-byte header with 5-6-5 masks at its byte 40; the pixels follow it directly.
  ByteWriter w;
  w.Text("BM").LE32(0).LE16(0).LE16(0).LE32(14 + 124);
  w.LE32(124).LE32(1).LE32(1).LE16(1).LE16(16).LE32(3).LE32(0).LE32(0).LE32(0).LE32(0).LE32(0);
  w.LE32(0xF800).LE32(0x7E0).LE32(0x1F).Fill(124 - 52, 0);
  w.Bytes(testing::HexBytes("FF 7F 00 00"));
  PLAnyBmp bmp;
  ASSERT_EQ(Decode(w.bytes(), bmp), 0);
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#78F8F8");
}

TEST(BmpDecoder, ThirtyTwoBitsKeepAlphaAndTwentyFourBitsAreOpaque) {
  PLAnyBmp bmp;
  ASSERT_EQ(Decode(WindowsBmp(1, 1, 32).Pixels("10 20 30 40").Bytes(), bmp), 0);
  EXPECT_TRUE(bmp.HasAlpha());
  EXPECT_EQ(ColorAt(bmp, 0, 0, true), "#302010/40");

  ASSERT_EQ(Decode(WindowsBmp(1, 1, 24).Pixels("10 20 30 00").Bytes(), bmp), 0);
  EXPECT_FALSE(bmp.HasAlpha());
  EXPECT_EQ(ColorAt(bmp, 0, 0, true), "#302010/FF");
}

TEST(BmpDecoder, PixelsPerMetreBecomeDotsPerInch) {
  const std::pair<int32_t, int> cases[] = {{2835, 72}, {3780, 96}, {0, 150}, {-5, 150}, {3, 150}};
  for (const auto& [ppm, dpi] : cases) {
    PLAnyBmp bmp;
    ASSERT_EQ(Decode(WindowsBmp(1, 1, 24).Pixels("00 00 00 00").PixelsPerMetre(ppm).Bytes(), bmp), 0);
    EXPECT_EQ(bmp.GetResolution(), (PLPoint{dpi, dpi})) << ppm;
  }
}

TEST(BmpDecoder, NegativeHeightStoresTheTopLineFirst) {
  const auto file = WindowsBmp(1, -2, 8).Colors(Palette({0, 0xFFFFFF})).Pixels("01 00 00 00  00 00 00 00");
  PLAnyBmp bmp;
  ASSERT_EQ(Decode(file.Bytes(), bmp), 0);
  ASSERT_EQ(bmp.GetHeight(), 2);
  EXPECT_EQ(Indices(bmp, 0), "1");
  EXPECT_EQ(Indices(bmp, 1), "0");
}

TEST(BmpDecoder, PaletteSizeAndPixelOffsetComeFromTheFile) {
  PLAnyBmp bmp;
  // 300 colours: the bitmap keeps 256 and the pixels still follow the whole palette.
  std::vector<PLPixel32> many(300, PLPixel32::FromRgba(1, 2, 3));
  many[255] = PLPixel32::FromRgba(0xAA, 0xBB, 0xCC);
  ASSERT_EQ(Decode(WindowsBmp(1, 1, 8).Colors(many).Pixels("FF 00 00 00").Bytes(), bmp), 0);
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#AABBCC");

  // A gap between the palette and the pixels is skipped.
  const auto gap = WindowsBmp(1, 1, 8).Colors(Palette({0, 0x123456})).AfterHeader("00 00 00 00").Pixels("01 00 00 00");
  ASSERT_EQ(Decode(gap.Bytes(), bmp), 0);
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#123456");

  // Two entries where 256 are due: the data offset ends the palette.
  const auto sparse = WindowsBmp(1, 1, 8).Colors(Palette({0, 0x123456})).ColorsUsed(0).Pixels("01 00 00 00");
  ASSERT_EQ(Decode(sparse.Bytes(), bmp), 0);
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#123456");
}

TEST(BmpDecoder, BadFilesGiveCodedErrors) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int code;
    const char* text;
  };
  std::vector<uint8_t> notBitmap = WindowsBmp(1, 1, 24).Pixels("00 00 00 00").Bytes();
  notBitmap[0] = 'X';
  std::vector<uint8_t> shortHeader = WindowsBmp(1, 1, 24).Pixels("00 00 00 00").Bytes();
  shortHeader[14] = 16;
  const Case cases[] = {
      {"signature", notBitmap, 1, "Decoder error: Bitmap decoder: This isn't a bitmap.\n"},
      {"two bits", WindowsBmp(1, 1, 2).Colors(Palette({0, 0, 0, 0})).Pixels("00 00 00 00").Bytes(), 2,
       "Decoder error: Decoding bmp: Illegal bpp value.\n"},
      {"header of 16 bytes", shortHeader, 2, "Negative length or offset while decoding.\n"},
      {"negative width", WindowsBmp(-5, 1, 24).Pixels("00 00 00 00").Bytes(), 2, "Bitmap size is not valid."},
      // Refused before a bitmap is made for it: the data cannot hold the lines.
      {"huge", WindowsBmp(3000000, 2000000, 24).Bytes(), 11, "End of file reached while decoding.\n"},
      {"huge and compressed", WindowsBmp(60000, 20000, 8).Compression(1).Colors(Palette({0})).Bytes(), 11,
       "End of file reached while decoding.\n"},
      {"truncated", WindowsBmp(4, 4, 24).Pixels("00 00 00 00").Bytes(), 11, "End of file reached while decoding.\n"},
  };
  for (const Case& c : cases) {
    PLAnyBmp bmp;
    std::string text;
    EXPECT_EQ(Decode(c.bytes, bmp, &text), c.code) << c.name;
    EXPECT_EQ(text, c.text) << c.name;
  }
}

}  // namespace
}  // namespace vornel
