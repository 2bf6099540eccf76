#include "layout/dialogs/MetaEventEditors.h"

#include <gtest/gtest.h>

#include "layout/dialogs/ChordDialogs.h"
#include "model/events/CMetaEvent.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

// Records what each dialog showed and answers OK, after `change` when set.
class ScriptedMetaDialogs : public MetaEventDialogs {
 public:
  bool ok = true;
  CTimeSignatureDlg timeSignature;
  LegatoDlg legato;
  CMetaHyperlink hyperlink;
  std::function<void(CTimeSignatureDlg&)> changeTimeSignature;

  bool EditTimeSignature(CTimeSignatureDlg& d) override {
    timeSignature = d;
    if (changeTimeSignature) changeTimeSignature(d);
    return ok;
  }
  bool EditLegato(LegatoDlg& d) override {
    legato = d;
    d.steps = 9;
    return ok;
  }
  bool EditHyperlink(CMetaHyperlink& d) override {
    hyperlink = d;
    return ok;
  }
};

class MetaEventEditorsTest : public ::testing::Test {
 protected:
  MetaEventEditorRegistry registry;
  ScopedMetaEventEditor editorScope{registry};
  ScriptedMetaDialogs dialogs;
  ScopedMetaEventDialogs dialogScope{dialogs};
};

TEST_F(MetaEventEditorsTest, TimeSignatureOpensStoredValuesAndCancelChangesNothing) {
  CMetaEvent e(CMetaEvent::kTimeSignature, "", 0x1, 0, 0);
  const CMetaEvent before = e;
  dialogs.ok = false;
  dialogs.changeTimeSignature = [](CTimeSignatureDlg& d) { d.beats = 3; };
  EXPECT_FALSE(e.Edit(0));
  EXPECT_EQ(dialogs.timeSignature.beats, 4);
  EXPECT_EQ(dialogs.timeSignature.beatValue, 4);
  EXPECT_TRUE(dialogs.timeSignature.visible);
  EXPECT_TRUE(e == before);
  dialogs.ok = true;
  EXPECT_TRUE(e.Edit(0));
  EXPECT_EQ(e.cx, 3);
  EXPECT_EQ(e.cy, 4);
}

TEST_F(MetaEventEditorsTest, OutOfRangeAnswerStoresNothing) {
  CMetaEvent e(CMetaEvent::kTimeSignature, "", 0x1, 6, 8);
  dialogs.changeTimeSignature = [](CTimeSignatureDlg& d) { d.beats = 33; };
  EXPECT_FALSE(e.Edit(0));
  EXPECT_EQ(e.cx, 6);
}

TEST_F(MetaEventEditorsTest, LegatoUsesTheViewsLine) {
  // Begin line stored 10 (3 shown) in byte 2 for tablature, 2 (-5 shown) in byte 1 for notation.
  CMetaEvent e(CMetaEvent::kLegato, "", 0x000A0200u | 4, 0, 0);
  EXPECT_TRUE(e.Edit(1));
  EXPECT_EQ(dialogs.legato.beginLine, 3);
  EXPECT_EQ(e.value & 0xFF, 9u);
  EXPECT_TRUE(e.Edit(0));
  EXPECT_EQ(dialogs.legato.beginLine, -5);
}

TEST_F(MetaEventEditorsTest, HyperlinkSectionsBoundedByTheDocument) {
  registry.SetSectionCount([] { return 5; });
  CMetaEvent e(CMetaEvent::kHyperlink, "|Next", 0, (2 << 8) | 4, 0);
  EXPECT_TRUE(e.Edit(0));
  EXPECT_EQ(dialogs.hyperlink.sectionCount, 5);
  EXPECT_EQ(dialogs.hyperlink.section, 4);
}

TEST_F(MetaEventEditorsTest, TempoAndBarPauseArePrompts) {
  testing::ScriptedPrompts prompts;
  ScopedPrompts promptScope(prompts);
  CMetaEvent tempo(CMetaEvent::kTempo, "", 0x0201F078u, 0, 0);
  prompts.QueueNumber(96);
  EXPECT_TRUE(tempo.Edit(0));
  EXPECT_EQ(tempo.value, 96u);
  EXPECT_EQ(tempo.cx, 1);
  EXPECT_EQ(tempo.cy, 2);
  CMetaEvent pause(CMetaEvent::kBarPause, "", 0, 0, 0);
  prompts.QueueNumber(std::nullopt);
  EXPECT_FALSE(pause.Edit(0));
  EXPECT_EQ(pause.cx, 0);
  prompts.QueueNumber(12);
  EXPECT_TRUE(pause.Edit(0));
  EXPECT_EQ(pause.cx, 12);
  ASSERT_EQ(prompts.numberPrompts.size(), 3u);
  EXPECT_EQ(prompts.numberPrompts[0], "Tempo|Tempo|20|300|120");
  EXPECT_EQ(prompts.numberPrompts[1], "Number of bars:|Number of bars:|1|24|1");
}

TEST_F(MetaEventEditorsTest, GraceNoteOpensItsCodeAndDeleteMarksTheEvent) {
  struct GraceDialogs : ChordDialogs {
    std::function<void(CGraceNotesDlg&)> answer;
    bool ok = true;
    CGraceNotesDlg shown;
    bool EditGraceNotes(CGraceNotesDlg& d) override {
      shown = d;
      answer(d);
      return ok;
    }
  } grace;
  ScopedChordDialogs scope(grace);
  const uint32_t value = (64u << 16) | (2u << 8) | 3u;
  CMetaEvent e(CMetaEvent::kGraceNote, "", value, 70, 0x21);

  grace.answer = [](CGraceNotesDlg& d) { d.descending = false; };
  ASSERT_TRUE(e.Edit(1));
  EXPECT_EQ(grace.shown.type, 4);
  EXPECT_TRUE(grace.shown.descending);
  EXPECT_EQ(e.cx, 6);
  EXPECT_EQ(e.value, value);
  EXPECT_EQ(e.cy, 0x21);
  EXPECT_EQ(e.kind, CMetaEvent::kGraceNote);

  // Cancel and an out-of-range field leave the event as it was.
  grace.answer = [](CGraceNotesDlg& d) { d.type = 1; };
  grace.ok = false;
  EXPECT_FALSE(e.Edit(0));
  grace.ok = true;
  grace.answer = [](CGraceNotesDlg& d) {
    d.type = 1;
    d.rotations = 8;
  };
  EXPECT_FALSE(e.Edit(0));
  EXPECT_EQ(e.cx, 6);

  grace.answer = [](CGraceNotesDlg& d) { d.deleteMe = true; };
  ASSERT_TRUE(e.Edit(0));
  EXPECT_EQ(e.kind, CMetaEvent::kDeleteMe);
  EXPECT_EQ(e.cx, 6);
}

// The drawing flags in cy open as the dialog's fields and OK without changes writes them back;
// a group never edited (code and flags 0) opens with the dialog's defaults.
TEST_F(MetaEventEditorsTest, GraceNoteFlagsOpenAndComeBack) {
  struct Case {
    int code;
    uint32_t cy;
    bool ligature, above, ternary, down, tabFlag, straight;
    int flagValue, rotations, start;
    int codeBack;
    uint32_t cyBack;
  };
  const Case cases[] = {
      {70, 0x21, true, false, false, false, false, true, 0, 0, 0, 70, 0x21},
      {70, 0x1F, true, true, true, true, true, false, 0, 0, 0, 70, 0x1F},
      {2, 0x00050008, false, false, false, true, false, false, 5, 0, 0, 2, 0x00050008},
      {1, 0x2B000001, true, false, false, false, false, false, 0, -3, 2, 1, 0x2B000001},
      {1, 0x7F000000, false, false, false, false, false, false, 0, -7, 7, 1, 0x7F000000},
      // Above and ternary are kept only with the ligature; a negative zero reads 0.
      {4, 0x08000006, false, true, true, false, false, false, 0, 0, 0, 4, 0},
      {0, 0, true, false, false, false, false, false, 3, 0, 0, 1, 0x00030001},
      // A flag value outside the list (a negative offset, or past "64th note") opens on the
      // nearest choice instead of a position the list cannot show.
      {1, 0x00090001, true, false, false, false, false, false, 0, 0, 0, 1, 0x00000001},
      {1, 0x00070001, true, false, false, false, false, false, 5, 0, 0, 1, 0x00050001},
  };
  struct GraceDialogs : ChordDialogs {
    CGraceNotesDlg shown;
    bool EditGraceNotes(CGraceNotesDlg& d) override {
      shown = d;
      return true;
    }
  } grace;
  ScopedChordDialogs scope(grace);
  for (const Case& c : cases) {
    CMetaEvent e(CMetaEvent::kGraceNote, "", 0x400203, c.code, static_cast<int32_t>(c.cy));
    ASSERT_TRUE(e.Edit(0)) << c.cy;
    const CGraceNotesDlg& d = grace.shown;
    EXPECT_EQ(d.drawLigature, c.ligature) << c.cy;
    EXPECT_EQ(d.ligatureAbove, c.above) << c.cy;
    EXPECT_EQ(d.ternaryGroup, c.ternary) << c.cy;
    EXPECT_EQ(d.downwardStem, c.down) << c.cy;
    EXPECT_EQ(d.showTablatureFlag, c.tabFlag) << c.cy;
    EXPECT_EQ(d.straightLigature, c.straight) << c.cy;
    EXPECT_EQ(d.flagValue, c.flagValue) << c.cy;
    EXPECT_EQ(d.rotations, c.rotations) << c.cy;
    EXPECT_EQ(d.startOffset, c.start) << c.cy;
    EXPECT_EQ(e.cx, c.codeBack) << c.cy;
    EXPECT_EQ(static_cast<uint32_t>(e.cy), c.cyBack) << c.cy;
    EXPECT_EQ(e.value, 0x400203u);
  }
  EXPECT_EQ(grace.shown.type, 0);
}

TEST_F(MetaEventEditorsTest, KindsWithoutAnEditorHereAreCancelled) {
  EXPECT_FALSE(registry.HasEditor(CMetaEvent::kMidiController));
  CMetaEvent e(CMetaEvent::kMidiController, "", 0, 0, 0);
  EXPECT_FALSE(e.Edit(0));
  registry.Register(CMetaEvent::kMidiController, [](CMetaEvent& event, bool) {
    event.cx = 7;
    return true;
  });
  EXPECT_TRUE(e.Edit(0));
  EXPECT_EQ(e.cx, 7);
}

}  // namespace
}  // namespace vornel
