// Format detection: each format by its first bytes, the order of the tests, and the name
// tests for metafiles.

#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/codec/PLAnyPicDecoder.h"
#include "image/codec/io/PLMemSource.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using Type = PLAnyPicDecoder::FileType;

std::vector<uint8_t> Padded(std::vector<uint8_t> start, size_t size = 32) {
  start.resize(std::max(start.size(), size), 0);
  return start;
}

// Bytes 522-525 of a picture after its 512-byte preamble, in data of `size` bytes.
std::vector<uint8_t> PictBytes(std::vector<uint8_t> opcodes, size_t size) {
  std::vector<uint8_t> data(size, 0);
  std::copy(opcodes.begin(), opcodes.end(), data.begin() + 522);
  return data;
}

std::vector<uint8_t> EpsHeader(uint32_t offset, uint32_t length) {
  testing::ByteWriter w;
  w.Bytes({0xC5, 0xD0, 0xD3, 0xC6}).Fill(16, 0).LE32(offset).LE32(length);
  return Padded(w.bytes());
}

TEST(FormatDetection, EachFormatByItsFirstBytes) {
  const struct {
    const char* name;
    std::vector<uint8_t> data;
    Type type;
  } cases[] = {
      {"BM", Padded({'B', 'M'}), Type::kBmp},
      {"BA", Padded({'B', 'A'}), Type::kBmp},
      {"IC", Padded({'I', 'C'}), Type::kBmp},
      {"CP", Padded({'C', 'P'}), Type::kBmp},
      {"CI", Padded({'C', 'I'}), Type::kBmp},
      {"GIF8", Padded({'G', 'I', 'F', '8', '9', 'a'}), Type::kGif},
      {"TIFF little-endian", Padded({0x49, 0x49, 0x2A, 0x00}), Type::kTiff},
      {"TIFF big-endian", Padded({0x4D, 0x4D, 0x00, 0x2A}), Type::kTiff},
      {"PICT version 2", PictBytes({0x00, 0x11, 0x02, 0xFF}, 541), Type::kPict},
      {"PICT version 1", PictBytes({0x11, 0x01, 0x01, 0x00}, 541), Type::kPict},
      {"PICT 00 11 01", PictBytes({0x00, 0x11, 0x01, 0x77}, 541), Type::kPict},
      {"JPEG", Padded({0xFF, 0xD8, 0xFF, 0xE0}), Type::kJpeg},
      {"PNG", Padded({137, 'P', 'N', 'G', 13, 10, 26, 10}), Type::kPng},
      {"EPS with a TIFF preview", EpsHeader(30, 8), Type::kEpsTiff},
      {"PCX", Padded({10, 5, 1, 8}), Type::kPcx},
      {"PGM text", Padded({'P', '2'}), Type::kPgm},
      {"PGM binary", Padded({'P', '5'}), Type::kPgm},
      {"PPM text", Padded({'P', '3'}), Type::kPpm},
      {"PPM binary", Padded({'P', '6'}), Type::kPpm},
      {"PSD", Padded({'8', 'B', 'P', 'S', 0, 1}), Type::kPsd},
      // TGA: colour-map type, image type, entry size and pixel depth all plausible.
      {"TGA", [] { auto d = Padded({0, 0, 2}); d[16] = 24; return d; }(), Type::kTga},
      // Precedence: this PCX-looking header is also a plausible TGA, which is tested first.
      {"TGA before PCX", [] { auto d = Padded({10, 1, 1}); d[7] = 24; d[16] = 8; return d; }(), Type::kTga},
      {"a PICT of 540 bytes is not one", PictBytes({0x00, 0x11, 0x02, 0xFF}, 540), Type::kUnknown},
      {"EPS without a preview length", EpsHeader(30, 0), Type::kUnknown},
      {"short data never matches beyond its end", {'P'}, Type::kUnknown},
      {"text", Padded({'h', 'e', 'l', 'l', 'o'}), Type::kUnknown},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PLAnyPicDecoder::DetectSignature(c.data.data(), static_cast<int64_t>(c.data.size())), c.type) << c.name;
  }
}

TEST(FormatDetection, UnknownDataIsCodeEight) {
  PLAnyPicDecoder decoder;
  PLAnyBmp bmp;
  std::string text;
  EXPECT_EQ(testing::DecodeCode(decoder, Padded({'h', 'e', 'l', 'l', 'o'}), bmp, &text), 8);
  EXPECT_EQ(text, "Decoder error: Unknown file type.\n");
  EXPECT_EQ(decoder.GetFileType(), 0);
}

TEST(FormatDetection, ASourceAlreadyReadIntoIsTestedOnlyOnWhatIsLeft) {
  // 600 bytes of which 70 are read: the 530 left are too few for a picture, though the
  // picture signature stands at byte 522 counted from where the source is.
  std::vector<uint8_t> data(600, 0);
  const std::vector<uint8_t> signature = {0x00, 0x11, 0x02, 0xFF};
  std::copy(signature.begin(), signature.end(), data.begin() + 70 + 522);
  PLMemSource source;
  source.Open(data.data(), static_cast<int64_t>(data.size()));
  source.ReadNBytes(70);
  PLAnyPicDecoder decoder;
  PLAnyBmp bmp;
  EXPECT_EQ(testing::CodeOf([&] { decoder.MakeBmp(source, bmp, 0); }), 8);
  EXPECT_EQ(decoder.GetFileType(), Type::kUnknown);
}

TEST(FormatDetection, MetafilesAreKnownByTheirNameAnywhereInAnyCase) {
  testing::TempDir dir;
  // A placeable metafile with a box of 96 x 48 units at 96 units per inch and no records.
  testing::ByteWriter w;
  w.LE32(0x9AC6CDD7).LE16(0).LE16(0).LE16(0).LE16(96).LE16(48).LE16(96).LE32(0).LE16(0);
  w.LE16(1).LE16(9).LE16(0x300).LE32(12).LE16(0).LE32(3).LE16(0);
  w.LE32(3).LE16(0);
  const std::vector<uint8_t> wmf = w.bytes();
  const std::string path = dir.File("image.Wmf.png");
  testing::WriteText(path, std::string(wmf.begin(), wmf.end()));
  PLAnyPicDecoder decoder;
  PLAnyBmp bmp;
  decoder.MakeBmpFromFile(path, bmp);
  EXPECT_EQ(decoder.GetFileType(), Type::kWmf);
  EXPECT_EQ(bmp.GetWidth(), 96);

  // From memory the name is "Mem": the same bytes are not taken for a metafile.
  EXPECT_EQ(testing::DecodeCode(decoder, wmf, bmp), 8);
}

TEST(FormatDetection, TheTiffPreviewOfAnEpsFileIsDecodedFromItsOffset) {
  // A one-pixel grey TIFF after a 30-byte EPS header.
  const std::vector<uint8_t> tiff = testing::HexBytes(
      "49 49 2A 00 08 00 00 00 07 00 00 01 03 00 01 00 00 00 01 00 00 00 01 01 03 00 01 00 00 00 01 00 00 00"
      " 02 01 03 00 01 00 00 00 08 00 00 00 06 01 03 00 01 00 00 00 01 00 00 00 11 01 04 00 01 00 00 00 62 00 00 00"
      " 16 01 03 00 01 00 00 00 01 00 00 00 17 01 04 00 01 00 00 00 01 00 00 00 00 00 00 00 C8");
  std::vector<uint8_t> eps = EpsHeader(30, static_cast<uint32_t>(tiff.size()));
  eps.resize(30);
  eps.insert(eps.end(), tiff.begin(), tiff.end());
  PLAnyPicDecoder decoder;
  PLAnyBmp bmp;
  ASSERT_EQ(testing::DecodeCode(decoder, eps, bmp), 0);
  EXPECT_EQ(decoder.GetFileType(), Type::kEpsTiff);
  EXPECT_EQ(testing::ColorAt(bmp, 0, 0), "#C8C8C8");
}

}  // namespace
}  // namespace vornel
