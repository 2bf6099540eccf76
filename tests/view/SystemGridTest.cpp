// The columns the lines of a system share when it is drawn: chords of one time one above the
// other on every staff, bar lines in line, room for long syllables, and a system of tablature
// alone keeping a column to a chord.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "GoldenLog.h"
#include "document/CPageDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChord.h"
#include "platform/draw/RecordingDevice.h"
#include "view/draw/DrawContext.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/SystemDrawing.h"

namespace vornel {
namespace {

// A chord of one note; rhythm 2 half, 3 quarter, 4 eighth, with 8 for a dot.
std::unique_ptr<nChord> GridNote(uint16_t rhythm, uint8_t pitch = 67) {
  auto chord = std::make_unique<nChord>(nChord::kChord, rhythm);
  auto note = std::make_unique<nNotes>();
  note->pitch = pitch;
  chord->AddNote(std::move(note));
  return chord;
}

// A section of one system of two staves of notation: the first runs in eighths, the second
// holds a dotted half and a quarter, in each of `bars` bars.
std::unique_ptr<CSystemArray> ShortOverLong(int bars) {
  auto section = std::make_unique<CSystemArray>();
  section->Definition(0)->ApplyNotationPreset(2);
  section->Definition(0)->staves.at(0)->oldStyle = 0;
  auto second = std::make_unique<CInstrumentDlg>();
  second->CopyFrom(*section->Definition(0));
  section->AddInstrument(std::move(second));
  section->DeleteAllSystems();
  CStaveArray& system = *section->NewSystem(CSystemArray::kAppend);
  for (int b = 0; b < bars; ++b) {
    for (int k = 0; k < 8; ++k) system.Line(0)->firstVoice.push_back(GridNote(4, static_cast<uint8_t>(67 + k % 5)));
    system.Line(0)->firstVoice.push_back(std::make_unique<nChord>(nChord::kBarLine));
    system.Line(1)->firstVoice.push_back(GridNote(2 | 8, 60));
    system.Line(1)->firstVoice.push_back(GridNote(3, 62));
    system.Line(1)->firstVoice.push_back(std::make_unique<nChord>(nChord::kBarLine));
  }
  section->NumberBars(0);
  return section;
}

struct GridScope {
  PageDrawSettings settings;
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed{renderer};
};

const std::vector<uint32_t>& GridPlaces(const CStaveArray& system, size_t line) {
  return system.Line(line)->staves.at(0)->LastDrawn().voicePositions[0];
}

TEST(SystemGrid, ShortNotesOverLongOnesShareTheirColumns) {
  GridScope scope;
  CPageDlg page;
  auto section = ShortOverLong(2);
  CStaveArray& system = *section->System(0);
  RecordingDevice dc(96, true);
  const DrawContext context(dc, scope.settings);
  DrawSystem(system, dc, page, 0, 100, 100, 700, 1000);
  const std::vector<uint32_t>& eighths = GridPlaces(system, 0);
  const std::vector<uint32_t>& longer = GridPlaces(system, 1);
  // Each bar: eighths 0-7 and the bar line 8; a dotted half 0, a quarter 1 and the bar line 2.
  for (size_t bar = 0; bar < 2; ++bar) {
    EXPECT_EQ(longer[3 * bar], eighths[9 * bar]) << "bar " << bar;
    EXPECT_EQ(longer[3 * bar + 1], eighths[9 * bar + 6]) << "bar " << bar;
    EXPECT_EQ(longer[3 * bar + 2], eighths[9 * bar + 8]) << "bar " << bar;
  }
  // The eighths stand evenly (to a pixel: each place is rounded on its own), nine units of a
  // column of sixteen apart; the first chord keeps clear of the system's start.
  EXPECT_NEAR(double(eighths[1] - eighths[0]), 9 * 38 / 16.0, 1.0);
  EXPECT_NEAR(double(eighths[2] - eighths[1]), 9 * 38 / 16.0, 1.0);
  EXPECT_GT(eighths[0], 100u);
  testing::ExpectGoldenLog("system_grid", dc.Log());
}

TEST(SystemGrid, LongSyllablesPushTheirChordsApart) {
  GridScope scope;
  CPageDlg page;
  auto section = ShortOverLong(1);
  CStaveArray& system = *section->System(0);
  RecordingDevice dc(96, true);
  const DrawContext context(dc, scope.settings);
  DrawSystem(system, dc, page, 0, 100, 100, 700, 1000);
  const uint32_t plain = GridPlaces(system, 0)[1] - GridPlaces(system, 0)[0];
  system.Line(0)->firstVoice.at(0)->SetLyric("Wunderschönen");
  DrawSystem(system, dc, page, 0, 100, 100, 700, 1000);
  const uint32_t apart = GridPlaces(system, 0)[1] - GridPlaces(system, 0)[0];
  EXPECT_GT(apart, plain);
  // The other line keeps in step.
  EXPECT_EQ(GridPlaces(system, 1)[1], GridPlaces(system, 0)[6]);
}

}  // namespace
}  // namespace vornel
