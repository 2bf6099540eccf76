// Pictures of version 1 and 2: the first bitmap is found past the drawing opcodes.

#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/codec/external/PLJPEGDecoder.h"
#include "image/codec/external/PLJPEGEncoder.h"
#include "image/codec/native/PLPictDecoder.h"

namespace vornel {
namespace {

using testing::ByteWriter;
using testing::ColorAt;

// The preamble, size and frame of a picture, then its version opcode (and for version 2 the
// header opcode with 72 dots per inch).
ByteWriter Picture(int version) {
  ByteWriter w;
  w.Fill(512, 0).BE16(0).BE16(0).BE16(0).BE16(10).BE16(10);
  if (version == 1) {
    w.U8(0x11).U8(0x01);
  } else {
    w.BE16(0x0011).BE16(0x02FF);
    w.BE16(0x0C00).BE16(0xFFFE).BE16(0).BE32(72 << 16).BE32(72 << 16).BE16(0).BE16(0).BE16(10).BE16(10).BE32(0);
  }
  return w;
}

void PixMap(ByteWriter& w, int pixelSize, int components, int packType) {
  w.BE16(0).BE16(packType).BE32(0).BE32(72 << 16).BE32(72 << 16).BE16(pixelSize == 32 ? 16 : 0);
  w.BE16(pixelSize).BE16(components).BE16(pixelSize == 32 ? 8 : pixelSize).BE32(0).BE32(0).BE32(0);
}

void Rects(ByteWriter& w, int height, int width) {
  for (int i = 0; i < 2; ++i) w.BE16(0).BE16(0).BE16(height).BE16(width);
  w.BE16(0);  // transfer mode
}

// An 8-bit pixel map of 4 x 1 (pixels 0, 1, 1, 0; red and blue) with the row bytes given: up
// to 250 their packed lengths are bytes, above they are 16-bit. Before it, a one-byte
// opcode that leaves the next one at an odd position.
std::vector<uint8_t> IndexedPicture(int rowBytes) {
  ByteWriter w = Picture(2);
  w.BE16(0x0004).U8(1);  // text face, then an alignment byte
  w.U8(0);
  w.BE16(0x0098).BE16(0x8000 | rowBytes).BE16(0).BE16(0).BE16(1).BE16(4);
  PixMap(w, 8, 1, 0);
  w.BE32(0).BE16(0).BE16(1);  // colour table of 2 entries
  w.BE16(0).BE16(0xFFFF).BE16(0).BE16(0);
  w.BE16(1).BE16(0).BE16(0).BE16(0xFFFF);
  Rects(w, 1, 4);
  // The row: 4 literal bytes, then runs of zeros up to the row bytes.
  ByteWriter row;
  row.U8(3).U8(0).U8(1).U8(1).U8(0);
  for (int left = rowBytes - 4; left > 0; left -= 128) row.U8(257 - std::min(left, 128)).U8(0);
  if (rowBytes > 250) w.BE16(static_cast<unsigned>(row.size()));
  else w.U8(static_cast<unsigned>(row.size()));
  w.Bytes(row.bytes());
  w.BE16(0x00FF);
  return w.bytes();
}

TEST(PictDecoder, IndexedPixelMapsReadByteOrWordLengthsAndTheHeadersResolution) {
  for (const int rowBytes : {200, 300}) {
    PLPictDecoder decoder;
    PLAnyBmp bmp;
    std::string text;
    ASSERT_EQ(testing::DecodeCode(decoder, IndexedPicture(rowBytes), bmp, &text), 0) << rowBytes << text;
    EXPECT_EQ(bmp.GetBitsPerPixel(), 8);
    EXPECT_EQ(ColorAt(bmp, 0, 0) + ColorAt(bmp, 1, 0) + ColorAt(bmp, 3, 0), "#FF0000#0000FF#FF0000") << rowBytes;
    EXPECT_EQ(bmp.GetResolution(), (PLPoint{72, 72}));
  }
}

TEST(PictDecoder, DirectPixelMapsOfFourComponentsTakeAlphaFromTheFirstPlane) {
  ByteWriter w = Picture(2);
  w.BE16(0x009A).BE32(0xFF).BE16(0x8008).BE16(0).BE16(0).BE16(1).BE16(2);
  PixMap(w, 32, 4, 4);
  Rects(w, 1, 2);
  // Planes alpha, red, green, blue of two pixels, as one literal run.
  w.U8(9).U8(7).Bytes({0x80, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF});
  w.BE16(0x00FF);
  PLPictDecoder decoder;
  PLAnyBmp bmp;
  ASSERT_EQ(testing::DecodeCode(decoder, w.bytes(), bmp), 0);
  EXPECT_EQ(bmp.GetBitsPerPixel(), 32);
  EXPECT_TRUE(bmp.HasAlpha());
  EXPECT_EQ(ColorAt(bmp, 0, 0, true), "#FF0000/80");
  EXPECT_EQ(ColorAt(bmp, 1, 0, true), "#0000FF/FF");
}

TEST(PictDecoder, VersionOneBitmapsAreMonochromeWithoutResolution) {
  ByteWriter w = Picture(1);
  w.U8(0x90).BE16(2).BE16(0).BE16(0).BE16(2).BE16(9);  // row bytes 2: rows are not packed
  Rects(w, 2, 9);
  w.Bytes({0x80, 0x80, 0x00, 0x00});
  w.U8(0xFF);
  PLPictDecoder decoder;
  PLAnyBmp bmp;
  ASSERT_EQ(testing::DecodeCode(decoder, w.bytes(), bmp), 0);
  EXPECT_EQ(ColorAt(bmp, 0, 0) + ColorAt(bmp, 1, 0) + ColorAt(bmp, 8, 0), "#000000#FFFFFF#000000");
  EXPECT_EQ(ColorAt(bmp, 0, 1), "#FFFFFF");
  EXPECT_EQ(bmp.GetResolution(), (PLPoint{0, 0}));
}

TEST(PictDecoder, JpegDataIsFoundByItsFirstBytes) {
  PLAnyBmp image;
  testing::FillGradient(image, 8, 8);
  PLJPEGEncoder encoder;
  const std::vector<uint8_t> jpeg = testing::Encode(encoder, image);
  ByteWriter w = Picture(2);
  w.BE16(0x8200).BE32(static_cast<uint32_t>(jpeg.size() + 5)).Fill(5, 0x11).Bytes(jpeg);
  PLJPEGDecoder jpegDecoder;
  PLPictDecoder decoder(&jpegDecoder);
  PLAnyBmp bmp;
  ASSERT_EQ(testing::DecodeCode(decoder, w.bytes(), bmp), 0);
  EXPECT_EQ(bmp.GetWidth(), 8);
  EXPECT_EQ(bmp.GetBitsPerPixel(), 32);

  std::string text;
  PLPictDecoder without;
  EXPECT_EQ(testing::DecodeCode(without, w.bytes(), bmp, &text), 6);
  EXPECT_EQ(text, "Decoder error: Library not compiled for PICT/JPEG.\n");
}

TEST(PictDecoder, RefusalsAndTheirCodes) {
  const auto vectorOnly = [] {
    ByteWriter w = Picture(2);
    w.BE16(0x0031).BE16(0).BE16(0).BE16(5).BE16(5);  // paintRect
    w.BE16(0x0028).BE16(1).BE16(1).U8(3).Text("abc");  // LongText, ending at an even position
    w.BE16(0x00A1).BE16(100).BE16(2).BE16(0);          // LongComment
    return w.BE16(0x00FF).bytes();
  };
  const auto badVersion = [] {
    ByteWriter w;
    return w.Fill(512, 0).BE16(0).Fill(8, 0).U8(0x11).U8(3).bytes();
  };
  const auto noVersion = [] {
    ByteWriter w;
    return w.Fill(512, 0).BE16(0).Fill(8, 0).U8(0x12).bytes();
  };
  const auto pixelSize = [](int size, int tableValue) {
    ByteWriter w = Picture(2);
    w.BE16(0x0098).BE16(0x8004).BE16(0).BE16(0).BE16(1).BE16(4);
    PixMap(w, size, 1, 0);
    w.BE32(0).BE16(0).BE16(0).BE16(tableValue).BE16(0).BE16(0).BE16(0);
    Rects(w, 1, 4);
    return w.Fill(16, 0).bytes();
  };
  std::vector<uint8_t> truncated = IndexedPicture(200);
  truncated.resize(truncated.size() - 8);
  const struct {
    const char* name;
    std::vector<uint8_t> data;
    int code;
    const char* text;
  } cases[] = {
      {"vector only", vectorOnly(), 6, "Decoder error: PICT contained only vector data!\n\n"},
      {"version 3", badVersion(), 1, "Decoder error: Illegal version number.\n"},
      {"no version", noVersion(), 1, "Decoder error: Error decoding pict: Version number missing.\n"},
      {"3 bits a pixel", pixelSize(3, 0), 2, "Decoder error: Illegal bpp value in unpackbits: 3\n\n"},
      {"colour beyond the table", pixelSize(8, 5), 2, "Decoder error: pixel value greater than colour table size.\n"},
      {"truncated", truncated, 11, "End of file reached while decoding.\n"},
  };
  for (const auto& c : cases) {
    PLPictDecoder decoder;
    PLAnyBmp bmp;
    std::string text;
    EXPECT_EQ(testing::DecodeCode(decoder, c.data, bmp, &text), c.code) << c.name;
    EXPECT_EQ(text, c.text) << c.name;
  }
}

}  // namespace
}  // namespace vornel
