#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/codec/native/PLPSDDecoder.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::ByteWriter;
using testing::ColorAt;

class PsdFile {
 public:
  PsdFile(int mode, int width, int height) : mode_(mode), width_(width), height_(height) {}
  PsdFile& Depth(int depth) { depth_ = depth; return *this; }
  PsdFile& Signature(std::string_view signature) { signature_ = signature; return *this; }
  PsdFile& ColorModeData(std::vector<uint8_t> data) { colorModeData_ = std::move(data); return *this; }
  PsdFile& Resources(std::vector<uint8_t> data) { resources_ = std::move(data); return *this; }
  PsdFile& Layers(std::vector<uint8_t> data) { layers_ = std::move(data); return *this; }
  PsdFile& Compression(int compression) { compression_ = compression; return *this; }
  // One channel: the packed bytes of each row, top first.
  PsdFile& Channel(std::vector<std::string> rows) { channels_.push_back(std::move(rows)); return *this; }

  std::vector<uint8_t> Bytes() const {
    ByteWriter w;
    w.Text(signature_).BE16(1).Fill(6, 0).BE16(static_cast<unsigned>(channels_.size()));
    w.BE32(height_).BE32(width_).BE16(depth_).BE16(mode_);
    w.BE32(static_cast<uint32_t>(colorModeData_.size())).Bytes(colorModeData_);
    w.BE32(static_cast<uint32_t>(resources_.size())).Bytes(resources_);
    w.BE32(static_cast<uint32_t>(layers_.size())).Bytes(layers_);
    w.BE16(compression_);
    for (const auto& rows : channels_) {
      for (const auto& row : rows) w.BE16(static_cast<unsigned>(testing::HexBytes(row).size()));
    }
    for (const auto& rows : channels_) {
      for (const auto& row : rows) w.Bytes(testing::HexBytes(row));
    }
    return w.bytes();
  }

 private:
  int mode_;
  uint32_t width_;
  uint32_t height_;
  int depth_ = 8;
  std::string signature_ = "8BPS";
  std::vector<uint8_t> colorModeData_;
  std::vector<uint8_t> resources_;
  std::vector<uint8_t> layers_;
  int compression_ = 1;
  std::vector<std::vector<std::string>> channels_;
};

// A resource block: "8BIM", id, name (a length byte, padded to even), data (padded to even).
std::vector<uint8_t> Resource(unsigned id, std::string_view name, const std::vector<uint8_t>& data) {
  ByteWriter w;
  w.Text("8BIM").BE16(id).U8(static_cast<unsigned>(name.size())).Text(name);
  if (name.size() % 2 == 0) w.U8(0);
  w.BE32(static_cast<uint32_t>(data.size())).Bytes(data);
  if (data.size() % 2 != 0) w.U8(0);
  return w.bytes();
}

std::vector<uint8_t> ResolutionInfo(uint32_t horizontal, uint32_t vertical) {
  return ByteWriter().BE32(horizontal).BE16(1).BE16(1).BE32(vertical).BE16(1).BE16(1).bytes();
}

// 256 reds, greens and blues: entry i is (i, 0, 255 - i).
std::vector<uint8_t> RedBluePalette() {
  ByteWriter w;
  for (int i = 0; i < 256; ++i) w.U8(i);
  w.Fill(256, 0);
  for (int i = 0; i < 256; ++i) w.U8(255 - i);
  return w.bytes();
}

int DecodePsd(const std::vector<uint8_t>& bytes, PLBmp& bmp, std::string* text = nullptr) {
  PLPSDDecoder decoder;
  return testing::DecodeCode(decoder, bytes, bmp, text);
}

TEST(PsdDecoder, GreyscaleGetsTheGreyRampAndIndexedItsPalette) {
  PLAnyBmp bmp;
  const auto grey = PsdFile(1, 2, 1).ColorModeData(RedBluePalette()).Channel({"01 05 C8"});
  ASSERT_EQ(DecodePsd(grey.Bytes(), bmp), 0);
  EXPECT_EQ(bmp.GetBitsPerPixel(), 8);
  EXPECT_EQ(ColorAt(bmp, 0, 0) + " " + ColorAt(bmp, 1, 0), "#050505 #C8C8C8");

  const auto indexed = PsdFile(2, 2, 1).ColorModeData(RedBluePalette()).Channel({"01 05 C8"});
  ASSERT_EQ(DecodePsd(indexed.Bytes(), bmp), 0);
  EXPECT_EQ(ColorAt(bmp, 0, 0) + " " + ColorAt(bmp, 1, 0), "#0500FA #C80037");
}

TEST(PsdDecoder, BitmapImagesStayOneBitWithSetBitsBlack) {
  // Ten pixels a row: two bytes, packed; the second row is one run of 0xFF.
  PLAnyBmp bmp;
  ASSERT_EQ(DecodePsd(PsdFile(0, 10, 2).Depth(1).Channel({"01 A5 40", "FF FF"}).Bytes(), bmp), 0);
  EXPECT_EQ(bmp.GetBitsPerPixel(), 1);
  std::string lines;
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 10; ++x) lines += ColorAt(bmp, x, y) == "#000000" ? '#' : '.';
    lines += '/';
  }
  EXPECT_EQ(lines, "#.#..#.#.#/##########/");
  // Bitmap images have one bit per pixel and nothing else.
  std::string text;
  EXPECT_EQ(DecodePsd(PsdFile(0, 10, 1).Depth(8).Channel({"00 00"}).Bytes(), bmp, &text), 6);
}

TEST(PsdDecoder, RgbChannelsFillRedGreenBlueAndAlpha) {
  const struct {
    int channels;
    bool alpha;
    const char* color;
  } cases[] = {{3, false, "#102030/FF"}, {4, true, "#102030/40"}, {5, true, "#102030/40"}};
  const char* rows[] = {"00 10", "00 20", "00 30", "00 40", "00 50"};
  for (const auto& c : cases) {
    PsdFile file(3, 1, 1);
    for (int i = 0; i < c.channels; ++i) file.Channel({rows[i]});
    PLAnyBmp bmp;
    ASSERT_EQ(DecodePsd(file.Bytes(), bmp), 0) << c.channels;
    EXPECT_EQ(bmp.HasAlpha(), c.alpha) << c.channels;
    EXPECT_EQ(ColorAt(bmp, 0, 0, true), c.color) << c.channels;
  }
}

TEST(PsdDecoder, RunsExpandAndLongRowsAreCut) {
  // FD repeats the next byte 4 times, 80 is skipped; a row of 3 keeps its first 3 bytes.
  // Rows that unpack past their end (some encoders write such runs) leave the next row as
  // its own count says.
  PLAnyBmp bmp;
  ASSERT_EQ(DecodePsd(PsdFile(1, 3, 2).Channel({"FF 07 80 00 09", "03 01 02 03 04"}).Bytes(), bmp), 0);
  EXPECT_EQ(bmp.GetLineArray()[0][0], 7);
  EXPECT_EQ(bmp.GetLineArray()[0][1], 7);
  EXPECT_EQ(bmp.GetLineArray()[0][2], 9);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bmp.GetLineArray()[1]), 3), "\x01\x02\x03");
}

TEST(PsdDecoder, ResolutionComesFromItsResourceWhateverTheNamesAndPadding) {
  const struct {
    uint32_t fixed;
    int dpi;
  } cases[] = {{72u << 16, 72}, {19654246u, 299}};  // 72.0 and 299.9 in 16.16 fixed point
  for (const auto& c : cases) {
    ByteWriter resources;
    resources.Bytes(Resource(1000, "", {1, 2, 3}));     // empty name: padded; odd data: padded
    resources.Bytes(Resource(1001, "ab", {4, 5}));      // even name: padded
    resources.Bytes(Resource(0x03ED, "abc", ResolutionInfo(c.fixed, c.fixed)));  // odd name: no padding
    PLAnyBmp bmp;
    ASSERT_EQ(DecodePsd(PsdFile(1, 1, 1).Resources(resources.bytes()).Channel({"00 00"}).Bytes(), bmp), 0);
    EXPECT_EQ(bmp.GetResolution(), (PLPoint{c.dpi, c.dpi}));
  }
}

TEST(PsdDecoder, LayerRecordsAreReadAndTheirSectionSkipped) {
  testing::TempDir dir;
  const std::string trace = dir.File("trace.txt");
  PLPicDecoder::SetTraceConfig(2, trace);
  // Layer info: count -1 (its sign says the first alpha channel is the merged one), one
  // record with two channels and 4 extra bytes, then a mask section that is skipped.
  ByteWriter layers;
  layers.BE32(0).BE16(0xFFFF);
  layers.BE32(0).BE32(0).BE32(1).BE32(1).BE16(2).BE16(0).BE32(2).BE16(0xFFFF).BE32(2);
  layers.Text("8BIMnorm").U8(255).U8(0).U8(0).U8(0).BE32(4).Fill(4, 0).Fill(8, 0xEE);
  std::vector<uint8_t> section = layers.bytes();
  const uint32_t infoLength = static_cast<uint32_t>(section.size() - 4 - 8);
  section[0] = static_cast<uint8_t>(infoLength >> 24);
  section[1] = static_cast<uint8_t>(infoLength >> 16);
  section[2] = static_cast<uint8_t>(infoLength >> 8);
  section[3] = static_cast<uint8_t>(infoLength);
  PLAnyBmp bmp;
  const int code = DecodePsd(PsdFile(1, 1, 1).Layers(section).Channel({"00 2A"}).Bytes(), bmp);
  PLPicDecoder::SetTraceConfig(0, "");
  ASSERT_EQ(code, 0);
  EXPECT_EQ(bmp.GetLineArray()[0][0], 42);
  EXPECT_NE(testing::ReadText(trace).find("Number of layers: 1\n"), std::string::npos);

  // Records that run past the end of their section are refused.
  std::vector<uint8_t> shortSection(section.begin(), section.end() - 12);
  std::string text;
  EXPECT_EQ(DecodePsd(PsdFile(1, 1, 1).Layers(shortSection).Channel({"00 2A"}).Bytes(), bmp, &text), 2);
}

TEST(PsdDecoder, UnsupportedFilesGiveCodedErrors) {
  const struct {
    const char* name;
    PsdFile file;
    int code;
    const char* text;
  } cases[] = {
      {"signature", PsdFile(1, 1, 1).Signature("8BPX").Channel({"00 00"}), 2,
       "Decoder error: PSD decoder: This isn't a photoshop file.\n"},
      {"resource signature", PsdFile(1, 1, 1).Resources(ByteWriter().Text("8BIX").Fill(8, 0).bytes()), 2,
       "Decoder error: PSD decoder: Wrong signature in resource data block.\n"},
      {"CMYK", PsdFile(4, 1, 1).Channel({"00 00"}), 6, "Decoder error: This PSD color mode is not supported.\n"},
      {"16 bits", PsdFile(3, 1, 1).Depth(16).Channel({"00 00"}), 6,
       "Decoder error: This PSD bit depth is not supported.\n"},
      {"uncompressed", PsdFile(1, 1, 1).Compression(0).Channel({"00 00"}), 2,
       "Decoder error: PSD decoder: Compression type not supported.\n"},
      {"compression 4", PsdFile(1, 1, 1).Compression(4).Channel({"00 00"}), 2,
       "Decoder error: PSD decoder: Compression unknown.\n"},
      {"truncated", PsdFile(1, 4, 4).Channel({"00 00"}), 11, "End of file reached while decoding.\n"},
      // Two packed bytes cannot make a row of a million pixels.
      {"rows too short for the width", PsdFile(1, 1000000, 2).Channel({"00 00", "00 00"}), 11,
       "End of file reached while decoding.\n"},
  };
  for (const auto& c : cases) {
    PLAnyBmp bmp;
    std::string text;
    EXPECT_EQ(DecodePsd(c.file.Bytes(), bmp, &text), c.code) << c.name;
    EXPECT_EQ(text, c.text) << c.name;
  }
  // A small file declaring a huge image is refused for its data before the image is made
  // (not for the memory the image would take, code 10).
  {
    PLAnyBmp huge;
    EXPECT_EQ(DecodePsd(PsdFile(3, 200000000, 1).Channel({"00 00"}).Bytes(), huge), 11);
    // No channels: nothing could fill even a small image.
    EXPECT_EQ(DecodePsd(PsdFile(3, 219, 720897).Bytes(), huge), 11);
  }
  // The bitmap exists before an unsupported compression is refused.
  PLAnyBmp bmp;
  DecodePsd(PsdFile(1, 3, 2).Compression(0).Channel({"00 00"}).Bytes(), bmp);
  EXPECT_EQ(bmp.GetSize(), (PLPoint{3, 2}));
}

}  // namespace
}  // namespace vornel
