// Fonts made from the stored descriptions at a zoom, the notation font's scaled font, and
// the text drawing family.

#include <gtest/gtest.h>

#include "model/text/CNotationFont.h"
#include "model/text/FontStack.h"
#include "platform/draw/MulDiv.h"
#include "platform/draw/RecordingDevice.h"
#include "view/draw/DrawContext.h"
#include "view/draw/FontDrawing.h"
#include "view/draw/GraphicUtil.h"
#include "view/draw/ScaledNotationFont.h"

namespace vornel {
namespace {

size_t Count(const std::string& log, const std::string& what) {
  size_t n = 0;
  for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++n;
  return n;
}

TEST(CreateScaledFont, HeightFollowsPointSizeZoomAndResolution) {
  struct Case {
    bool printing;
    float zoom;
    int32_t pointSize, microTuning;
    int32_t height;
    float storedZoom;
  } cases[] = {
      {false, 100, 120, 0, -16, 100},  // 12 pt at 96 dpi
      {false, 150, 120, 0, -24, 150},
      {false, 150, 120, 20, -28, 150},  // micro-tuning adds to the point size
      {true, 150, 120, 0, -16, 100},    // printing: zoom 100 and the divisor 720 whatever the view's zoom
      {false, 0, 120, 0, -16, 100},     // no zoom: never a division by zero
  };
  for (const auto& c : cases) {
    RecordingDevice dc(96, c.printing);
    dfLogFont font;
    font.pointSize.cx = c.pointSize;
    font.microTuning = c.microTuning;
    CreateScaledFont(font, c.zoom, dc);
    EXPECT_EQ(font.logFont.lfHeight, c.height) << c.zoom << " " << c.printing;
    EXPECT_EQ(dc.GetFont().lfHeight, c.height);
    EXPECT_EQ(font.zoom, c.storedZoom);
  }
  // The letter face's character set is forced to 0.
  RecordingDevice dc;
  dfLogFont letters;
  letters.logFont.lfFaceName = "VN_Quintelle";
  letters.logFont.lfCharSet = 2;
  CreateScaledFont(letters, 100, dc);
  EXPECT_EQ(letters.logFont.lfCharSet, 0);
}

TEST(ScaledNotationFont, DefaultFontAtZoom100IsSixtyTenthsOfAMillimetre) {
  RecordingDevice dc;
  CNotationFont record;
  ScaledNotationFont font(record);
  font.CreateScaledFont(100, dc);
  ASSERT_TRUE(font.Font());
  EXPECT_EQ(font.Font()->lfHeight, -23);  // MulDiv(60, 96, 254) rounds 22.68 up
  EXPECT_EQ(record.logFont.lfHeight, -23);
  font.CreateScaledFont(200, dc);
  EXPECT_EQ(font.Font()->lfHeight, -45);

  // Micro-tuning in tenths of a point at the point size's scale: 60 + 2.
  record.microTuning = 10;
  font.CreateScaledFont(100, dc);
  EXPECT_EQ(font.Font()->lfHeight, -23);
  record.microTuning = 100;  // 60 + 22
  font.CreateScaledFont(100, dc);
  EXPECT_EQ(font.Font()->lfHeight, -31);
}

TEST(ScaledNotationFont, SelectingWithAnExtraSizeAndWithoutAFont) {
  RecordingDevice dc;
  CNotationFont record;
  ScaledNotationFont font(record);
  // Nothing created yet: selecting makes the font at zoom 100, whatever zoom is asked.
  FontSpec previous;
  const auto cached = font.SelectScaledFont(dc, 0, 300, &previous);
  ASSERT_TRUE(cached);
  EXPECT_EQ(dc.GetFont().lfHeight, -23);
  EXPECT_EQ(previous.lfFaceName, "System");
  // Grace notes: 40 tenths smaller, i.e. an interval of 60 - 20.
  font.SelectScaledFont(dc, -40, 100);
  EXPECT_EQ(dc.GetFont().lfHeight, -15);
  EXPECT_EQ(record.logFont.lfHeight, -15);
  EXPECT_EQ(font.Font()->lfHeight, -23);  // the created font stays
  font.SelectScaledFont(dc, 20, 150);
  EXPECT_EQ(dc.GetFont().lfHeight, -MulDiv(MulDiv(70, 150, 100), 96, 254));
}

TEST(DrawFontText, EmptyTextChangesNothing) {
  RecordingDevice dc;
  dfLogFont font;
  EXPECT_EQ(DrawFontText("", font, dc, TA_BASELINE, 100, 0, kTextBox | kTextFrame, 10, 10), Rect{});
  EXPECT_EQ(dc.Log(), "");
}

TEST(DrawFontText, AlignmentPlacesTheFrame) {
  // Fixed metrics at 12 pt (em 16): "ab" is 16 wide, "a" 8 wide and 16 high (ascent 13,
  // descent 3); the frame reaches 8/3 beyond the text sideways and 8/6 up and down.
  struct Case {
    unsigned align;
    uint32_t style;
    Rect frame;
    const char* drawnAt;
  } cases[] = {
      {TA_LEFT | TA_TOP, 0, {96, 98, 120, 118}, "run 100.0 113.0"},
      {TA_RIGHT | TA_TOP, 0, {80, 98, 104, 118}, "run 84.0 113.0"},
      {TA_LEFT | TA_BASELINE, 0, {96, 87, 120, 107}, "run 100.0 100.0"},
      {TA_LEFT | TA_BOTTOM, 0, {96, 82, 120, 102}, "run 100.0 97.0"},
      // Centred text is placed from the middle of its measured line, so it starts at x...
      {TA_CENTER | TA_BASELINE, 0, {96, 87, 120, 107}, "run 100.0 100.0"},
      // ...unless it keeps its left edge (centred lyrics), when it is centred on x.
      {TA_CENTER | TA_BASELINE, kTextKeepLeft, {96, 87, 120, 107}, "run 92.0 100.0"},
  };
  for (const auto& c : cases) {
    RecordingDevice dc;
    dc.SetLogRuns(true);
    dfLogFont font;
    font.pointSize.cx = 120;
    const Rect frame = DrawFontText("ab", font, dc, c.align, 100, 0, c.style, 100, 100);
    EXPECT_EQ(frame, c.frame) << std::hex << c.align;
    EXPECT_NE(dc.Log().find(c.drawnAt), std::string::npos) << std::hex << c.align << "\n" << dc.Log();
    EXPECT_EQ(dc.GetTextAlign(), TA_LEFT | TA_TOP);  // restored
  }
}

TEST(DrawFontText, StyleBitsBoxFrameBoldAndItalicForThisCallOnly) {
  RecordingDevice dc;
  dfLogFont font;
  font.color = 0x00FF00;
  DrawFontText("x", font, dc, TA_LEFT, 100, 0, kTextBox | kTextFrame | kTextDarkFrame | kTextBold | kTextItalic, 0, 0);
  const std::string& log = dc.Log();
  EXPECT_NE(log.find("SelectBrush solid 0xEBEBEB"), std::string::npos) << log;
  EXPECT_NE(log.find("Draw3dRect"), std::string::npos);
  EXPECT_NE(log.find("0x646464 0x646464"), std::string::npos);
  EXPECT_NE(log.find("weight=600 italic=1"), std::string::npos);
  EXPECT_NE(log.find("SetTextColor 0x00FF00"), std::string::npos);
  EXPECT_EQ(font.logFont.lfWeight, 300);
  EXPECT_EQ(font.logFont.lfItalic, 0);
  EXPECT_EQ(dc.GetTextColor(), 0u);
}

TEST(DrawFontText, JustifiedBlockSpreadsItsPiecesOverTheParentWidth) {
  RecordingDevice dc;
  dc.SetLogRuns(true);
  dfLogFont font;
  font.pointSize.cx = 120;
  font.parentSize.cx = 508;  // 50.8 mm: 192 pixels at 96 dpi
  const Rect block = DrawFontText("aa@bb@cc@\n", font, dc, TA_LEFT | TA_TOP, 100, 0, 0, 10, 10);
  EXPECT_EQ(block.left, 10);
  EXPECT_EQ(block.right, 10 + 192);
  // Three pieces of 16 pixels: the two gaps share 192 - 48.
  EXPECT_NE(dc.Log().find("run 10.0"), std::string::npos) << dc.Log();
  EXPECT_NE(dc.Log().find("run 98.0"), std::string::npos) << dc.Log();
  EXPECT_NE(dc.Log().find("run 186.0"), std::string::npos) << dc.Log();
  // A mark that ends no block: the text is drawn as it stands.
  dc.ClearLog();
  DrawFontText("a@b", font, dc, TA_LEFT | TA_TOP, 100, 0, 0, 10, 10);
  EXPECT_EQ(Count(dc.Log(), "  run"), 1u) << dc.Log();
}

TEST(DrawHyperlinkLabel, UnderlinesTheLabelAndAddsTheTargetWhenPrinting) {
  for (bool printing : {false, true}) {
    RecordingDevice dc(96, printing);
    dfLogFont font;
    const Rect r = DrawHyperlinkLabel(font, "http://example.org|Example", 100, true, 20, 50, dc);
    EXPECT_NE(dc.Log().find("DrawText \"Example\" 20 50"), std::string::npos) << dc.Log();
    EXPECT_NE(dc.Log().find("underline=1"), std::string::npos);
    EXPECT_EQ(dc.Log().find("\": http://example.org\"") != std::string::npos, printing) << dc.Log();
    EXPECT_EQ(r.left > 20, printing);
    EXPECT_EQ(font.logFont.lfUnderline, 0);
  }
}

TEST(DrawStackedText, OneCharacterUnderTheOther) {
  RecordingDevice dc;
  dfLogFont font;
  font.pointSize.cx = 120;  // em 16: "a" is 8 × 16, so each step is 12
  DrawStackedText(font, "abc", 100, 40, 10, true, dc);
  EXPECT_NE(dc.Log().find("TextOut 40 10 \"a\"\n"), std::string::npos) << dc.Log();
  EXPECT_NE(dc.Log().find("TextOut 40 22 \"b\"\n"), std::string::npos);
  EXPECT_NE(dc.Log().find("TextOut 40 34 \"c\"\n"), std::string::npos);
  dc.ClearLog();
  DrawStackedText(font, "ab", 100, 40, 100, false, dc);
  EXPECT_NE(dc.Log().find("TextOut 40 88 \"b\"\n"), std::string::npos) << dc.Log();
}

TEST(GraphicUtilText, EmptyTextIsOneSpaceAndColourFollowsThePage) {
  RecordingDevice dc;
  GraphicUtil g(dc, 150);
  const Rect r = g.DrawTextAt(10, 20, "", 10, 0, 0x0000FF, TA_LEFT | TA_TOP);
  EXPECT_GT(r.Width(), 0);
  EXPECT_NE(dc.Log().find("DrawText \" \" 10 20"), std::string::npos) << dc.Log();
  EXPECT_NE(dc.Log().find("height=-20"), std::string::npos);  // 10 pt at zoom 150: 15 pt
  PageDrawSettings settings;
  settings.colourOn = false;
  const DrawContext context(dc, settings);
  dc.ClearLog();
  g.DrawTextAt(10, 20, "x", 10, 0, 0x0000FF, TA_LEFT | TA_TOP);
  EXPECT_EQ(dc.Log().find("SetTextColor 0x0000FF"), std::string::npos) << dc.Log();
}

TEST(GraphicUtilText, CircledNumberFallsBackToTheDefaultFont) {
  RecordingDevice dc;
  GraphicUtil g(dc, 100);
  // No page, then a page whose font stack is too short: both draw with the default font.
  const Rect alone = g.DrawCircledNumber(5, 100, 100);
  FontStack shortStack;
  for (int i = 0; i < 3; ++i) shortStack.push_back(std::make_unique<dfLogFont>());
  PageDrawSettings settings;
  settings.fonts = &shortStack;
  const DrawContext context(dc, settings);
  EXPECT_EQ(g.DrawCircledNumber(5, 100, 100), alone);
  EXPECT_EQ(Count(dc.Log(), "Ellipse"), 2u);
  EXPECT_NE(dc.Log().find("SetTextColor 0x0000FA"), std::string::npos);
  // The 15th font of a full stack is used.
  FontStack stack;
  for (int i = 0; i < 15; ++i) stack.push_back(std::make_unique<dfLogFont>());
  stack.at(14)->logFont.lfFaceName = "Times New Roman";
  settings.fonts = &stack;
  dc.ClearLog();
  const Rect circled = g.DrawCircledNumber(12, 100, 100);
  EXPECT_NE(dc.Log().find("\"Times New Roman\""), std::string::npos) << dc.Log();
  EXPECT_GE(circled.Width(), circled.Height());  // widened to a circle around a narrow figure
}

TEST(GraphicUtilText, GlyphsInRectTakeTheRectangleWidthAsTheirEm) {
  RecordingDevice dc;
  dc.SetLogRuns(true);
  GraphicUtil g(dc, 250);
  const Rect r = g.DrawNotationGlyphsInRect("\xC2\xA5", 1, 0x0000C0, false, {100, 100, 140, 140});
  EXPECT_NE(dc.Log().find("height=-40"), std::string::npos) << dc.Log();  // whatever the zoom
  EXPECT_NE(dc.Log().find("[U+E566 40.0"), std::string::npos) << dc.Log();
  EXPECT_EQ(r.bottom, 140);
  EXPECT_NEAR((r.left + r.right) / 2, 120, 1);
  EXPECT_EQ(dc.GetFont().lfFaceName, "System");  // the previous font is back
}

// Centring on x draws the string half its measured width further left; the rectangle that
// comes back stays centred.
TEST(GraphicUtilText, GlyphsCentredOnXMoveLeftByHalfTheirWidth) {
  for (const char* face : {"VornelNotation", "Arial"}) {
    RecordingDevice plain;
    RecordingDevice centred;
    GraphicUtil a(plain, 100);
    GraphicUtil b(centred, 100);
    const Rect ra = a.DrawGlyphsInRect(face, "88", -1, 0, false, {100, 100, 140, 140});
    const Rect rb = b.DrawGlyphsInRect(face, "88", -1, 0, true, {100, 100, 140, 140});
    EXPECT_EQ(ra, rb) << face;
    const auto firstX = [](const std::string& log) {
      for (const char* call : {"TextOut ", "DrawText \"88\" "}) {
        const size_t at = log.rfind(call);
        if (at != std::string::npos) return std::stoi(log.substr(at + std::string(call).size()));
      }
      return -1;
    };
    EXPECT_EQ(firstX(plain.Log()) - firstX(centred.Log()), ra.Width() / 2) << face << "\n" << centred.Log();
  }
}

}  // namespace
}  // namespace vornel
