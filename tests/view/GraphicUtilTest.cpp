// GraphicUtil: unit conversion, pens, primitives, brackets and the brace, and the bitmap
// reader.

#include <gtest/gtest.h>

#include <cstring>

#include "GoldenLog.h"
#include "platform/draw/RecordingDevice.h"
#include "support/Bytes.h"
#include "view/draw/DrawContext.h"
#include "view/draw/GraphicUtil.h"

namespace vornel {
namespace {

struct ConversionCase {
  int32_t value;
  int32_t zoom;
  int32_t dpi;
  int32_t expected;
};

class ConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTest, HundredthsOfAMillimetreToPixels) {
  const auto& c = GetParam();
  RecordingDevice dc(c.dpi);
  GraphicUtil g(dc, c.zoom);
  EXPECT_EQ(g.HundredthMmToDeviceX(c.value), c.expected);
  EXPECT_EQ(g.HundredthMmToDeviceY(c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ConversionTest,
                         ::testing::Values(ConversionCase{2540, 100, 96, 96},    // one inch
                                           ConversionCase{2540, 150, 96, 144},
                                           ConversionCase{2540, 100, 600, 600},  // a printer
                                           ConversionCase{66, 100, 96, 3},       // 2.5 up
                                           ConversionCase{-66, 100, 96, -3},     // -2.5 away from zero
                                           ConversionCase{-2540, 100, 96, -96},  // a whole negative stays whole
                                           ConversionCase{0, 100, 96, 0},
                                           ConversionCase{2540, 0, 96, 96},      // zoom 0 counts as 100
                                           ConversionCase{20000000, 400, 96, 3023622}));  // beyond 32 bits before the division

TEST(GraphicUtil, StyledPenWidthsBecomeAtLeastOnePixelExceptTheAlternatePen) {
  RecordingDevice dc;
  GraphicUtil g(dc, 100);
  int32_t width = 0;
  g.SelectStyledPen(width, 0, PS_SOLID);
  EXPECT_EQ(width, 1);
  width = 0;
  g.SelectStyledPen(width, 0, 2);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(dc.GetPen().BaseStyle(), PS_ALTERNATE);
  width = 50;
  g.SelectStyledPen(width, 0x0000FF, PS_SOLID);
  EXPECT_EQ(width, 2);  // 0.5 mm at 96 dpi
  EXPECT_EQ(dc.GetPen().width, 2);
}

TEST(GraphicUtil, LinesWithAnEndAtXZeroOrNoLengthAreNotDrawn) {
  RecordingDevice dc;
  GraphicUtil g(dc, 100);
  g.DrawLine(20, 0, PS_SOLID, 0, 10, 50, 10);
  g.DrawLine(20, 0, PS_SOLID, 10, 10, 0, 10);
  g.DrawLine(20, 0, PS_SOLID, 30, 30, 30, 30);
  g.DrawTwoSegmentLine(20, 10, 10, 0, 20, 30, 30);
  EXPECT_EQ(dc.Log(), "");
}

TEST(GraphicUtil, BorderFramesNest) {
  RecordingDevice dc;
  GraphicUtil g(dc, 100);
  Rect r{100, 100, 300, 200};
  r = g.DrawBorderFrame(5, r);  // 0.5 mm: 2 pixels
  EXPECT_EQ(r, (Rect{103, 103, 299, 199}));
  r = g.DrawBorderFrame(5, r);
  r = g.DrawBorderFrame(5, r);
  EXPECT_EQ(r, (Rect{109, 109, 297, 197}));
  size_t frames = 0;
  for (size_t at = dc.Log().find("Rectangle"); at != std::string::npos; at = dc.Log().find("Rectangle", at + 1)) {
    ++frames;
  }
  EXPECT_EQ(frames, 3u);
}

TEST(GraphicUtil, ScreenOnlyDrawingIsLeftOutWhenPrinting) {
  PageDrawSettings settings;
  settings.showMarkers = true;
  DeviceBitmap tile(8, 8, 0x00FF00);
  for (bool printing : {true, false}) {
    RecordingDevice dc(96, printing);
    const DrawContext context(dc, settings);
    GraphicUtil g(dc, 100);
    g.DrawScreenFrame({10, 10, 50, 50}, 2, PS_DOT, 0x808080);
    g.DrawScreenMarker(0x00FF00, 20, 20);
    TileBitmapBackground(dc, tile, {0, 0, 16, 16}, {0, 0});
    EXPECT_EQ(dc.Log().empty(), printing) << dc.Log();
  }
  // Without page settings, or with markers off, there is no marker either.
  RecordingDevice dc;
  GraphicUtil(dc, 100).DrawScreenMarker(0x00FF00, 20, 20);
  EXPECT_EQ(dc.Log(), "");
}

TEST(GraphicUtil, ScaleRectCentredKeepsTheCentre) {
  EXPECT_EQ(GraphicUtil::ScaleRectCentred(50, {0, 0, 100, 40}), (Rect{25, 10, 75, 30}));
  EXPECT_EQ(GraphicUtil::ScaleRectCentred(200, {10, 10, 20, 20}), (Rect{5, 5, 25, 25}));
}

TEST(GraphicUtil, GoldenLogOfThePrimitives) {
  RecordingDevice dc;
  GraphicUtil g(dc, 150);
  g.DrawLine(30, 0x0000FF, PS_SOLID, 10, 10, 200, 10);
  g.DrawLine(30, 0, 1, 10, 20, 200, 20);  // style 1: the dashed grey line
  g.DrawLine(0, 0x00FF00, 2, 10, 30, 200, 30);
  g.DrawThinLine(10, 0xFF0000, 10, 40, 200, 40);
  g.DrawBlackLine(20, LineSegment(10, 50, 200, 60));
  g.DrawTwoSegmentLine(40, 10, 70, 100, 70, 100, 90);
  g.DrawTupletBracket(-10, 3, true, 20, 120, 180, 110);
  g.DrawVerticalLine(35, 0, 220, 10, 100, false);
  g.DrawVerticalLine(35, 0, 230, 10, 100, true);
  EXPECT_EQ(g.DrawFilledRect(0x808080, 9, 1, 250, 10, 0), (Rect{246, 10, 255, 19}));
  g.DrawRectOutline({300, 60, 260, 20}, 0x0000FF);
  g.DrawScreenFrame({260, 80, 300, 120}, 3, PS_DOT, 0x808080);
  g.DrawArrow(120, 10, 150);
  g.DrawTriangle(1, 0x00C8C8, 200, 160, 8, 12);
  testing::ExpectGoldenLog("primitives", dc.Log());
}

TEST(GraphicUtil, GoldenLogOfTheBracketsAndTheBrace) {
  RecordingDevice dc;
  GraphicUtil g(dc, 100);
  const Rect square = g.DrawSquareBracket(6, 0, 40, 20, 200);
  EXPECT_EQ(square, (Rect{43, 211, 49, 217}));  // the bottom end, past the bar
  g.DrawSquareBracket(6, 1, 380, 20, 200);
  EXPECT_EQ(g.DrawSystemBrace(200, 3, 0, 80, 20), (Rect{68, 20, 80, 220}));
  g.DrawCurvedBracket(5, 0, 120, 20, 200);
  g.DrawThickBracket(3, 5, 0, 160, 20, 200);
  g.DrawThickBracket(4, 5, 1, 220, 20, 200);
  g.DrawArcBracket(5, 0, 260, 20, 200, 20);
  g.DrawBlockBracket(6, 5, 0, 300, 20, 200, 30);
  g.DrawBlockBracket(7, 5, 1, 350, 20, 200, 30);
  testing::ExpectGoldenLog("brackets", dc.Log());
}

// A bitmap file from its parts: 14-byte file header, 40-byte info header, table, rows.
std::vector<uint8_t> BmpFile(int32_t width, int32_t height, uint16_t bits, const std::vector<uint8_t>& tableAndRows,
                             uint32_t colours = 0) {
  std::vector<uint8_t> file = {'B', 'M'};
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto u16 = [&](uint16_t v) {
    file.push_back(static_cast<uint8_t>(v));
    file.push_back(static_cast<uint8_t>(v >> 8));
  };
  u32(static_cast<uint32_t>(54 + tableAndRows.size()));
  u32(0);
  u32(999);  // a wrong pixel offset: the reader takes the bits after the table instead
  u32(40);
  u32(static_cast<uint32_t>(width));
  u32(static_cast<uint32_t>(height));
  u16(1);
  u16(bits);
  u32(0);
  u32(0);
  u32(2835);
  u32(2835);
  u32(colours);
  u32(0);
  file.insert(file.end(), tableAndRows.begin(), tableAndRows.end());
  return file;
}

TEST(LoadBitmapFromFile, ReadsBottomUpAndPaletteBitmaps) {
  testing::TempDir dir;
  // 2 × 2, 24 bits, bottom-up: the first row in the file is the bottom one.
  const std::vector<uint8_t> rows = {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0,   // bottom: red, green
                                     0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0, 0};  // top: blue, white
  const std::string rgb = dir.File("rgb.bmp");
  const auto rgbFile = BmpFile(2, 2, 24, rows);
  testing::WriteText(rgb, std::string(rgbFile.begin(), rgbFile.end()));
  DeviceBitmap bitmap;
  ASSERT_TRUE(LoadBitmapFromFile(rgb, bitmap));
  EXPECT_EQ(bitmap.GetPixel(0, 1), RGB(255, 0, 0));
  EXPECT_EQ(bitmap.GetPixel(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(bitmap.GetPixel(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(bitmap.GetPixel(1, 0), RGB(255, 255, 255));

  // 3 × 1, 1 bit, a two-entry table (black, yellow), top-down.
  const std::vector<uint8_t> mono = {0, 0, 0, 0, 0x00, 0xFF, 0xFF, 0, 0b10100000, 0, 0, 0};
  const std::string one = dir.File("one.bmp");
  const auto monoFile = BmpFile(3, -1, 1, mono, 2);
  testing::WriteText(one, std::string(monoFile.begin(), monoFile.end()));
  ASSERT_TRUE(LoadBitmapFromFile(one, bitmap));
  EXPECT_EQ(bitmap.GetPixel(0, 0), RGB(255, 255, 0));
  EXPECT_EQ(bitmap.GetPixel(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(bitmap.GetPixel(2, 0), RGB(255, 255, 0));
}

TEST(LoadBitmapFromFile, LongerInfoHeadersKeepTheirPixelsApart) {
  // A 124-byte header with its masks inside it, then one 32-bit pixel: 0xFF1E140A.
  std::vector<uint8_t> file = BmpFile(1, 1, 32, {});
  file[14] = 124;                                      // header size
  file[30] = 3;                                        // bit fields
  file.resize(54);
  for (uint32_t mask : {0xFF0000u, 0xFF00u, 0xFFu, 0xFF000000u}) {
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(mask >> (8 * i)));
  }
  file.resize(14 + 124, 0);
  file.insert(file.end(), {10, 20, 30, 255});
  DeviceBitmap bitmap;
  ASSERT_TRUE(DecodeBitmapFile(file, bitmap));
  EXPECT_EQ(bitmap.GetPixel(0, 0), RGB(30, 20, 10));
}

TEST(LoadBitmapFromFile, WideBitFieldMasksScaleWithoutOverflow) {
  // A 40-byte header, bit fields: the masks follow it. Red takes all 32 bits, green 25 bits,
  // blue none; the one pixel has every bit set, so red and green are full.
  std::vector<uint8_t> file = BmpFile(1, 1, 32, {});
  file[30] = 3;
  for (uint32_t mask : {0xFFFFFFFFu, 0x01FFFFFFu, 0u}) {
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(mask >> (8 * i)));
  }
  file.insert(file.end(), {0xFF, 0xFF, 0xFF, 0xFF});
  DeviceBitmap bitmap;
  ASSERT_TRUE(DecodeBitmapFile(file, bitmap));
  EXPECT_EQ(bitmap.GetPixel(0, 0), RGB(255, 255, 0));
}

TEST(LoadBitmapFromFile, RefusesWhatItCannotReadWhole) {
  testing::TempDir dir;
  const std::vector<uint8_t> rows(16, 0);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  auto truncated = BmpFile(2, 2, 24, rows);
  truncated.resize(truncated.size() - 1);
  auto wrongMagic = BmpFile(2, 2, 24, rows);
  wrongMagic[0] = 'X';
  const Case cases[] = {
      {"short", {'B', 'M', 0, 0}},
      {"truncated", truncated},
      {"magic", wrongMagic},
      {"huge", BmpFile(1 << 30, 1 << 30, 24, rows)},
      {"zero", BmpFile(0, 2, 24, rows)},
      {"bits", BmpFile(2, 2, 7, rows)},
      {"colours", BmpFile(2, 2, 8, rows, 0xFFFFFFFF)},
  };
  for (const auto& c : cases) {
    const std::string path = dir.File(std::string(c.name) + ".bmp");
    testing::WriteText(path, std::string(c.bytes.begin(), c.bytes.end()));
    DeviceBitmap bitmap(1, 1, 0x123456);
    EXPECT_FALSE(LoadBitmapFromFile(path, bitmap)) << c.name;
    EXPECT_EQ(bitmap.GetPixel(0, 0), 0x123456u) << c.name;  // left as it was
  }
  DeviceBitmap bitmap;
  EXPECT_FALSE(LoadBitmapFromFile(dir.File("absent.bmp"), bitmap));
}

}  // namespace
}  // namespace vornel
