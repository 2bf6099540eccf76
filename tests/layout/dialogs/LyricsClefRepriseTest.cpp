// The lyrics editor's walk over a voice and its voice-wide actions, and the packing of the
// clef and reprise dialogs; the lyrics editor through the registry with a document.

#include <gtest/gtest.h>

#include "document/CBriotabDoc.h"
#include "layout/dialogs/LyricsEditor.h"
#include "layout/dialogs/MetaEventDialogs.h"
#include "layout/dialogs/MetaEventEditors.h"
#include "model/instrument/CInstrument.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChordArray.h"
#include "model/voice/nNotes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

TEST(ClefDialogTest, ReadAndPack) {
  struct Case {
    uint32_t value;
    int32_t cx;
    int32_t cy;
    bool insertClef;
    int clef;
    bool insertKey;
    bool sharp;
    int count;
  };
  for (const Case c : {Case{0, 0, 0, true, 0, false, false, 0},             // a new event: a clef
                       Case{0x10002, -3, 0, true, 2, false, false, 0},      // F clef lowered
                       Case{0, 0, 0x113, false, 0, true, true, 3},          // three sharps alone
                       Case{0x10003, 5, 0x104, true, 3, true, false, 4}}) {  // C clef and four flats
    CClefChange d;
    d.From(CMetaEvent(CMetaEvent::kClef, "", c.value, c.cx, c.cy));
    EXPECT_EQ(d.insertClef, c.insertClef) << c.value;
    EXPECT_EQ(d.clef, c.clef);
    EXPECT_EQ(d.raise, c.cx);
    EXPECT_EQ(d.insertKey, c.insertKey);
    EXPECT_EQ(d.sharp, c.sharp);
    EXPECT_EQ(d.count, c.count);
    CMetaEvent back(CMetaEvent::kClef, "", 0, 0, 0);
    d.To(back);
    EXPECT_EQ(back.value, c.insertClef ? (static_cast<uint32_t>(c.clef) | 0x10000u) : 0u);
    EXPECT_EQ(back.cx, c.insertClef ? c.cx : 0);
    EXPECT_EQ(back.cy, c.insertKey ? (c.sharp ? 16 : 0) | c.count | 0x100 : 0);
  }
  CClefChange d;
  d.raise = 13;
  EXPECT_NE(d.Validate().find("Raise clef by:"), std::string::npos);
  d.raise = 0;
  d.count = 8;
  EXPECT_NE(d.Validate().find("Clef Alterations:"), std::string::npos);
}

TEST(RepriseDialogTest, FlagsSizeGlyphAndText) {
  CMetaReprise d;
  d.From(CMetaEvent(CMetaEvent::kReprise, "D.C.", 0, 0x0003'0067, 2));
  EXPECT_TRUE(d.left);
  EXPECT_TRUE(d.shortDots);
  EXPECT_TRUE(d.drawLine);
  EXPECT_TRUE(d.bold);
  EXPECT_TRUE(d.italic);
  EXPECT_EQ(d.size, 3);
  EXPECT_EQ(d.glyph, 2);
  EXPECT_EQ(d.text, "D.C.");
  CMetaEvent back(CMetaEvent::kReprise, "", 0, 0, 0);
  d.To(back);
  EXPECT_EQ(back.cx, 0x0003'0067);
  EXPECT_EQ(back.cy, 2);
  EXPECT_EQ(back.text, "D.C.");

  // A size of 0 shows no choice and stays 0.
  d.From(CMetaEvent(CMetaEvent::kReprise, "", 0, 0x2, 0));
  EXPECT_EQ(d.size, -1);
  d.To(back);
  EXPECT_EQ(back.cx, 0x2);
  d.glyph = 6;
  EXPECT_FALSE(d.Validate().empty());
}

// A voice of three chords and a bar line; the first chord has a lyric, a legato and an ending.
struct LyricsVoice {
  nChordArray voice;
  LyricsVoice() {
    for (int i = 0; i < 4; ++i) {
      auto event = std::make_unique<nChord>(i == 2 ? nChord::kBarLine : nChord::kChord, uint16_t{3});
      if (i != 2) {
        auto note = std::make_unique<nNotes>();
        note->pitch = 67;
        event->notes.push_back(std::move(note));
      }
      voice.push_back(std::move(event));
    }
    voice.at(0)->metaEvents.SetMetaEvent(CMetaEvent::kLyrics, "Flow\rmy", 0x0300, 2, 0);
    voice.at(0)->metaEvents.SetMetaEvent(CMetaEvent::kLegato, "", 0x11, 0, 0);
    voice.at(3)->metaEvents.SetMetaEvent(CMetaEvent::kEnding, "1.", 0, 4, 0);
  }
  CMetaEvent& Lyric() { return *voice.at(0)->metaEvents.Find(CMetaEvent::kLyrics); }
};

TEST(LyricsEditorTest, WalkStoresEachTextBeforeMoving) {
  testing::ScriptedPrompts prompts;
  LyricsVoice v;
  dfLogFont font;
  CLyricsDlg d;
  d.From(v.Lyric(), false, font, &v.voice);
  EXPECT_EQ(d.text, "Flow+my");
  EXPECT_EQ(d.spacing, 3);
  EXPECT_TRUE(d.border);
  EXPECT_EQ(d.index, 0);
  EXPECT_FALSE(d.CanGoPrevious());

  d.text = "Flow+my tears";
  ASSERT_TRUE(d.Next());
  EXPECT_EQ(v.Lyric().text, "Flow\rmy tears");
  EXPECT_EQ(d.index, 1);
  EXPECT_EQ(d.text, "");
  d.text = "fall";
  ASSERT_TRUE(d.Next()) << "the bar line is passed over";
  EXPECT_EQ(d.index, 3);
  EXPECT_EQ(v.voice.at(1)->metaEvents.Find(CMetaEvent::kLyrics)->text, "fall");
  EXPECT_FALSE(d.Next());
  EXPECT_EQ(prompts.beeps.size(), 1u);
  ASSERT_TRUE(d.Previous());
  EXPECT_EQ(d.index, 1);
  EXPECT_EQ(d.text, "fall");
  EXPECT_EQ(v.voice.at(3)->metaEvents.Find(CMetaEvent::kLyrics), nullptr) << "an empty text adds no lyric";

  CMetaEvent& lyric = v.Lyric();
  d.spacing = -5;
  d.shaded = true;
  d.To(lyric, false);
  EXPECT_EQ(lyric.cx, 6);
  EXPECT_EQ(lyric.value, 0x8500u);
}

// "Clear all" takes the lyrics only; the legato and the ending stay. The edited event is
// marked for removal rather than deleted under its caller.
TEST(LyricsEditorTest, ClearAllDeletesLyricsOnly) {
  LyricsVoice v;
  v.voice.at(3)->metaEvents.SetMetaEvent(CMetaEvent::kLyrics, "tears", 0, 0, 0);
  CMetaEvent& edited = v.Lyric();
  dfLogFont font;
  CLyricsDlg d;
  d.From(edited, false, font, &v.voice);
  d.ClearAll();
  EXPECT_EQ(edited.kind, CMetaEvent::kDeleteMe);
  EXPECT_EQ(v.voice.at(3)->metaEvents.Find(CMetaEvent::kLyrics), nullptr);
  EXPECT_NE(v.voice.at(0)->metaEvents.Find(CMetaEvent::kLegato), nullptr);
  EXPECT_NE(v.voice.at(3)->metaEvents.Find(CMetaEvent::kEnding), nullptr);
  d.To(edited, false);
  EXPECT_EQ(edited.kind, CMetaEvent::kDeleteMe);
  EXPECT_EQ(edited.cx, 2) << "nothing written to the removed event";
}

TEST(LyricsEditorTest, ProcessLineAlignAndReset) {
  LyricsVoice v;
  dfLogFont font;
  CLyricsDlg d;
  d.From(v.Lyric(), false, font, &v.voice);
  d.text = "Flow my tears";
  d.ProcessLine();
  EXPECT_EQ(d.index, 0);
  EXPECT_EQ(d.text, "Flow");
  EXPECT_EQ(v.voice.at(3)->metaEvents.Find(CMetaEvent::kLyrics)->text, "tears");

  v.Lyric().location.SetOffset(EventLocation::kNotation, 10, -300);
  d.AlignAll();
  EXPECT_EQ(v.voice.at(3)->metaEvents.Find(CMetaEvent::kLyrics)->location.notationCy, -300);
  d.ResetPositions();
  CMetaEvent fresh(CMetaEvent::kLyrics, "", 0, 0, 0);
  fresh.ResetLocation();
  EXPECT_EQ(v.Lyric().location.notationCy, fresh.location.notationCy);
}

// Through the registry: the document's active voice and lyrics font; Cancel keeps the font.
class FontChangingDialogs : public MetaEventDialogs {
 public:
  bool ok = false;
  bool EditLyrics(CLyricsDlg& d) override {
    d.font.logFont.lfFaceName = "Changed";
    d.text = "new";
    return ok;
  }
};

TEST(LyricsEditorTest, RegistryUsesTheDocumentAndCancelKeepsTheFont) {
  testing::ScriptedPrompts prompts;
  CBriotabDoc doc;
  doc.AppendSection(std::make_unique<CSystemArray>());
  doc.sections.activeSection = 0;
  CInstrument* line = doc.GetActiveInstrument();
  ASSERT_NE(line, nullptr);
  nChordArray& voice = line->GetSelectedVoice();
  voice.push_back(std::make_unique<nChord>(nChord::kChord, uint16_t{3}));
  CMetaEvent* lyric = voice.at(voice.size() - 1)->metaEvents.SetMetaEvent(CMetaEvent::kLyrics, "old", 0, 0, 0);
  const std::string face = doc.settings.pageSettings.DocumentFont(kFontLyrics).logFont.lfFaceName;

  MetaEventEditorRegistry registry;
  registry.SetDocument([&doc] { return &doc; });
  ScopedMetaEventEditor editorScope(registry);
  FontChangingDialogs dialogs;
  ScopedMetaEventDialogs dialogScope(dialogs);
  EXPECT_FALSE(lyric->Edit(0));
  EXPECT_EQ(doc.settings.pageSettings.DocumentFont(kFontLyrics).logFont.lfFaceName, face);
  EXPECT_EQ(lyric->text, "old");
  dialogs.ok = true;
  EXPECT_TRUE(lyric->Edit(0));
  EXPECT_EQ(doc.settings.pageSettings.DocumentFont(kFontLyrics).logFont.lfFaceName, "Changed");
  EXPECT_EQ(lyric->text, "new");
}

}  // namespace
}  // namespace vornel
