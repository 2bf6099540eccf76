#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/bitmap/PLWinBmp.h"
#include "image/codec/native/PLBmpDecoder.h"
#include "image/codec/io/PLMemSource.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

// A 2 x 1 Windows bitmap of 8 bits with a two-colour palette (black, red).
std::vector<uint8_t> EightBitBmp() {
  testing::ByteWriter w;
  w.Text("BM").LE32(0).LE32(0).LE32(14 + 40 + 8);
  w.LE32(40).LE32(2).LE32(1).LE16(1).LE16(8).LE32(0).LE32(0).LE32(0).LE32(0).LE32(2).LE32(0);
  w.Bytes(testing::HexBytes("00 00 00 00  00 00 FF 00  00 01 00 00"));
  return w.bytes();
}

std::vector<uint8_t> TrueColorBmp() {
  testing::ByteWriter w;
  w.Text("BM").LE32(0).LE32(0).LE32(14 + 40);
  w.LE32(40).LE32(2).LE32(1).LE16(1).LE16(24).LE32(0).LE32(0).LE32(0).LE32(0).LE32(0).LE32(0);
  return w.Bytes(testing::HexBytes("00 00 00  00 00 FF  00 00")).bytes();
}

TEST(PicDecoder, WidensToTheWantedDepthButNeverNarrows) {
  const struct {
    std::vector<uint8_t> file;
    int wanted;
    int code;
    int bits;
  } cases[] = {
      {EightBitBmp(), 0, 0, 8},  {EightBitBmp(), 8, 0, 8}, {EightBitBmp(), 32, 0, 32},
      {EightBitBmp(), 24, 0, 24}, {TrueColorBmp(), 8, 6, 32},
  };
  for (const auto& c : cases) {
    PLBmpDecoder decoder;
    PLWinBmp bmp;
    int code = 0;
    try {
      decoder.MakeBmpFromMemory(c.file, bmp, c.wanted);
    } catch (const PLTextException& e) {
      code = e.GetCode();
      EXPECT_EQ(e.GetText(), "Image bit depth doesn't match request.");
    }
    EXPECT_EQ(code, c.code) << c.wanted;
    EXPECT_EQ(bmp.GetBitsPerPixel(), c.bits) << c.wanted;
    EXPECT_EQ(testing::ColorAt(bmp, 1, 0), "#FF0000") << c.wanted;
  }
}

TEST(PicDecoder, FilesThatCannotBeOpenedGiveTheSourcesCode) {
  testing::TempDir dir;
  const struct {
    std::string path;
    int code;
  } cases[] = {{dir.File("missing.bmp"), 4}, {dir.File("gone/missing.bmp"), 3}};
  for (const auto& c : cases) {
    PLBmpDecoder decoder;
    PLAnyBmp bmp;
    try {
      decoder.MakeBmpFromFile(c.path, bmp);
      ADD_FAILURE() << c.path;
    } catch (const PLTextException& e) {
      EXPECT_EQ(e.GetCode(), c.code);
      EXPECT_EQ(e.GetText(), "Decoder error: Opening " + c.path + " failed\n");
    }
  }
  const std::vector<uint8_t> file = EightBitBmp();
  testing::WriteText(dir.File("red.bmp"), std::string(file.begin(), file.end()));
  PLBmpDecoder decoder;
  PLAnyBmp bmp;
  decoder.MakeBmpFromFile(dir.File("red.bmp"), bmp);
  EXPECT_EQ(testing::ColorAt(bmp, 1, 0), "#FF0000");
}

// Lets the tests call the protected helpers.
class PackBits : public PLPicDecoder {
 public:
  using PLPicDecoder::ExpandPackBits;
  using PLPicDecoder::UnpackPackBits;
};

TEST(PicDecoder, PackBitsStaysInsideItsRowAndItsData) {
  const struct {
    const char* packed;
    size_t rowBytes;
    const char* row;
  } cases[] = {
      {"02 01 02 03  FE 07", 6, "01 02 03 07 07 07"},
      {"80 01 09 0A", 2, "09 0A"},        // 128 is skipped
      {"FD 05", 2, "05 05"},              // a run longer than the row is cut
      {"04 01 02", 4, "01 02 00 00"},     // a literal longer than the data is cut
      {"FE", 4, "00 00 00 00"},           // a run without its byte ends the row
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> row(c.rowBytes);
    const std::vector<uint8_t> packed = testing::HexBytes(c.packed);
    PackBits::ExpandPackBits(row, packed);
    EXPECT_EQ(testing::ToHex(row), c.row) << c.packed;
  }

  // Rows of fewer than 8 bytes are stored unpacked.
  const std::vector<uint8_t> data = testing::HexBytes("01 02 03 FD 05");
  PLMemSource source;
  source.Open(data.data(), static_cast<int64_t>(data.size()));
  std::vector<uint8_t> row(8);
  EXPECT_EQ(PackBits::UnpackPackBits(row.data(), source, 3, 3), data.data());
  EXPECT_EQ(PackBits::UnpackPackBits(row.data(), source, 8, 2), row.data());
  EXPECT_EQ(testing::ToHex({row.begin(), row.begin() + 2}), "05 05");
}

}  // namespace
}  // namespace vornel
