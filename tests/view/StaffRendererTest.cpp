// The staff renderer drawn into the recording device: golden logs of small staves, each
// checked by hand against the layout formulas once (tests/view/golden/staff_*.log; set
// VORNEL_UPDATE_GOLDEN to write them again, VORNEL_RENDER_PNG_DIR to look at them), and the
// geometry the stave keeps for hit testing and the cursor.
//
// At zoom 200 and 96 dpi the notation font's em is 45 pixels: the space glyph is 11 pixels,
// so the spacing is 10, the lines 1 pixel thick, and the top line of a stave drawn at y 100
// lies at 101.

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdio>
#include <functional>
#include <sstream>
#include <tuple>

#include "GoldenLog.h"
#include "StaffFixtures.h"
#include "model/events/CMetaEvent.h"
#include "support/ScriptedPrompts.h"
#include "view/draw/GraphicUtil.h"
#include "view/render/GraceFragments.h"
#include "view/render/StaffRenderer.h"
#include "view/render/TabFonts.h"

namespace vornel {
namespace {

using testing::Bar;
using testing::Chord;
using testing::Rest;
using testing::StaffLine;

constexpr int32_t kTop = 101;
constexpr int32_t kSpacing = 10;

// Several staves, each under a "# name" line, make one golden log.
struct GoldenCases {
  std::string log;
  void Add(const std::string& name, StaffLine& staff, int32_t columnWidth = 40, bool printing = true) {
    log += "# " + name + "\n" + staff.Draw(name, columnWidth, printing);
  }
};

std::unique_ptr<nChord> ClefChange(uint32_t clef, int32_t offset, int32_t keyWord) {
  auto event = std::make_unique<nChord>(static_cast<uint16_t>(nChord::kSpecialEvent | 0x90));
  event->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kClef, "", clef, offset, keyWord));
  return event;
}

// ---------------------------------------------------------------------------------------------
// Frame, clefs and keys

TEST(StaffRenderer, ClefsInBothStylesOnAnEmptyStave) {
  GoldenCases cases;
  for (int32_t oldStyle = 0; oldStyle < 2; ++oldStyle) {
    for (int32_t clef = 0; clef < 5; ++clef) {
      StaffLine staff(clef);
      staff.Stave().oldStyle = oldStyle;
      cases.Add("clef " + std::to_string(clef) + " style " + std::to_string(oldStyle), staff);
      // An empty voice still has its frame, and its column list holds only the right edge.
      EXPECT_EQ(staff.Stave().LastDrawn().chordPositions, std::vector<uint32_t>{700});
    }
  }
  testing::ExpectGoldenLog("staff_clefs", cases.log);
}

TEST(StaffRenderer, StepToYFollowsTheClefsReferenceStep) {
  StaffLine staff;
  staff.Draw("step_to_y");
  CClef& stave = staff.Stave();
  struct Case {
    int32_t clef;
    int topLineStep;
  };
  for (const Case c : {Case{0, 38}, {1, 45}, {2, 33}, {3, 39}, {4, 42}, {7, 17}}) {
    stave.clefId = c.clef;
    stave.stepOffset = 0;
    EXPECT_EQ(stave.StepToY(c.topLineStep), kTop) << c.clef;
    EXPECT_EQ(stave.StepToY(c.topLineStep - 8), kTop + 4 * kSpacing) << c.clef;  // bottom line
    EXPECT_EQ(stave.StepToY(c.topLineStep + 1), kTop - kSpacing / 2) << c.clef;
    stave.stepOffset = 2;  // the notes move up a line
    EXPECT_EQ(stave.StepToY(c.topLineStep), kTop - kSpacing) << c.clef;
  }
}

TEST(StaffRenderer, KeySignatures) {
  GoldenCases cases;
  {
    // G major a semitone up is A flat major: four flats.
    StaffLine staff;
    staff.definition.key.alterations = 1;
    staff.definition.key.bemol = 0;
    staff.definition.key.transpose = 1;
    cases.Add("one sharp transposed a semitone up", staff);
    EXPECT_EQ(staff.Stave().key.alterations, 4u);
    EXPECT_EQ(staff.Stave().key.bemol, 1);
  }
  for (const auto& [count, flats, transpose, expected, expectedFlats] :
       {std::tuple{0u, false, 1, 5u, true}, {0u, false, 6, 6u, false}, {7u, false, 0, 7u, false},
        {5u, true, 0, 5u, true}, {7u, true, 1, 0u, false}, {3u, true, -3, 0u, false}}) {
    StaffLine staff;
    staff.definition.key.alterations = count;
    staff.definition.key.bemol = flats ? 1 : 0;
    staff.definition.key.transpose = transpose;
    staff.Draw("transposed_key");
    EXPECT_EQ(staff.Stave().key.alterations, expected) << count << " " << transpose;
    if (expected != 0) {
      EXPECT_EQ(staff.Stave().key.bemol != 0, expectedFlats) << count << " " << transpose;
    }
  }
  {
    // A key change of count 0 after three flats cancels them with naturals at their places.
    StaffLine staff;
    staff.definition.key.alterations = 3;
    staff.definition.key.bemol = 1;
    staff.Voice(0).push_back(Chord(3, {72}));
    staff.Voice(0).push_back(ClefChange(1, 0, 8));
    staff.Voice(0).push_back(Chord(3, {74}));
    cases.Add("three flats cancelled inside the line", staff);
    EXPECT_EQ(staff.Stave().key.alterations, 0u);
  }
  testing::ExpectGoldenLog("staff_keys", cases.log);
}

TEST(StaffRenderer, ClefChangeInsideTheLine) {
  GoldenCases cases;
  StaffLine staff(CClef::kGClef);
  staff.Stave().oldStyle = 1;
  staff.definition.staves.at(0)->oldStyle = 1;
  staff.Voice(0).push_back(Chord(3, {67}));
  staff.Voice(0).push_back(ClefChange(2, 0, 0));  // to the F clef: old style draws 0x27
  staff.Voice(0).push_back(Chord(3, {43}));
  cases.Add("G clef to old F clef", staff);
  // The line starts in the G clef; the clef drawn after the change records itself on the
  // definition's stave for the next lines, and the stave itself is back to its own clef.
  EXPECT_EQ(cases.log.find("TextOut 45 141 \"&\""), cases.log.find("TextOut"));
  EXPECT_EQ(staff.definition.staves.at(0)->recordedClef, 2);
  EXPECT_EQ(staff.Stave().clefId, CClef::kGClef);
  // Half a column before the event's column (140), and per the formula
  // 101 - 7 + MulDiv(40 + 4, 10, 10) - MulDiv(1, 9, 4) = 136 with the smaller font's space of 10.
  EXPECT_NE(cases.log.find("TextOut 120 136 \"'\""), std::string::npos) << cases.log;
  testing::ExpectGoldenLog("staff_clef_change", cases.log);
}

// ---------------------------------------------------------------------------------------------
// Notes

TEST(StaffRenderer, NoteValuesStemsDotsAndLedgerLines) {
  GoldenCases cases;
  for (int32_t stemsDown = 0; stemsDown < 2; ++stemsDown) {
    StaffLine staff;
    staff.Stave().stemDirection = stemsDown;
    staff.Stave().enabledVoices = CClef::kLowerVoice;  // the second voice takes the stave's direction
    for (int code = 0; code < 8; ++code) staff.Voice(1).push_back(Chord(code, {72}));
    cases.Add(stemsDown != 0 ? "values 0-7 stems down" : "values 0-7 stems up", staff);
  }
  StaffLine dots;
  dots.Voice(0).push_back(Chord(2, {71}, 0, 0x8));  // B4 on the middle line
  dots.Voice(0).push_back(Chord(2, {72}, 0, 0x8));  // C5 in the third space
  cases.Add("dotted halves on a line and in a space", dots);
  StaffLine ledgers;
  ledgers.Voice(0).push_back(Chord(3, {84}));  // C6: two ledger lines above
  ledgers.Voice(0).push_back(Chord(3, {81}));  // A5: one above
  ledgers.Voice(0).push_back(Chord(3, {60}));  // C4: one below
  ledgers.Voice(0).push_back(Chord(3, {57}));  // A3: two below
  ledgers.Voice(0).push_back(Chord(3, {64}));  // E4: none
  cases.Add("ledger lines above and below", ledgers);
  testing::ExpectGoldenLog("staff_notes", cases.log);
}

TEST(StaffRenderer, AccidentalsCollisionsAndSeconds) {
  GoldenCases cases;
  StaffLine staff;
  staff.Voice(0).push_back(Chord(3, {66}));          // F sharp
  staff.Voice(0).push_back(Chord(3, {70, 63}));      // two flats in one chord
  staff.Voice(0).push_back(Chord(3, {72, 71}));      // a second: the upper head moves right
  staff.Voice(0).push_back(Chord(3, {73}));          // C sharp
  cases.Add("accidentals and a second", staff, 40);
  StaffLine tight;
  tight.Voice(0).push_back(Chord(3, {67}));
  tight.Voice(0).push_back(Chord(3, {68}));  // no room before the previous column: moved down
  cases.Add("an accidental without room", tight, 12);
  StaffLine down;
  down.Stave().stemDirection = 1;
  down.Stave().enabledVoices = CClef::kLowerVoice;
  down.Voice(1).push_back(Chord(3, {72, 71}));  // stems down: the lower head moves left
  cases.Add("a second with stems down", down);
  testing::ExpectGoldenLog("staff_accidentals", cases.log);
}

TEST(StaffRenderer, EveryRestCode) {
  GoldenCases cases;
  StaffLine staff;
  for (int code = 0; code < 8; ++code) staff.Voice(0).push_back(Rest(code));
  staff.Voice(0).push_back(Chord(3, {}, 0, 0x8));  // a dotted quarter rest
  cases.Add("rests 0-7", staff);
  testing::ExpectGoldenLog("staff_rests", cases.log);
}

// ---------------------------------------------------------------------------------------------
// Beams

TEST(StaffRenderer, BeamsStubsAndRestsInGroups) {
  GoldenCases cases;
  StaffLine eighths;
  eighths.Voice(0).push_back(Chord(4, {72}, 0));
  eighths.Voice(0).push_back(Chord(4, {72}, 1));  // slope 0: both stem ends on one line
  eighths.Voice(0).push_back(Bar());
  eighths.Voice(0).push_back(Chord(5, {72}, 0));
  eighths.Voice(0).push_back(Chord(5, {76}, 1));
  eighths.Voice(0).push_back(Bar());
  eighths.Voice(0).push_back(Chord(5, {72}, 0));
  eighths.Voice(0).push_back(Chord(4, {72}, 1));  // the sixteenth gets a stub to its right
  eighths.Voice(0).push_back(Chord(5, {72}, 2));  // and this one to its left
  cases.Add("two eighths, two sixteenths, stubs", eighths);

  StaffLine rests;
  rests.Voice(0).push_back(Chord(4, {72}, 0));
  rests.Voice(0).push_back(Rest(5, 1));           // placed by the beam pass, with a stub
  rests.Voice(0).push_back(Chord(5, {74}, 2));
  rests.Voice(0).push_back(Chord(4, {72}, 3));
  rests.Voice(0).push_back(Rest(4, 4));           // the group ends in rests
  rests.Voice(0).push_back(Rest(4, 5));
  cases.Add("rests inside and at the end of a group", rests);

  StaffLine stems;
  stems.Voice(0).push_back(Chord(4, {72}, 0));
  stems.Voice(0).push_back(Chord(4, {72}, 1));
  stems.Voice(0).push_back(Chord(7, {72}, 0));
  stems.Voice(0).push_back(Chord(7, {72}, 1));
  cases.Add("code-7 stems reach further than code 4", stems);

  StaffLine sloped;
  sloped.definition.slantedBeams = 1;
  sloped.Stave();
  sloped.line = std::make_unique<CInstrument>(sloped.definition);
  sloped.Voice(0).push_back(Chord(4, {67}, 0));
  sloped.Voice(0).push_back(Chord(4, {79}, 1));  // a rising beam, flattened to fit
  cases.Add("a sloped beam", sloped);
  testing::ExpectGoldenLog("staff_beams", cases.log);
}

// A rest grouped with a single quarter has no stem end: it stands on the staff like the rests
// of a beamed group, not at the top of the page.
TEST(StaffRenderer, ARestBesideAQuarterInAGroupStandsOnTheStaff) {
  StaffLine staff;
  staff.Voice(0).push_back(Chord(3, {72}, 0));
  staff.Voice(0).push_back(Rest(4, 1));
  const std::string log = staff.Draw("rest beside a quarter");
  std::istringstream lines(log);
  int texts = 0;
  for (std::string line; std::getline(lines, line);) {
    int x = 0;
    int y = 0;
    if (std::sscanf(line.c_str(), "TextOut %d %d", &x, &y) != 2) continue;
    ++texts;
    EXPECT_GT(y, kTop - 4 * kSpacing) << line;
    EXPECT_LT(y, kTop + 8 * kSpacing) << line;
  }
  EXPECT_GE(texts, 2);
}

TEST(StaffRenderer, ALongRunStartsANewGroupAtThe39thChordAndABarEndsIt) {
  StaffLine staff;
  for (int i = 0; i < 40; ++i) staff.Voice(0).push_back(Chord(4, {72}, static_cast<uint8_t>(i == 0 ? 0 : 1)));
  staff.Voice(0).push_back(Bar());
  staff.Voice(0).push_back(Chord(4, {72}, 1));  // joins nothing across the bar
  const std::string log = staff.Draw("long_run", 12, true, 600);
  testing::ExpectGoldenLog("staff_long_run", log);
  // Two beamed groups (38 and 2 chords) and the lone eighth after the bar.
  size_t beams = 0;
  for (size_t at = log.find("Polygon"); at != std::string::npos; at = log.find("Polygon", at + 1)) ++beams;
  EXPECT_EQ(beams, 2u);
  // After the bar line (580, moving the columns on by half a column) the eighth stands alone
  // at 106 + 41 × 12, with its flag.
  EXPECT_NE(log.find("TextOut 598 116 \"h\""), std::string::npos);
}

TEST(StaffRenderer, TupletsAsABracketAndAsANumberOnTheBeam) {
  GoldenCases cases;
  StaffLine quarters;
  for (int i = 0; i < 3; ++i) quarters.Voice(0).push_back(Chord(3 | 0x10, {72}, 0));
  quarters.Voice(0).push_back(Chord(3, {72}));
  cases.Add("quarter triplet: a bracket", quarters);
  StaffLine eighths;
  for (int i = 0; i < 3; ++i) eighths.Voice(0).push_back(Chord(4 | 0x10, {72}, static_cast<uint8_t>(i)));
  cases.Add("eighth triplet: a number on the beam", eighths);
  testing::ExpectGoldenLog("staff_tuplets", cases.log);
}

// ---------------------------------------------------------------------------------------------
// Voices

TEST(StaffRenderer, TwoVoicesWithStemsUpAndDown) {
  GoldenCases cases;
  for (const int32_t shown : {CClef::kBothVoices, CClef::kBothVoicesMerged}) {
    StaffLine staff;
    staff.Stave().enabledVoices = shown;
    staff.Stave().stemDirection = 1;
    staff.line->selectedVoice = 0;
    staff.Voice(0).push_back(Chord(4, {76}, 0));
    staff.Voice(0).push_back(Chord(4, {77}, 1));
    staff.Voice(1).push_back(Chord(3, {64}));
    PageDrawSettings settings;
    settings.greyInactive = true;
    const testing::FixturePage active(settings);
    cases.Add(shown == CClef::kBothVoices ? "both voices, the second greyed" : "both voices in full", staff);
  }
  testing::ExpectGoldenLog("staff_two_voices", cases.log);
}

// ---------------------------------------------------------------------------------------------
// Bar lines

TEST(StaffRenderer, EveryBarStyleInsideAtTheStartAndAtTheEnd) {
  GoldenCases cases;
  for (const uint16_t status : {0x01, 0x11, 0x21, 0x31, 0x51, 0x81, 0x91, 0xA1, 0xB1, 0xC1, 0xD1, 0xE1, 0xF1}) {
    StaffLine staff;
    staff.Voice(0).push_back(Bar(status));  // at the start of the line
    staff.Voice(0).push_back(Chord(3, {72}));
    staff.Voice(0).push_back(Bar(status));  // inside
    staff.Voice(0).push_back(Chord(3, {72}));
    staff.Voice(0).push_back(Bar(status));  // the last element, its column past 6/7: the end
    char name[32];
    std::snprintf(name, sizeof name, "bar 0x%02X", status);
    cases.Add(name, staff, 130, false);
  }
  StaffLine early;
  early.Voice(0).push_back(Chord(3, {72}));
  early.Voice(0).push_back(Bar(0xB1));  // before 6/7 of the width: at its own column
  cases.Add("a last bar at its own column", early);
  testing::ExpectGoldenLog("staff_bars", cases.log);
}

TEST(StaffRenderer, BarNumbersEveryFifthBarOnTheFirstStaveOnly) {
  PageDrawSettings settings;
  settings.barNumbers = true;
  const testing::FixturePage active(settings);
  GoldenCases cases;
  for (const int32_t stave : {0, 1}) {
    StaffLine staff;
    staff.definition.AddStave();  // two staves: this is the first or the second
    staff.line = std::make_unique<CInstrument>(staff.definition);
    staff.Stave().positionCode = 16 + stave;
    for (const uint32_t number : {10u, 12u}) {
      staff.Voice(0).push_back(Chord(3, {72}));
      staff.Voice(0).push_back(Bar(1, number));
    }
    staff.Voice(0).push_back(Chord(3, {72}));
    cases.Add(stave == 0 ? "first stave" : "second stave", staff);
  }
  const size_t second = cases.log.find("# second stave");
  EXPECT_NE(cases.log.find("\"10\""), std::string::npos);
  EXPECT_LT(cases.log.find("\"10\""), second);
  EXPECT_EQ(cases.log.find("\"10\"", second), std::string::npos);
  EXPECT_EQ(cases.log.find("\"12\""), std::string::npos);
  testing::ExpectGoldenLog("staff_bar_numbers", cases.log);
}

// ---------------------------------------------------------------------------------------------
// Grace notes

TEST(StaffRenderer, GraceFragments) {
  struct Case {
    const char* name;
    int pattern;
    int pitch;
    uint32_t value;
  };
  constexpr uint32_t kEighths = 2u << 16;  // value code 2 + 2
  const Case cases[] = {
      {"one step with a sharp (seven sharps more)", 1, 72, 7u << 24},
      {"a beamed pattern, stems up, slur below", 8, 72, grace::kSlur | kEighths},
      {"a beamed pattern, stems down, slur above", 7, 72, grace::kStemsDown | grace::kSlur | grace::kSlurAbove | kEighths},
      {"flat slur and the mark", 2, 72, grace::kSlur | grace::kFlatSlur | grace::kMark},
      {"ledger line on a line position below", 1, 59, 0},   // A3 on its ledger line
      {"no ledger line in a space below", 1, 57, 0},         // G3 under the ledger line
      {"descending low steps", 103, 40, 0},                  // steps below zero octave
  };
  std::string log;
  for (const Case& c : cases) {
    StaffLine staff;
    staff.Draw("grace_frame");
    nNotes note;
    note.pitch = static_cast<uint8_t>(c.pitch);
    const nChord chord(0, 3);
    RecordingDevice dc(96, true);
    GraphicUtil g(dc, 200);
    StaffRenderer renderer(staff.Stave(), g);
    const Rect r = DrawMiniStaff(renderer, c.pattern, chord, note, c.value, 400, 0);
    log += std::string("# ") + c.name + "\n" + dc.Log();
    EXPECT_FALSE(r.IsEmpty()) << c.name;
    if (const char* dir = std::getenv("VORNEL_RENDER_PNG_DIR")) {
      ImageDevice image(800, 260, 96, 0xFFFFFF, true);
      staff.DrawOn(image, 40, {100, 100, 700, 300}, 60, 200);
      GraphicUtil ig(image, 200);
      StaffRenderer imageRenderer(staff.Stave(), ig);
      DrawMiniStaff(imageRenderer, c.pattern, chord, note, c.value, 400, 0);
      image.WritePng(std::string(dir) + "/grace " + c.name + ".png");
    }
  }
  StaffLine staff;
  staff.Draw("grace_frame");
  RecordingDevice dc(96, true);
  GraphicUtil g(dc, 200);
  StaffRenderer renderer(staff.Stave(), g);
  const nChord chord(0, 3);
  EXPECT_TRUE(DrawMiniStaff(renderer, 104, chord, nNotes(), 0, 400, 0).IsEmpty());
  EXPECT_TRUE(DrawMiniStaff(renderer, 3, chord, nNotes(), 0, 400, 0).IsEmpty());  // no pattern
  EXPECT_TRUE(dc.Log().empty());
  testing::ExpectGoldenLog("staff_grace", log);
}

// ---------------------------------------------------------------------------------------------
// Time-proportional layout

TEST(StaffRenderer, TimeProportionalLayout) {
  PageDrawSettings settings;
  settings.timeProportional = true;
  const testing::FixturePage active(settings);
  {
    // One bar keeps equal columns.
    StaffLine staff;
    staff.Voice(0).push_back(Chord(2, {72}));
    staff.Voice(0).push_back(Chord(4, {72}));
    staff.Voice(0).push_back(Chord(4, {72}));
    staff.Draw("proportional_one_bar");
    EXPECT_EQ(staff.Stave().LastDrawn().chordPositions, (std::vector<uint32_t>{100, 140, 180, 700}));
  }
  {
    // Bars of a half and two quarters, and a quarter and a half: 1344 ticks over a fixed bar
    // width of 2 × 40 mm (302 pixels, within 3/4 of 600); bar lines take half a column each.
    StaffLine staff;
    nChordArray& v = staff.Voice(0);
    v.push_back(Chord(2, {72}));
    v.push_back(Chord(3, {72}));
    v.push_back(Chord(3, {72}));
    v.push_back(Bar());
    v.push_back(Chord(3, {72}));
    v.push_back(Chord(2, {72}));
    const std::string log = staff.Draw("proportional_two_bars");
    // W = 302 less the bar line's half column (20) and the last column (40): pixels per tick
    // 242 / 1344. x(i) = base + trunc(ticks × ppt), base moving by 20 after the bar line:
    // 100, 100 + 69, 100 + 103, 100 + 138, 120 + 138, 120 + 172.
    EXPECT_EQ(staff.Stave().LastDrawn().chordPositions, (std::vector<uint32_t>{100, 169, 203, 238, 258, 292, 700}));
    testing::ExpectGoldenLog("staff_proportional", log);
  }
  {
    // Four full bars of quavers take the stave's whole width (four fixed bar widths are more
    // than 3/4 of it): every column, bar lines too, stands within the stave, the last one a
    // column short of its end, as with equal columns.
    StaffLine staff;
    nChordArray& v = staff.Voice(0);
    for (int bar = 0; bar < 4; ++bar) {
      for (int i = 0; i < 8; ++i) v.push_back(Chord(4, {72}));
      if (bar < 3) v.push_back(Bar());
    }
    staff.Draw("proportional_full_width");
    const std::vector<uint32_t>& xs = staff.Stave().LastDrawn().chordPositions;
    ASSERT_EQ(xs.size(), v.size() + 1);
    EXPECT_EQ(xs.front(), 100u);
    EXPECT_TRUE(std::is_sorted(xs.begin(), xs.end()));
    // 600 less three half columns of bar lines and the last column: 500 over 35 quavers.
    EXPECT_EQ(xs[v.size() - 1], 160u + 500u * 31u / 32u);
    EXPECT_EQ(xs.back(), 700u);
  }
  {
    // A line of bar lines only has no time to spread: equal columns, no division by zero.
    StaffLine staff;
    staff.Voice(0).push_back(Bar());
    staff.Voice(0).push_back(Bar());
    staff.Voice(0).push_back(Bar());
    staff.Draw("proportional_bars_only");
    EXPECT_EQ(staff.Stave().LastDrawn().chordPositions, (std::vector<uint32_t>{100, 160, 220, 700}));
  }
}

// ---------------------------------------------------------------------------------------------
// Failures and degenerate sizes

TEST(StaffRenderer, AFailingStaveIsReportedOnceAndRestored) {
  testing::ScriptedPrompts prompts;
  ScopedPrompts installed(prompts);
  StaffLine staff;
  staff.Stave().positionCode = 5;  // past the definition's one stave
  staff.Stave().clefId = CClef::kFClef;
  staff.Stave().stepOffset = 3;
  staff.Voice(0).push_back(Chord(4, {72}));
  staff.Draw("failing");
  staff.Draw("failing");
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], kStaffDrawingError);
  EXPECT_EQ(staff.Stave().clefId, CClef::kFClef);
  EXPECT_EQ(staff.Stave().stepOffset, 3);
  EXPECT_TRUE(staff.Stave().LastDrawn().voiceGroups[0].empty());
  // What was shown is kept by the stave, not by the process: another failing stave still
  // reports its own failure.
  StaffLine other;
  other.Stave().positionCode = 5;
  other.Voice(0).push_back(Chord(4, {72}));
  other.Draw("failing");
  EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST(StaffRenderer, FewerThanTwoVoicesIsAnInvalidArgument) {
  StaffLine staff;
  CVoicesArray one;
  one.push_back(&staff.Voice(0));
  RecordingDevice dc;
  DrawingStaveRenderer renderer;
  EXPECT_THROW(renderer.DrawStave(dc, staff.Stave(), 100, one, {0, 0, 100, 100}, 10, nullptr, 10),
               std::invalid_argument);
  EXPECT_TRUE(dc.Log().empty());
}

TEST(StaffRenderer, AnUnknownVoiceChoiceShowsTheFirstVoice) {
  StaffLine staff;
  staff.Stave().enabledVoices = 9;
  staff.Voice(0).push_back(Chord(3, {72}));
  const std::string log = staff.Draw("unknown_voices");
  EXPECT_NE(log.find("TextOut 100 116 \"g\""), std::string::npos) << log;
  // The last line and 4 mm below, at zoom 200: 101 + 4 × 10 + 30.
  EXPECT_EQ(staff.Stave().area, (Rect{100, 101, 700, 101 + 40 + 30}));
}

TEST(StaffRenderer, ZeroColumnWidthAndTinyZoomStayFinite) {
  StaffLine staff;
  for (int i = 0; i < 5; ++i) staff.Voice(0).push_back(Chord(4, {84}, static_cast<uint8_t>(i)));
  staff.Draw("zero_columns", 0, true, 600, 1);
  EXPECT_GE(staff.Stave().columnCount, 1);
  RecordingDevice dc(1);
  staff.DrawOn(dc, 0, {0, 0, 10, 10}, 0, 1);
  EXPECT_EQ(staff.Stave().lineSpacing, 0);
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

// For one system the drawing renderer and the model's measuring renderer leave the same
// areas, spacings and column widths.
TEST(StaffRenderer, DrawingAndMeasuringRenderersAgreeOnGeometry) {
  CInstrumentDlg definition;
  definition.ApplyNotationPreset(5);  // grand staff
  definition.staves.at(0)->spaceBelow = 2;
  CStaveArray system(definition);
  system.Line(0)->firstVoice.push_back(testing::Chord(3, {72}));
  std::vector<std::tuple<Rect, int32_t, int32_t, int32_t>> measured;
  std::vector<std::tuple<Rect, int32_t, int32_t, int32_t>> drawn;
  const auto collect = [&](std::vector<std::tuple<Rect, int32_t, int32_t, int32_t>>& out) {
    for (const auto& stave : system.Line(0)->staves.items()) {
      out.emplace_back(stave->area, stave->lineSpacing, stave->columnWidth, stave->rowCount);
    }
  };
  for (const int32_t dpi : {96, 300}) {
    measured.clear();
    drawn.clear();
    RecordingDevice dc(dpi);
    system.MeasureLines(&dc, 100, 50, 900, 2000);
    collect(measured);
    DrawingStaveRenderer renderer;
    ScopedStaveRenderer installed(renderer);
    system.MeasureLines(&dc, 100, 50, 900, 2000);
    collect(drawn);
    EXPECT_EQ(measured, drawn) << dpi;
  }
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

// A tablature stave gets its frame here: one line per course of the tuning, the spacing of
// its font's stave adjustment, the tuning labels when asked and the own-flags mark.
TEST(StaffRenderer, TablatureFrame) {
  StaffLine staff;
  CClef& definitionStave = *staff.definition.staves.at(0);
  definitionStave.type = CClef::kTablature;
  staff.definition.tabInstrument.tabFont.staveAdjust = {30, 30};  // 3 mm between lines
  staff.definition.tabInstrument.printTuning = 1;
  staff.definition.tabInstrument.tuning.SetTuning("GDAFCG");
  staff.line = std::make_unique<CInstrument>(staff.definition);
  const std::string log = staff.Draw("tablature_frame", 40, true, 600, 100);
  testing::ExpectGoldenLog("staff_tablature_frame", log);
  // 30 tenths of a millimetre at 96 dpi: 11 pixels; lines from the top moved down by 1.
  EXPECT_EQ(staff.Stave().lineSpacing, 11);
  EXPECT_EQ(staff.Stave().rowCount, staff.definition.tabInstrument.tuning.lines);
  EXPECT_EQ(staff.Stave().area.top, 101);
}

TEST(TabFonts, FlagsFontAndDeviceSpacing) {
  CTabInstrument tab;
  tab.tabFont.staveAdjust = {50, 40};
  RecordingDevice dc(254);
  EXPECT_EQ(tab.ComputeDeviceSpacing(dc.LogPixelsX(), dc.LogPixelsY()), (std::array<int32_t, 2>{50, 40}));
  const auto flags = CreateFlagsFont(tab, dc, 150);
  ASSERT_TRUE(flags.has_value());
  EXPECT_EQ(flags->lfFaceName, "VornelTabFlags");
  EXPECT_EQ(flags->lfHeight, -120);  // 2 × 40 at zoom 150
  tab.flagsFont.face = "NoSuchFlagsFace";
  tab.flagsFont.logFont.lfFaceName = "NoSuchFlagsFace";
  EXPECT_FALSE(CreateFlagsFont(tab, dc, 100).has_value());
}

}  // namespace
}  // namespace vornel
