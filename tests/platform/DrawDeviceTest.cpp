// The device interface: MulDiv, rectangles, pens, fills, text alignment and font sizes, on
// the recording device (what is called) and on Cairo images (what the pixels show).

#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/draw/CairoDevice.h"
#include "platform/draw/MulDiv.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/draw/ScaledDevice.h"

namespace vornel {
namespace {

struct MulDivCase {
  int32_t number, numerator, denominator, expected;
};

class MulDivTest : public ::testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, RoundsHalvesAwayFromZero) {
  const auto& c = GetParam();
  EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
      << c.number << " * " << c.numerator << " / " << c.denominator;
}

INSTANTIATE_TEST_SUITE_P(Table, MulDivTest,
                         ::testing::Values(MulDivCase{2540, 96, 254, 960},   // one inch at 96 dpi
                                           MulDivCase{60, 96, 254, 23},      // 22.68
                                           MulDivCase{5, 1, 2, 3},           // 2.5 up
                                           MulDivCase{-5, 1, 2, -3},         // -2.5 away from zero
                                           MulDivCase{5, -1, 2, -3},         // sign from the factor
                                           MulDivCase{-5, -1, -2, -3},       // three negatives
                                           MulDivCase{7, 1, 4, 2},           // 1.75
                                           MulDivCase{5, 1, 4, 1},           // 1.25
                                           MulDivCase{1, 1, 0, -1},          // zero divisor
                                           MulDivCase{0, 5, 0, -1},
                                           MulDivCase{2000000000, 2000000000, 2000000000, 2000000000},  // 64-bit product
                                           MulDivCase{2000000000, 4, 2, -1},  // result beyond 32 bits
                                           MulDivCase{720, 96, 254, 272}));

TEST(RecordingDevice, LogsCallsAndKeepsStateAcrossSaveAndRestore) {
  RecordingDevice dc;
  dc.SelectPen(Pen::Create(PS_SOLID, 3, 0x0000FF));
  dc.SaveDC();
  dc.SetTextColor(0x00FF00);
  dc.MoveTo(1, 2);
  dc.LineTo(30, 2);
  dc.Rectangle(5, 6, 7, 8);
  dc.RestoreDC(-1);
  EXPECT_EQ(dc.GetTextColor(), 0u);
  EXPECT_EQ(dc.GetPen().width, 3);
  EXPECT_EQ(dc.Log(),
            "SelectPen style=0x10000 width=3 colour=0x0000FF\n"
            "SaveDC -> 1\n"
            "SetTextColor 0x00FF00\n"
            "MoveTo 1 2\n"
            "LineTo 30 2\n"
            "Rectangle 5 6 7 8\n"
            "RestoreDC -1\n");
  EXPECT_FALSE(dc.RestoreDC(-1));  // nothing saved any more
}

// The ink of an image as a predicate on its pixels.
bool Inked(const DeviceBitmap& image, int x, int y) { return image.GetPixel(x, y) != 0xFFFFFF; }

TEST(CairoImage, RectangleLeavesOutItsRightColumnAndBottomRow) {
  ImageDevice dc(40, 40);
  dc.SelectStockBrush(StockObject::kNullBrush);
  dc.Rectangle(10, 10, 20, 20);
  const DeviceBitmap image = dc.ToBitmap();
  EXPECT_TRUE(Inked(image, 10, 10));
  EXPECT_TRUE(Inked(image, 19, 19));
  EXPECT_TRUE(Inked(image, 19, 10));
  EXPECT_FALSE(Inked(image, 20, 15));
  EXPECT_FALSE(Inked(image, 15, 20));
  EXPECT_FALSE(Inked(image, 15, 15));  // null brush: hollow

  // FillRect covers exactly the pixels from left/top up to, not including, right/bottom.
  ImageDevice fill(40, 40);
  fill.FillSolidRect({10, 10, 20, 20}, 0);
  const DeviceBitmap filled = fill.ToBitmap();
  EXPECT_EQ(filled.GetPixel(10, 10), 0u);
  EXPECT_EQ(filled.GetPixel(19, 19), 0u);
  EXPECT_EQ(filled.GetPixel(20, 19), 0xFFFFFFu);
  EXPECT_EQ(filled.GetPixel(19, 20), 0xFFFFFFu);
}

TEST(CairoImage, OnePixelLineStopsBeforeItsEnd) {
  ImageDevice dc(40, 20);
  dc.MoveTo(10, 5);
  dc.LineTo(20, 5);
  const DeviceBitmap image = dc.ToBitmap();
  EXPECT_EQ(image.GetPixel(10, 5), 0u);
  EXPECT_EQ(image.GetPixel(19, 5), 0u);
  EXPECT_EQ(image.GetPixel(20, 5), 0xFFFFFFu);
  EXPECT_EQ(image.GetPixel(15, 4), 0xFFFFFFu);
  EXPECT_EQ(image.GetPixel(15, 6), 0xFFFFFFu);
}

TEST(CairoImage, WidePensHaveRoundCaps) {
  ImageDevice dc(60, 40);
  dc.SelectPen(Pen::Create(PS_SOLID, 12, 0));
  dc.MoveTo(20, 20);
  dc.LineTo(40, 20);
  const DeviceBitmap image = dc.ToBitmap();
  // Half the width beyond the end on the axis is inked; the corner a square cap would fill
  // is not.
  EXPECT_TRUE(Inked(image, 44, 20));
  EXPECT_FALSE(Inked(image, 45, 25));
  EXPECT_TRUE(Inked(image, 30, 25));
  EXPECT_FALSE(Inked(image, 30, 28));
}

TEST(CairoImage, PathsFillEvenOddUnlessWinding) {
  for (int mode : {ALTERNATE, WINDING}) {
    ImageDevice dc(50, 50);
    dc.SelectStockPen(StockObject::kNullPen);
    dc.SelectStockBrush(StockObject::kBlackBrush);
    dc.SetPolyFillMode(mode);
    dc.BeginPath();
    dc.Rectangle(5, 5, 45, 45);
    dc.Rectangle(15, 15, 35, 35);  // same direction: a hole only under the even-odd rule
    dc.EndPath();
    dc.FillPath();
    const DeviceBitmap image = dc.ToBitmap();
    EXPECT_TRUE(Inked(image, 8, 8));
    EXPECT_EQ(Inked(image, 25, 25), mode == WINDING) << "mode " << mode;
  }
}

// A repaint of a strip draws inside it exactly what a full paint draws there: ink whose path or
// origin lies outside the strip but reaches into it is not left out.
TEST(CairoImage, AStripShowsWhatTheWholePaintShowsThere) {
  const auto scene = [](ImageDevice& dc) {
    // A wide mitred corner whose points lie left of the strip, its tip inside it.
    dc.SelectPen(Pen::Extended(PS_GEOMETRIC | PS_SOLID | PS_JOIN_MITER, 8, 0));
    const Point corner[] = {{0, 14}, {28, 20}, {0, 26}};
    dc.Polyline(corner);
    // Text that starts left of the strip and runs across it; a block wholly right of it.
    FontSpec font;
    font.lfFaceName = "Arial";
    font.lfHeight = -24;
    dc.SelectFont(font);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(14, 40, "Lute");
    dc.FillSolidRect({70, 0, 80, 80}, 0);
  };
  const Rect strip{40, 0, 60, 80};
  ImageDevice whole(80, 80);
  scene(whole);
  ImageDevice part(80, 80);
  part.IntersectClipRect(strip);
  scene(part);
  const DeviceBitmap a = whole.ToBitmap();
  const DeviceBitmap b = part.ToBitmap();
  int inked = 0;
  for (int y = strip.top; y < strip.bottom; ++y) {
    for (int x = strip.left; x < strip.right; ++x) {
      // Grey levels alike (Cairo's clipped edges may round an anti-aliased pixel otherwise).
      const int grey = static_cast<int>(a.GetPixel(x, y) & 0xFF) - static_cast<int>(b.GetPixel(x, y) & 0xFF);
      ASSERT_LE(std::abs(grey), 16) << x << "," << y;
      inked += Inked(a, x, y) ? 1 : 0;
    }
  }
  EXPECT_GT(inked, 20);  // both the corner's tip and the text reach the strip
  EXPECT_FALSE(Inked(b, 75, 40));
}

// Text is drawn from the glyphs it was shaped into once; the pixels are those Pango's own
// rendering of the line gives, for plain, slanted, bold and decorated faces, marks over
// letters, characters no font has and positions between pixels.
TEST(CairoImage, ShapedTextDrawsAsItsLayoutDoes) {
  struct Case {
    const char* face;
    int32_t height;
    int32_t weight;
    uint8_t italic;
    uint8_t underline;
    const char* text;
    bool byLayout;
  };
  const Case cases[] = {
      {"Arial", -24, 400, 0, 0, "Lute a b c", false},
      {"Times New Roman", -17, 700, 1, 0, "Fantasia 12", false},
      {"Arial", -13, 400, 0, 0, "e\xCC\x81" "te \xC3\xA7" "a", false},
      {"Arial", -20, 400, 0, 1, "under", true},
      {"Arial", -20, 400, 0, 0, "x\xEE\x80\x80" "y", true},
  };
  for (const Case& c : cases) {
    FontSpec font;
    font.lfFaceName = c.face;
    font.lfHeight = c.height;
    font.lfWeight = c.weight;
    font.lfItalic = c.italic;
    font.lfUnderline = c.underline;
    ImageDevice shaped(200, 60);
    shaped.SelectFont(font);
    shaped.SetBkMode(TRANSPARENT);
    shaped.TextOut(7, 11, c.text);
    const ResolvedFont& resolved = shaped.CurrentFont();
    EXPECT_EQ(PangoTextEngine::Shared().Shape(resolved.textFace, c.text).drawnByLayout, c.byLayout) << c.text;
    ImageDevice laidOut(200, 60);
    double baseline = 0;
    PangoLayout* layout = PangoTextEngine::Shared().Layout(resolved.textFace, c.text, &baseline);
    cairo_t* cr = laidOut.Context();
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_move_to(cr, 7, 11 + resolved.metrics.tmAscent - baseline);
    pango_cairo_show_layout(cr, layout);
    const DeviceBitmap a = shaped.ToBitmap();
    const DeviceBitmap b = laidOut.ToBitmap();
    int inked = 0;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 200; ++x) {
        ASSERT_EQ(a.GetPixel(x, y), b.GetPixel(x, y)) << c.text << " at " << x << "," << y;
        inked += Inked(a, x, y) ? 1 : 0;
      }
    }
    EXPECT_GT(inked, 30) << c.text;
  }
}

// A device of a lower resolution draws onto another: its lengths from its own resolution, its
// output in the other's pixels, never past the other's clip, told to the other's ink observer
// and written into the other's log.
TEST(ScaledDevice, DrawsOntoItsTargetAtItsOwnResolution) {
  ImageDevice target(200, 100, 96, 0xFFFFFF, true);
  InkExtent ink;
  target.SetInkObserver(&ink);
  const Rect clip{0, 0, 100, 100};
  target.SelectClipRect(&clip);
  {
    ScaledDevice half(target, 48);
    EXPECT_EQ(half.LogPixelsX(), 48);
    EXPECT_EQ(half.LogPixelsY(), 48);
    EXPECT_TRUE(half.IsPrinting());
    Size inch{2540, 2540};
    half.HimetricToDevice(inch);
    EXPECT_EQ(inch.cx, 48);
    // Clearing its own clip does not widen the target's.
    half.SelectClipRect(nullptr);
    half.MoveTo(0, 50);
    half.LineTo(200, 50);
  }
  target.MoveTo(0, 60);
  target.LineTo(200, 60);
  const DeviceBitmap image = target.ToBitmap();
  EXPECT_TRUE(Inked(image, 50, 50));
  EXPECT_FALSE(Inked(image, 150, 50));
  EXPECT_FALSE(Inked(image, 150, 60));  // the target's clip holds after it
  ASSERT_FALSE(ink.Empty());
  EXPECT_NEAR(ink.Top(), 50, 1);

  RecordingDevice logged(96, true);
  {
    ScaledDevice reduced(logged, 60);
    reduced.MoveTo(1, 2);
    reduced.LineTo(3, 4);
  }
  EXPECT_NE(logged.Log().find("LineTo 3 4"), std::string::npos) << logged.Log();
}

TEST(Fonts, NegativeHeightIsTheEmAndPositiveTheCell) {
  ImageDevice dc(10, 10);
  FontSpec font;
  font.lfFaceName = "Arial";
  font.lfHeight = -40;
  dc.SelectFont(font);
  const TextMetrics em = dc.GetTextMetrics();
  EXPECT_GT(em.tmHeight, 40);  // ascent + descent exceed the em
  EXPECT_EQ(em.tmInternalLeading, em.tmHeight - 40);
  font.lfHeight = 40;
  dc.SelectFont(font);
  const TextMetrics cell = dc.GetTextMetrics();
  EXPECT_EQ(cell.tmHeight, 40);
  EXPECT_LT(cell.tmAscent, em.tmAscent);

  // The music faces measure the em as their cell and the space as a staff space.
  font.lfFaceName = "VornelNotation";
  font.lfHeight = -24;
  dc.SelectFont(font);
  EXPECT_EQ(dc.GetTextMetrics().tmHeight, 24);
  EXPECT_EQ(dc.GetCharWidth(' '), 6);
}

TEST(Fonts, DocumentFacesMapToInstalledSubstitutes) {
  struct Case {
    const char* face;
    uint8_t pitchAndFamily;
    std::vector<std::string> allowed;
  } cases[] = {
      {"Times New Roman", 0, {"Liberation Serif", "DejaVu Serif"}},
      {"arial", 0, {"Liberation Sans", "DejaVu Sans"}},
      {"Arial Narrow", 0, {"Liberation Sans Narrow", "DejaVu Sans Condensed", "Liberation Sans"}},
      {"Courier New", 0, {"Liberation Mono", "DejaVu Sans Mono"}},
      {"DejaVu Serif", 0, {"DejaVu Serif"}},                                  // installed: kept
      {"No Such Face", 0x12, {"Liberation Serif", "DejaVu Serif"}},          // roman
      {"No Such Face", 0x31, {"Liberation Mono", "DejaVu Sans Mono"}},       // modern
      {"No Such Face", 0x22, {"Liberation Sans", "DejaVu Sans"}},            // swiss
  };
  for (const auto& c : cases) {
    const std::string family = SubstituteTextFamily(c.face, c.pitchAndFamily);
    EXPECT_NE(std::find(c.allowed.begin(), c.allowed.end(), family), c.allowed.end()) << c.face << " -> " << family;
    EXPECT_TRUE(InstalledFaceName(family)) << family;
  }
  EXPECT_FALSE(InstalledFaceName("No Such Face"));
  EXPECT_EQ(InstalledFaceName("vornelnotation").value_or(""), "vornelnotation");  // our own faces
}

TEST(Fonts, ResolvedOncePerDevice) {
  // Selecting a font again costs a look-up, not a creation: a device keeps what it resolved.
  // Each device owns its fonts, so two devices resolve the same description alike but apart.
  RecordingDevice first;
  RecordingDevice second;
  FontSpec font;
  font.lfFaceName = "Times New Roman";
  font.lfHeight = -21;
  first.SelectFont(font);
  const ResolvedFont* resolved = &first.CurrentFont();
  FontSpec larger = font;
  larger.lfHeight = -22;
  first.SelectFont(larger);
  EXPECT_NE(&first.CurrentFont(), resolved);
  first.SelectFont(font);
  EXPECT_EQ(&first.CurrentFont(), resolved);
  second.SelectFont(font);
  EXPECT_NE(&second.CurrentFont(), resolved);
  EXPECT_EQ(second.CurrentFont().em, resolved->em);
  EXPECT_EQ(second.CurrentFont().textFace, resolved->textFace);
}

TEST(Text, DamagedUtf8IsDrawnWithReplacementCharacters) {
  ImageDevice dc(60, 30);
  FontSpec font;
  font.lfFaceName = "Arial";
  font.lfHeight = -16;
  dc.SelectFont(font);
  const std::string damaged = "a\xFF\xC3" "b";
  dc.TextOut(2, 2, damaged);
  EXPECT_EQ(dc.GetTextExtent(damaged).cx, dc.GetTextExtent("a\xEF\xBF\xBD\xEF\xBF\xBD" "b").cx);
}

TEST(Text, AlignmentFlagsPlaceTheRun) {
  // Fixed metrics: em 20, ascent 16, descent 4; "ab" is 20 pixels wide.
  RecordingDevice dc;
  dc.SetLogRuns(true);
  FontSpec font;
  font.lfFaceName = "Arial";
  font.lfHeight = -20;
  dc.SelectFont(font);
  dc.SetBkMode(TRANSPARENT);
  struct Case {
    unsigned align;
    const char* origin;
  } cases[] = {{TA_LEFT | TA_TOP, "run 100.0 66.0"},
               {TA_RIGHT | TA_TOP, "run 80.0 66.0"},
               {TA_CENTER | TA_BASELINE, "run 90.0 50.0"},
               {TA_LEFT | TA_BOTTOM, "run 100.0 46.0"}};
  for (const auto& c : cases) {
    dc.ClearLog();
    dc.SetTextAlign(c.align);
    dc.TextOut(100, 50, "ab");
    EXPECT_NE(dc.Log().find(c.origin), std::string::npos) << c.align << "\n" << dc.Log();
  }
}

TEST(Text, LinesEndAtAnyLineEnd) {
  // Fixed metrics: each line is 20 pixels high.
  RecordingDevice dc;
  FontSpec font;
  font.lfFaceName = "Arial";
  font.lfHeight = -20;
  dc.SelectFont(font);
  const struct {
    std::string_view text;
    int32_t height;
  } cases[] = {{"ab", 20}, {"a\nb", 40}, {"a\rb", 40}, {"a\r\nb", 40}, {"a\r\rb", 60}, {"a\n\r\nb\r", 80}};
  for (const auto& c : cases) {
    Rect measured{0, 0, 0, 0};
    EXPECT_EQ(dc.DrawText(c.text, measured, DT_CALCRECT), c.height) << c.text;
    Rect single{0, 0, 0, 0};
    EXPECT_EQ(dc.DrawText(c.text, single, DT_CALCRECT | DT_SINGLELINE), 20) << c.text;
  }
}

TEST(Text, SingleLineInARectangle) {
  RecordingDevice dc;
  dc.SetLogRuns(true);
  FontSpec font;
  font.lfFaceName = "Arial";
  font.lfHeight = -20;
  dc.SelectFont(font);

  Rect measured{10, 10, 0, 0};
  EXPECT_EQ(dc.DrawText("ab", measured, DT_CALCRECT | DT_SINGLELINE), 20);
  EXPECT_EQ(measured, (Rect{10, 10, 30, 30}));

  struct Case {
    unsigned format;
    const char* origin;
  } cases[] = {
      {DT_SINGLELINE, "run 10.0 26.0"},                            // top left
      {DT_SINGLELINE | DT_CENTER | DT_VCENTER, "run 50.0 56.0"},   // (100 - 20) / 2, (80 - 20) / 2
      {DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, "run 90.0 86.0"},
  };
  for (const auto& c : cases) {
    dc.ClearLog();
    Rect box{10, 10, 110, 90};
    dc.DrawText("ab", box, c.format);
    EXPECT_NE(dc.Log().find(c.origin), std::string::npos) << std::hex << c.format << "\n" << dc.Log();
  }

  // The device's alignment still applies to the line DrawText places: with TA_BASELINE the
  // line's top becomes its baseline.
  dc.ClearLog();
  dc.SetTextAlign(TA_BASELINE);
  Rect box{10, 10, 110, 90};
  dc.DrawText("ab", box, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_NE(dc.Log().find("run 10.0 10.0"), std::string::npos) << dc.Log();
}

}  // namespace
}  // namespace vornel
