// Directions on a staff: words and dynamics over and under it, hairpins, pedal marks, the
// symbols of common and cut time and the hyphens of lyrics, drawn into the recording device
// (tests/view/golden/staff_directions.log, checked by hand once) and checked for ink drawn
// over other ink.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GoldenLog.h"
#include "StaffFixtures.h"
#include "model/events/CMetaEvent.h"
#include "platform/draw/InkCollisions.h"

namespace vornel {
namespace {

using testing::Chord;
using testing::StaffLine;

// Line offsets under the staff (value bits 8-15, sign and magnitude): a caption's, a dynamic's.
constexpr uint32_t kCaptionUnder = 7u << 8;
constexpr uint32_t kDynamicUnder = (0x80u | 7u) << 8;

void Mark(nChord& chord, uint8_t kind, const std::string& text, uint32_t value, int32_t cy) {
  chord.metaEvents.push_back(std::make_unique<CMetaEvent>(kind, text, value, 0, cy));
}

void Signature(nChordArray& voice, int32_t numerator, int32_t denominator) {
  nChord* event = voice.AppendTimeSignature(numerator, denominator);
  event->metaEvents.Find(CMetaEvent::kTimeSignature)->value |= 8;
}

const std::vector<testing::NamedStave>& DirectionStaves() {
  static const std::vector<testing::NamedStave> staves = {
      // Words and a dynamic under a low note with a ledger line; a text over a high note's stem.
      {"words and dynamics over and under",
       [](nChordArray& v) {
         v.push_back(Chord(3, {60}));
         Mark(*v.back(), CMetaEvent::kCaption, "sempre dolce", kCaptionUnder, 0);
         Mark(*v.back(), CMetaEvent::kDynamics, "p", kDynamicUnder, (2 << 16) | 84);
         v.push_back(Chord(3, {81}));
         Mark(*v.back(), CMetaEvent::kCaption, "ritard.", 0, 0);
         v.push_back(Chord(3, {67}));
         Mark(*v.back(), CMetaEvent::kDynamics, "sfz", 0, 120);
         v.push_back(Chord(3, {64}));
       }},
      // A crescendo over three chords above, a diminuendo under, a pedal down over two.
      {"hairpins and a pedal",
       [](nChordArray& v) {
         v.push_back(Chord(3, {79}));
         Mark(*v.back(), CMetaEvent::kCrescendo, "", 3, 1);
         Mark(*v.back(), CMetaEvent::kDynamics, "pedal", kDynamicUnder | 2, (10 << 16) | 100);
         v.push_back(Chord(3, {84}));
         v.push_back(Chord(3, {60}));
         Mark(*v.back(), CMetaEvent::kCrescendo, "", 12u << 8 | 2, 0);
         v.push_back(Chord(3, {57}));
         v.push_back(Chord(3, {67}));
       }},
      // Common time, then cut time after a bar. Two verses: a hyphen stands between the
      // syllables of its verse, and after the last syllable of the line when its word goes on.
      {"common and cut time, hyphenated words",
       [](nChordArray& v) {
         Signature(v, 4, 4);
         v.push_back(Chord(1, {67}));
         Mark(*v.back(), CMetaEvent::kLyrics, "Tra-", 0, 0);
         Mark(*v.back(), CMetaEvent::kLyrics, "Glo-", 0, 0);
         v.push_back(Chord(1, {69}));
         Mark(*v.back(), CMetaEvent::kLyrics, "la", 0, 0);
         Mark(*v.back(), CMetaEvent::kLyrics, "ri-", 0, 0);
         v.push_back(testing::Bar());
         Signature(v, 2, 2);
         v.push_back(Chord(0, {67}));
         Mark(*v.back(), CMetaEvent::kLyrics, "Al-", 0, 0);
         Mark(*v.back(), CMetaEvent::kLyrics, "a", 0, 0);
       }},
      // Syllables wider than their columns: a syllable keeps the room of its hyphen, so the
      // next one drops a line rather than meet it, and the hyphen stays with its syllable.
      {"hyphens of crowded syllables",
       [](nChordArray& v) {
         v.push_back(Chord(2, {67}));
         Mark(*v.back(), CMetaEvent::kLyrics, "Hallelu-", 0, 0);
         v.push_back(Chord(2, {69}));
         Mark(*v.back(), CMetaEvent::kLyrics, "jah", 0, 0);
         v.push_back(Chord(2, {71}));
         Mark(*v.back(), CMetaEvent::kLyrics, "mmm-", 0, 0);
         v.push_back(Chord(2, {72}));
         Mark(*v.back(), CMetaEvent::kLyrics, "mm", 0, 0);
       }},
  };
  return staves;
}

TEST(StaffDirections, DirectionsStandClearOfTheStaveAndEachOther) {
  const std::string log = testing::DrawNamedStaves(DirectionStaves(), [](const std::string& name, const auto& c) {
    ADD_FAILURE() << name << ": " << InkCollisions::Describe(c);
  });
  testing::ExpectGoldenLog("staff_directions", log);
}

}  // namespace
}  // namespace vornel
