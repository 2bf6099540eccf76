// The rich-text host: the fixtures drawn into the recording device at zoom 100 and 50 (golden
// logs), measuring, pagination on A4 portrait and landscape, printing a block page by page,
// the cache behind every drawing and the rich track texts on pages and the title page.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "layout/richtext/CRichDrawText.h"
#include "layout/richtext/RtfPages.h"
#include "document/CPageDlg.h"
#include "layout/richtext/RtfTrackTextDrawing.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/rtf/RtfReader.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "view/GoldenLog.h"

namespace vornel {
namespace {

std::string Fixture(std::string_view name) {
  return testing::ReadText(std::string(VORNEL_SOURCE_DIR) + "/tests/platform/rtf/" + std::string(name));
}

std::vector<std::string> LinesStartingWith(const std::string& log, std::string_view prefix) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < log.size()) {
    size_t end = log.find('\n', start);
    if (end == std::string::npos) end = log.size();
    const std::string_view line(log.data() + start, end - start);
    if (line.starts_with(prefix)) lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

std::string Draw(std::string_view rtf, const Rect& rect, int32_t zoom, RichTextCache& cache) {
  RecordingDevice dc(96);
  CRichDrawText(rtf, cache).Draw(dc, rect, zoom);
  return dc.Log();
}

// "{\rtf1 line 1\par ... line n\par}" in 12 pt: n + 1 lines of 240 twips.
std::string Lines(int n) {
  std::string rtf = "{\\rtf1 ";
  for (int i = 1; i <= n; ++i) rtf += "line " + std::to_string(i) + "\\par ";
  return rtf + "}";
}

TEST(RichTextDrawing, FixturesAtZoom100And50) {
  for (const char* name : {"styles", "bullets", "pictures"}) {
    for (const int zoom : {100, 50}) {
      RichTextCache cache;
      const std::string log = Draw(Fixture(std::string(name) + ".rtf"), Rect{20, 10, 620, 810}, zoom, cache);
      testing::ExpectGoldenLog("richtext_" + std::string(name) + "_" + std::to_string(zoom), log, "layout");
    }
  }
}

TEST(RichTextDrawing, HalfZoomIsHalfSizeInTheSameRectangle) {
  // At 50 the text wraps in a rectangle as it does at 100 in one twice as wide.
  RichTextCache cache;
  const std::string styles = Fixture("styles.rtf");
  const auto half = LinesStartingWith(Draw(styles, Rect{0, 0, 300, 800}, 50, cache), "TextOut");
  const auto full = LinesStartingWith(Draw(styles, Rect{0, 0, 600, 1600}, 100, cache), "TextOut");
  ASSERT_EQ(half.size(), full.size());
  EXPECT_GT(half.size(), 8u);
  const auto heights = [&](int32_t zoom) {
    RecordingDevice dc(96);
    CRichDrawText("{\\rtf1 \\fs24 x}", cache).Draw(dc, Rect{0, 0, 300, 100}, zoom);
    return LinesStartingWith(dc.Log(), "SelectFont").at(0);
  };
  EXPECT_NE(heights(100).find("height=-16"), std::string::npos) << heights(100);
  EXPECT_NE(heights(50).find("height=-8"), std::string::npos) << heights(50);
}

TEST(RichTextDrawing, EdgeCases) {
  RichTextCache cache;
  RecordingDevice dc(96);
  Rect r{0, 0, 500, 0};
  // An empty text, and a document without characters, need no room and draw nothing.
  for (const char* empty : {"", "{\\rtf1}", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\par}"}) {
    r.bottom = 77;
    CRichDrawText text(empty, cache);
    text.MeasureHeight(dc, r);
    EXPECT_EQ(r.bottom, 0) << empty;
    dc.ClearLog();
    text.Draw(dc, Rect{0, 0, 500, 100});
    EXPECT_EQ(dc.Log(), "") << empty;
  }
  // One line of 12 pt: ascent 0.8 em and descent 0.2 em of 240 twips, 16 pixels at 96 per inch.
  CRichDrawText("{\\rtf1 Hello}", cache).MeasureHeight(dc, r);
  EXPECT_EQ(r.bottom, 16);
  r.top = 5;
  CRichDrawText("{\\rtf1 Hello\\par World}", cache).MeasureHeight(dc, r);
  EXPECT_EQ(r.bottom, 5 + 32);

  // A bullet paragraph shows one bullet: the text for readers without bullets is not drawn.
  const auto texts = LinesStartingWith(Draw(Fixture("bullets.rtf"), Rect{0, 0, 600, 400}, 100, cache), "TextOut");
  EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                          [](const std::string& l) { return l.find("\"\xE2\x80\xA2\"") != std::string::npos; }),
            3);
  EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                          [](const std::string& l) { return l.find("\xC2\xB7") != std::string::npos; }),
            0);

  // A picture that does not decode is a frame of its size: 300 twips are 20 pixels.
  const std::string broken = Draw("{\\rtf1{\\pict\\pngblip\\picwgoal300\\pichgoal300 89504e47}}", Rect{0, 0, 600, 400},
                                  100, cache);
  EXPECT_EQ(LinesStartingWith(broken, "FrameRect"), std::vector<std::string>{"FrameRect 0 0 20 20 solid 0x808080"});

  // Hostile texts draw what was read.
  for (const char* hostile : {"{\\rtf1 a{\\b b{\\i c", "{\\rtf1 a}b}", "{\\rtf1 x{\\pict\\bin999999 ab}}"}) {
    EXPECT_FALSE(LinesStartingWith(Draw(hostile, Rect{0, 0, 600, 400}, 100, cache), "TextOut").empty()) << hostile;
  }
  // A word longer than the line is cut between its characters.
  const auto cut = LinesStartingWith(Draw("{\\rtf1 " + std::string(200, 'x') + "}", Rect{0, 0, 100, 400}, 100, cache),
                                     "TextOut");
  EXPECT_GT(cut.size(), 5u);
}

TEST(RichTextDrawing, TheCacheReadsAndLaysOutOnce) {
  RichTextCache cache;
  testing::ScriptedPrompts prompts;
  const std::string styles = Fixture("styles.rtf");
  for (int i = 0; i < 3; ++i) Draw(styles, Rect{0, 0, 600, 800}, 100, cache);
  EXPECT_EQ(cache.ReadCount(), 1u);
  EXPECT_EQ(cache.LayoutCount(), 1u);
  Draw(styles, Rect{0, 0, 400, 800}, 100, cache);
  EXPECT_EQ(cache.LayoutCount(), 2u);
  EXPECT_TRUE(prompts.messages.empty());

  // A text whose reading a limit stopped says so once, not on every repaint.
  const std::string cut = "{\\rtf1 kept{\\pict\\pngblip\\bin100 short}}";
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(LinesStartingWith(Draw(cut, Rect{0, 0, 600, 800}, 100, cache), "TextOut").size(), 1u);
  }
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Error reading RTF text"});

  // The least recently used texts make room.
  RichTextCache small(2, 2);
  for (const char* t : {"{\\rtf1 a}", "{\\rtf1 b}", "{\\rtf1 c}", "{\\rtf1 a}"}) small.Content(t);
  EXPECT_EQ(small.ReadCount(), 4u);
}

TEST(RichTextPages, PrintedRectangles) {
  const struct {
    RtfPage page;
    Rect printed;
  } cases[] = {
      // A twelfth of the width (992 twips) on every side, moved by a quarter of it.
      {RtfPage::A4(false), Rect{1240, 1240, 11162, 16094}},
      // In landscape a twelfth of the height.
      {RtfPage::A4(true), Rect{1240, 1240, 16094, 11162}},
  };
  for (const auto& c : cases) EXPECT_EQ(RtfPrintedRect(c.page), c.printed);

  CPageDlg settings;
  settings.paperFormat = 9;
  settings.landscape = 1;
  const RtfPage a4 = RtfPage::FromPageSettings(settings);
  EXPECT_EQ(a4.widthTwips, RtfPage::kA4Height);
  EXPECT_TRUE(a4.landscape);
  settings.paperFormat = 1;
  settings.landscape = 0;
  EXPECT_EQ(RtfPage::FromPageSettings(settings).widthTwips, 12240);
}

TEST(RichTextPages, FixturesOnA4) {
  RichTextCache cache;
  for (const char* name : {"styles.rtf", "bullets.rtf", "pictures.rtf"}) {
    for (const bool landscape : {false, true}) {
      const RtfPages pages(Fixture(name), RtfPage::A4(landscape), FixedTextEngine::Shared(), cache);
      EXPECT_EQ(pages.Count(), 1) << name;
      EXPECT_EQ(pages.Layout().Width(), RtfPrintedRect(RtfPage::A4(landscape)).Width());
    }
  }
}

TEST(RichTextPages, CountAndPrintPageByPage) {
  // 201 lines of 240 twips; the printed height of A4 (14854 twips) holds 61 of them.
  CRTFPreface block;
  block.text = Lines(200);
  EXPECT_EQ(CountPages(block, RtfPage::A4(), FixedTextEngine::Shared()), 4);
  EXPECT_EQ(block.pageCount, 4);
  EXPECT_EQ(block.printInfo.maxPage, 4);
  EXPECT_EQ(block.printInfo.printedRect, (Rect{1240, 1240, 11162, 16094}));
  // In landscape the printed height is 9922 twips: 41 lines a page.
  EXPECT_EQ(CountPages(block, RtfPage::A4(true), FixedTextEngine::Shared()), 5);

  const std::vector<std::pair<int32_t, std::string>> expected = {
      {1, "TextOut 83 96 \"line 1\""}, {2, "TextOut 83 96 \"line 62\""}, {4, "TextOut 83 96 \"line 184\""}};
  for (const auto& [page, first] : expected) {
    RecordingDevice dc(96, true);
    block.printInfo.currentPage = page;
    EXPECT_EQ(Print(block, dc, RtfPage::A4()), 4);
    const auto texts = LinesStartingWith(dc.Log(), "TextOut");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), first) << page;
    EXPECT_EQ(texts.size(), page == 4 ? 17u : 61u);
  }
  // A page beyond the last prints nothing.
  RecordingDevice dc(96, true);
  block.printInfo.currentPage = 5;
  Print(block, dc, RtfPage::A4());
  EXPECT_TRUE(LinesStartingWith(dc.Log(), "TextOut").empty());

  block.text.clear();
  EXPECT_EQ(CountPages(block, RtfPage::A4(), FixedTextEngine::Shared()), 0);
}

TEST(RichTextPages, WhatIsTallerThanAPageTakesAPageOfItsOwn) {
  CRTFPreface block;
  block.text = "{\\rtf1 before\\par {\\pict\\pngblip\\picwgoal2000\\pichgoal30000 00}\\par after}";
  EXPECT_EQ(CountPages(block, RtfPage::A4(), FixedTextEngine::Shared()), 3);
  // The same with many of them: every page advances.
  block.text = "{\\rtf1 ";
  for (int i = 0; i < 20; ++i) block.text += "{\\pict\\pngblip\\picwgoal200\\pichgoal40000 00}\\par ";
  block.text += "}";
  EXPECT_EQ(CountPages(block, RtfPage::A4(), FixedTextEngine::Shared()), 21);
}

// A short text in the largest size RTF can name once made a page for every word or two.
// Sizes stop at what a page shows, and a text makes no more pages than its characters bound:
// what lies beyond is left out, and the cache says so once.
TEST(RichTextPages, HugeSizesMakeBoundedPages) {
  const RichDocument doc = ReadRtf("{\\rtf1\\fs32767 x}").document;
  EXPECT_EQ(doc.paragraphs.front().runs.front().format.halfPoints, CharFormat::kMaxHalfPoints);

  std::string words;
  for (int i = 0; words.size() < 2000; ++i) words += "w" + std::to_string(i % 10) + " ";
  testing::ScriptedPrompts prompts;
  RichTextCache cache;
  const RtfPages huge("{\\rtf1\\fs32767 " + words + "}", RtfPage::A4(), FixedTextEngine::Shared(), cache);
  // 32 pages, and one for each 460 characters or so; lines of 288 points, two a page.
  EXPECT_GE(huge.Count(), 32);
  EXPECT_LE(huge.Count(), 50);
  EXPECT_TRUE(huge.Layout().Truncated());
  EXPECT_LE(huge.Layout().Height(), RichTextLayout::kBaseHeight + RichTextLayout::kHeightPerCharacter * 2003);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Error reading RTF text"});

  // The same words in a size a page holds many of are laid out whole.
  const RtfPages normal("{\\rtf1\\fs24 " + words + "}", RtfPage::A4(), FixedTextEngine::Shared(), cache);
  EXPECT_EQ(normal.Count(), 1);
  EXPECT_FALSE(normal.Layout().Truncated());
  EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST(RichTrackText, DrawnOnTheTitlePageWithItsTracker) {
  CRTFTrackText title;
  title.text = "{\\rtf1 \\qc Title}";
  title.x = 100;
  title.y = 40;
  title.storedRect = Rect{0, 0, 300, 0};
  RichTextPlacement placement;
  placement.origin = Point{10, 20};
  placement.zoom = 50;
  RecordingDevice dc(96);
  DrawOnTitlePage(title, dc, placement);
  // Placed at x, y at the zoom plus the origin, its width kept and its height measured.
  EXPECT_EQ(title.storedRect, (Rect{60, 40, 360, 56}));
  EXPECT_EQ(title.drawnRect, title.storedRect);
  EXPECT_EQ(title.size.cx, 300);
  EXPECT_EQ(LinesStartingWith(dc.Log(), "TextOut").size(), 1u);
  // The dotted tracker with its eight handles outside.
  EXPECT_EQ(LinesStartingWith(dc.Log(), "Rectangle 60 40 360 56").size(), 1u);
  EXPECT_EQ(LinesStartingWith(dc.Log(), "FillSolidRect").size(), 8u);

  // On paper the screen rectangle is scaled to the printer; no tracker.
  RecordingDevice printer(192, true);
  title.origin = Point{10, 20};
  DrawOnTitlePage(title, printer, placement);
  EXPECT_EQ(LinesStartingWith(printer.Log(), "FillSolidRect").size(), 0u);
  EXPECT_EQ(LinesStartingWith(printer.Log(), "IntersectClipRect").at(0), "IntersectClipRect 110 60 710 92");

  // Hidden or empty: nothing.
  title.flags = 0;
  RecordingDevice none(96);
  DrawOnTitlePage(title, none, placement);
  EXPECT_EQ(none.Log(), "");
}

TEST(RichTrackText, DrawnScaledOnASystem) {
  CRTFTrackText box;
  box.text = "{\\rtf1 Couplet}";
  box.x = 30;
  box.y = 50;
  RichTextPlacement placement;
  placement.origin = Point{5, 5};
  placement.selected = true;
  RecordingDevice dc(96);
  DrawScaled(box, dc, placement);
  // A text never drawn gets the default rectangle at its position.
  EXPECT_EQ(box.storedRect, (Rect{30, 50, 430, 150}));
  EXPECT_EQ(box.lastZoom, 100);
  EXPECT_EQ(LinesStartingWith(dc.Log(), "TextOut").size(), 1u);
  EXPECT_EQ(LinesStartingWith(dc.Log(), "FillSolidRect").size(), 8u);
  // Moved by its offset from the origin.
  box.dx = 20;
  box.dy = 10;
  placement.selected = false;
  RecordingDevice moved(96);
  DrawScaled(box, moved, placement);
  EXPECT_EQ(box.storedRect, (Rect{25, 15, 425, 115}));
  EXPECT_TRUE(LinesStartingWith(moved.Log(), "FillSolidRect").empty());
}

}  // namespace
}  // namespace vornel
