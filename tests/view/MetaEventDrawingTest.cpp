// Meta-events drawn on a staff (the notation view) and on a tablature (the tablature view):
// one golden log per kind of the dispatcher (tests/view/golden/meta_*.log, each case checked
// by hand once), the events of old files after their conversion, and the rules every kind
// shares: the rectangles kept for hit testing, the anchors, the placement by the user's
// offset at the page zoom, and the removal of what cannot be drawn.

#include <gtest/gtest.h>

#include <functional>

#include "GoldenLog.h"
#include "StaffFixtures.h"
#include "TabFixtures.h"
#include "document/CPageDlg.h"
#include "model/events/CMetaEvent.h"
#include "platform/draw/InkCollisions.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/draw/TextFaces.h"
#include "platform/draw/MulDiv.h"
#include "support/ScriptedPrompts.h"
#include "view/draw/DrawContext.h"
#include "view/draw/GraphicUtil.h"
#include "view/draw/PageDrawSettings.h"
#include "view/render/metaevents/AlfabetoDrawing.h"
#include "view/render/metaevents/MetaEventDrawing.h"

namespace vornel {
namespace {

using testing::StaffLine;
using testing::TabLine;

// A page's settings as the score view has them: the document fonts, on screen, with the
// meta-event frames shown.
struct Page {
  CPageDlg page;
  PageDrawSettings settings;
  std::optional<testing::FixturePage> active;

  explicit Page(int32_t zoom = 100, bool frames = true) {
    settings = DrawSettingsOf(page, zoom, true);
    settings.colourOn = false;
    settings.showMetaEventFrames = frames;
    active.emplace(settings);
  }
};

// One chord with an event and two plain chords after it, on a staff and on a tablature.
struct EventLines {
  StaffLine staff;
  TabLine tab;

  // `prepare` changes both definitions before the lines are built from them.
  EventLines(const std::function<void(CMetaEvent&)>& setup, uint8_t kind, std::string text = {},
             const std::function<void(CInstrumentDlg&)>& prepare = {}) {
    if (prepare) {
      prepare(staff.definition);
      staff.line = std::make_unique<CInstrument>(staff.definition);
      prepare(tab.definition);
      tab.Rebuild();
    }
    for (nChordArray* voice : {&staff.Voice(0), &tab.Voice()}) {
      const bool isTab = voice == &tab.Voice();
      auto first = isTab ? testing::TabChord(tab.Tab(), 3, {{1, 2}, {3, 2}}) : testing::Chord(3, {67, 60});
      CMetaEvent& event = *first->metaEvents.push_back(std::make_unique<CMetaEvent>(kind, text, 0, 0, 0));
      setup(event);
      voice->push_back(std::move(first));
      for (int i = 0; i < 3; ++i) {
        voice->push_back(isTab ? testing::TabChord(tab.Tab(), 3, {{0, i}}) : testing::Chord(3, {69 + i}));
      }
    }
  }
  static CMetaEvent* FirstEvent(nChordArray& voice) {
    const CMetaEventArray& events = voice.at(0)->metaEvents;
    return events.empty() ? nullptr : events.at(0);
  }
  CMetaEvent* StaffEvent() { return FirstEvent(staff.Voice(0)); }
  CMetaEvent* TabEvent() { return FirstEvent(tab.Voice()); }
  // Each stave is drawn as a page of its own: footnotes are numbered from 1.
  std::string Draw(const std::string& name, bool printing = false) {
    NewPage();
    std::string log = "## notation view\n" + staff.Draw(name + "_staff", 45, printing, 400, 100);
    NewPage();
    return log + "## tablature view\n" + tab.Draw(name + "_tab", 45, printing, 400, 100);
  }
  static void NewPage() {
    const PageDrawSettings* settings = testing::FixturePage::Current();
    if (settings == nullptr) return;
    if (settings->footnoteCounter != nullptr) *settings->footnoteCounter = 1;
    if (settings->footnoteText != nullptr) settings->footnoteText->clear();
  }
};

struct KindCase {
  std::string name;
  uint8_t kind;
  std::string text;
  std::function<void(CMetaEvent&)> setup;
};

void Nothing(CMetaEvent&) {}

std::string DrawCases(const std::vector<KindCase>& cases) {
  std::string log;
  for (const KindCase& c : cases) {
    EventLines lines(c.setup, c.kind, c.text);
    log += "# " + c.name + "\n" + lines.Draw(c.name);
  }
  return log;
}

// ---------------------------------------------------------------------------------------------
// One log per kind

TEST(MetaEventDrawing, TextKinds) {
  Page page;
  const std::vector<KindCase> cases = {
      {"lyrics", CMetaEvent::kLyrics, "Flow", Nothing},
      {"lyrics a line lower", CMetaEvent::kLyrics, "my", [](CMetaEvent& e) { e.value = (1u << 8) | (1u << 16); }},
      {"midi controller", CMetaEvent::kMidiController, "vol 80", Nothing},
      {"midi controller without text", CMetaEvent::kMidiController, "", Nothing},
      {"caption", CMetaEvent::kCaption, "Galliard", [](CMetaEvent& e) { e.cx = 0x20; }},
      {"continuo below", CMetaEvent::kContinuo, "6\r4", Nothing},
      {"continuo above", CMetaEvent::kContinuo, "7", [](CMetaEvent& e) { e.cx = e.cy = 1; }},
      {"chord name", CMetaEvent::kChordName, "Gm", Nothing},
      {"footnote", CMetaEvent::kFootnote, "a note", Nothing},
      {"hyperlink", CMetaEvent::kHyperlink, "https://example.org|more", [](CMetaEvent& e) { e.cy = 2; }},
      {"pedal", CMetaEvent::kPedal, "", [](CMetaEvent& e) { e.value = 1; }},
  };
  testing::ExpectGoldenLog("meta_texts", DrawCases(cases));
}

TEST(MetaEventDrawing, LineKinds) {
  Page page;
  const std::vector<KindCase> cases = {
      {"legato straight", CMetaEvent::kLegato, "", [](CMetaEvent& e) { e.value = 2 | (0x79u << 8) | (0x79u << 16); }},
      {"legato curved with text", CMetaEvent::kLegato, "leg.",
       [](CMetaEvent& e) { e.value = 3 | (0x77u << 8) | (0x77u << 16) | (1u << 24) | (1u << 28); e.cx = e.cy = 2; }},
      {"ending style 0", CMetaEvent::kEnding, "", [](CMetaEvent& e) { e.value = 2 | (1u << 8) | (1u << 16); }},
      {"ending style 1", CMetaEvent::kEnding, "2.", [](CMetaEvent& e) { e.value = 2; e.cy = 1; }},
      {"ending style 2", CMetaEvent::kEnding, "3", [](CMetaEvent& e) { e.value = 2; e.cy = 2; }},
      {"ending style 9", CMetaEvent::kEnding, "", [](CMetaEvent& e) { e.value = 3; e.cy = 9; }},
      {"ending style 10", CMetaEvent::kEnding, "", [](CMetaEvent& e) { e.value = 3; e.cy = 10; }},
      {"ending style 12", CMetaEvent::kEnding, "", [](CMetaEvent& e) { e.value = 2; e.cy = 12; }},
      {"dynamics forte", CMetaEvent::kDynamics, "", [](CMetaEvent& e) { e.value = 2; e.cy = 3 << 16; }},
      {"dynamics index 10", CMetaEvent::kDynamics, "", [](CMetaEvent& e) { e.value = 1; e.cy = 10 << 16; }},
      {"barre", CMetaEvent::kBarre, "", [](CMetaEvent& e) { e.value = 2; e.cx = 5 | 0x100; }},
      {"half barre in numerals", CMetaEvent::kBarre, "", [](CMetaEvent& e) { e.value = 2; e.cx = 23; e.cy = 3; }},
      {"hairpin closing at its end, cy 0", CMetaEvent::kCrescendo, "", [](CMetaEvent& e) { e.value = 3; }},
      {"hairpin closed at its own column, cy 1", CMetaEvent::kCrescendo, "",
       [](CMetaEvent& e) { e.value = 3; e.cy = 1; }},
      {"rasgueado", CMetaEvent::kRasgueado, "", [](CMetaEvent& e) { e.cx = 2; e.value = (2u << 8) | (0x82u << 16); }},
      {"stave bracket", CMetaEvent::kStaveBracket, "", [](CMetaEvent& e) { e.cx = 2 << 1; e.cy = 2 | (2 << 16); }},
      {"bar pause of one bar", CMetaEvent::kBarPause, "", [](CMetaEvent& e) { e.cx = 1; }},
      {"bar pause of four bars", CMetaEvent::kBarPause, "", [](CMetaEvent& e) { e.cx = 4; }},
  };
  testing::ExpectGoldenLog("meta_lines", DrawCases(cases));
}

TEST(MetaEventDrawing, GlyphKinds) {
  Page page;
  const std::vector<KindCase> cases = {
      {"time signature 3/4", CMetaEvent::kTimeSignature, "", [](CMetaEvent& e) { e.value = 1; e.cx = 3; e.cy = 4; }},
      {"tempo, a quarter", CMetaEvent::kTempo, "", [](CMetaEvent& e) { e.value = 72; }},
      {"tempo, cx 5: a dotted half", CMetaEvent::kTempo, "", [](CMetaEvent& e) { e.value = 40; e.cx = 5; }},
      {"reprise sign", CMetaEvent::kReprise, "", [](CMetaEvent& e) { e.cy = 2; e.cx = 1; }},
      {"reprise blank", CMetaEvent::kReprise, "", [](CMetaEvent& e) { e.cy = 5; }},
      {"reprise as text", CMetaEvent::kReprise, "D.C.", [](CMetaEvent& e) { e.cx = 8 << 16; }},
      {"fermata", CMetaEvent::kFermata, "", Nothing},
      {"da capo", CMetaEvent::kDaCapo, "", Nothing},
      {"segno", CMetaEvent::kSegno, "", Nothing},
      {"coda", CMetaEvent::kCoda, "", Nothing},
      {"graphic ornament", CMetaEvent::kGraphicOrnament, "VornelTabFlags", [](CMetaEvent& e) { e.value = 0xE3; e.cy = 40; }},
      {"graphic ornament without text", CMetaEvent::kGraphicOrnament, "", Nothing},
      {"marker", CMetaEvent::kMarker, "", Nothing},
      {"end marker", CMetaEvent::kMarker, "", [](CMetaEvent& e) { e.cx = 1; }},
      // The slur comes from the flags in cy; the value only names the note (here its interval
      // byte is 1, which is no slur).
      {"grace note", CMetaEvent::kGraceNote, "", [](CMetaEvent& e) { e.cx = 4; e.value = 1; e.cy = 1; }},
      {"grace note without slur", CMetaEvent::kGraceNote, "", [](CMetaEvent& e) { e.cx = 4; e.value = 1; }},
      {"clef: drawn by the stave", CMetaEvent::kClef, "", Nothing},
  };
  testing::ExpectGoldenLog("meta_glyphs", DrawCases(cases));
}

// An alfabeto chart of two letters on the line's instrument, its letters on chords and in
// chord charts, and the chart itself.
TEST(MetaEventDrawing, AlfabetoLettersChordChartsAndTheChart) {
  Page page;
  std::string log;
  const auto withChart = [](CInstrumentDlg& definition) {
    CTabInstrument& tab = definition.tabInstrument;
    testing::SetFrenchLute(tab);
    auto chord = testing::TabChord(tab, 3, {{0, 0}, {1, 1}, {2, 0}, {3, 2}, {4, 2}, {5, 0}});
    chord->name = "G minor";
    tab.alfabeto.AssignChord(u'A', *chord);
    auto second = testing::TabChord(tab, 3, {{0, 3}, {1, 3}, {2, 4}, {3, 5}, {4, 5}, {5, 3}});
    tab.alfabeto.AssignChord(u'B', *second);
  };
  for (const KindCase& c : std::vector<KindCase>{
           {"alfabeto letter", CMetaEvent::kAlfabeto, "", [](CMetaEvent& e) { e.value = 'A'; }},
           {"alfabeto letter in the other form", CMetaEvent::kAlfabeto, "", [](CMetaEvent& e) { e.value = 'B'; e.cx = 1; }},
           {"chord chart", CMetaEvent::kChordChart, "", [](CMetaEvent& e) { e.value = 1; }},
           {"dynamic chart", CMetaEvent::kDynamicChart, "", [](CMetaEvent& e) { e.value = 0; }},
       }) {
    EventLines lines(c.setup, c.kind, c.text, withChart);
    log += "# " + c.name + "\n" + lines.Draw(c.name);
  }
  CTabInstrument tab;
  testing::SetFrenchLute(tab);
  auto chord = testing::TabChord(tab, 3, {{0, 0}, {1, 1}, {2, 0}, {3, 2}, {4, 2}, {5, 0}});
  tab.alfabeto.AssignChord(u'C', *chord);
  RecordingDevice dc(96, false);
  GraphicUtil g(dc, 100);
  EXPECT_TRUE(DrawAlfabetoChart(g, tab, 4, 120, 140));
  log += "# the chart\n" + dc.Log();
  testing::ExpectGoldenLog("meta_alfabeto", log);
}

// Events of files older than 8.6 are brought to the current meanings when read, then drawn.
TEST(MetaEventDrawing, EventsOfOldFilesAfterTheirConversion) {
  Page page;
  const std::vector<KindCase> cases = {
      {"old legato", CMetaEvent::kLegato, "leg",
       [](CMetaEvent& e) { e.value = 2; e.cx = 3; e.cy = 5; e.ConvertFromOldVersion(); }},
      {"old ending", CMetaEvent::kEnding, "1.", [](CMetaEvent& e) { e.cy = 1; e.ConvertFromOldVersion(); }},
      {"old caption", CMetaEvent::kCaption, "Pavan", [](CMetaEvent& e) { e.cy = 2; e.ConvertFromOldVersion(); }},
  };
  testing::ExpectGoldenLog("meta_old_versions", DrawCases(cases));
}

// ---------------------------------------------------------------------------------------------
// Edge cases

// Empty text events are taken out before anything is drawn; other kinds without text keep a
// square of 5 mm (19 pixels at 96 dpi) to be clicked.
TEST(MetaEventDrawing, EmptyTextsAreRemovedOthersKeepASquare) {
  Page page;
  for (const uint8_t kind : {CMetaEvent::kLyrics, CMetaEvent::kCaption, CMetaEvent::kContinuo,
                             CMetaEvent::kChordName, CMetaEvent::kFootnote}) {
    EventLines lines(Nothing, kind);
    lines.Draw("empty");
    EXPECT_EQ(lines.StaffEvent(), nullptr) << int(kind);
    EXPECT_EQ(lines.TabEvent(), nullptr) << int(kind);
  }
  EventLines midi(Nothing, CMetaEvent::kMidiController);
  midi.Draw("empty_midi");
  ASSERT_NE(midi.TabEvent(), nullptr);
  const Rect square = midi.TabEvent()->location.tablature;
  EXPECT_EQ(square.Width(), MulDiv(50, 96, 254));
  EXPECT_EQ(square.Height(), MulDiv(50, 96, 254));

  // An event marked for deletion goes before drawing; a chart letter the alfabeto lacks goes
  // after it.
  EventLines marked([](CMetaEvent& e) { e.kind = CMetaEvent::kDeleteMe; }, CMetaEvent::kCaption, "x");
  marked.Draw("marked");
  EXPECT_EQ(marked.TabEvent(), nullptr);
  EventLines chart([](CMetaEvent& e) { e.value = 7; }, CMetaEvent::kChordChart);
  chart.Draw("unknown_chart");
  EXPECT_EQ(chart.TabEvent(), nullptr);
  EXPECT_EQ(chart.StaffEvent(), nullptr);
}

TEST(MetaEventDrawing, CentredLyricsAreCentredOnTheirChord) {
  Page left;
  EventLines plain(Nothing, CMetaEvent::kLyrics, "tears");
  plain.Draw("lyric_left");
  const Rect atLeft = plain.TabEvent()->location.tablature;
  Page centred;
  centred.settings.centerLyrics = true;
  EventLines lines(Nothing, CMetaEvent::kLyrics, "tears");
  lines.Draw("lyric_centred");
  const Rect r = lines.TabEvent()->location.tablature;
  EXPECT_EQ(r.Width(), atLeft.Width());
  EXPECT_EQ(r.left, atLeft.left - atLeft.Width() / 2);
}

// Where the notes of a stave reach below it, seen by the device.
struct InkBelow : InkObserver {
  std::vector<InkItem> items;
  void OnInk(const InkItem& item) override { items.push_back(item); }
  double Bottom(InkSource source) const {
    double bottom = -1e300;
    for (const InkItem& i : items) {
      if (i.source == source) bottom = std::max(bottom, i.bottom);
    }
    return bottom;
  }
};

// The lyrics of a stave stand on one line under the lowest ink of all its notes, also of a
// later chord their syllable reaches over, and of the other voice.
TEST(MetaEventDrawing, LyricsStandUnderTheLowestNotesOfTheirStave) {
  Page page;
  for (const bool otherVoice : {false, true}) {
    StaffLine staff(CClef::kGClef, otherVoice ? CClef::kBothVoicesMerged : CClef::kUpperVoice);
    nChordArray& upper = staff.Voice(0);
    nChordArray& lower = staff.Voice(otherVoice ? 1 : 0);
    for (const auto& [word, pitch] : {std::pair{"Glo-", 72}, {"ri-", 71}, {"a", 72}}) {
      auto chord = testing::Chord(3, {pitch});
      chord->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLyrics, word, 0, 0, 0));
      upper.push_back(std::move(chord));
      // A low note with ledger lines and a stem hung below the stave, under the wide syllable.
      if (!otherVoice && pitch == 71) upper.push_back(testing::Chord(4, {48}));
    }
    if (otherVoice) {
      lower.push_back(testing::Chord(3, {60}));
      lower.push_back(testing::Chord(3, {45}));
    }
    InkBelow ink;
    RecordingDevice dc(96, false);
    dc.SetInkObserver(&ink);
    staff.DrawOn(dc, 40, {100, 100, 500, 300}, 60);
    const double notes = std::max(ink.Bottom(InkSource::kLedgerLine), ink.Bottom(InkSource::kNoteHead));
    const double stems = ink.Bottom(InkSource::kStem);
    const double lyrics = [&] {
      double top = 1e300;
      for (const InkItem& i : ink.items) {
        if (i.source == InkSource::kLyric) top = std::min(top, i.top);
      }
      return top;
    }();
    EXPECT_GT(lyrics, std::max(notes, stems)) << otherVoice;
    std::vector<int32_t> tops;
    for (const auto& chord : upper) {
      if (const CMetaEvent* e = chord->metaEvents.Find(CMetaEvent::kLyrics)) tops.push_back(e->location.notation.top);
    }
    ASSERT_EQ(tops.size(), 3u);
    EXPECT_EQ(tops[0], tops[1]);
    EXPECT_EQ(tops[1], tops[2]);
  }
}

// Over a tablature whose rhythm flags hang below it, a dynamic stands above the letter on its
// chord's top course; where the flags stand above, it keeps its place among them.
TEST(MetaEventDrawing, ADynamicOverATablatureWithFlagsBelowClearsItsLetters) {
  Page page;
  TabLine tab;
  tab.Tab().flagGroup = 2;
  tab.Rebuild();
  nChord* chord = tab.Add(3, {{0, 11}, {1, 3}});
  CMetaEvent& fff = *chord->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kDynamics, "", 0, 0, 0));
  fff.cy = 8 << 16;
  tab.Add(3, {{0, 2}});
  RecordingDevice dc(96, true, PangoTextEngine::Shared());
  InkCollisions ink;
  dc.SetInkObserver(&ink);
  tab.DrawOn(dc, 40, {100, 100, 700, 300}, 60);
  size_t dynamics = 0;
  for (const auto& box : ink.Boxes()) dynamics += box.source == InkSource::kMetaText ? 1 : 0;
  EXPECT_EQ(dynamics, 1u);
  for (const auto& collision : ink.Find(0.3 * 96 / 25.4)) ADD_FAILURE() << InkCollisions::Describe(collision);
}

// Footnotes are numbered by the page: the second shows (2*) and adds its line to the page's
// text.
TEST(MetaEventDrawing, FootnotesAreNumberedOnTheirPage) {
  Page page;
  TabLine tab;
  for (const char* text : {"first", "second"}) {
    nChord* chord = tab.Add(3, {{0, 0}});
    chord->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kFootnote, text, 0, 0, 0));
  }
  RecordingDevice dc(96, false);
  tab.DrawOn(dc, 45, {100, 100, 500, 300}, 60, 100);
  const std::string log = dc.Log();
  EXPECT_NE(log.find("\"(1*)\""), std::string::npos);
  EXPECT_NE(log.find("\"(2*)\""), std::string::npos);
  EXPECT_EQ(page.page.footnoteText, "1. first\n2. second\n");
  EXPECT_EQ(page.page.footnoteCounter, 3);
}

// A graphic ornament never given a glyph takes the decorative default and keeps it.
TEST(MetaEventDrawing, AGraphicOrnamentWithoutTextKeepsItsDefault) {
  Page page;
  EventLines lines(Nothing, CMetaEvent::kGraphicOrnament);
  lines.Draw("graphic_default");
  for (const CMetaEvent* e : {lines.StaffEvent(), lines.TabEvent()}) {
    EXPECT_EQ(e->text, "VAVADURURA");
    EXPECT_EQ(e->value, 0x43u);
    EXPECT_EQ(e->cy, 70);
  }
}

// Printing keeps no rectangles and draws no anchors; the screen keeps both.
TEST(MetaEventDrawing, PrintingStoresNoRectanglesAndDrawsNoAnchors) {
  Page page;
  EventLines printed(Nothing, CMetaEvent::kLyrics, "Flow");
  const std::string printLog = printed.Draw("printed", true);
  EXPECT_TRUE(printed.TabEvent()->location.tablature.IsEmpty());
  EXPECT_TRUE(printed.StaffEvent()->location.notation.IsEmpty());
  EXPECT_EQ(printLog.find("colour=0x6464C8"), std::string::npos);

  EventLines screen(Nothing, CMetaEvent::kLyrics, "Flow");
  const std::string screenLog = screen.Draw("screen");
  EXPECT_FALSE(screen.TabEvent()->location.tablature.IsEmpty());
  EXPECT_FALSE(screen.StaffEvent()->location.notation.IsEmpty());
  EXPECT_NE(screenLog.find("colour=0x6464C8"), std::string::npos);
}

// Tempo cx 5 is the dotted form of cx 1: glyph 102 (a half) and the dot 154.
TEST(MetaEventDrawing, TempoCxFiveIsTheDottedHalf) {
  Page page;
  EventLines lines([](CMetaEvent& e) { e.value = 40; e.cx = 5; }, CMetaEvent::kTempo);
  const std::string log = lines.Draw("tempo_dotted");
  EXPECT_NE(log.find("TextOut 82 84 \"f\\u{9A}\""), std::string::npos);
}

// A hairpin with cy 1 closes at its own column and opens toward the end of its span; with
// cy 0 it closes at the end.
TEST(MetaEventDrawing, HairpinsCloseAtTheirOwnColumnOrAtTheEnd) {
  Page page;
  const auto tablature = [](int32_t cy) {
    EventLines lines([cy](CMetaEvent& e) { e.value = 3; e.cy = cy; }, CMetaEvent::kCrescendo);
    const std::string log = lines.Draw("hairpin");
    return log.substr(log.find("## tablature view"));
  };
  // The first segment runs from the open end to the closed point: the event's own column (x
  // 100), or the column three chords on (100 + 3 × 45).
  EXPECT_NE(tablature(1).find("MoveTo 235 50\nLineTo 100 47\n"), std::string::npos);
  EXPECT_NE(tablature(0).find("MoveTo 100 50\nLineTo 235 47\n"), std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Faults mended

// A stored denominator of 0 never divides: the signature is written in figures.
TEST(MetaEventDrawing, ATimeSignatureOverZeroIsWrittenInFigures) {
  Page page;
  EventLines lines([](CMetaEvent& e) { e.value = 1 | 8; e.cx = 2; e.cy = 0; }, CMetaEvent::kTimeSignature);
  const std::string log = lines.Draw("signature_over_zero");
  EXPECT_NE(log.find("\"2\""), std::string::npos);
  EXPECT_NE(log.find("\"0\""), std::string::npos);
}

// A pedal event naming no pedal draws nothing; a text reprise whose size index lies outside
// the twelve sizes takes the nearest.
TEST(MetaEventDrawing, BadPedalAndRepriseSizeIndexes) {
  Page page;
  testing::ScriptedPrompts prompts;
  EventLines pedal([](CMetaEvent& e) { e.value = 10; }, CMetaEvent::kPedal);
  const std::string log = pedal.Draw("bad_pedal");
  EXPECT_EQ(log.find("ped."), std::string::npos);
  EXPECT_EQ(pedal.TabEvent(), nullptr);
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_EQ(prompts.messages.front(), "Invalid meta event");

  EventLines largest([](CMetaEvent& e) { e.cx = 11 << 16; }, CMetaEvent::kReprise, "Fine");
  EventLines beyond([](CMetaEvent& e) { e.cx = 40 << 16; }, CMetaEvent::kReprise, "Fine");
  EventLines below([](CMetaEvent& e) { e.cx = static_cast<int32_t>(0xFFFF0000u); }, CMetaEvent::kReprise, "Fine");
  EventLines smallest([](CMetaEvent& e) { e.cx = 0; }, CMetaEvent::kReprise, "Fine");
  largest.Draw("reprise_36");
  beyond.Draw("reprise_beyond");
  EXPECT_EQ(largest.TabEvent()->location.tablature.Height(), beyond.TabEvent()->location.tablature.Height());
  smallest.Draw("reprise_8");
  below.Draw("reprise_below");
  EXPECT_EQ(smallest.TabEvent()->location.tablature.Height(), below.TabEvent()->location.tablature.Height());
  EXPECT_LT(smallest.TabEvent()->location.tablature.Height(), largest.TabEvent()->location.tablature.Height());
}

// ---------------------------------------------------------------------------------------------
// Placement

// The user's offset is kept in hundredths of a millimetre and grows with the page zoom.
TEST(MetaEventDrawing, AnOffsetMovesTwiceAsFarAtZoom200) {
  const auto shift = [](int32_t zoom) {
    Page page(zoom);
    EventLines plain(Nothing, CMetaEvent::kFermata);
    plain.tab.Draw("fermata_plain", 45, false, 400, zoom);
    EventLines moved([](CMetaEvent& e) { e.location.SetOffset(EventLocation::kTablature, 100, 0); }, CMetaEvent::kFermata);
    moved.tab.Draw("fermata_moved", 45, false, 400, zoom);
    return moved.TabEvent()->location.tablature.left - plain.TabEvent()->location.tablature.left;
  };
  EXPECT_EQ(shift(100), MulDiv(100, 96, 2540));
  EXPECT_EQ(shift(200), 2 * MulDiv(100, 96, 2540));
}

// While the pointer moves over a system, each chord's event under it is framed.
TEST(MetaEventDrawing, TheEventUnderThePointerIsHighlighted) {
  Page page;
  EventLines lines(Nothing, CMetaEvent::kLyrics, "Flow");
  lines.Draw("highlight");
  const Rect r = lines.TabEvent()->location.tablature;
  RecordingDevice dc(96, false);
  EXPECT_EQ(HighlightMetaEventAt(dc, lines.tab.Voice(), true, r.CenterPoint()), 1);
  EXPECT_EQ(HighlightMetaEventAt(dc, lines.tab.Voice(), false, r.CenterPoint()), 0);
  EXPECT_EQ(HighlightMetaEventAt(dc, lines.tab.Voice(), true, {r.right + 50, r.bottom + 50}), 0);
}

}  // namespace
}  // namespace vornel
