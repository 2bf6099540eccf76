// "Track text settings" over a page text, and as the caption and footnote editors of
// meta-events through the registry.

#include <gtest/gtest.h>

#include "document/CBriotabDoc.h"
#include "layout/dialogs/MetaEventEditors.h"
#include "layout/dialogs/SectionDialogs.h"
#include "layout/dialogs/TrackTextDialog.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/text/CTrackText.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

TEST(TrackTextDialogTest, PageTextLinesTitleAndFlags) {
  CTrackText track("tp-title");
  track.text = "Lachrimae\nor seaven teares";
  track.x = -40;
  track.y = 120;
  track.flags = CTrackText::kVisible | CTrackText::kShaded;
  track.font.microTuning = -6;
  CTrackTextDlg d;
  d.From(track);
  EXPECT_EQ(d.title, "TP TITLE");
  EXPECT_EQ(d.text, "Lachrimae\r\nor seaven teares");
  EXPECT_EQ(d.x, 0) << "a negative position shows as 0";
  EXPECT_TRUE(d.shaded);
  EXPECT_EQ(d.fontTuning, -6);
  d.fontTuning = 4;
  d.border = true;
  d.To(track);
  EXPECT_EQ(track.text, "Lachrimae\nor seaven teares");
  EXPECT_EQ(track.flags, CTrackText::kVisible | CTrackText::kBorder | CTrackText::kShaded);
  EXPECT_EQ(track.font.microTuning, 4);
  d.visible = false;
  d.To(track);
  EXPECT_EQ(track.flags, 0u) << "a hidden text keeps no other flag";
  d.x = 10001;
  EXPECT_NE(d.Validate().find("X"), std::string::npos);
  d.x = 0;
  d.fontTuning = 21;
  EXPECT_NE(d.Validate().find("Font tuning"), std::string::npos);
}

class ScriptedTrackText : public SectionDialogs {
 public:
  bool ok = true;
  int y = -900;
  CTrackTextDlg shown;
  bool EditTrackText(CTrackTextDlg& d) override {
    shown = d;
    d.text = "Fine\r\nal segno";
    d.y = y;
    d.centered = true;
    d.font.logFont.lfFaceName = "Changed";
    return ok;
  }
};

TEST(TrackTextDialogTest, CaptionAndFootnoteEventsWithTheDocumentFont) {
  testing::ScriptedPrompts prompts;
  CBriotabDoc doc;
  MetaEventEditorRegistry registry;
  registry.SetDocument([&doc] { return &doc; });
  ScopedMetaEventEditor editorScope(registry);
  ScriptedTrackText dialogs;
  ScopedSectionDialogs dialogScope(dialogs);
  const std::string footnoteFace = doc.settings.pageSettings.DocumentFont(kFontFootnotes).logFont.lfFaceName;

  CMetaEvent footnote(CMetaEvent::kFootnote, "ad libitum", 0, 0x2 | 0x100, 0);
  footnote.location.SetOffset(EventLocation::kTablature, -200, -700);
  dialogs.ok = false;
  EXPECT_FALSE(footnote.Edit(1));
  EXPECT_EQ(dialogs.shown.title, "Footnote editor");
  EXPECT_EQ(dialogs.shown.x, -200) << "the tablature offsets, kept negative";
  EXPECT_EQ(dialogs.shown.y, -700);
  EXPECT_TRUE(dialogs.shown.border);
  EXPECT_EQ(footnote.text, "ad libitum");
  EXPECT_EQ(doc.settings.pageSettings.DocumentFont(kFontFootnotes).logFont.lfFaceName, footnoteFace);

  dialogs.ok = true;
  EXPECT_TRUE(footnote.Edit(1));
  EXPECT_EQ(footnote.text, "Fine\nal segno");
  EXPECT_EQ(footnote.location.tablatureCy, -900);
  EXPECT_EQ(footnote.cx, 0x2 | 0x8 | 0x100) << "other bits of cx stay";
  EXPECT_EQ(doc.settings.pageSettings.DocumentFont(kFontFootnotes).logFont.lfFaceName, "Changed");

  CMetaEvent caption(CMetaEvent::kCaption, "Pavan", 0, 0, 0);
  EXPECT_TRUE(caption.Edit(0));
  EXPECT_EQ(dialogs.shown.title, "Caption editor");
  EXPECT_EQ(caption.location.notationCy, -900);
  EXPECT_EQ(doc.settings.pageSettings.DocumentFont(kFontCaptions).logFont.lfFaceName, "Changed");
}

TEST(TrackTextDialogTest, PageTextsThroughTheSectionEditor) {
  ScriptedTrackText dialogs;
  ScopedSectionDialogs dialogScope(dialogs);
  DialogSectionEditor editor;
  CTrackText track("tp-author");
  dialogs.ok = false;
  EXPECT_FALSE(editor.EditTrackText(track));
  EXPECT_EQ(track.text, "");
  dialogs.ok = true;
  EXPECT_FALSE(editor.EditTrackText(track)) << "y -900 is outside a page text's range";
  EXPECT_EQ(track.text, "");
}

// An instrument's name text goes through the same dialog: its text and font come back on OK
// only.
TEST(TrackTextDialogTest, InstrumentNameThroughTheSectionEditor) {
  ScriptedTrackText dialogs;
  ScopedSectionDialogs dialogScope(dialogs);
  DialogSectionEditor editor;
  CInstrumentDlg definition;
  definition.nameText.text = "Theorbo";
  dialogs.y = 40;
  dialogs.ok = false;
  EXPECT_FALSE(editor.EditTrackFont(definition));
  EXPECT_EQ(dialogs.shown.text, "Theorbo");
  EXPECT_EQ(definition.nameText.text, "Theorbo");
  dialogs.ok = true;
  EXPECT_TRUE(editor.EditTrackFont(definition));
  EXPECT_EQ(definition.nameText.text, "Fine\nal segno");
  EXPECT_EQ(definition.nameText.font.logFont.lfFaceName, "Changed");
}

}  // namespace
}  // namespace vornel
