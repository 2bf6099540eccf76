// Metafiles played into bitmaps: the page size from the metafile's frame, the white page,
// the choice of 8 or 32 bits, and the records drawn.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/native/PLMetafilePlayer.h"
#include "image/codec/native/PLWEMFDecoder.h"
#include "platform/draw/RecordingDevice.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::ByteWriter;
using testing::ColorAt;

// A placeable metafile: box, units per inch, then the 18-byte header and the records.
std::vector<uint8_t> Wmf(int right, int bottom, int unitsPerInch, const std::vector<uint8_t>& records) {
  ByteWriter w;
  w.LE32(0x9AC6CDD7).LE16(0).LE16(0).LE16(0).LE16(right).LE16(bottom).LE16(unitsPerInch).LE32(0).LE16(0);
  w.LE16(1).LE16(9).LE16(0x300).LE32(static_cast<uint32_t>(9 + records.size() / 2 + 3)).LE16(4).LE32(16).LE16(0);
  w.Bytes(records).LE32(3).LE16(0);
  return w.bytes();
}

// Records of a plain metafile: a solid red brush and a null pen selected, a rectangle.
std::vector<uint8_t> RedRectangleRecords(int left, int top, int right, int bottom) {
  ByteWriter w;
  w.LE32(7).LE16(0x2FC).LE16(0).LE32(0x0000FF).LE16(0);  // CreateBrushIndirect: slot 0
  w.LE32(8).LE16(0x2FA).LE16(5).LE16(0).LE16(0).LE32(0);  // CreatePenIndirect (null): slot 1
  w.LE32(4).LE16(0x12D).LE16(0);
  w.LE32(4).LE16(0x12D).LE16(1);
  w.LE32(7).LE16(0x41B).LE16(bottom).LE16(right).LE16(top).LE16(left);
  return w.bytes();
}

// An enhanced metafile: the header with its frame and reference device, the records, and
// the end record with `palette` entries.
std::vector<uint8_t> Emf(std::array<int, 4> frame, std::array<int, 4> device, const std::vector<uint8_t>& records,
                         int palette = 0) {
  ByteWriter w;
  w.LE32(1).LE32(88).LE32(0).LE32(0).LE32(100).LE32(100);
  for (const int v : frame) w.LE32(static_cast<uint32_t>(v));
  w.LE32(0x464D4520).LE32(0x10000).LE32(0).LE32(0).LE16(4).LE16(0).LE32(0).LE32(0).LE32(palette);
  for (const int v : device) w.LE32(static_cast<uint32_t>(v));
  w.Bytes(records);
  w.LE32(14).LE32(20 + 4 * palette).LE32(palette).LE32(16);
  for (int i = 0; i < palette; ++i) w.U8(i * 16).U8(0).U8(255 - i * 16).U8(0);
  w.LE32(20 + 4 * palette);
  return w.bytes();
}

PLAnyBmp& DecodeNamed(const std::string& name, const std::vector<uint8_t>& bytes, PLAnyBmp& bmp) {
  testing::TempDir dir;
  testing::WriteText(dir.File(name), std::string(bytes.begin(), bytes.end()));
  PLWEMFDecoder decoder;
  decoder.MakeBmpFromFile(dir.File(name), bmp);
  return bmp;
}

TEST(Metafile, APlaceableMetafileIsSizedFromItsBoxOnAWhitePage) {
  PLWEMFDecoder decoder;
  PLAnyBmp bmp;
  ASSERT_EQ(testing::DecodeCode(decoder, Wmf(1440, 720, 1440, RedRectangleRecords(720, 0, 1440, 360)), bmp), 0);
  EXPECT_EQ(bmp.GetSize(), (PLPoint{96, 48}));
  EXPECT_EQ(bmp.GetBitsPerPixel(), 32);
  EXPECT_TRUE(bmp.HasAlpha());
  EXPECT_EQ(ColorAt(bmp, 10, 10, true), "#FFFFFF/FF");  // not painted
  EXPECT_EQ(ColorAt(bmp, 70, 10, true), "#FF0000/FF");  // the rectangle: right half, upper half
  EXPECT_EQ(ColorAt(bmp, 70, 40), "#FFFFFF");
}

TEST(Metafile, SizesThatWouldDivideByZeroGiveTheDefaultPage) {
  PLAnyBmp bmp;
  PLWEMFDecoder decoder;
  ASSERT_EQ(testing::DecodeCode(decoder, Wmf(1440, 720, 0, {}), bmp), 0);
  EXPECT_EQ(bmp.GetSize(), (PLPoint{320, 200}));
  DecodeNamed("zero.emf", Emf({0, 0, 1000, 1000}, {1024, 768, 0, 0}, {}), bmp);
  EXPECT_EQ(bmp.GetSize(), (PLPoint{320, 200}));
  DecodeNamed("empty.emf", Emf({0, 0, 0, 0}, {1024, 768, 320, 240}, {}), bmp);
  EXPECT_EQ(bmp.GetSize(), (PLPoint{320, 200}));
}

// A few records that declare a page of 6000 x 6000 pixels would make a page and a picture of
// 288 MB: no page larger than its records could stand for is made.
TEST(Metafile, APageBeyondWhatItsRecordsCanStandForIsRefused) {
  PLWEMFDecoder decoder;
  PLAnyBmp bmp;
  EXPECT_EQ(testing::DecodeCode(decoder, Wmf(6000, 6000, 96, RedRectangleRecords(0, 0, 10, 10)), bmp),
            kPLErrEndOfData);
  EXPECT_NE(bmp.GetWidth(), 6000);
}

// A metafile plays at most kMaxRecords records: a file of millions of tiny ones ends there.
TEST(Metafile, PlayingStopsAfterTheRecordBudget) {
  ByteWriter w;
  // SetBkMode, alternating so that every call is seen.
  for (size_t i = 0; i < PLMetafilePlayer::kMaxRecords + 5; ++i) w.LE32(4).LE16(0x102).LE16(i % 2 == 0 ? 1 : 2);
  const std::vector<uint8_t> file = Wmf(96, 96, 96, w.bytes());
  RecordingDevice device;
  PLMetafilePlayer player(device);
  device.ClearLog();
  player.PlayWmf(std::span(file).subspan(22), {0, 0, 96, 96}, 96, 96);
  size_t calls = 0;
  for (size_t at = device.Log().find("SetBkMode"); at != std::string::npos; at = device.Log().find("SetBkMode", at + 1)) {
    ++calls;
  }
  EXPECT_EQ(calls, PLMetafilePlayer::kMaxRecords);
}

TEST(Metafile, EnhancedMetafilesAreKnownByTheirNameInAnyCase) {
  // A frame of 25.4 mm on a reference of 100 pixels in 25.4 mm: 100 x 100 pixels. A red
  // rectangle filling the left half through a brush and a rectangle record.
  ByteWriter records;
  records.LE32(39).LE32(24).LE32(1).LE32(0).LE32(0x0000FF).LE32(0);  // CreateBrushIndirect 1
  records.LE32(37).LE32(12).LE32(1);                                  // SelectObject 1
  records.LE32(37).LE32(12).LE32(0x80000008);                         // the null pen
  records.LE32(43).LE32(24).LE32(0).LE32(0).LE32(50).LE32(100);       // Rectangle
  PLAnyBmp bmp;
  DecodeNamed("drawing.Emf", Emf({0, 0, 2540, 2540}, {100, 100, 25, 25}, records.bytes()), bmp);
  EXPECT_EQ(bmp.GetSize(), (PLPoint{101, 101}));
  EXPECT_EQ(ColorAt(bmp, 20, 50), "#FF0000");
  EXPECT_EQ(ColorAt(bmp, 80, 50), "#FFFFFF");
}

TEST(Metafile, APaletteOfSixteenColoursGivesEightBits) {
  PLAnyBmp bmp;
  DecodeNamed("palette.emf", Emf({0, 0, 1000, 1000}, {100, 100, 10, 10}, {}, 16), bmp);
  EXPECT_EQ(bmp.GetBitsPerPixel(), 8);
  EXPECT_EQ(bmp.GetPalette()[1], PLPixel32::FromRgba(16, 0, 239));
  EXPECT_EQ(bmp.GetPalette()[16], PLPixel32{});
}

TEST(Metafile, DamagedHeadersAreRefused) {
  const std::vector<uint8_t> placeable = Wmf(100, 100, 96, {});
  const std::vector<uint8_t> shortPlaceable(placeable.begin(), placeable.begin() + 20);
  std::vector<uint8_t> badHeader = placeable;
  badHeader[24] = 7;  // header size other than 9 words
  const struct {
    const char* name;
    std::vector<uint8_t> data;
    int code;
  } cases[] = {
      {"placeable header cut short", shortPlaceable, 6},
      {"wrong header size", badHeader, 6},
      {"nothing", {}, 6},
  };
  for (const auto& c : cases) {
    PLWEMFDecoder decoder;
    PLAnyBmp bmp;
    std::string text;
    EXPECT_EQ(testing::DecodeCode(decoder, c.data, bmp, &text), c.code) << c.name;
    EXPECT_EQ(text, "Decoder error: Windows Metafile functions failed to load this image.\n") << c.name;
  }
  PLAnyBmp bmp;
  EXPECT_EQ(testing::CodeOf([&] { DecodeNamed("short.emf", {1, 0, 0, 0, 88, 0, 0, 0}, bmp); }), 6);
  std::vector<uint8_t> header = Emf({0, 0, 10, 10}, {1, 1, 1, 1}, {});
  header[4] = 200;  // a header larger than the file
  EXPECT_EQ(testing::CodeOf([&] { DecodeNamed("big.emf", header, bmp); }), 2);
}

TEST(Metafile, TheCorpusDrawingsRender) {
  const char* corpus = std::getenv("VORNEL_CORPUS_DIR");
  const std::filesystem::path folder = std::filesystem::path(corpus != nullptr ? corpus : VORNEL_CORPUS_DIR) / "images" / "various";
  if (!std::filesystem::exists(folder / "drawing.emf")) GTEST_SKIP() << "no corpus at " << folder;
  PLWEMFDecoder decoder;
  PLAnyBmp emf;
  decoder.MakeBmpFromFile((folder / "drawing.emf").string(), emf);
  // A red disc with a black outline on a 2899 x 2899 hundredths-of-a-millimetre frame.
  EXPECT_EQ(emf.GetSize(), (PLPoint{1369, 1369}));
  EXPECT_EQ(ColorAt(emf, 684, 684), "#FF0000");
  EXPECT_EQ(ColorAt(emf, 1365, 1365), "#FFFFFF");
  PLAnyBmp wmf;
  decoder.MakeBmpFromFile((folder / "drawing.wmf").string(), wmf);
  EXPECT_EQ(wmf.GetSize(), (PLPoint{109, 109}));  // 1369 units at 1200 an inch
  EXPECT_EQ(ColorAt(wmf, 100, 100), "#FF0000");
  EXPECT_EQ(ColorAt(wmf, 5, 5), "#FFFFFF");
}

}  // namespace
}  // namespace vornel
