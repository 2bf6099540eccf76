#include "layout/dialogs/SectionDialogs.h"

#include <gtest/gtest.h>

#include <functional>

#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"

namespace vornel {
namespace {

// Answers each dialog by running `edit` on its struct; OK unless `cancel`.
class ScriptedSectionDialogs : public SectionDialogs {
 public:
  std::function<void(CSectionDlg&)> section;
  std::function<void(CSegOffsetDlg&)> system;
  std::function<void(CAnalyzeVoicesDlg&)> voices;
  bool cancel = false;
  CSectionDlg shownSection;

  bool EditSection(CSectionDlg& d) override {
    shownSection = d;
    if (section) section(d);
    return !cancel;
  }
  bool EditSystem(CSegOffsetDlg& d) override {
    if (system) system(d);
    return !cancel;
  }
  bool ParseVoices(CAnalyzeVoicesDlg& d) override {
    if (voices) voices(d);
    return !cancel;
  }
};

TEST(SectionPropertiesTest, OkStoresTempoWordFlagsAndKeyInEveryDefinition) {
  CSystemArray section;
  section.tempo = 0x0300F000 | 90;  // dotted flag nibble set, "round" beat unit
  section.flags = 0x1000;            // a bit the dialog does not show
  ScriptedSectionDialogs dialogs;
  dialogs.section = [](CSectionDlg& d) {
    d.beatUnit = 4;  // "dotted_quarter"
    d.tempo = 72;
    d.pageBreakAfter = true;
    d.blankPageAfter = true;
    d.excludeFromContents = true;
    d.alterations = 3;
    d.accidentalKind = 1;
    d.keyLetter = 5;
    d.mode = 5;
    d.name = "Gagliarda";
    d.resetAllOffsets = true;
  };
  ScopedSectionDialogs scope(dialogs);
  bool reset = false;
  ASSERT_EQ(EditSectionProperties(section, &reset), 1);
  EXPECT_EQ(dialogs.shownSection.beatUnit, 3);
  EXPECT_EQ(dialogs.shownSection.tempo, 90);
  EXPECT_EQ(section.tempo, (4 << 24) | 72);
  EXPECT_EQ(section.flags, 0x111);
  EXPECT_EQ(section.excluded, 1);
  EXPECT_TRUE(reset);
  EXPECT_EQ(section.Title().text, "Gagliarda");
  for (const auto& definition : section.definitions.items()) {
    EXPECT_EQ(definition->key.alterations, 3u);
    EXPECT_EQ(definition->key.bemol, 0);
    EXPECT_EQ(definition->key.keyName, 5);
    EXPECT_EQ((definition->key.mode >> 8) & 0xF, 5);
  }
}

TEST(SectionPropertiesTest, FlagsReadBackOneByOne) {
  struct Case {
    int32_t flags;
    bool blank, excluded, pageBreak;
  };
  for (const Case& c : {Case{0, false, false, false}, Case{0x1, true, false, false}, Case{0x10, false, true, false},
                        Case{0x100, false, false, true}, Case{0x111, true, true, true}}) {
    CSystemArray section;
    section.flags = c.flags;
    CSectionDlg d;
    d.From(section);
    EXPECT_EQ(d.blankPageAfter, c.blank) << c.flags;
    EXPECT_EQ(d.excludeFromContents, c.excluded) << c.flags;
    EXPECT_EQ(d.pageBreakAfter, c.pageBreak) << c.flags;
    EXPECT_EQ(d.BlankPageEnabled(), c.pageBreak);
  }
}

TEST(SectionPropertiesTest, CancelAndOutOfRangeChangeNothing) {
  for (bool cancel : {true, false}) {
    CSystemArray section;
    section.tempo = 100;
    section.Title().text = "Kept";
    const dfLogFont font = section.Title().font;
    ScriptedSectionDialogs dialogs;
    dialogs.cancel = cancel;
    dialogs.section = [cancel](CSectionDlg& d) {
      d.tempo = 60;
      d.name = "Changed";
      d.fonts[0].logFont.lfHeight = 99;
      if (!cancel) d.stavesPerPage = 25;  // out of range
    };
    ScopedSectionDialogs scope(dialogs);
    EXPECT_EQ(EditSectionProperties(section), 0);
    EXPECT_EQ(section.tempo, 100);
    EXPECT_EQ(section.Title().text, "Kept");
    EXPECT_EQ(section.Title().font.logFont.lfHeight, font.logFont.lfHeight);
  }
}

TEST(SectionPropertiesTest, RangeMessagesNameFieldAndRange) {
  CSystemArray section;
  CSectionDlg d;
  d.From(section);
  EXPECT_EQ(d.Validate(), "");
  struct Case {
    std::function<void(CSectionDlg&)> change;
    const char* message;
  };
  const Case cases[] = {
      {[](CSectionDlg& x) { x.numerator = 0; }, "\"Time signature\" must be between 1 and 32."},
      {[](CSectionDlg& x) { x.denominator = 33; }, "\"Time signature denominator\" must be between 1 and 32."},
      {[](CSectionDlg& x) { x.leftOffset = -11; }, "\"Left offset\" must be between -10 and 10."},
      {[](CSectionDlg& x) { x.barOffset = 128; }, "\"Bar number offset\" must be between 0 and 127."},
      {[](CSectionDlg& x) { x.alterations = 8; }, "\"Alterations\" must be between 0 and 7."},
      {[](CSectionDlg& x) { x.tempo = 4096; }, "\"Tempo\" must be between 0 and 4095."},
  };
  for (const Case& c : cases) {
    CSectionDlg bad = d;
    c.change(bad);
    EXPECT_EQ(bad.Validate(), c.message);
  }
}

TEST(SystemOptionsTest, ExchangeAndClear) {
  CStaveArray system;
  system.EditCaption().captionPicture.path = "/tmp/picture.png";
  system.EditCaption().captionPicture.sizePercent = 40;
  system.EditCaption().captionPicture.captionPlacement = 2;
  system.leftIndents = 5;
  system.rightIndents = 7;
  system.printTuning = 1;
  system.EditCaption().captionText.text = "Prima parte";
  ScriptedSectionDialogs dialogs;
  CSegOffsetDlg shown;
  dialogs.system = [&shown](CSegOffsetDlg& d) {
    shown = d;
    d.Clear();
    d.hidden = true;
    d.caption = "Seconda parte";
  };
  ScopedSectionDialogs scope(dialogs);
  ASSERT_TRUE(EditSystemOptions(system));
  EXPECT_EQ(shown.imagePath, "/tmp/picture.png");
  EXPECT_EQ(shown.imageSize, 40);
  EXPECT_EQ(shown.imagePosition, 2);
  EXPECT_EQ(shown.leftIndent, 5);
  EXPECT_TRUE(shown.printTuning);
  EXPECT_EQ(shown.caption, "Prima parte");
  EXPECT_EQ(system.Caption().captionPicture.path, "");
  EXPECT_EQ(system.Caption().captionPicture.sizePercent, 100u);
  EXPECT_EQ(system.Caption().captionPicture.captionPlacement, 0u);
  EXPECT_EQ(system.leftIndents, 0);
  EXPECT_EQ(system.rightIndents, 0);
  EXPECT_EQ(system.hidden, 1);
  EXPECT_EQ(system.Caption().captionText.text, "Seconda parte");
  EXPECT_EQ(system.Caption().captionString, "Seconda parte");
}

TEST(SystemOptionsTest, TheModelsQuestionRunsTheDialog) {
  CStaveArray system;
  ScriptedSectionDialogs dialogs;
  dialogs.system = [](CSegOffsetDlg& d) { d.rightIndent = 4; };
  ScopedSectionDialogs scope(dialogs);
  DialogSectionEditor editor;
  ScopedSectionEditor editorScope(editor);
  ASSERT_TRUE(SectionEditors().EditSystemOptions(system));
  EXPECT_EQ(system.rightIndents, 4);
}

TEST(SystemOptionsTest, ImageSizeOutOfRangeStoresNothing) {
  CStaveArray system;
  ScriptedSectionDialogs dialogs;
  dialogs.system = [](CSegOffsetDlg& d) {
    d.imageSize = 5;
    d.leftIndent = 3;
  };
  ScopedSectionDialogs scope(dialogs);
  CSegOffsetDlg d;
  d.imageSize = 5;
  EXPECT_EQ(d.Validate(), "\"Image size\" must be between 10 and 100.");
  EXPECT_FALSE(EditSystemOptions(system));
  EXPECT_EQ(system.leftIndents, 0);
}

TEST(ParseVoicesDialogTest, SplitPointNameAndAnswer) {
  CAnalyzeVoicesDlg d;
  d.splitPoint = 61;
  EXPECT_EQ(d.SplitPointName(), "C#5");
  ScriptedSectionDialogs dialogs;
  dialogs.voices = [](CAnalyzeVoicesDlg& x) {
    EXPECT_EQ(x.splitPoint, 70);
    EXPECT_EQ(x.highRange, 6);
    x.splitPoint = 64;
    x.highRange = 3;
  };
  ScopedSectionDialogs scope(dialogs);
  DialogSectionEditor editor;
  int split = 70, range = 6;
  ASSERT_TRUE(editor.ParseVoices(split, range));
  EXPECT_EQ(split, 64);
  EXPECT_EQ(range, 3);
  dialogs.voices = [](CAnalyzeVoicesDlg& x) { x.highRange = 13; };
  EXPECT_FALSE(editor.ParseVoices(split, range));
  EXPECT_EQ(range, 3);
}

TEST(PageFormattingDialogTest, DefaultsAndRanges) {
  CReformatPageDlg d;
  EXPECT_EQ(CReformatPageDlg::kAlignments[static_cast<size_t>(d.titleAlignment)], "Center");
  EXPECT_EQ(CReformatPageDlg::kAlignments[static_cast<size_t>(d.authorAlignment)], "Right");
  EXPECT_EQ(CReformatPageDlg::kAlignments[static_cast<size_t>(d.commentsAlignment)], "Left");
  EXPECT_FALSE(d.SlidersEnabled());
  EXPECT_EQ(d.Validate(), "");
  d.spacing = 14;
  EXPECT_EQ(d.Validate(), "\"Average spacing\" must be between 15 and 300.");
}

}  // namespace
}  // namespace vornel
