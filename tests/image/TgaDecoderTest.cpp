#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/codec/native/PLTGADecoder.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::ByteWriter;
using testing::ColorAt;

struct TgaColorMap {
  int first = 0;
  int length = 0;
  int entryBits = 0;
  std::vector<uint8_t> entries;
};

std::vector<uint8_t> Tga(int type, int width, int height, int depth, int descriptor, std::string_view pixels,
                         const TgaColorMap& map = {}) {
  ByteWriter w;
  w.U8(3).U8(map.length > 0 ? 1 : 0).U8(type);
  w.LE16(map.first).LE16(map.length).U8(map.entryBits);
  w.LE16(0).LE16(0).LE16(width).LE16(height).U8(depth).U8(descriptor);
  w.Text("id!");  // an identification field of 3 bytes, skipped
  return w.Bytes(map.entries).Bytes(testing::HexBytes(pixels)).bytes();
}

int DecodeTga(const std::vector<uint8_t>& bytes, PLBmp& bmp, std::string* text = nullptr) {
  PLTGADecoder decoder;
  return testing::DecodeCode(decoder, bytes, bmp, text);
}

TEST(TgaDecoder, TopFirstAndBottomFirstImagesComeOutTheSameWayUp) {
  PLAnyBmp bottomFirst;
  PLAnyBmp topFirst;
  ASSERT_EQ(DecodeTga(Tga(2, 1, 2, 24, 0x00, "FF 00 00  00 00 FF"), bottomFirst), 0);
  ASSERT_EQ(DecodeTga(Tga(2, 1, 2, 24, 0x20, "00 00 FF  FF 00 00"), topFirst), 0);
  for (const PLAnyBmp* bmp : {&bottomFirst, &topFirst}) {
    EXPECT_EQ(ColorAt(*bmp, 0, 0, true), "#FF0000/FF");
    EXPECT_EQ(ColorAt(*bmp, 0, 1, true), "#0000FF/FF");
    EXPECT_FALSE(bmp->HasAlpha());
  }
}

TEST(TgaDecoder, SixteenBitPixelsCarryOneBitOfAlpha) {
  PLAnyBmp bmp;
  ASSERT_EQ(DecodeTga(Tga(2, 2, 1, 16, 0x20, "1F 80  E0 03"), bmp), 0);
  EXPECT_TRUE(bmp.HasAlpha());
  EXPECT_EQ(ColorAt(bmp, 0, 0, true), "#0000F8/80");
  EXPECT_EQ(ColorAt(bmp, 1, 0, true), "#00F800/00");

  ASSERT_EQ(DecodeTga(Tga(2, 2, 1, 15, 0x20, "1F 80  E0 03"), bmp), 0);
  EXPECT_FALSE(bmp.HasAlpha());
  EXPECT_EQ(ColorAt(bmp, 0, 0, true), "#0000F8/FF");
}

// Grey pixels of 16 bits are a grey byte and an alpha byte, raw or run-length encoded.
TEST(TgaDecoder, SixteenBitGreyPixelsCarryAlpha) {
  PLAnyBmp bmp;
  for (const auto& [type, pixels] : {std::pair{3, "40 FF  C0 10"}, std::pair{11, "00 40 FF  00 C0 10"}}) {
    ASSERT_EQ(DecodeTga(Tga(type, 2, 1, 16, 0x20, pixels), bmp), 0) << type;
    EXPECT_EQ(bmp.GetBitsPerPixel(), 32);
    EXPECT_TRUE(bmp.HasAlpha());
    EXPECT_EQ(ColorAt(bmp, 0, 0, true), "#404040/FF") << type;
    EXPECT_EQ(ColorAt(bmp, 1, 0, true), "#C0C0C0/10") << type;
  }
}

// Descriptor bit 4: each line is stored from its right end.
TEST(TgaDecoder, RightToLeftLinesAreMirrored) {
  PLAnyBmp bmp;
  ASSERT_EQ(DecodeTga(Tga(2, 3, 1, 24, 0x30, "FF 00 00  00 FF 00  00 00 FF"), bmp), 0);
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#FF0000");
  EXPECT_EQ(ColorAt(bmp, 2, 0), "#0000FF");
  ASSERT_EQ(DecodeTga(Tga(11, 3, 2, 8, 0x10, "81 05 00 09  02 01 02 03"), bmp), 0);  // bottom line first
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#030303");
  EXPECT_EQ(ColorAt(bmp, 2, 0), "#010101");
  EXPECT_EQ(ColorAt(bmp, 0, 1), "#090909");
  EXPECT_EQ(ColorAt(bmp, 2, 1), "#050505");
}

TEST(TgaDecoder, ColorMapEntriesWrapAroundThePalette) {
  // Ten 24-bit entries from index 250: 250..255, then 0..3. Entry k is (k, k, k).
  ByteWriter entries;
  for (int k = 0; k < 10; ++k) entries.U8(k).U8(k).U8(k);
  PLAnyBmp bmp;
  ASSERT_EQ(DecodeTga(Tga(1, 3, 1, 8, 0x20, "FA FF 03", {250, 10, 24, entries.bytes()}), bmp), 0);
  EXPECT_EQ(bmp.GetBitsPerPixel(), 8);
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#000000");
  EXPECT_EQ(ColorAt(bmp, 1, 0), "#050505");
  EXPECT_EQ(ColorAt(bmp, 2, 0), "#090909");
}

TEST(TgaDecoder, GreyImagesGetTheGreyPaletteWhateverTheColorMap) {
  PLAnyBmp bmp;
  ASSERT_EQ(DecodeTga(Tga(11, 1, 1, 8, 0, "80 C8", {0, 1, 24, testing::HexBytes("FF 00 00")}), bmp), 0);
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#C8C8C8");
}

TEST(TgaDecoder, RunPacketsWriteOneTo128PixelsAndRunOnIntoTheNextLine) {
  PLAnyBmp bmp;
  ASSERT_EQ(DecodeTga(Tga(11, 129, 1, 8, 0x20, "80 05  FF 07"), bmp), 0);
  EXPECT_EQ(bmp.GetLineArray()[0][0], 5);
  EXPECT_EQ(bmp.GetLineArray()[0][1], 7);
  EXPECT_EQ(bmp.GetLineArray()[0][128], 7);

  // A run of four and a raw packet of two crossing the line ends of a 3 x 2 image.
  ASSERT_EQ(DecodeTga(Tga(11, 3, 2, 8, 0x20, "83 09  01 01 02"), bmp), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bmp.GetLineArray()[0]), 3), "\x09\x09\x09");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bmp.GetLineArray()[1]), 3), "\x09\x01\x02");
}

TEST(TgaDecoder, TrueColorImagesReadPastAColorMap) {
  PLAnyBmp bmp;
  ASSERT_EQ(DecodeTga(Tga(2, 1, 1, 32, 0, "10 20 30 40", {0, 2, 24, testing::HexBytes("01 02 03 04 05 06")}), bmp), 0);
  EXPECT_EQ(ColorAt(bmp, 0, 0, true), "#302010/40");
  // An entry size with no colour form is read past as well.
  ASSERT_EQ(DecodeTga(Tga(1, 1, 1, 8, 0, "01", {0, 2, 12, testing::HexBytes("01 02 03 04")}), bmp), 0);
}

TEST(TgaDecoder, BadFilesGiveCodedErrors) {
  const struct {
    std::vector<uint8_t> bytes;
    int code;
    const char* text;
  } cases[] = {
      {Tga(4, 1, 1, 8, 0, "00"), 2, "Decoder error: Unknown TGA image type.\n"},
      {Tga(2, 2, 2, 24, 0, "00 00 00"), 11, "End of file reached while decoding.\n"},
      {Tga(10, 2, 1, 24, 0, "FF 00 00"), 11, "End of file reached while decoding.\n"},
      // Packets of 4 bytes give at most 128 pixels: too few bytes for 16384 x 16384.
      {Tga(10, 16384, 16384, 24, 0, "FF 00 00 00"), 11, "End of file reached while decoding.\n"},
      {Tga(2, 0, 1, 24, 0, ""), 2, "Bitmap size is not valid."},
  };
  for (const auto& c : cases) {
    PLAnyBmp bmp;
    std::string text;
    EXPECT_EQ(DecodeTga(c.bytes, bmp, &text), c.code) << text;
    EXPECT_EQ(text, c.text);
  }
}

}  // namespace
}  // namespace vornel
