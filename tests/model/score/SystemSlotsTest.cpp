// The columns the voices of a system share: chords of one time in one column, the bar lines of
// a bar in one column, changes of clef before the chords of their time, blank entries between
// their neighbours, engraved widths that grow with the wait for the next chord.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "model/score/SystemSlots.h"
#include "model/voice/nChord.h"

namespace vornel {
namespace {

// A voice from a pattern: 1 whole, 2 half, 4 quarter, 8 eighth, 6 sixteenth (a dotted value
// with a following '.'), '|' a bar line, 'c' a change of clef, '_' a blank entry.
struct Pattern {
  std::vector<std::unique_ptr<nChord>> owned;
  SlotVoice voice;
  explicit Pattern(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '_') {
        voice.events.push_back(nullptr);
        continue;
      }
      std::unique_ptr<nChord> e;
      if (c == '|') e = std::make_unique<nChord>(nChord::kBarLine);
      if (c == 'c') e = std::make_unique<nChord>(uint16_t{0x92});
      if (e == nullptr) {
        const uint16_t rhythm = c == '1' ? 1 : c == '2' ? 2 : c == '4' ? 3 : c == '8' ? 4 : 5;
        const bool dotted = i + 1 < text.size() && text[i + 1] == '.';
        e = std::make_unique<nChord>(nChord::kChord, static_cast<uint16_t>(rhythm | (dotted ? 8 : 0)));
        if (dotted) ++i;
      }
      voice.events.push_back(e.get());
      owned.push_back(std::move(e));
    }
  }
};

SystemSlots Lay(const std::vector<Pattern*>& patterns, SlotSpacing spacing) {
  std::vector<SlotVoice> voices;
  for (const Pattern* p : patterns) voices.push_back(p->voice);
  return LaySystemSlots(voices, spacing);
}

TEST(SystemSlots, WhatSoundsTogetherSharesAColumn) {
  struct Case {
    const char* name;
    const char* first;
    const char* second;
    // Pairs of event indices (first voice, second voice) that share a place.
    std::vector<std::pair<size_t, size_t>> together;
  };
  const Case cases[] = {
      {"eighths over a dotted half and a quarter", "88888888|88888888", "2.4|1", {{0, 0}, {6, 1}, {8, 2}, {9, 3}}},
      {"a change of clef the other voice lacks", "4444|4444", "c4444|4444", {{0, 1}, {3, 4}, {4, 5}, {5, 6}}},
      {"a bar one voice leaves short", "44|4444", "4444|4444", {{2, 4}, {3, 5}, {6, 8}}},
      {"blank entries take no column", "4_4_4_4|", "4444|", {{0, 0}, {2, 1}, {4, 2}, {7, 4}}},
  };
  for (const Case& c : cases) {
    Pattern a(c.first);
    Pattern b(c.second);
    const SystemSlots slots = Lay({&a, &b}, SlotSpacing::kEngraved);
    for (const auto& [i, j] : c.together) {
      EXPECT_EQ(slots.places[0].at(i), slots.places[1].at(j)) << c.name << ": " << i << " and " << j;
    }
    for (const auto& places : slots.places) {
      EXPECT_TRUE(std::is_sorted(places.begin(), places.end())) << c.name;
    }
  }
}

TEST(SystemSlots, BlankEntriesStandBetweenTheirNeighbours) {
  Pattern a("4__4");
  Pattern b("8888888");
  const SystemSlots slots = Lay({&a, &b}, SlotSpacing::kEngraved);
  const std::vector<int64_t>& p = slots.places[0];
  EXPECT_LT(p[0], p[1]);
  EXPECT_LT(p[1], p[2]);
  EXPECT_LT(p[2], p[3]);
  EXPECT_EQ(p[3], slots.places[1][2]);
}

TEST(SystemSlots, AVoiceWithoutBarLinesTakesTheBarsOfTheOther) {
  Pattern barred("2.4|44|4444");
  Pattern free("1444");
  const SystemSlots slots = Lay({&barred, &free}, SlotSpacing::kEngraved);
  // The whole note fills the first bar; its quarters meet the third bar's first three.
  EXPECT_EQ(slots.places[1][0], slots.places[0][0]);
  EXPECT_EQ(slots.places[1][1], slots.places[0][3]);
  EXPECT_EQ(slots.places[1][2], slots.places[0][4]);
}

TEST(SystemSlots, EngravedColumnsGrowWithTheWaitAndTablatureKeepsAColumnToAChord) {
  constexpr int32_t kColumn = SystemSlots::kUnitsPerColumn;
  // A quarter's wait takes three quarters of a column; a half about a third more, a sixteenth
  // a little more than two fifths; every wait has a column of at least a third.
  EXPECT_EQ(ChordColumnUnits(192), kColumn * 3 / 4);
  EXPECT_EQ(ChordColumnUnits(384), 16);
  EXPECT_EQ(ChordColumnUnits(48), 7);
  EXPECT_EQ(ChordColumnUnits(0), ChordColumnUnits(1));
  EXPECT_GE(ChordColumnUnits(0), kColumn / 3);

  Pattern a("2.4|");
  Pattern b("4444|");
  const SystemSlots engraved = Lay({&a, &b}, SlotSpacing::kEngraved);
  EXPECT_EQ(engraved.places[1], (std::vector<int64_t>{0, 12, 24, 36, 48}));
  EXPECT_EQ(engraved.end, 48 + kColumn * 3 / 8);
  // As tablature, a column to a chord, and a bar line a column and a half: the columns a voice
  // alone is drawn in.
  const SystemSlots tablature = Lay({&a, &b}, SlotSpacing::kTablature);
  EXPECT_EQ(tablature.places[1], (std::vector<int64_t>{0, 16, 32, 48, 64}));
  EXPECT_EQ(tablature.end, 64 + kColumn * 3 / 2);
}

TEST(SystemSlots, ChordsKeepTheirInkClearOfTheChordBefore) {
  Pattern a("4444|");
  Pattern b("1|");
  a.voice.reach.assign(a.voice.events.size(), {0, 0});
  a.voice.reach[0] = {0, 30};  // a long syllable
  a.voice.reach[1] = {5, 0};
  const SystemSlots slots = Lay({&a, &b}, SlotSpacing::kEngraved);
  EXPECT_EQ(slots.places[0][1] - slots.places[0][0], 35);
  // The columns after it keep their own widths.
  EXPECT_EQ(slots.places[0][2] - slots.places[0][1], 12);
}

}  // namespace
}  // namespace vornel
