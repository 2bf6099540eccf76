#include "layout/dialogs/MetaEventDialogs.h"

#include <gtest/gtest.h>

#include "model/events/CMetaEvent.h"

namespace vornel {
namespace {

TEST(SignedByteTest, MagnitudeAndSign) {
  struct Case {
    int number;
    uint8_t byte;
  };
  for (const Case& c : {Case{-5, 0x85}, Case{5, 0x05}, Case{0, 0}, Case{-127, 0xFF}, Case{127, 0x7F}}) {
    EXPECT_EQ(MakeSignedByte(c.number), c.byte) << c.number;
    EXPECT_EQ(ReadSignedByte(c.byte), c.number) << c.number;
  }
  EXPECT_EQ(ReadSignedByte(0x80), 0);
  EXPECT_EQ(MakeSignedByte(-300), 0xFF);
}

TEST(SignedByteTest, LineByteKeepsTheOtherLinesByte) {
  const uint32_t value = 0xAA332211;
  EXPECT_EQ(StoreLineByte(value, true, -5), 0x00852211u);
  EXPECT_EQ(StoreLineByte(value, false, -5), 0x00338511u);
  EXPECT_EQ(ReadLineByte(0x00852211u, true), -5);
  EXPECT_EQ(ReadLineByte(0x00338511u, false), -5);
}

TEST(TimeSignatureDialogTest, ZeroOpensFourFourAndPacks) {
  CMetaEvent e(1, "", 0x80, 0, 0);
  CTimeSignatureDlg d;
  d.From(e);
  EXPECT_EQ(d.beats, 4);
  EXPECT_EQ(d.beatValue, 4);
  EXPECT_EQ(d.relativeSize, 50);
  d.beats = 3;
  d.beatValue = 2;
  d.visible = true;
  d.numeratorOnly = true;
  d.relativeSize = 80;
  d.To(e);
  EXPECT_EQ(e.cx, 3);
  EXPECT_EQ(e.cy, 2);
  EXPECT_EQ(e.value, (30u << 16) | 0x1 | 0x4 | 0x80);
  CTimeSignatureDlg again;
  again.From(e);
  EXPECT_EQ(again.relativeSize, 80);
  EXPECT_TRUE(again.numeratorOnly);
  again.deleteMe = true;
  again.To(e);
  EXPECT_EQ(e.kind, CMetaEvent::kDeleteMe);
}

TEST(LegatoDialogTest, LineFlagSetAndClear) {
  for (bool lower : {true, false}) {
    CMetaEvent e(6, "", 0x0000AB00u, 11, 22);
    LegatoDlg d;
    d.From(e, lower);
    d.beginLine = -3;
    d.endLine = 5;
    d.steps = 12;
    d.depth = -20;
    d.wavy = true;
    d.To(e, lower);
    LegatoDlg back;
    back.From(e, lower);
    EXPECT_EQ(back.beginLine, -3) << lower;
    EXPECT_EQ(back.endLine, 5) << lower;
    EXPECT_EQ(back.steps, 12) << lower;
    EXPECT_EQ(back.depth, -20) << lower;
    EXPECT_TRUE(back.wavy) << lower;
    if (lower) {
      EXPECT_EQ(e.value, 0x01C4AB0Cu);
      EXPECT_EQ(e.cx, -20);
      EXPECT_EQ(e.cy, 22);
    } else {
      EXPECT_EQ(e.value, 0x1000C40Cu);
      EXPECT_EQ(e.cy, -20);
    }
    back.wavy = false;
    back.To(e, lower);
    EXPECT_EQ(e.value >> 24, 0u);
  }
}

TEST(BarreDialogTest, ValueAndWords) {
  CMetaEvent e(26, "", 0x12345678u, 0, 0);
  CBarreDlg d;
  d.fret = 5;
  d.extent = 3;
  d.latin = true;
  d.To(e);
  EXPECT_EQ(e.value, 0x30478u);
  EXPECT_EQ(e.cx, 0x305);
  EXPECT_EQ(e.cy, 2);
  CBarreDlg back;
  back.From(e);
  EXPECT_EQ(back.fret, 5);
  EXPECT_EQ(back.extent, 3);
  EXPECT_TRUE(back.latin);
  EXPECT_FALSE(back.half);
}

TEST(HyperlinkDialogTest, SplitAndJoin) {
  CMetaEvent e(32, "http://example.org/a|See here|too", 0, 0x1000, 2);
  CMetaHyperlink d;
  d.From(e);
  EXPECT_EQ(d.url, "http://example.org/a");
  EXPECT_EQ(d.caption, "See here|too");
  EXPECT_TRUE(d.printFullUrl);
  EXPECT_FALSE(d.InternalLink());
  d.To(e);
  EXPECT_EQ(e.text, "http://example.org/a|See here|too");
  EXPECT_EQ(e.cx, 0x1000);  // no section and bar for a web link
  d.type = 0;
  d.printFullUrl = false;
  d.section = 2;
  d.bar = 7;
  d.sectionCount = 3;
  EXPECT_EQ(d.Validate(), "");
  d.To(e);
  EXPECT_EQ(e.cx, (7 << 8) | 2);
  d.From(e);
  EXPECT_EQ(d.section, 2);
  EXPECT_EQ(d.bar, 7);
  d.section = 4;
  EXPECT_EQ(d.Validate(), "\"Section number\" must be between 1 and 3.");
  CMetaEvent noCaption(32, "only-url", 0, 0, 1);
  d.From(noCaption);
  EXPECT_EQ(d.url, "only-url");
  EXPECT_EQ(d.caption, "");
}

TEST(BracketDialogTest, ThicknessZeroOpensFourAndHeightByLine) {
  CMetaEvent e(33, "", 0, 0, 0x00120034);
  CMeta_LBracketDlg d;
  d.From(e, true);
  EXPECT_EQ(d.thickness, 4);
  EXPECT_EQ(d.height, 0x34);
  d.From(e, false);
  EXPECT_EQ(d.height, 0x12);
  d.height = 9;
  d.type = 6;
  d.facesLeft = true;
  d.To(e, false);
  EXPECT_EQ(e.cy, 0x00090034);
  EXPECT_EQ(e.cx, (4 << 8) | (6 << 1) | 1);
  d.To(e, true);
  EXPECT_EQ(e.cy, 0x00090009);
}

TEST(DynamicsDialogTest, TypeSetsVolumeAndText) {
  CDynamicCtrl d;
  d.ChooseType(4);
  EXPECT_EQ(d.volume, 90);
  d.ChooseType(10);
  EXPECT_EQ(d.volume, 127);
  d.extent = 8;
  CMetaEvent e(34, "", 0, 0, 0);
  d.To(e);
  EXPECT_EQ(e.text, "pedal");
  EXPECT_EQ(e.cy, (10 << 16) | 127);
  CDynamicCtrl back;
  back.From(e);
  EXPECT_EQ(back.type, 10);
  EXPECT_EQ(back.extent, 8);
}

TEST(LineByteDialogsTest, ContinuoEndingAndCrescendoKeepTheOtherLine) {
  for (bool lower : {true, false}) {
    CMetaEvent e(8, "6 4", lower ? 0x00000300u : 0x00030000u, 0, 0);
    CContinuoDlg continuo;
    continuo.From(e, lower);
    EXPECT_EQ(continuo.space, 0);
    continuo.space = 9;
    continuo.aboveStaff = true;
    continuo.To(e, lower);
    EXPECT_EQ(ReadLineByte(e.value, lower), 9);
    EXPECT_EQ(ReadLineByte(e.value, !lower), 3);
    EXPECT_EQ(lower ? e.cx : e.cy, 1);

    CMetaEvent crescendo(15, "", 0, 4, 30);
    CCrescendo c;
    c.From(crescendo, lower);
    c.vertical = -12;
    c.To(crescendo, lower);
    EXPECT_EQ((crescendo.value >> (lower ? 16 : 8)) & 0xFF, 0x8Cu);
  }
  CContinuoDlg longFigures;
  longFigures.text = std::string(25, '6');
  EXPECT_FALSE(longFigures.Validate().empty());
  CEndingDlg ending;
  EXPECT_EQ(ending.text, "First ending");
  CMetaEvent e(12, "", 0, 0, 0);
  ending.To(e, false);
  EXPECT_EQ(e.value, 0x600u);
  EXPECT_EQ(e.cx, 4);
  CCrescendo rasgueado;
  rasgueado.From(CMetaEvent(21, "", 0, 0, 0), true);
  rasgueado.vertical = 31;
  EXPECT_EQ(rasgueado.Validate(), "\"Speed\" must be between -30 and 30.");
}

}  // namespace
}  // namespace vornel
