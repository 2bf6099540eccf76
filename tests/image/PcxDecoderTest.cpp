#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/codec/native/PLPCXDecoder.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::ByteWriter;
using testing::ColorAt;

struct PcxSpec {
  int bits = 8;
  int planes = 1;
  int xMin = 0;
  int yMin = 0;
  int xMax = 0;
  int yMax = 0;
  int bytesPerLine = 1;
  int manufacturer = 10;
  int encoding = 1;
};

// Header palette entry k is (16 k, k, 255 - k).
std::vector<uint8_t> Pcx(const PcxSpec& s, std::string_view data, const std::vector<uint8_t>& trailer = {}) {
  ByteWriter w;
  w.U8(s.manufacturer).U8(5).U8(s.encoding).U8(s.bits);
  w.LE16(s.xMin).LE16(s.yMin).LE16(s.xMax).LE16(s.yMax).LE16(300).LE16(200);
  for (int k = 0; k < 16; ++k) w.U8(16 * k).U8(k).U8(255 - k);
  w.U8(0).U8(s.planes).LE16(s.bytesPerLine).Fill(60, 0);
  return w.Bytes(testing::HexBytes(data)).Bytes(trailer).bytes();
}

int DecodePcx(const std::vector<uint8_t>& bytes, PLBmp& bmp, std::string* text = nullptr) {
  PLPCXDecoder decoder;
  return testing::DecodeCode(decoder, bytes, bmp, text);
}

TEST(PcxDecoder, FourPlanesMakeSixteenColoursFromTheHeaderPalette) {
  PcxSpec s;
  s.bits = 1;
  s.planes = 4;
  s.xMax = 3;
  // Plane p adds 2^p: pixel 0 gets planes 0 and 3, pixel 1 plane 1, pixel 2 plane 2, pixel 3 plane 3.
  PLAnyBmp bmp;
  ASSERT_EQ(DecodePcx(Pcx(s, "80 40 20 90"), bmp), 0);
  EXPECT_EQ(bmp.GetBitsPerPixel(), 32);
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#9009F6");
  EXPECT_EQ(ColorAt(bmp, 1, 0), "#2002FD");
  EXPECT_EQ(ColorAt(bmp, 2, 0), "#4004FB");
  EXPECT_EQ(ColorAt(bmp, 3, 0), "#8008F7");
  EXPECT_EQ(bmp.GetResolution(), (PLPoint{300, 200}));
}

TEST(PcxDecoder, PackedPixelsAndPalettes) {
  struct Case {
    const char* name;
    int bits;
    int bytesPerLine;
    const char* data;
    std::vector<uint8_t> trailer;
    const char* colors;  // pixels 0 to 2
  };
  std::vector<uint8_t> palette256(1, 0x0C);
  for (int i = 0; i < 256; ++i) palette256.insert(palette256.end(), {uint8_t(i), uint8_t(255 - i), 7});
  const Case cases[] = {
      // Monochrome is black and white whatever the header palette says.
      {"1 bit", 1, 1, "A0", {}, "#FFFFFF #000000 #FFFFFF"},
      {"2 bits", 2, 1, "1B", {}, "#0000FF #1001FE #2002FD"},
      {"4 bits", 4, 2, "12 30", {}, "#1001FE #2002FD #3003FC"},
      {"8 bits", 8, 3, "02 00 05", palette256, "#02FD07 #00FF07 #05FA07"},
  };
  for (const Case& c : cases) {
    PcxSpec s;
    s.bits = c.bits;
    s.xMax = 2;
    s.bytesPerLine = c.bytesPerLine;
    PLAnyBmp bmp;
    ASSERT_EQ(DecodePcx(Pcx(s, c.data, c.trailer), bmp), 0) << c.name;
    EXPECT_EQ(ColorAt(bmp, 0, 0) + " " + ColorAt(bmp, 1, 0) + " " + ColorAt(bmp, 2, 0), c.colors) << c.name;
  }
}

TEST(PcxDecoder, ThreePlanesOfEightBitsAreRedGreenBlue) {
  PcxSpec s;
  s.planes = 3;
  s.xMax = 1;
  s.bytesPerLine = 2;
  PLAnyBmp bmp;
  // A run (C2 = two bytes of 0x40) crosses from the red plane into the green one.
  ASSERT_EQ(DecodePcx(Pcx(s, "10 C2 40 21 30 31"), bmp), 0);
  EXPECT_EQ(ColorAt(bmp, 0, 0, true), "#104030/FF");
  EXPECT_EQ(ColorAt(bmp, 1, 0, true), "#402131/FF");
}

TEST(PcxDecoder, FourPlanesOfEightBitsAddAlpha) {
  PcxSpec s;
  s.planes = 4;
  s.xMax = 1;
  s.bytesPerLine = 2;
  PLAnyBmp bmp;
  ASSERT_EQ(DecodePcx(Pcx(s, "10 20  30 40  50 60  C1 FF 00"), bmp), 0);  // C1 FF: a run of one 0xFF
  EXPECT_TRUE(bmp.HasAlpha());
  EXPECT_EQ(ColorAt(bmp, 0, 0, true), "#103050/FF");
  EXPECT_EQ(ColorAt(bmp, 1, 0, true), "#204060/00");
}

TEST(PcxDecoder, TwoAndThreePlanesOfOneBitIndexTheHeaderPalette) {
  for (const int planes : {2, 3}) {
    PcxSpec s;
    s.bits = 1;
    s.planes = planes;
    s.xMax = 3;
    // Pixel 0 in every plane (index 2^planes - 1), pixel 1 in plane 0 only, pixel 2 in the
    // last plane only, pixel 3 in none.
    PLAnyBmp bmp;
    ASSERT_EQ(DecodePcx(Pcx(s, planes == 2 ? "C1 C0 A0" : "C1 C0 80 A0"), bmp), 0) << planes;
    const int all = (1 << planes) - 1;
    const int last = 1 << (planes - 1);
    const auto entry = [](int k) {
      char text[32];
      std::snprintf(text, sizeof text, "#%02X%02X%02X", 16 * k, k, 255 - k);
      return std::string(text);
    };
    EXPECT_EQ(ColorAt(bmp, 0, 0), entry(all)) << planes;
    EXPECT_EQ(ColorAt(bmp, 1, 0), entry(1)) << planes;
    EXPECT_EQ(ColorAt(bmp, 2, 0), entry(last)) << planes;
    EXPECT_EQ(ColorAt(bmp, 3, 0), entry(0)) << planes;
  }
}

TEST(PcxDecoder, ARunMayEndAtTheLastByteButNotBeyond) {
  std::vector<uint8_t> palette(769, 0);
  for (const int width : {63, 62}) {
    PcxSpec s;
    s.xMax = width - 1;
    s.bytesPerLine = width;
    PLAnyBmp bmp;
    std::string text;
    const int code = DecodePcx(Pcx(s, "FF 05", palette), bmp, &text);
    if (width == 63) {
      EXPECT_EQ(code, 0);
    } else {
      EXPECT_EQ(code, 7);
      EXPECT_EQ(text, "Decoder error: repeat count spans end of image.\n");
    }
  }
}

TEST(PcxDecoder, BadHeadersGiveCodedErrors) {
  struct Case {
    const char* name;
    PcxSpec spec;
    int code;
    const char* text;
  };
  const auto spec = [](auto change) {
    PcxSpec s;
    s.bits = 1;
    change(s);
    return s;
  };
  const Case cases[] = {
      {"manufacturer", spec([](PcxSpec& s) { s.manufacturer = 11; }), 1,
       "Decoder error: Error decoding pcx: Not a PCX file.\n"},
      {"encoding", spec([](PcxSpec& s) { s.encoding = 0; }), 1, "Decoder error: File has unknown encoding scheme.\n"},
      {"five planes", spec([](PcxSpec& s) { s.planes = 5; }), 2,
       "Decoder error: Can't handle image with more than 4 planes.\n"},
      {"4 bits, 2 planes", spec([](PcxSpec& s) { s.bits = 4; s.planes = 2; }), 2,
       "Decoder error: Can't handle bits per pixel image with planes.\n"},
      {"4 bits, 3 planes", spec([](PcxSpec& s) { s.bits = 4; s.planes = 3; }), 7,
       "Decoder error: Can't handle more than 1 bit per pixel.\n"},
      {"maximum below minimum", spec([](PcxSpec& s) { s.xMin = 5; s.xMax = 3; }), 2, "Bitmap size is not valid."},
      {"line shorter than the width", spec([](PcxSpec& s) { s.xMax = 8; }), 2,
       "Decoder error: Bytes per line don't cover the image width.\n"},
      // 16 MB cannot come from a few bytes of runs: refused before the image is decoded.
      {"more than the data can hold", spec([](PcxSpec& s) { s.bits = 8; s.xMax = s.yMax = 3999; s.bytesPerLine = 4000; }), 11,
       "End of file reached while decoding.\n"},
  };
  for (const Case& c : cases) {
    PLAnyBmp bmp;
    std::string text;
    EXPECT_EQ(DecodePcx(Pcx(c.spec, "00 00 00 00 00 00"), bmp, &text), c.code) << c.name;
    EXPECT_EQ(text, c.text) << c.name;
  }
}

}  // namespace
}  // namespace vornel
