// Page frames, page numbers, the title page's frames, systems on a page, the spreading of
// systems, headings, footnotes and hit testing, as golden recording logs and as the geometry
// the drawing leaves behind.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "GoldenLog.h"
#include "document/CBriotabDoc.h"
#include "document/CPageDlg.h"
#include "document/CTitlePage.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChord.h"
#include "platform/draw/MulDiv.h"
#include "platform/draw/RecordingDevice.h"
#include "support/ScriptedPrompts.h"
#include "view/draw/DrawContext.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/DocumentPages.h"
#include "view/render/pages/DocumentSettingsDrawing.h"
#include "view/render/pages/PageFrame.h"
#include "view/render/pages/SectionPages.h"
#include "view/render/pages/SystemDrawing.h"
#include "view/render/pages/TitlePagePrinting.h"

namespace vornel {
namespace {

int32_t Mm(int32_t tenths, int32_t dpi = 96) { return MulDiv(tenths, dpi, 254); }

std::string RectText(const Rect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

TEST(PageFrame, MarginsOnScreenAndOnPaper) {
  CPageDlg page;
  page.leftMargin = 300;
  page.rightMargin = 100;
  page.topMargin = 250;
  page.bottomMargin = 150;
  page.alternateMargins = 1;
  std::string log;
  for (const bool printing : {true, false}) {
    for (const int32_t number : {0, 1}) {
      RecordingDevice dc(96, printing);
      page.pageRect = {0, 0, 794, 1123};
      page.viewClientRect = {0, 0, 1000, 1400};
      const Rect printable = DrawPageFrame(page, dc, number);
      log += std::string(printing ? "paper" : "screen") + " page " + std::to_string(number) + ": printable " +
             RectText(printable) + ", frame " + RectText(page.pageFrameRect) + "\n" + dc.Log();
      // An even page's printable area starts 30 mm from the paper's left edge, an odd one's
      // 10 mm.
      const int32_t left = printable.left - (printing ? 0 : page.screenOffset.x);
      EXPECT_EQ(left, number == 0 ? Mm(300) : Mm(100));
    }
  }
  // A screen page wider than 100000 units is taken for one never set; the margin frame is off.
  RecordingDevice dc(96, false);
  page.pageRect = {0, 0, 200000, 1123};
  page.showMarginFrame = 0;
  DrawPageFrame(page, dc, 0);
  EXPECT_EQ(RectText(page.pageRect), "0 0 2100 2800");
  log += "page wider than 100000, no margin frame\n" + dc.Log();
  testing::ExpectGoldenLog("page_frames", log);
}

// The paper on screen tiles the texture the reader gives at each drawing; none, or no reader,
// paints it white. Paper that is printed is never painted.
TEST(PageFrame, PaperTakesTheTextureWhileOneIsGiven) {
  const DeviceBitmap tile(40, 30, RGB(200, 190, 150));
  const DeviceBitmap* current = &tile;
  SetPageBackground([&current] { return current; });
  CPageDlg page;
  const auto draw = [&page](bool printing) {
    RecordingDevice dc(96, printing);
    page.pageRect = {0, 0, 200, 120};
    page.viewClientRect = {0, 0, 400, 300};
    DrawPageFrame(page, dc, 0);
    return dc.Log();
  };
  const std::string textured = draw(false);
  EXPECT_NE(textured.find("40x30"), std::string::npos) << textured;
  EXPECT_EQ(draw(true).find("40x30"), std::string::npos);
  current = nullptr;
  const std::string plain = draw(false);
  EXPECT_EQ(plain.find("40x30"), std::string::npos);
  SetPageBackground({});
  EXPECT_EQ(draw(false), plain);
}

TEST(PageFrame, PageNumbers) {
  CPageDlg page;
  page.pageRect = {0, 0, 794, 1123};
  RecordingDevice dc(96, true);
  ComputePageFrame(page, dc, 0);
  std::string log;
  for (int32_t alignment = 0; alignment <= 8; ++alignment) {
    page.pageNumberAlignment = alignment;
    for (const int32_t n : {5, 6}) {
      dc.ClearLog();
      DrawPageNumber(page, dc, n);
      log += "alignment " + std::to_string(alignment) + " page " + std::to_string(n) + "\n" + dc.Log();
    }
  }
  testing::ExpectGoldenLog("page_numbers", log);

  EXPECT_EQ(PageNumberText(page, 5), " 5");
  page.pageText = "Page";
  EXPECT_EQ(PageNumberText(page, 5), "Page 5");
  page.pageText = "- % -";
  EXPECT_EQ(PageNumberText(page, 5), "-  5  -");
  page.pageText = "Page";
  page.pageOffset = 10;
  EXPECT_EQ(PageNumberText(page, 1), "Page 11");
  // Skipping the first page's number: page 1 shows nothing, page 2 its number with the offset.
  page.skipFirstPageNumber = 1;
  dc.ClearLog();
  DrawPageNumber(page, dc, 1);
  EXPECT_EQ(dc.Log().find("Page"), std::string::npos);
  DrawPageNumber(page, dc, 2);
  EXPECT_NE(dc.Log().find("\"Page 12\""), std::string::npos);
  page.noPageNumbers = 1;
  dc.ClearLog();
  DrawPageNumber(page, dc, 3);
  EXPECT_EQ(dc.Log().find("Page"), std::string::npos);
}

TEST(PageFrame, TitlePageAndItsFrames) {
  CPageDlg page;
  page.pageRect = {0, 0, 794, 1123};
  page.viewClientRect = {0, 0, 1000, 1400};
  CTitlePage titlePage;
  std::string log;
  for (const bool printing : {true, false}) {
    RecordingDevice dc(96, printing);
    const Rect frame = PrepareTitlePage(page, dc);
    log += std::string(printing ? "paper" : "screen") + ": page " + RectText(frame) + ", printable " +
           RectText(page.printableRect) + "\n" + dc.Log();
  }
  for (int32_t style = 1; style <= 3; ++style) {
    RecordingDevice dc(96, true);
    titlePage.frameStyle = style;
    DrawTitlePageContent(titlePage, dc, page.pageRect, 100);
    log += "frame style " + std::to_string(style) + "\n" + dc.Log();
  }
  // The innermost of three frames: 15 + 2.5 + 1.25 mm inside the page.
  const int32_t inset = Mm(150);
  EXPECT_EQ(inset + inset / 6 + inset / 6 / 2, Mm(150) + Mm(150) / 6 + Mm(150) / 12);
  EXPECT_NE(log.find("Rectangle " + std::to_string(inset + inset / 6 + inset / 12)), std::string::npos);
  testing::ExpectGoldenLog("title_page_frames", log);
}

// A section of `lines` staves (one instrument each) and `systems` systems of `chords` quarter
// notes each, numbered from bar 1 with a bar every four chords.
std::unique_ptr<CSystemArray> StaffSection(size_t lines, size_t systems, size_t chords) {
  auto section = std::make_unique<CSystemArray>();
  CInstrumentDlg& first = *section->Definition(0);
  first.ApplyNotationPreset(2);
  first.staves.at(0)->oldStyle = 0;
  for (size_t d = 1; d < lines; ++d) {
    auto more = std::make_unique<CInstrumentDlg>();
    more->CopyFrom(first);
    section->AddInstrument(std::move(more));
  }
  section->DeleteAllSystems();
  for (size_t s = 0; s < systems; ++s) {
    CStaveArray& system = *section->NewSystem(CSystemArray::kAppend);
    for (size_t l = 0; l < system.lines.size(); ++l) {
      for (size_t c = 0; c < chords; ++c) {
        auto chord = std::make_unique<nChord>(nChord::kChord, uint16_t{3});
        auto note = std::make_unique<nNotes>();
        note->pitch = static_cast<uint8_t>(67 + c % 5);
        chord->AddNote(std::move(note));
        system.Line(l)->firstVoice.push_back(std::move(chord));
        if (c % 4 == 3) system.Line(l)->firstVoice.push_back(std::make_unique<nChord>(nChord::kBarLine));
      }
    }
  }
  section->NumberBars(0);
  return section;
}

struct PageScope {
  PageDrawSettings settings;
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed{renderer};
  // The settings as the drawing context of `dc`.
  DrawContext On(DeviceContext& dc) const { return DrawContext(dc, settings); }
};

TEST(SystemDrawing, SystemsOnAPage) {
  PageScope scope;
  CPageDlg page;
  page.cursorWidth = 100;
  std::string log;

  // Two lines close with lines and the bracket; the first bar number above 1 is written.
  auto two = StaffSection(2, 2, 4);
  RecordingDevice dc(96, true);
  const DrawContext context = scope.On(dc);
  DrawSystem(*two->System(1), dc, page, 0, 100, 100, 700, 1000);
  log += "two lines, from bar " + std::to_string(two->System(1)->firstBar) + "\n" + dc.Log();
  EXPECT_NE(dc.Log().find("TextOut"), std::string::npos);

  // One line: no closing lines.
  auto one = StaffSection(1, 1, 4);
  dc.ClearLog();
  DrawSystem(*one->System(0), dc, page, 0, 100, 100, 700, 1000);
  log += "one line\n" + dc.Log();

  // A hidden system draws nothing, keeps its area and, on screen, its options rectangle.
  one->System(0)->hidden = 1;
  RecordingDevice screen(96, false);
  const DrawContext screenContext = scope.On(screen);
  DrawSystem(*one->System(0), screen, page, 0, 100, 100, 700, 1000);
  const CStaveArray& hidden = *one->System(0);
  EXPECT_EQ(screen.Log().find("LineTo"), std::string::npos);
  EXPECT_EQ(hidden.area.left, 100 + hidden.nameWidth);
  EXPECT_GT(hidden.area.bottom, 100);
  EXPECT_EQ(hidden.optionsArea.left, 100);
  EXPECT_EQ(hidden.optionsArea.bottom, hidden.area.bottom - 30);
  log += "hidden\n" + screen.Log();
  testing::ExpectGoldenLog("systems", log);
}

// A line stands below the ink of the line above it wherever the window is scrolled and
// whatever part of it a repaint shows: the ink is compared in the drawing's own coordinates,
// and the clip does not cut what the layout measures.
TEST(SystemDrawing, LinesKeepClearOfTheInkAboveWhenScrolledOrClipped) {
  PageScope scope;
  CPageDlg page;
  const auto stavesOfSecondLine = [](uint8_t lowPitch, uint8_t highPitch) {
    auto section = StaffSection(2, 1, 4);
    for (size_t l = 0; l < 2; ++l) {
      for (const auto& chord : section->System(0)->Line(l)->firstVoice) {
        if (chord != nullptr && !chord->notes.empty()) chord->notes.at(0)->pitch = l == 0 ? lowPitch : highPitch;
      }
    }
    return section;
  };
  const auto secondLineTop = [&](CSystemArray& section, Point viewport, const Rect* clip) {
    RecordingDevice screen(96, false);
    const DrawContext context = scope.On(screen);
    screen.SetViewportOrg(viewport.x, viewport.y);
    if (clip != nullptr) screen.IntersectClipRect(*clip);
    DrawSystem(*section.System(0), screen, page, 0, 100, 100, 700, 1000);
    return section.System(0)->Line(1)->staves.at(0)->area.top;
  };
  // Low notes over high ones: the second line moves down to clear the ink above it.
  auto apart = stavesOfSecondLine(67, 67);
  auto crowded = stavesOfSecondLine(40, 98);
  const int32_t plain = secondLineTop(*apart, {0, 0}, nullptr);
  const int32_t pushed = secondLineTop(*crowded, {0, 0}, nullptr);
  EXPECT_GT(pushed, plain);
  const Rect lowerHalf{0, 300, 800, 1000};
  EXPECT_EQ(secondLineTop(*crowded, {0, -400}, nullptr), pushed);
  EXPECT_EQ(secondLineTop(*crowded, {0, 0}, &lowerHalf), pushed);
  EXPECT_EQ(secondLineTop(*crowded, {0, 250}, &lowerHalf), pushed);
}

TEST(SystemDrawing, IndentsAndColumns) {
  PageScope scope;
  CPageDlg page;
  page.cursorWidth = 100;  // 10 mm: 38 pixels at 96 dpi
  RecordingDevice dc(96, true);
  const DrawContext context = scope.On(dc);
  // Right indents 2: the staves end 10 mm before the right edge.
  auto section = StaffSection(1, 1, 4);
  CStaveArray& system = *section->System(0);
  system.rightIndents = 2;
  DrawSystem(system, dc, page, 0, 100, 100, 700, 1000);
  const CClef& stave = *system.Line(0)->staves.at(0);
  EXPECT_EQ(stave.area.right, 700 - 2 * Mm(50));
  EXPECT_EQ(stave.columnWidth, Mm(100));
  // Forty chords do not fit at 10 mm: the columns share the width.
  auto wide = StaffSection(1, 1, 40);
  DrawSystem(*wide->System(0), dc, page, 0, 100, 100, 700, 1000);
  const CStaveArray& crowded = *wide->System(0);
  const CClef& narrowed = *crowded.Line(0)->staves.at(0);
  // Forty chords and nine bar lines before the last, each bar line taking half a column
  // more where bar lines are shown: the last chord still stands on the stave.
  ASSERT_EQ(crowded.GetMaxChordCount(), 49u);
  ASSERT_NE(wide->Definition(0)->showBarlines, 0);
  EXPECT_EQ(narrowed.columnWidth, 2 * (700 - crowded.area.left) / (2 * 49 + 9));
  EXPECT_LT(narrowed.LastDrawn().chordPositions.at(48), static_cast<uint32_t>(narrowed.area.right));
  // A zoom and a column width of 0 divide nothing.
  page.zoom = 0;
  page.cursorWidth = 0;
  RecordingDevice screen(96, false);
  const DrawContext screenContext = scope.On(screen);
  DrawSystem(*wide->System(0), screen, page, 0, 100, 100, 700, 1000);
  EXPECT_GE(wide->System(0)->Line(0)->staves.at(0)->columnWidth, 1);
}

TEST(SystemDrawing, InstrumentNames) {
  PageScope scope;
  CPageDlg page;
  page.namesIndent = 20;  // mm before the leading signs
  auto section = StaffSection(1, 2, 4);
  CStaveArray& system = *section->System(0);
  CInstrumentDlg& lute = *section->Definition(0);
  lute.nameText.text = "Lute";
  RecordingDevice dc(96, true);
  const DrawContext context = scope.On(dc);
  DrawSystem(system, dc, page, 0, 100, 100, 700, 1000);
  EXPECT_EQ(dc.Log().find("\"Lute\""), std::string::npos);
  EXPECT_EQ(system.nameWidth, SystemStartWidth(dc, system, 100) + Mm(200));
  const CInstrument& line = *system.Line(0);
  EXPECT_EQ(line.lineRect.left - system.nameWidth, 100);  // where the staff lines start

  // Named, the staves move right by the name and a gap of 4 mm; the name ends at the gap,
  // centred on the staff.
  system.nameInstruments = 1;
  dc.ClearLog();
  DrawSystem(system, dc, page, 0, 100, 100, 700, 1000);
  EXPECT_NE(dc.Log().find("\"Lute\""), std::string::npos);
  const int32_t width = InstrumentNameSize(dc, lute.nameText, 100).cx;
  ASSERT_GT(width, 0);
  const int32_t staffStart = line.lineRect.left - system.nameWidth;
  EXPECT_EQ(staffStart, 100 + width + Mm(40));
  EXPECT_EQ(lute.nameText.x, staffStart - Mm(40));

  // After the first system the shortened name stands there, the staves as far in as it needs;
  // without one, the name itself.
  lute.shortName = "Lt.";
  CStaveArray& later = *section->System(1);
  later.nameInstruments = 1;
  dc.ClearLog();
  DrawSystem(later, dc, page, 0, 100, 100, 700, 1000);
  EXPECT_NE(dc.Log().find("\"Lt.\""), std::string::npos);
  EXPECT_EQ(dc.Log().find("\"Lute\""), std::string::npos);
  EXPECT_LT(later.Line(0)->lineRect.left, line.lineRect.left);
  lute.shortName.clear();
  dc.ClearLog();
  DrawSystem(later, dc, page, 0, 100, 100, 700, 1000);
  EXPECT_NE(dc.Log().find("\"Lute\""), std::string::npos);
}

TEST(SystemDrawing, TheStartHoldsTheSignatureATransposingInstrumentDraws) {
  PageScope scope;
  auto section = StaffSection(1, 1, 4);
  CStaveArray& system = *section->System(0);
  RecordingDevice dc(96, true);
  const DrawContext context = scope.On(dc);
  // C major stored at concert pitch, drawn a tone up (D major) by an instrument in B flat.
  const int32_t plain = SystemStartWidth(dc, system, 100);
  section->Definition(0)->key.transpose = 2;
  const int32_t transposed = SystemStartWidth(dc, system, 100);
  system.key.alterations = 2;
  section->Definition(0)->key.transpose = 0;
  EXPECT_GT(transposed, plain);
  EXPECT_EQ(transposed, SystemStartWidth(dc, system, 100));
}

TEST(SystemDrawing, BarNumberFilter) {
  PageScope scope;
  CPageDlg page;
  auto section = StaffSection(1, 1, 4);
  CStaveArray& system = *section->System(0);
  const auto drawn = [&](uint32_t firstBar, bool filter) {
    scope.settings.barNumbers = filter;
    system.firstBar = firstBar;
    RecordingDevice dc(96, true);
    const DrawContext context = scope.On(dc);
    DrawSystem(system, dc, page, 0, 100, 100, 700, 1000);
    return dc.Log().find("\"" + std::to_string(firstBar) + "\"") != std::string::npos;
  };
  for (const uint32_t bar : {5u, 10u, 15u}) EXPECT_TRUE(drawn(bar, true)) << bar;
  EXPECT_FALSE(drawn(6, true));
  EXPECT_TRUE(drawn(6, false));
  EXPECT_FALSE(drawn(1, false));
  system.barSequenceRestart = 1;
  EXPECT_FALSE(drawn(10, true));
}

// Where a drawn system's ink begins and ends: its area widened by what it draws above and
// below its staves.
struct InkSpan {
  int64_t top;
  int64_t bottom;
};
InkSpan InkOf(CSystemArray& section, size_t s, DeviceContext& dc, CPageDlg& page) {
  const SystemReach reach = MeasureSystem(section, s, dc, page, 0, page.printableRect);
  const Rect& area = section.System(s)->area;
  return {int64_t{area.top} - reach.above, int64_t{area.bottom} + reach.below};
}

// Systems stand below each other's ink: spread over the page with equal room between them,
// or at least 6 mm apart.
TEST(SectionPages, SpreadingFourSystems) {
  PageScope scope;
  auto section = StaffSection(1, 4, 4);
  CPageDlg page;
  page.topMargin = 0;
  page.bottomMargin = 0;
  RecordingDevice dc(96, true);
  const DrawContext context = scope.On(dc);
  page.pageRect = {0, 0, 794, 20000};
  DrawSystems(*section, dc, page, 0, 0, 1, false);
  const InkSpan one = InkOf(*section, 0, dc, page);
  const int64_t room = one.bottom - one.top;
  ASSERT_GT(room, section->System(0)->area.Height());  // flags stand over the staves
  page.pageRect.bottom = static_cast<int32_t>(4 * room + 1000);
  DrawSystems(*section, dc, page, 0, 0, 4, false);
  // The first system's ink at the top, the last one's at the foot, equal room between.
  const int64_t gap = InkOf(*section, 1, dc, page).top - InkOf(*section, 0, dc, page).bottom;
  EXPECT_EQ(InkOf(*section, 0, dc, page).top, page.printableRect.top);
  EXPECT_NEAR(static_cast<double>(InkOf(*section, 3, dc, page).bottom), page.printableRect.bottom, 3);
  for (size_t s = 1; s < 4; ++s) {
    EXPECT_NEAR(static_cast<double>(InkOf(*section, s, dc, page).top - InkOf(*section, s - 1, dc, page).bottom),
                static_cast<double>(gap), 1)
        << s;
  }
  EXPECT_EQ(section->pageRect.bottom, section->System(3)->area.bottom);
  // A section's last page of two systems at four per page is spread as a full page: it starts
  // at the top, its systems as far apart as on a full page.
  EXPECT_EQ(DrawSystems(*section, dc, page, 1, 2, 4, false), 2);
  EXPECT_EQ(InkOf(*section, 2, dc, page).top, page.printableRect.top);
  EXPECT_NEAR(static_cast<double>(InkOf(*section, 3, dc, page).top - InkOf(*section, 2, dc, page).bottom),
              static_cast<double>(gap), 3);
  // Systems taller than the page, or not spread: 6 mm between one's ink and the next's.
  for (const bool spread : {true, false}) {
    page.verticalJustification = spread ? 1 : 0;
    page.pageRect.bottom = static_cast<int32_t>(2 * room);
    EXPECT_EQ(DrawSystems(*section, dc, page, 0, 0, 4, false), 4);
    for (size_t s = 1; s < 4; ++s) {
      EXPECT_EQ(InkOf(*section, s, dc, page).top - InkOf(*section, s - 1, dc, page).bottom, Mm(60)) << spread << s;
    }
  }
  // Past the last system nothing is drawn.
  EXPECT_EQ(DrawSystems(*section, dc, page, 1, 4, 4, false), 0);
}

TEST(SectionPages, HitTesting) {
  PageScope scope;
  auto section = StaffSection(2, 3, 8);
  CPageDlg page;
  page.pageRect = {0, 0, 794, 1123};
  RecordingDevice dc(96, false);
  const DrawContext context = scope.On(dc);
  DrawSystems(*section, dc, page, 0, 0, 3, false);
  CStaveArray& second = *section->System(1);
  const CClef& stave = *second.Line(1)->staves.at(0);
  // A point on the third column of the second line's stave, where the drawing put it.
  const Point inside{static_cast<int32_t>(stave.LastDrawn().chordPositions.at(2)) + 2, stave.area.top + stave.lineSpacing};
  EXPECT_EQ(HitTestSystem(*section, 0, 3, inside), &second);
  EXPECT_EQ(section->activeSystem, 1);
  EXPECT_EQ(second.activeInstrument, 1);
  EXPECT_EQ(second.Line(1)->staves.at(0)->cursorColumn, 2);
  // Off the page, in a hidden system, or in systems not tested: nothing.
  EXPECT_EQ(HitTestSystem(*section, 0, 3, {-5, inside.y}), nullptr);
  EXPECT_EQ(HitTestSystem(*section, 2, 1, inside), nullptr);
  second.hidden = 1;
  EXPECT_EQ(HitTestSystem(*section, 0, 3, inside), nullptr);
}

TEST(SectionPages, HeadingsEndTextAndFootnotes) {
  PageScope scope;
  auto section = StaffSection(1, 2, 4);
  section->Title().text = "Fantasia";
  section->Author().text = "Francesco";
  section->EndText().text = "Finis";
  CPageDlg page;
  page.pageRect = {0, 0, 794, 1123};
  page.footnoteText = "1. left from the page before\n";
  RecordingDevice dc(96, true);
  const DrawContext context = scope.On(dc);
  dc.SetExtent({794, 1123});
  // The headings stand in a band above the first system.
  const int32_t band = HeadingBand(*section, dc, page);
  EXPECT_GT(band, 0);
  DrawSystems(*section, dc, page, 0, 0, 2, true);
  const std::string log = dc.Log();
  // Under the band, the first system's ink starts.
  EXPECT_EQ(InkOf(*section, 0, dc, page).top, page.printableRect.top + HeadingBand(*section, dc, page));
  EXPECT_NE(log.find("\"Fantasia\""), std::string::npos);
  EXPECT_NE(log.find("\"Finis\""), std::string::npos);
  // The page's footnotes start again; printing never moves the texts.
  EXPECT_EQ(log.find("left from the page before"), std::string::npos);
  EXPECT_EQ(section->Title().x, 0);
  page.footnoteText.clear();
  // A section without systems has no headings.
  auto empty = StaffSection(1, 0, 0);
  empty->Title().text = "Nothing";
  dc.ClearLog();
  DrawSectionHeadings(*empty, dc, page);
  EXPECT_EQ(dc.Log(), "");
}

// A heading's lines break at a carriage return alone as at a line feed: the author's lines
// stand one under the other, never run together on one line.
TEST(SectionPages, HeadingLinesBreakAtEveryLineEnd) {
  PageScope scope;
  CPageDlg page;
  page.pageRect = {0, 0, 794, 1123};
  page.printableRect = {38, 38, 756, 1085};
  RecordingDevice dc(96, true);
  const DrawContext context = scope.On(dc);
  dc.SetExtent({794, 1123});
  // The height of the author's box as measured before drawing: one line of this font is 16.
  const auto authorHeight = [](const std::string& log) {
    const size_t text = log.find("DrawText \"Interpret");
    const size_t arrow = log.find(" -> ", text);
    if (text == std::string::npos || arrow == std::string::npos) return -1;
    std::istringstream box(log.substr(arrow + 4));
    int left = 0, top = 0, right = 0, bottom = 0;
    box >> left >> top >> right >> bottom;
    return bottom - top;
  };
  for (const char* author : {"Interpret: Ann\rTranscribed by: Bo", "Interpret: Ann\nTranscribed by: Bo",
                             "Interpret: Ann\r\nTranscribed by: Bo", "Interpret: Ann\r\rTranscribed by: Bo"}) {
    SCOPED_TRACE(author);
    auto section = StaffSection(1, 1, 4);
    section->Author().text = author;
    dc.ClearLog();
    DrawSectionHeadings(*section, dc, page);
    const std::string log = dc.Log();
    EXPECT_EQ(log.find("Ann\\u{D}T"), std::string::npos);
    EXPECT_EQ(authorHeight(log), std::string(author).find("\r\r") != std::string::npos ? 48 : 32);
  }
}

// Footnotes are collected while the page's systems are drawn: this renderer adds one for
// every stave it draws.
class FootnotingRenderer : public DrawingStaveRenderer {
 public:
  explicit FootnotingRenderer(CPageDlg& page) : page_(page) {}
  void DrawStave(DeviceContext& dc, CClef& stave, int32_t zoom, const CVoicesArray& voices, const Rect& rect,
                 int32_t nameWidth, const CKey* key, int32_t columnWidth) override {
    DrawingStaveRenderer::DrawStave(dc, stave, zoom, voices, rect, nameWidth, key, columnWidth);
    page_.footnoteText += std::to_string(page_.footnoteCounter++) + ". played twice\n";
  }

 private:
  CPageDlg& page_;
};

TEST(SectionPages, FootnotesAtTheFootOfTheirPage) {
  PageDrawSettings settings;
  CPageDlg page;
  page.pageRect = {0, 0, 794, 1123};
  FootnotingRenderer renderer(page);
  const ScopedStaveRenderer installed(renderer);
  auto section = StaffSection(1, 4, 4);
  RecordingDevice dc(96, true);
  const DrawContext context(dc, settings);
  // The second page: the first page's systems are replayed for their clefs, without their
  // footnotes.
  DrawSystems(*section, dc, page, 1, 2, 2, false);
  const std::string log = dc.Log();
  EXPECT_EQ(page.footnoteText, "1. played twice\n2. played twice\n");
  const size_t at = log.rfind("DrawText \"1. played twice\\u{A}2. played twice\\u{A}\" " +
                             std::to_string(page.printableRect.left));
  ASSERT_NE(at, std::string::npos) << log;
  // Drawn in the footnote font with its last line on the printable bottom.
  const std::string line = log.substr(at, log.find('\n', at) - at);
  EXPECT_NE(line.find(" " + std::to_string(page.printableRect.bottom) + " 0x900"), std::string::npos) << line;
}

TEST(SectionPages, SystemsPerPage) {
  PageScope scope;
  auto section = StaffSection(1, 3, 4);
  CPageDlg page;
  RecordingDevice dc(96, true);
  const DrawContext context = scope.On(dc);
  const int32_t perPage = ComputeSystemsPerPage(*section, dc, page, {0, 0, 794, 1000});
  // As many of the shortest system (the first: the others carry the numbers of their first
  // bars), with its ink and 6 mm between them, as the page holds: the most a page can hold.
  const int64_t room = MeasureSystem(*section, 0, dc, page, 0, {0, 0, 794, 1000}).Total();
  EXPECT_LT(room, MeasureSystem(*section, 1, dc, page, 0, {0, 0, 794, 1000}).Total());
  EXPECT_EQ(perPage, (1000 + Mm(60)) / (room + Mm(60)));
  EXPECT_EQ(ComputeSystemsPerPage(*section, dc, page, {0, 0, 794, 10}), 1);
  EXPECT_EQ(section->stavesPerPage, 1);
}

// Pages hold the systems that fit: a system that would pass the foot starts the next page,
// the stored count is the most a page holds, and a system taller than a page has one alone.
TEST(SectionPages, PagesHoldWhatFits) {
  struct Case {
    std::vector<int64_t> rooms;
    int32_t most;
    std::vector<size_t> starts;
  };
  // Pages 100 high, 10 between systems.
  const Case cases[] = {
      {{25, 25, 25, 25}, 8, {0, 3}},       // 25+10+25+10+25 = 95 fits, the fourth does not
      {{30, 30, 30, 30}, 8, {0, 2}},       // 30+10+30+10+30 = 110 does not fit
      {{25, 25, 25, 25}, 2, {0, 2}},       // no more than the stored count
      {{30, 150, 30, 30}, 8, {0, 1, 2}},   // the tall one alone, after the one before it
      {{150, 150}, 8, {0, 1}},
      {{}, 8, {0}},                        // no systems: one empty page
  };
  for (const Case& c : cases) {
    auto section = StaffSection(1, c.rooms.size(), 4);
    KeepFittingPageStarts(*section, c.rooms, 100, 10, c.most);
    EXPECT_EQ(section->pageStarts, c.starts) << c.rooms.size() << " " << c.most;
  }
  // The last page is laid out with the slots of the first.
  auto section = StaffSection(1, 4, 4);
  KeepFittingPageStarts(*section, {25, 25, 25, 25}, 100, 10, 8);
  EXPECT_EQ(SlotsOfPage(*section, 0), 3u);
  EXPECT_EQ(SlotsOfPage(*section, 1), 3u);
  EXPECT_EQ(section->PageOfSystem(3), 1u);
}

// A system taller than the whole page is drawn smaller, all of it in proportion, so that its
// ink stays on the page; it still runs across the printable width. A page too small even for
// that draws it at the least size rather than failing.
TEST(SectionPages, ASystemTallerThanThePageIsDrawnSmaller) {
  PageScope scope;
  auto section = StaffSection(12, 1, 4);
  CPageDlg page;
  page.topMargin = 0;
  page.bottomMargin = 0;
  RecordingDevice dc(96, true);
  const DrawContext context = scope.On(dc);
  page.pageRect = {0, 0, 794, 20000};
  ASSERT_EQ(DrawSystems(*section, dc, page, 0, 0, 1, false), 1);
  const InkSpan full = InkOf(*section, 0, dc, page);
  const int32_t fullSpacing = section->System(0)->Line(0)->staves.at(0)->lineSpacing;
  const int32_t fullRight = section->System(0)->area.right;

  page.pageRect.bottom = static_cast<int32_t>((full.bottom - full.top) / 2);
  InkExtent ink;
  dc.SetInkObserver(&ink);
  dc.ClearLog();
  ASSERT_EQ(DrawSystems(*section, dc, page, 0, 0, 1, false), 1);
  dc.SetInkObserver(nullptr);
  ASSERT_FALSE(ink.Empty());
  EXPECT_GE(ink.Top(), page.printableRect.top);
  EXPECT_LE(ink.Bottom(), page.printableRect.bottom);
  // No smaller than it needs: it takes more than half of the page.
  EXPECT_GT(ink.Bottom() - ink.Top(), page.printableRect.Height() / 2);
  const int32_t spacing = section->System(0)->Line(0)->staves.at(0)->lineSpacing;
  EXPECT_LT(spacing, fullSpacing);
  EXPECT_GE(spacing, fullSpacing / 3);
  EXPECT_EQ(section->System(0)->area.right, fullRight);
  EXPECT_NE(dc.Log().find("LineTo"), std::string::npos);  // drawn on the page's device

  page.pageRect.bottom = 5;
  EXPECT_EQ(DrawSystems(*section, dc, page, 0, 0, 1, false), 1);
}

TEST(DocumentPages, HeaderOfAMusicPage) {
  CBriotabDoc doc;
  doc.settings.Text(CDocumentSettings::kTitle).text = "Lessons\r\nfor  the lute";
  EXPECT_EQ(PageHeaderText(doc.settings, 2), "Lessonsfor the lute : p. 3");
}

TEST(DocumentPages, RecomputeSystemsPerPage) {
  PageScope scope;
  CBriotabDoc doc;
  doc.sections.push_back(StaffSection(1, 3, 4));
  doc.sections.activeSection = 0;
  CPageDlg& page = doc.settings.pageSettings;
  page.paperFormat = 9;
  RecordingDevice dc(300, true);
  const DrawContext context = scope.On(dc);
  RecomputeSystemsPerPage(doc, dc);
  EXPECT_EQ(page.newPageOnSection, 1);
  // A4 at 300 dpi less 25 and 15 mm of margins, over the ink of the shortest system and 6 mm.
  const int32_t printable = MulDiv(2970, 300, 254) - MulDiv(150, 300, 254) - MulDiv(250, 300, 254);
  const Rect area{0, 0, 2000, printable};
  const int64_t room = MeasureSystem(*doc.sections.at(0), 0, dc, page, 0, area).Total();
  EXPECT_EQ(doc.sections.at(0)->stavesPerPage, (printable + Mm(60, 300)) / (room + Mm(60, 300)));
}

TEST(DocumentPages, FailureOnAPrintedPageIsReported) {
  testing::ScriptedPrompts prompts;
  CBriotabDoc doc;
  doc.sections.push_back(std::make_unique<CSystemArray>());
  doc.sections.activeSection = 0;
  doc.settings.pageSettings.printAllSections = 1;
  RecordingDevice dc(96, true);
  BuildPrintPages(doc, 1);
  DrawPage(doc, dc, 7);  // past the sequence
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], kPrintingError);
  DrawPage(doc, dc, 0);
  EXPECT_EQ(prompts.messages.size(), 1u);
}

}  // namespace
}  // namespace vornel
