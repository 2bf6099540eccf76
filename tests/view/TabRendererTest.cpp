// Tablature staves drawn into the recording device: golden logs of small cases, each checked
// by hand against the formulas once (tests/view/golden/tab_*.log; set VORNEL_UPDATE_GOLDEN to
// write them again, VORNEL_RENDER_PNG_DIR to look at them), and the state the drawing leaves.
//
// At zoom 100 and 96 dpi the lute's lines lie 11 pixels apart (3 mm), the top line at 101 and
// the sixth at 156; one line below the staff is 167. The letters stand a fifteenth of a
// spacing above their lines (fine offset 6): the first course's base line is 101 - 0 - 1 =
// 100 (MulDiv(11, 1, 15) = 1).

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "GoldenLog.h"
#include "StaffFixtures.h"
#include "TabFixtures.h"
#include "model/events/CMetaEvent.h"
#include "platform/draw/InkCollisions.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/draw/TextFaces.h"
#include "view/render/DrawingStaveRenderer.h"
#include "support/ScriptedPrompts.h"
#include "view/render/StaffRenderer.h"
#include "view/render/marks/Slurs.h"

namespace vornel {
namespace {

using testing::CourseFret;
using testing::StaffLine;
using testing::TabLine;

struct TabGoldenCases {
  std::string log;
  void Add(const std::string& name, TabLine& tab, int32_t columnWidth = 40, bool printing = true) {
    log += "# " + name + "\n" + tab.Draw(name, columnWidth, printing);
  }
  void Add(const std::string& name, StaffLine& staff, int32_t columnWidth = 40) {
    log += "# " + name + "\n" + staff.Draw(name, columnWidth);
  }
};

// The lines of a log that draw text, "TextOut x y text".
std::vector<std::string> TextOuts(const std::string& log) {
  std::vector<std::string> found;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("TextOut ", 0) == 0) found.push_back(line.substr(8));
  }
  return found;
}

size_t Count(const std::vector<std::string>& lines, const std::string& text) {
  return static_cast<size_t>(std::count(lines.begin(), lines.end(), text));
}

// ---------------------------------------------------------------------------------------------
// Letters and styles

TEST(TabRenderer, TabStylesWithLettersBetweenLinesAndWhiteBoxes) {
  TabGoldenCases cases;
  for (int style = 0; style <= 4; ++style) {
    for (int variant = 0; variant < 2; ++variant) {
      TabLine tab;
      tab.Tab().tabStyle = style;
      tab.Tab().betweenLines = variant;
      tab.Tab().drawOpaque = variant;
      tab.Rebuild();
      tab.Add(3, {{0, 0}, {1, 2}, {2, 3}, {5, 10}});
      tab.Add(3, {{3, 1}, {4, 12}, {6, 0}});
      cases.Add("style " + std::to_string(style) + (variant != 0 ? " between lines, opaque" : ""), tab);
    }
  }
  testing::ExpectGoldenLog("tab_styles", cases.log);
}

TEST(TabRenderer, LettersStandOnTheirCourseLines) {
  TabLine tab;
  tab.Add(3, {{0, 0}, {5, 2}});
  const auto texts = TextOuts(tab.Draw("letters"));
  // French: course 1 over the top line, course 6 over the sixth, both a pixel above them.
  EXPECT_EQ(Count(texts, "100 100 \"a\""), 1u);
  EXPECT_EQ(Count(texts, "100 155 \"c\""), 1u);

  tab.Tab().tabStyle = CTabInstrument::kSpanish;
  tab.Tab().flagsHeight = 0x5000;  // the numbers' fine offset 5: none
  tab.Rebuild();
  tab.Add(3, {{0, 0}, {5, 2}});
  const auto spanish = TextOuts(tab.Draw("letters_spanish"));
  // Spanish/modern: the first course on the bottom line.
  EXPECT_EQ(Count(spanish, "100 156 \"0\""), 1u);
  EXPECT_EQ(Count(spanish, "100 101 \"2\""), 1u);
}

// A note whose fret has no text and which asks for another course is drawn once on the
// course its pitch takes; with no such course nothing is drawn and nothing recurses.
TEST(TabRenderer, AnEmptyFretFallsBackToTheCourseOfItsPitchOnce) {
  TabLine tab;
  nChord* chord = tab.Add(3, {{0, 0}});
  nNotes& note = *chord->notes.at(0);
  note.pitch = static_cast<uint8_t>(testing::PitchOf(tab.Tab(), {3, 2}));  // G3 lies below the first course
  note.status |= 0x2;
  const auto texts = TextOuts(tab.Draw("fallback"));
  EXPECT_EQ(Count(texts, "100 133 \"c\""), 1u);  // on the fourth course, fret 2
  EXPECT_EQ(note.string, 0) << "the stored course stays";

  note.pitch = 20;  // below every course: no course takes it
  EXPECT_TRUE(TextOuts(tab.Draw("fallback_none")).size() <= 1u);
}

// ---------------------------------------------------------------------------------------------
// Bourdons

TEST(TabRenderer, BourdonsWithEveryStrokeKind) {
  TabGoldenCases cases;
  for (int kind = 0; kind <= 6; ++kind) {
    TabLine tab;
    tab.Tab().tuning.SetTuning("GDAFCGFEDCB");  // six courses on the lines and five bourdons
    tab.Tab().tuning.lines = 6;
    tab.Tab().diapasonStyle = kind;
    tab.Rebuild();
    for (int course = 6; course <= 10; ++course) tab.Add(2, {{course, 0}, {0, 0}});
    tab.Add(2, {{6, 0}, {8, 0}});  // two bourdons in one chord
    cases.Add("diapason style " + std::to_string(kind), tab);
    if (kind == 0) {
      const auto texts = TextOuts(cases.log);
      // The 7th course: no strokes, half a spacing below the line under the staff
      // (flags height 0x5630: 3 × 11 / 4 - 5 = 3), less the fine offset.
      EXPECT_EQ(Count(texts, "100 169 \"a\""), 1u);
      // The 11th course, four past the lines: "4", a further quarter spacing lower.
      EXPECT_EQ(Count(texts, "260 171 \"4\""), 1u);
    }
  }
  testing::ExpectGoldenLog("tab_bourdons", cases.log);
}

// The ink of a tablature line that meets other ink, as the collision listing describes it.
std::vector<std::string> CollisionsOf(TabLine& tab, int32_t columnWidth, int32_t width = 600) {
  RecordingDevice dc(96, true);
  InkCollisions ink;
  dc.SetInkObserver(&ink);
  tab.DrawOn(dc, columnWidth, {100, 100, 100 + width, 300}, 60);
  // The strokes of one run overlap one another by design: only ink that meets a letter counts.
  const auto stroke = [](const InkCollisions::Box& b) { return b.text.empty() || b.text == "Z" || b.text == "Y" || b.text == "/"; };
  std::vector<std::string> found;
  for (const auto& c : ink.Find(1.0)) {
    if (!stroke(c.first) || !stroke(c.second)) found.push_back(InkCollisions::Describe(c));
  }
  return found;
}

std::vector<int32_t> Columns(const CClef& stave) {
  return {stave.LastDrawn().chordPositions.begin(), stave.LastDrawn().chordPositions.end()};
}

// Strokes before a bourdon need more than half a column: the chord stands further right, its
// strokes clear of the letters before it and nearer their own letter than those, and the
// columns of a line without strokes stay as they were.
TEST(TabRenderer, StrokesBeforeBourdonsKeepClearOfTheColumnBefore) {
  for (const int kind : {0, 1, 2, 6}) {
    SCOPED_TRACE("diapason style " + std::to_string(kind));
    TabLine tab;
    tab.Tab().diapasonStyle = kind;
    tab.Rebuild();
    tab.Add(3, {{5, 2}, {8, 0}});  // a letter on the sixth course over two strokes
    tab.Add(3, {{5, 1}, {9, 0}});  // three strokes
    tab.Add(3, {{0, 0}});
    tab.Add(3, {{9, 2}});
    EXPECT_EQ(CollisionsOf(tab, 16), std::vector<std::string>{});
    const std::vector<int32_t> xs = Columns(tab.Stave());
    ASSERT_GE(xs.size(), 4u);
    EXPECT_GT(xs[1] - xs[0], 16);
    EXPECT_GT(xs[3] - xs[2], 16);
  }

  TabLine plain;
  plain.Add(3, {{5, 2}, {6, 0}});  // the 7th course has no strokes
  plain.Add(3, {{0, 0}});
  plain.Add(3, {{6, 1}});
  plain.Draw("no_strokes", 16);
  EXPECT_EQ(Columns(plain.Stave()), (std::vector<int32_t>{100, 116, 132, 700}));
}

// A line too full for the room stands its columns closer (by a quarter at most) rather than
// run past its end; the staff above the tablature takes the same columns.
TEST(TabRenderer, AFullLineNarrowsItsColumnsAndItsStaffFollows) {
  TabLine tab;
  tab.definition.ApplyNotationPreset(7);  // tablature and a guitar staff
  testing::SetFrenchLute(tab.Tab());
  tab.Rebuild();
  for (int k = 0; k < 6; ++k) {
    tab.Add(3, {{5, 2}});
    tab.Add(3, {{5, 2}, {9, 0}});
  }
  ASSERT_EQ(tab.line->staves.size(), 2u);
  const Rect rect{100, 100, 100 + 12 * 20 + 4, 400};  // room for the columns alone
  RecordingDevice dc(96, true);
  std::vector<std::vector<int32_t>> columns;
  for (const auto& stave : tab.line->staves.items()) {
    DrawingStaveRenderer renderer;
    renderer.DrawStave(dc, *stave, 100, tab.line->Voices(), rect, 60, &tab.definition.key, 20);
    columns.push_back(Columns(*stave));
  }
  EXPECT_EQ(columns[0], columns[1]);
  const std::vector<int32_t>& xs = columns[0];
  ASSERT_EQ(xs.size(), 13u);
  EXPECT_LE(xs[11] + (xs[2] - xs[1]), rect.right) << "the last column, as narrowed, ends inside";
  for (size_t k = 1; k < 11; k += 2) {
    EXPECT_GT(xs[k] - xs[k - 1], 20) << "the strokes keep their room at " << k;
    EXPECT_LT(xs[k + 1] - xs[k], 20) << "a plain column gives it at " << k + 1;
    EXPECT_GE(xs[k + 1] - xs[k], 15);
  }
}

// Each further bourdon of a chord stands a line below the one before: none is drawn over
// another, however many the chord holds.
TEST(TabRenderer, BourdonsOfOneChordStackALineApart) {
  TabLine tab;
  tab.Tab().tuning.SetTuning("GDAFCGFEDCB");
  tab.Tab().tuning.lines = 6;
  tab.Rebuild();
  tab.Add(2, {{6, 0}, {7, 1}, {8, 2}, {9, 3}});
  std::vector<int> baselines;
  for (const std::string& text : TextOuts(tab.Draw("stacked_bourdons"))) {
    std::istringstream fields(text);
    int x = 0;
    int y = 0;
    std::string letter;
    fields >> x >> y >> letter;
    if (y > 156 && letter != "\"Z\"") baselines.push_back(y);
  }
  // Half a spacing below the line under the staff (3 with this tablature's bourdon offset),
  // then 11 pixels apart.
  EXPECT_EQ(baselines, (std::vector<int>{169, 180, 191, 202}));
}

// A bourdon's fingering mark goes with its letter below the lines, not with the line above it.
TEST(TabRenderer, ABourdonsFingeringStandsWithItsLetter) {
  TabLine tab;
  tab.Add(3, {{8, 0}})->notes.at(0)->fingering = 1;  // the right hand's dot
  const auto texts = TextOuts(tab.Draw("bourdon_fingering"));
  const auto at = [&](const std::string& text) {
    const auto found = std::find_if(texts.begin(), texts.end(), [&](const std::string& t) {
      return t.size() > text.size() && t.compare(t.size() - text.size(), text.size(), text) == 0;
    });
    return found != texts.end() ? *found : std::string();
  };
  // The bourdon's letter and its dot share the base line 169 (see the bourdons' golden log).
  EXPECT_EQ(at("\"a\""), "100 169 \"a\"");
  EXPECT_EQ(at("\"\xC3\xB1\""), "100 169 \"\xC3\xB1\"");
}

// ---------------------------------------------------------------------------------------------
// Rhythm flags

TEST(TabRenderer, FlagStylesAlternativeSetColoursDotsRestsAndTuplets) {
  TabGoldenCases cases;
  for (int style = 0; style <= 11; ++style) {
    TabLine tab;
    tab.Tab().flagStyle = style;
    tab.Tab().rotateFlags = style % 2;  // the alternative set on every other style
    tab.Tab().coloredFlags = style == 3 ? 1 : 0;
    tab.Rebuild();
    for (int code = 0; code <= 7; ++code) tab.Add(code, {{0, 2}});
    cases.Add("flag style " + std::to_string(style), tab);
  }
  {
    TabLine tab;
    tab.Tab().restsOnTab = 1;
    tab.Rebuild();
    tab.Add(3, {{1, 0}}, 0x8);  // dotted
    tab.Add(4, {});              // a rest as a flag
    tab.Add(4, {{1, 0}}, 0x10);  // a triplet: its digit
    tab.Add(4, {{1, 0}}, 0x10);
    tab.Add(4, {{1, 0}}, 0x10);
    nChord* joined = tab.Add(3, {{2, 0}});
    joined->status = static_cast<uint16_t>(joined->status | (5 << 8));  // joined to the previous flag
    cases.Add("dots, rests, tuplets, joined flags", tab);
  }
  for (const int flagStyle : {0, 2}) {
    // Rhythm-only chords (mark 4): a slash in the staff, or the note above it when the
    // tablature writes its rhythm in notes.
    TabLine tab;
    tab.Tab().flagStyle = flagStyle;
    tab.Rebuild();
    for (const int code : {3, 4}) {
      nChord* chord = tab.Add(code, {{0, 0}, {2, 2}}, code == 4 ? 0x8 : 0);
      chord->status = static_cast<uint16_t>(chord->status | (4 << 8));
    }
    tab.Voice().back()->dy = 2;  // the stems-down note, three spacings up
    cases.Add("rhythm marks, flag style " + std::to_string(flagStyle), tab);
  }
  for (int mode = 0; mode <= 3; ++mode) {
    TabLine tab;
    tab.Tab().flagGroup = mode;
    tab.Rebuild();
    for (int i = 0; i < 4; ++i) tab.Voice().push_back(testing::TabChord(tab.Tab(), 4, {{0, i}}));
    for (int i = 1; i < 4; ++i) tab.Voice().at(static_cast<size_t>(i))->beamIndex = static_cast<uint8_t>(i);
    tab.Add(3, {{1, 0}});
    tab.Add(5, {{1, 2}});
    cases.Add("mode " + std::to_string(mode), tab);
  }
  testing::ExpectGoldenLog("tab_flags", cases.log);
}

// Mode 0 writes a flag only where the rhythm changes; a bar brings it back only when the
// tablature repeats the first flag of each bar.
TEST(TabRenderer, FlagsShowWhereTheRhythmChangesAndAfterABar) {
  const auto flags = [](bool firstFlagOfBar) {
    TabLine tab;
    tab.Tab().showFirstFlag = firstFlagOfBar ? 1 : 0;
    tab.Rebuild();
    tab.Add(3, {{0, 0}});
    tab.Add(3, {{0, 2}});
    tab.Voice().push_back(testing::Bar());
    tab.Add(3, {{0, 3}});
    const auto texts = TextOuts(tab.Draw(firstFlagOfBar ? "flags_first_of_bar" : "flags_once"));
    // The quarter's glyph of the English style is 113 ('q').
    return std::count_if(texts.begin(), texts.end(), [](const std::string& t) { return t.ends_with("\"q\""); });
  };
  EXPECT_EQ(flags(true), 2);
  EXPECT_EQ(flags(false), 1);
}

// Modern tablature leaves a bar in which the track is silent empty (a track of rests flags
// nothing); a rest beside notes keeps its flag, and older tablatures flag every rest.
TEST(TabRenderer, ABarOfRestsOnModernTablatureShowsNoFlags) {
  const auto rests = [](int flagStyle) {
    TabLine tab;
    tab.Tab().flagStyle = flagStyle;
    tab.Tab().restsOnTab = 1;
    tab.Rebuild();
    for (int i = 0; i < 4; ++i) tab.Add(3, {});
    tab.Voice().push_back(testing::Bar());
    tab.Add(3, {});
    tab.Add(3, {{0, 2}});
    tab.Voice().push_back(testing::Bar());
    for (int i = 0; i < 2; ++i) tab.Add(2, {});
    const auto texts = TextOuts(tab.Draw("bar of rests " + std::to_string(flagStyle)));
    // The rests' glyphs are 100 and up: a quarter's is 103 ('g').
    return std::count_if(texts.begin(), texts.end(), [](const std::string& t) { return t.ends_with("\"g\""); });
  };
  EXPECT_EQ(rests(2), 1);  // modern flags: only the rest beside the note
  EXPECT_EQ(rests(0), 5);
}

// A percussion stave of three lines: the courses past them take a row each below the lines,
// so two instruments struck together are two marks (the first at the line below the staff).
TEST(TabRenderer, PercussionCoursesPastTheLinesKeepTheirRows) {
  TabLine tab;
  tab.Tab().tabStyle = CTabInstrument::kOwnFlags;
  tab.Tab().tuning.lines = 3;
  tab.Rebuild();
  tab.Add(3, {{1, 0}, {3, 0}, {5, 0}});
  const std::vector<std::string> texts = TextOuts(tab.Draw("percussion", 40));
  std::vector<std::string> marks;
  for (const std::string& text : texts) {
    if (text.ends_with("\"ŷ\"")) marks.push_back(text);
  }
  // Lines 11 pixels apart from 101: course 1 on the second line, 3 and 5 one and three
  // spacings below the third.
  EXPECT_EQ(marks, (std::vector<std::string>{"100 112 \"ŷ\"", "100 134 \"ŷ\"", "100 156 \"ŷ\""}));
}

// ---------------------------------------------------------------------------------------------
// Fingering and ornaments

TEST(TabRenderer, LowNibbleFingeringMarks) {
  TabLine tab;
  for (uint16_t code = 1; code <= 11; ++code) {
    nChord* chord = tab.Add(3, {{1, 2}}, code == 1 ? 0 : 0);
    chord->notes.at(0)->fingering = code;
  }
  nChord* letter = tab.Add(3, {{1, 2}});
  letter->notes.at(0)->fingering = 13;  // 'i' as a label
  TabGoldenCases cases;
  cases.Add("fingering 1-11 and a finger letter", tab, 40);
  testing::ExpectGoldenLog("tab_fingering", cases.log);
}

// Twelve ornament kinds whose rows take the placement codes 0-11, on a staff and on a
// tablature.
void GiveOrnamentRowsEachPlacement(CInstrumentDlg& definition) {
  COrnamentTable& table = definition.ornaments.table;
  const size_t half = table.entriesPerGroup;
  for (size_t k = 0; k < 12; ++k) {
    table.at(k)->alignment = static_cast<int32_t>(k);
    table.at(half + k)->alignment = static_cast<int32_t>(k);
  }
}

TEST(TabRenderer, OrnamentPlacementsOnBothStaveTypes) {
  TabGoldenCases cases;
  TabLine tab;
  GiveOrnamentRowsEachPlacement(tab.definition);
  tab.Rebuild();
  StaffLine staff;
  GiveOrnamentRowsEachPlacement(staff.definition);
  staff.line = std::make_unique<CInstrument>(staff.definition);
  for (int k = 0; k < 12; ++k) {
    nChord* chord = tab.Add(3, {{1, 2}});
    chord->notes.at(0)->ornament = COrnamentProps::KindCode(k);
    staff.Voice(0).push_back(testing::Chord(3, {69}));
    staff.Voice(0).at(static_cast<size_t>(k))->notes.at(0)->ornament = COrnamentProps::KindCode(k);
  }
  cases.Add("tablature placements 0-11", tab, 45);
  cases.Add("staff placements 0-11", staff, 45);
  testing::ExpectGoldenLog("tab_ornaments", cases.log);
}

// A mark above or below its letter stands clear of the other letters of its chord and of the
// chord's flag, measured with the real faces.
TEST(TabRenderer, OrnamentsStandClearOfTheirChord) {
  struct Case {
    const char* what;
    std::initializer_list<CourseFret> notes;
    int course;  // the note that takes the mark
    int placement;
  };
  const Case cases[] = {
      {"above, under two letters on the courses above", {{0, 2}, {1, 3}, {2, 0}}, 2, 4},
      {"below, over a letter on the course below", {{0, 2}, {1, 3}}, 0, 3},
      {"on the bottom course, beside a letter above", {{4, 1}, {5, 0}}, 5, 4},
      {"above the top course, where the flag stands", {{0, 2}, {1, 0}}, 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TabLine tab;
    GiveOrnamentRowsEachPlacement(tab.definition);
    tab.Rebuild();
    nChord* chord = tab.Add(3, c.notes);
    for (const auto& note : chord->notes) {
      if (note->string == c.course) note->ornament = COrnamentProps::KindCode(c.placement);
    }
    RecordingDevice dc(96, true, PangoTextEngine::Shared());
    InkCollisions ink;
    dc.SetInkObserver(&ink);
    tab.DrawOn(dc, 40, {100, 100, 700, 300}, 60);
    size_t marks = 0;
    for (const auto& box : ink.Boxes()) marks += box.source == InkSource::kOrnament ? 1 : 0;
    EXPECT_EQ(marks, 1u);
    for (const auto& collision : ink.Find(0.3 * 96 / 25.4)) ADD_FAILURE() << InkCollisions::Describe(collision);
  }
}

// ---------------------------------------------------------------------------------------------
// Slurs, ties, slides and legato lines

void AddSlurred(TabLine& tab, uint32_t slur, int course = 1) {
  nChord* chord = tab.Add(3, {{course, 0}});
  chord->notes.at(0)->slur = slur;
  tab.Add(3, {{course, 2}});
  tab.Add(3, {{course, 3}});
}

TEST(TabRenderer, SlursTiesSlidesAndLegatoLines) {
  TabGoldenCases cases;
  for (const uint32_t type : {1u, 2u, 13u}) {
    for (const bool below : {false, true}) {
      TabLine tab;
      AddSlurred(tab, (type << 8) | 1u | (below ? 0x80u : 0u));
      StaffLine staff;
      staff.Voice(0).push_back(testing::Chord(3, {67}));
      staff.Voice(0).at(0)->notes.at(0)->slur = (type << 8) | 1u | (below ? 0x80u : 0u);
      staff.Voice(0).push_back(testing::Chord(3, {69}));
      staff.Voice(0).push_back(testing::Chord(3, {71}));
      const std::string name = "slur type " + std::to_string(type) + (below ? " below" : " above");
      cases.Add(name + ", tablature", tab);
      cases.Add(name + ", staff", staff);
    }
  }
  {
    TabLine tab;
    tab.Add(3, {{2, 1}});
    nChord* tied = tab.Add(3, {{2, 1}});
    tied->notes.at(0)->slur = 0x800;
    nChord* alone = tab.Add(3, {{0, 5}});
    alone->notes.at(0)->slur = 0x800;  // nothing before it of that pitch: three spacings left
    cases.Add("ties with and without an earlier note", tab);
  }
  {
    TabLine tab;
    AddSlurred(tab, 0x701);
    AddSlurred(tab, 0xC01, 2);
    cases.Add("slides 7 and 12", tab);
  }
  testing::ExpectGoldenLog("tab_slurs", cases.log);
}

// A tie into a head with an accidental ends before the accidental; without one it reaches
// the head.
TEST(TabRenderer, ATieEndsBeforeTheAccidentalOfItsNote) {
  struct Items : InkObserver {
    std::vector<InkItem> items;
    void OnInk(const InkItem& item) override { items.push_back(item); }
    double Right(InkSource source) const {
      double right = -1e300;
      for (const InkItem& i : items) {
        if (i.source == source) right = std::max(right, i.right);
      }
      return right;
    }
    double Left(InkSource source) const {
      double left = 1e300;
      for (const InkItem& i : items) {
        if (i.source == source) left = std::min(left, i.left);
      }
      return left;
    }
  };
  double accidentalLeft = 0;
  for (const int tiedPitch : {61, 60}) {
    StaffLine staff;
    staff.Voice(0).push_back(testing::Chord(3, {60}));
    staff.Voice(0).push_back(testing::Chord(3, {tiedPitch}));
    staff.Voice(0).at(1)->notes.at(0)->slur = 0x800;
    Items ink;
    RecordingDevice dc(96, true);
    dc.SetInkObserver(&ink);
    staff.DrawOn(dc, 40, {100, 100, 500, 300}, 60);
    const double tieEnd = ink.Right(InkSource::kSlur);
    ASSERT_GT(tieEnd, 0) << tiedPitch;
    if (tiedPitch == 61) {
      accidentalLeft = ink.Left(InkSource::kAccidental);
      EXPECT_LT(tieEnd, accidentalLeft);
    } else {
      EXPECT_GT(tieEnd, accidentalLeft);
    }
  }
}

// A string legato whose span is not known yet learns it: the distance to the next note on
// its course, or 2 when there is none, stored in the note.
TEST(TabRenderer, StringLegatoLearnsItsSpan) {
  TabLine tab;
  nChord* first = tab.Add(3, {{1, 0}});
  first->notes.at(0)->slur = 0x300;
  tab.Add(3, {{0, 0}});
  tab.Add(3, {{1, 2}});
  nChord* last = tab.Add(3, {{3, 0}});
  last->notes.at(0)->slur = 0x400;
  TabGoldenCases cases;
  cases.Add("string legato, span learnt", tab);
  EXPECT_EQ(first->notes.at(0)->slur & 0x0F, 2u);  // the next note on course 2 two elements on
  EXPECT_EQ(last->notes.at(0)->slur & 0x0F, 2u);   // no later note on course 4
  testing::ExpectGoldenLog("tab_legato", cases.log);
}

// ---------------------------------------------------------------------------------------------
// Size marks and chord effects

TEST(TabRenderer, SizeMarkRunsAndChordEffects) {
  TabGoldenCases cases;
  {
    TabLine tab;
    for (int i = 0; i < 6; ++i) tab.Add(3, {{1, 2}});
    tab.Voice().at(1)->status = 0x50;  // a larger run from the second chord
    tab.Voice().at(3)->status = 0x50;  // ends at the fourth
    tab.Voice().at(4)->status = 0x60;  // a smaller run from the fifth
    cases.Add("size-mark runs", tab);
  }
  for (int kind = 0; kind <= 6; ++kind) {
    TabLine tab;
    StaffLine staff;
    for (const uint16_t sub : {uint16_t{1}, uint16_t{2}}) {
      const uint16_t dy = static_cast<uint16_t>((kind << 8) | sub | (1 << 2) | (2 << 4));
      tab.Add(4, {{0, 0}, {2, 2}, {4, 0}})->dy = dy;
      tab.Add(3, {{1, 0}});
      staff.Voice(0).push_back(testing::Chord(4, {72, 64, 55}));
      staff.Voice(0).back()->dy = dy;
      staff.Voice(0).push_back(testing::Chord(3, {67}));
    }
    // Bit 13 hides an effect.
    tab.Add(3, {{0, 0}, {3, 0}})->dy = static_cast<uint16_t>((kind << 8) | 1 | 0x2000);
    if (kind == 4) {
      // A broken chord whose step passes the sixty-fourth is held at it.
      staff.Voice(0).push_back(testing::Chord(6, {72, 64}));
      staff.Voice(0).back()->dy = static_cast<uint16_t>((4 << 8) | 1 | (3 << 2));
    }
    cases.Add("chord effect " + std::to_string(kind) + ", tablature", tab, 60);
    cases.Add("chord effect " + std::to_string(kind) + ", staff", staff, 60);
  }
  testing::ExpectGoldenLog("tab_effects", cases.log);
}

}  // namespace
}  // namespace vornel
