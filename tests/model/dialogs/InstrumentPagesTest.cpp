// The pages of the instrument sheet as structs: what each takes from a definition and what it
// gives back, with the bits they share with other settings left alone.

#include <gtest/gtest.h>

#include <stdexcept>

#include "model/dialogs/InstrumentPages.h"

namespace vornel {
namespace {

TEST(InstrumentNamePage, LeavingThePageKeepsTheOptionBytesOtherBits) {
  CInstrumentDlg definition;
  definition.notationOptions = 0x0D;  // fingerings above stems and three other bits
  definition.familyPage = 4;
  definition.nameText.text = "Guitar";
  CInstrumentName page;
  page.Load(definition);
  EXPECT_TRUE(page.fingeringsAbove);
  EXPECT_EQ(page.family, 4);
  EXPECT_EQ(page.name, "Guitar");
  page.fingeringsAbove = false;
  page.longStems = true;
  page.family = 2;
  page.Store(definition);
  EXPECT_EQ(definition.notationOptions, 0x0C);
  EXPECT_EQ(definition.longStems, 1);
  EXPECT_EQ(definition.familyPage, 2);
  EXPECT_EQ(definition.family, 0);  // the family itself waits for the sheet's OK
}

TEST(TablaturePage, GlyphAdjustmentsAndDistancesShareOneWord) {
  CTabInstrument tab;
  tab.flagsHeight = 0x7A0000;  // bits above the four nibbles are someone else's
  TabInstrumentDlg page;
  page.Load(tab);
  page.letterAdjust = -5;
  page.numberAdjust = 5;
  page.flagDistance = 12;
  page.diapasonDistance = 3;
  ASSERT_EQ(page.Validate(), "");
  page.Store(tab);
  EXPECT_EQ(tab.flagsHeight, 0x7A0000 | (10 << 12) | (0 << 8) | (3 << 4) | 12);
  TabInstrumentDlg again;
  again.Load(tab);
  EXPECT_EQ(again.letterAdjust, -5);
  EXPECT_EQ(again.numberAdjust, 5);
  page.letterAdjust = 6;
  EXPECT_EQ(page.Validate(), "\"Letters adjustment\" must be between -5 and 5.");
}

TEST(TablaturePage, FlagGroupOutsideTheListShowsNothingAndKeepsItsBits) {
  struct Case {
    int32_t word;
    int entry;
  };
  // ((word >> 4) & 7) + 3 when set, else word & 3; 7 and beyond are not in the list.
  for (const Case& c : {Case{0x02, 2}, Case{0x10, 4}, Case{0x31, 6}, Case{0x40, -1}, Case{0xF0, -1}, Case{0x83, 3}}) {
    EXPECT_EQ(TabInstrumentDlg::FlagGroupEntry(c.word), c.entry) << c.word;
  }
  CTabInstrument tab;
  tab.flagGroup = 0x52;  // entry 8
  TabInstrumentDlg page;
  page.Load(tab);
  EXPECT_EQ(page.flagGroup, -1);
  page.Store(tab);
  EXPECT_EQ(tab.flagGroup, 0x52);
  page.flagGroup = 5;  // "Baroque group mode" picked
  page.noGroupNumbers = true;
  page.Store(tab);
  EXPECT_EQ(tab.flagGroup, 0x20 | 0x80);
}

TEST(TablaturePage, TuningSwitchesAndWordsRoundTrip) {
  CTabInstrument tab;
  tab.baroqueStrumming = 4;  // a bit the page does not show
  tab.drawOpaque = 0x10;
  TabInstrumentDlg page;
  page.Load(tab);
  EXPECT_EQ(page.tuningText, "GDAFCGF");
  EXPECT_TRUE(page.drawOnLines);
  page.tuningText = "EBGDAE";
  page.strumming = true;
  page.baroqueRests = true;
  page.opaque = true;
  page.drawOnLines = false;
  page.fretScale = 1;
  page.Store(tab);
  EXPECT_EQ(tab.tuning.stringCount, 6);
  EXPECT_EQ(tab.tuningText, "EBGDAE");
  EXPECT_EQ(tab.baroqueStrumming, 7);
  EXPECT_EQ(tab.drawOpaque, 0x11);
  EXPECT_EQ(tab.betweenLines, 1);
  EXPECT_EQ(tab.scaleType, 1);

  // "Change tuning" hands a tuning back: the text follows it.
  nTuning edited;
  edited.SetTuning("E+1A+1DG");
  page.TakeTuning(edited);
  EXPECT_EQ(page.tuningText, "EADG");
  page.Store(tab);
  EXPECT_EQ(tab.tuning.courses[0].pitch + kCoursePitchOffset, 76);  // the octave marks survive
}

TEST(FontsPage, SliderRangesAndDefaultColors) {
  EXPECT_EQ(CTabFontsDlg::ClampMicro(CTabFontsDlg::kNotation, -50), -36);
  EXPECT_EQ(CTabFontsDlg::ClampMicro(CTabFontsDlg::kTablature, -50), -30);
  EXPECT_EQ(CTabFontsDlg::ClampMicro(CTabFontsDlg::kAlfabeto, 40), 30);
  CInstrumentDlg definition;
  CTabFontsDlg page;
  page.Load(definition);
  page.micro[CTabFontsDlg::kNotation] = -36;
  EXPECT_EQ(page.Validate(), "");
  page.micro[CTabFontsDlg::kFlags] = -31;
  EXPECT_FALSE(page.Validate().empty());
  page.micro[CTabFontsDlg::kFlags] = 0;
  page.fontColors = {1, 2, 3, 4};
  page.glyphColors.fill(0x123456);
  page.DefaultColors();
  EXPECT_EQ(page.glyphColors, COrnamentTable{}.colors);
  EXPECT_EQ(page.glyphColors[COrnamentTable::kOrnaments], 0x50007Du);  // RGB(125, 0, 80)
  EXPECT_EQ(page.fontColors, (std::array<uint32_t, 4>{1, 2, 3, 4}));
  page.Store(definition);
  EXPECT_EQ(definition.notationFont.microTuning, -36);
  EXPECT_EQ(definition.GetElementColor(CInstrumentDlg::kAlfabetoColor), 4u);
  EXPECT_EQ(CTabFontsDlg::NotationPixelHeight(definition.notationFont, 254), 60);
}

TEST(PedalsPage, EditsOnePedalAtATime) {
  CInstrumentDlg definition;
  CPedalControl page;
  page.Load(definition.pedals, definition.tabInstrument.tuning);
  EXPECT_EQ(page.shownStrings, 7);
  EXPECT_EQ(page.stringNames[0], "String 1");
  EXPECT_EQ(page.stringNotes[0], "G5");
  page.Select(3);
  page.Current().stringMask = 0b101;
  page.Current().action = -2;
  page.Current().caption = "B flat";
  EXPECT_THROW(page.Select(10), std::out_of_range);
  EXPECT_EQ(page.current, 3);
  page.Store(definition.pedals);
  EXPECT_EQ(definition.pedals.FindPedalForString(2), definition.pedals.at(3));
  EXPECT_EQ(definition.pedals.at(3)->caption, "B flat");
  page.Current().action = 13;
  EXPECT_FALSE(page.Validate().empty());
}

TEST(InstrumentSheetCopyBack, OkCopiesNameTransposeFamilyAndShortSignature) {
  CInstrumentDlg definition;
  definition.DeleteStaves();
  definition.key.transpose = 3;
  definition.family = 2;
  InstrumentSheet::Open(definition);
  EXPECT_EQ(definition.staves.size(), 1u);  // a stave is made for the "Staves" page
  EXPECT_EQ(definition.transposePage, 3);
  EXPECT_EQ(definition.familyPage, 2);

  CInstrumentName name;
  name.Load(definition);
  name.name = "Baroque guitar";
  name.family = 4;
  name.shortSignatures = true;
  name.Store(definition);
  definition.transposePage = -2;
  definition.spacingBelowPage = 7;
  InstrumentSheet::Apply(definition);
  EXPECT_EQ(definition.tabInstrument.name, "Baroque guitar");
  EXPECT_EQ(definition.key.transpose, -2);
  EXPECT_EQ(definition.family, 4);
  EXPECT_EQ(definition.tabInstrument.shortSignature, 1);
  EXPECT_EQ(definition.staves.at(0)->spaceBelow, 7u);
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

TEST(InstrumentList, RowsCarryEightColumnsAndFollowTheFilter) {
  CInstrumentArray definitions;
  for (int family : {2, 4, 2}) {
    auto definition = std::make_unique<CInstrumentDlg>();
    definition->family = static_cast<uint8_t>(family);
    definition->nameText.text = "family " + std::to_string(family);
    definitions.push_back(std::move(definition));
  }
  definitions.at(1)->tabInstrument.ornamentStyle = 3;  // no name: an empty cell
  definitions.at(1)->tabInstrument.flagGroup = 0x86;
  definitions.at(2)->tabInstrument.ornamentStyle = 2;
  definitions.LinkAll();
  EXPECT_EQ(InstrumentListRow::List(definitions, -1).size(), 3u);
  const std::vector<InstrumentListRow> lutes = InstrumentListRow::List(definitions, 2);
  ASSERT_EQ(lutes.size(), 2u);
  EXPECT_EQ(lutes[1].cells[5], "Baroque guitar");
  const InstrumentListRow guitar = InstrumentListRow::Of(*definitions.at(1));
  EXPECT_EQ(guitar.cells[0], "family 4");
  EXPECT_EQ(guitar.cells[1], "GDAFCGF");
  EXPECT_EQ(guitar.cells[5], "");
  EXPECT_EQ(guitar.cells[7], "Modern Guitar");
  EXPECT_EQ(guitar.image, 4);
}

}  // namespace
}  // namespace vornel
