#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/codec/native/PLPGMDecoder.h"
#include "image/codec/native/PLPPMDecoder.h"

namespace vornel {
namespace {

using testing::ColorAt;
using namespace std::string_literals;

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

template <class Decoder>
int Decode(std::string_view file, PLBmp& bmp, std::string* text = nullptr) {
  Decoder decoder;
  return testing::DecodeCode(decoder, Bytes(file), bmp, text);
}

std::string Levels(const PLBmp& bmp) {
  std::string out;
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    for (int x = 0; x < bmp.GetWidth(); ++x) {
      if (!out.empty()) out += ' ';
      out += std::to_string(bmp.GetLineArray()[y][x]);
    }
  }
  return out;
}

TEST(PnmDecoder, BinaryPixmapSamplesAreScaledByTheMaximum) {
  const struct {
    const char* maximum;
    const char* colors;
  } cases[] = {
      {"255", "#0F0700 #01000F"},
      {"15", "#FF7700 #1100FF"},     // 15 becomes 255, 7 becomes 119
      {"65536", "#0F0700 #01000F"},  // beyond 16 bits: taken as 255
  };
  for (const auto& c : cases) {
    PLAnyBmp bmp;
    const std::string file = "P6\n2 1\n"s + c.maximum + "\n\x0F\x07\x00\x01\x00\x0F"s;
    ASSERT_EQ(Decode<PLPPMDecoder>(file, bmp), 0) << c.maximum;
    EXPECT_EQ(bmp.GetBitsPerPixel(), 32);
    EXPECT_EQ(ColorAt(bmp, 0, 0) + " " + ColorAt(bmp, 1, 0), c.colors) << c.maximum;
  }
}

TEST(PnmDecoder, TextGreymapWithACommentInItsHeader) {
  PLAnyBmp bmp;
  ASSERT_EQ(Decode<PLPGMDecoder>("P2\n# made by hand\n4 3\n15\n0 1 2 3\n4 5 6 7\n8 9 10 15\n", bmp), 0);
  ASSERT_EQ(bmp.GetSize(), (PLPoint{4, 3}));
  EXPECT_EQ(Levels(bmp), "0 17 34 51 68 85 102 119 136 153 170 255");
  // Indices are grey levels through the grey palette.
  EXPECT_EQ(ColorAt(bmp, 3, 2), "#FFFFFF");
  EXPECT_EQ(ColorAt(bmp, 1, 0), "#111111");
}

TEST(PnmDecoder, TextSamplesAboveTheMaximumCountAsTheMaximum) {
  PLAnyBmp bmp;
  ASSERT_EQ(Decode<PLPPMDecoder>("P3 1 1 255\n300 128 511", bmp), 0);  // no line end after the last sample
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#FF80FF");
}

// Samples of more than 8 bits: two bytes each, high first, in binary files; rounded to 8-bit
// levels, which stay within 1 of the high byte.
TEST(PnmDecoder, SixteenBitSamplesAreRoundedToEightBits) {
  PLAnyBmp bmp;
  ASSERT_EQ(Decode<PLPGMDecoder>("P5 4 1 65535\n\x00\x00\x12\x34\x80\x00\xFF\xFF"s, bmp), 0);
  EXPECT_EQ(Levels(bmp), "0 18 128 255");
  ASSERT_EQ(Decode<PLPPMDecoder>("P6 1 1 65535\n\x12\x34\x80\x00\xFF\xFF"s, bmp), 0);
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#1280FF");
  // A maximum of 1000 in text: 500 is half way (127.5 rounds up), 2000 is past the maximum.
  ASSERT_EQ(Decode<PLPGMDecoder>("P2 3 1 1000\n0 500 2000\n", bmp), 0);
  EXPECT_EQ(Levels(bmp), "0 128 255");
  // A binary file must hold two bytes per sample.
  EXPECT_EQ(Decode<PLPGMDecoder>("P5 2 1 65535\n\x01\x02\x03"s, bmp), 11);
}

TEST(PnmDecoder, HeadersNeverStallAndNumbersNeverOverflow) {
  PLAnyBmp bmp;
  // Stray characters and tabs are passed over.
  ASSERT_EQ(Decode<PLPGMDecoder>("P5 x2\t1 ;255\n\x01\x02", bmp), 0);
  EXPECT_EQ(Levels(bmp), "1 2");

  // A text sample that is no number is 0, and so is every sample after it.
  ASSERT_EQ(Decode<PLPGMDecoder>("P2 2 2 255\n7 x 9 9", bmp), 0);
  EXPECT_EQ(Levels(bmp), "7 0 0 0");

  std::string text;
  EXPECT_EQ(Decode<PLPGMDecoder>("P5 abc def", bmp, &text), 11);
  // The width stops at 2^31 - 1: far more samples than the text holds.
  EXPECT_EQ(Decode<PLPGMDecoder>("P2 99999999999999999999999 1 255\n", bmp, &text), 11);
  EXPECT_EQ(text, "End of file reached while decoding.\n");
  EXPECT_EQ(Decode<PLPGMDecoder>("P5 99999999999999999999999 1 255\n", bmp, &text), 11);
}

TEST(PnmDecoder, BadFilesGiveCodedErrors) {
  PLAnyBmp bmp;
  std::string text;
  EXPECT_EQ(Decode<PLPPMDecoder>("P5 1 1 255\n\x00", bmp, &text), 2);
  EXPECT_EQ(text, "Decoder error: PPM decoder: Is not the correct identifier P3 or P6.\n");
  EXPECT_EQ(Decode<PLPGMDecoder>("Q2 1 1 255\n0", bmp, &text), 2);
  EXPECT_EQ(text, "Decoder error: PGM decoder: Is not the correct identifier P5 or P2.\n");
  EXPECT_EQ(Decode<PLPGMDecoder>("P2 2 1 255\n7 ", bmp, &text), 11);
  EXPECT_EQ(text, "End of file reached while decoding.\n");
  EXPECT_EQ(Decode<PLPPMDecoder>("P6 2 2 255\n\x01\x02\x03", bmp, &text), 11);
}

}  // namespace
}  // namespace vornel
