// The glyph palettes without windows: their tables, geometry, glyphs, commands and drawing.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/draw/GlyphTable.h"
#include "platform/draw/RecordingDevice.h"
#include "shell/palettes/PaletteArt.h"
#include "shell/palettes/PaletteCommands.h"
#include "shell/palettes/PaletteTable.h"
#include "shell/palettes/ToolsPalette.h"

namespace vornel::palettes {
namespace {

TEST(PaletteTable, TwelvePalettesWithTheirButtonCounts) {
  const std::pair<std::string_view, size_t> expected[] = {
      {"Flags", 19},    {"Bar lines", 18},  {"Metaevents", 17}, {"Notation", 26},  {"Chords", 21},    {"Dynamics", 16},
      {"Phrasing", 29}, {"Fingerings", 27}, {"Ornaments", 35},  {"Diapasons", 11}, {"Pedals", 11},    {"Brackets", 12},
  };
  ASSERT_EQ(AllPalettes().size(), 12u);
  for (size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(AllPalettes()[i].selectorName, expected[i].first);
    EXPECT_EQ(AllPalettes()[i].buttons.size(), expected[i].second) << expected[i].first;
  }
  EXPECT_EQ(PanePalettes(kUpperPane).front().command, 33819);
  EXPECT_EQ(PanePalettes(kLowerPane).front().command, 33826);
  EXPECT_EQ(PaletteForCommand(33828)->resource, kOrnamentPaletteResource);
  EXPECT_EQ(PaletteForCommand(33825), nullptr);
}

TEST(PaletteTable, TheOrnamentPaletteShowsVornelFgCodesOfItsCommands) {
  const PaletteInfo& ornaments = *PaletteForCommand(33828);
  EXPECT_EQ(ornaments.buttons[0].command, 34074);
  EXPECT_EQ(ornaments.buttons[1].command, 34157);
  EXPECT_EQ(ornaments.buttons[2].command, 32924);
  for (int k = 0; k < 32; ++k) {
    const PaletteButton& b = ornaments.buttons[3 + static_cast<size_t>(k)];
    EXPECT_EQ(b.command, kFirstOrnamentCommand + k);
    EXPECT_EQ(b.face, kFiguresFace);
    EXPECT_EQ(b.code, static_cast<uint32_t>(b.command - kOrnamentCodeOffset));
    EXPECT_EQ(b.tip, OrnamentNames()[static_cast<size_t>(k)]);
  }
  // Fingerings are decorations 0-23 and 56-58.
  std::vector<int> codes;
  for (const PaletteButton& b : PaletteForCommand(33827)->buttons) codes.push_back(b.command - 32863);
  std::vector<int> expected;
  for (int c = 0; c <= 23; ++c) expected.push_back(c);
  for (int c = 56; c <= 58; ++c) expected.push_back(c);
  EXPECT_EQ(codes, expected);
}

// Every glyph a button shows is one the drawing can show: a row of the glyph table, a code a
// letter or figure face writes as text, or a character of a text face.
TEST(PaletteTable, EveryButtonGlyphIsMapped) {
  for (const PaletteInfo& palette : AllPalettes()) {
    for (const PaletteButton& b : palette.buttons) {
      const FaceRole role = RoleForFace(b.face);
      const bool mapped = FindGlyph(role, b.code) != nullptr ||
                          ((role == FaceRole::kText || RoleFallsBackToText(role)) && b.code >= 0x20);
      EXPECT_TRUE(mapped) << palette.selectorName << " " << b.command << " " << b.face << " " << b.code;
      EXPECT_FALSE(b.tip.empty()) << b.command;
    }
  }
}

TEST(PaletteGeometry, SizesRowsAndPlacement) {
  EXPECT_EQ(PaletteRows(12, 5), 3);
  EXPECT_EQ(PaletteRows(10, 5), 2);
  EXPECT_EQ(PaletteRows(0, 5), 0);
  EXPECT_EQ(PaletteSize(Size{24, 24}, 5, 12), (Size{130, 132}));
  EXPECT_EQ(PaletteSize(Size{28, 28}, 4, 19), (Size{122, 200}));

  const PaletteLayout tall = LayOutPalette(Rect{0, 0, 130, 132}, Size{24, 24}, 5, 12);
  ASSERT_EQ(tall.buttons.size(), 12u);
  EXPECT_EQ(tall.buttons[0], (Rect{5, 5, 29, 29}));
  EXPECT_EQ(tall.buttons[4], (Rect{101, 5, 125, 29}));
  EXPECT_EQ(tall.buttons[5], (Rect{5, 29, 29, 53}));
  EXPECT_EQ(tall.buttons[11], (Rect{29, 53, 53, 77}));
  EXPECT_EQ(tall.title, (Rect{5, 82, 125, 127}));
  EXPECT_TRUE(TitleShown(tall.title));

  // A pane just taller than the grid leaves too little room for the title.
  const PaletteLayout shallow = LayOutPalette(Rect{0, 0, 130, 97}, Size{24, 24}, 5, 12);
  EXPECT_FALSE(TitleShown(shallow.title));
  EXPECT_TRUE(TitleShown(LayOutPalette(Rect{0, 0, 130, 98}, Size{24, 24}, 5, 12).title));
  // The last row reaching the bottom leaves no title at all.
  EXPECT_EQ(LayOutPalette(Rect{0, 0, 130, 77}, Size{24, 24}, 5, 12).title, Rect{});
}

TEST(PaletteGeometry, ColumnCountCycles) {
  std::vector<int> seen;
  int columns = kDefaultColumns;
  for (int i = 0; i < 6; ++i) {
    seen.push_back(columns);
    columns = NextColumnCount(columns);
  }
  EXPECT_EQ(seen, (std::vector<int>{5, 4, 3, 7, 6, 5}));
}

TEST(ToolsPalette, SetGlyphsFillsButtonsFromTheFourth) {
  ToolsPalette palette(*PaletteForCommand(33828));
  const std::vector<PaletteButton> before = palette.Buttons();
  const std::vector<uint32_t> codes = {0xC2, 0xC3};
  palette.SetGlyphs(true, codes);
  EXPECT_TRUE(palette.NotationGlyphs());
  EXPECT_EQ(palette.Buttons()[0].code, before[0].code);
  EXPECT_EQ(palette.Buttons()[3].face, kNotationFace);
  EXPECT_EQ(palette.Buttons()[3].code, 0xC2u);
  EXPECT_EQ(palette.Buttons()[4].code, 0xC3u);
  // Fewer codes than buttons leave the rest as they were.
  EXPECT_EQ(palette.Buttons()[5].face, before[5].face);
  EXPECT_EQ(palette.Buttons()[5].code, before[5].code);
  EXPECT_EQ(palette.Buttons()[5].command, before[5].command);

  palette.SetGlyphs(false, std::vector<uint32_t>(40, 0xDB));
  EXPECT_EQ(palette.Buttons().back().face, kFlagsFace);
  EXPECT_EQ(palette.Buttons().size(), before.size());
  EXPECT_EQ(palette.GlyphCodes().size(), 40u);
}

class FakeTarget : public PaletteTarget {
 public:
  void SelectPalette(int command) override { current[command >= 33826 ? 1 : 0] = command; }
  int CurrentPalette(int pane) const override { return current[pane]; }
  void FloatPalette(int pane) override { floated.push_back(pane); }
  int Columns() const override { return columns; }
  void SetColumns(int c) override { columns = c; }
  void SendCommand(int id) override { sent.push_back(id); }

  int current[2] = {33819, 33826};
  int columns = 5;
  std::vector<int> floated;
  std::vector<int> sent;
};

TEST(PaletteCommands, EveryButtonCommandIsInTheTableAndWaitsForItsHandler) {
  FakeTarget target;
  view::CommandTable table;
  AddPaletteCommands(table, target);
  for (const PaletteInfo& palette : AllPalettes()) {
    for (const PaletteButton& b : palette.buttons) {
      const view::CommandState state = table.State(b.command);
      EXPECT_TRUE(state.handled) << b.command;
      EXPECT_FALSE(state.enabled) << b.command;
    }
  }
  // A handler the view adds later is what runs.
  view::CommandTable viewTable;
  int ran = 0;
  viewTable.Add(32887, [&](const view::CommandEvent&) { ++ran; });
  view::CommandRouter router;
  router.SetRoute({&viewTable, &table});
  EXPECT_TRUE(router.Dispatch(32887));
  EXPECT_EQ(ran, 1);
  EXPECT_FALSE(router.Dispatch(32888));
}

TEST(PaletteCommands, SelectorsFloatsColumnsAndForwards) {
  FakeTarget target;
  view::CommandTable table;
  AddPaletteCommands(table, target);
  EXPECT_TRUE(*table.State(33819).checked);
  EXPECT_TRUE(table.Execute({33822, std::nullopt, {}}));
  EXPECT_EQ(target.current[0], 33822);
  EXPECT_FALSE(*table.State(33819).checked);
  EXPECT_TRUE(*table.State(33822).checked);
  // Selecting the same palette again leaves it shown.
  table.Execute({33822, std::nullopt, {}});
  EXPECT_EQ(target.current[0], 33822);

  table.Execute({kFloatLowerPalette, std::nullopt, {}});
  EXPECT_EQ(target.floated, std::vector<int>{kLowerPane});
  std::vector<int> columns;
  for (int i = 0; i < 5; ++i) {
    table.Execute({kSetColumns, std::nullopt, {}});
    columns.push_back(target.columns);
  }
  EXPECT_EQ(columns, (std::vector<int>{4, 3, 7, 6, 5}));
  table.Execute({33919, std::nullopt, {}});
  table.Execute({33920, std::nullopt, {}});
  EXPECT_EQ(target.sent, (std::vector<int>{33181, 34074}));
}

TEST(PaletteArt, GlyphButtonsDrawTheirFaceAndCode) {
  RecordingDevice dc;
  dc.SetLogRuns(true);
  const PaletteButton& trill = PaletteForCommand(33828)->buttons[3 + 14];
  DrawGlyphButton(dc, Rect{0, 0, 24, 24}, trill, ButtonState{true, true, false});
  const std::string log = dc.Log();
  EXPECT_NE(log.find("VornelFg"), std::string::npos) << log;
  EXPECT_NE(log.find("U+E566"), std::string::npos) << log;  // the trill the table maps code 78 to
  // Checked buttons take the red frame.
  dc.ClearLog();
  DrawGlyphButton(dc, Rect{0, 0, 24, 24}, trill, ButtonState{true, false, false});
  const std::string plain = dc.Log();
  EXPECT_NE(log, plain);
}

TEST(PaletteArt, MenuItemSizes) {
  EXPECT_EQ(LineStyleItemSize(16, 3, 16), (Size{114, 20}));
  EXPECT_EQ(LineStyleItemSize(16, 24, 16), (Size{114, 28}));
  EXPECT_EQ(ToolMenuItemSize(Size{16, 15}), (Size{134, 19}));
}

}  // namespace
}  // namespace vornel::palettes
