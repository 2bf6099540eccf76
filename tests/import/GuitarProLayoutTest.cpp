// Guitar Pro files of versions 3, 4 and 5 written by hand, byte by byte, from the format's
// published description (tests/import/layouts/handmade.gp*.txt), not by the tests' own
// writer: each has a note without a fret byte (it carries only effects) between notes that
// have one, so a reader that expects a fret there falls out of step with the file.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string_view>
#include <utility>
#include <string>
#include <vector>

#include "document/CBriotabDoc.h"
#include "import/guitarpro/GuitarProDoc.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

// The bytes of a layout text: hex bytes, "ASCII text", "*N" before a line's bytes for N
// copies of them, "#" up to the line end a comment.
std::vector<uint8_t> LayoutBytes(const std::string& name) {
  std::ifstream in(std::string(VORNEL_SOURCE_DIR) + "/tests/import/layouts/" + name);
  EXPECT_TRUE(in.good()) << name;
  std::vector<uint8_t> bytes;
  std::string line;
  while (std::getline(in, line)) {
    std::vector<uint8_t> piece;
    size_t copies = 1;
    size_t i = 0;
    while (i < line.size() && line[i] != '#') {
      const char c = line[i];
      if (c == ' ') {
        ++i;
      } else if (c == '"') {
        const size_t close = line.find('"', i + 1);
        piece.insert(piece.end(), line.begin() + static_cast<std::ptrdiff_t>(i + 1),
                     line.begin() + static_cast<std::ptrdiff_t>(close));
        i = close + 1;
      } else if (c == '*') {
        const size_t end = line.find(' ', i);
        copies = std::stoul(line.substr(i + 1, end - i - 1));
        i = end;
      } else {
        piece.push_back(static_cast<uint8_t>(std::stoul(line.substr(i, 2), nullptr, 16)));
        i += 2;
      }
    }
    for (size_t k = 0; k < copies; ++k) bytes.insert(bytes.end(), piece.begin(), piece.end());
  }
  return bytes;
}

struct ReadNote {
  int string;
  int fret;
  uint32_t flags;
  bool operator==(const ReadNote&) const = default;
};

class GuitarProLayoutTest : public ::testing::TestWithParam<const char*> {};

TEST_P(GuitarProLayoutTest, ANoteWithoutAFretByteLeavesTheFileInStep) {
  gp_import reader;
  ASSERT_TRUE(reader.readBytes(LayoutBytes(GetParam())))
      << reader.failureStep() << " at " << reader.failureOffset() << ": " << reader.failure();
  EXPECT_EQ(reader.numBars, 2);
  ASSERT_EQ(reader.song.tracks.size(), 1u);
  EXPECT_EQ(reader.song.tempo, 100);
  EXPECT_EQ(reader.songBars.at(1).markerName, "B");
  const TabTrack& track = *reader.song.tracks[0];
  EXPECT_EQ(track.name, "Guitar");
  EXPECT_EQ(track.program, 24);
  std::vector<std::vector<ReadNote>> beats;
  for (const TabColumn& column : track.columns) {
    if (column.voice != 0) continue;
    std::vector<ReadNote> notes;
    for (const TabNote& note : column.notes) notes.push_back({note.string, note.fret, note.flags});
    beats.push_back(notes);
  }
  // The second beat's note and the last beat's second note have no fret byte: open strings.
  const uint32_t last = std::string(GetParam()) == "handmade.gp3.txt" ? TabNote::kLegato
                                                                       : TabNote::kLegato | TabNote::kStaccato;
  const std::vector<std::vector<ReadNote>> expected = {
      {{0, 3, 0}}, {{1, 0, TabNote::kLetRing}}, {{4, 2, 0}, {5, 3, 0}}, {}, {{0, 5, 0}, {5, 0, last}}};
  EXPECT_EQ(beats, expected);

  // Imported: every note at its pitch; a dynamic where the level changes (f is the level of
  // a note that names none).
  GuitarProDoc doc;
  ASSERT_TRUE(doc.reader().readBytes(LayoutBytes(GetParam())));
  const std::unique_ptr<CSystemArray> section = doc.BuildSection();
  GuitarProDoc::FinishSection(*section);
  std::vector<std::vector<int>> pitches;
  std::vector<std::pair<size_t, int>> dynamics;  // chord, level index
  for (const auto& e : section->GatherVoice(0, 0, 0, 0).gathered[0]) {
    if (e == nullptr || !e->IsChord() || e->notes.empty()) continue;
    std::vector<int> chord;
    for (const auto& note : e->notes) chord.push_back(note->pitch);
    pitches.push_back(chord);
    for (const auto& event : e->metaEvents) {
      if (event->kind == CMetaEvent::kDynamics) dynamics.emplace_back(pitches.size(), event->cy >> 16);
    }
  }
  EXPECT_EQ(pitches, (std::vector<std::vector<int>>{{67}, {59}, {43, 47}, {40, 69}}));
  EXPECT_EQ(dynamics, (std::vector<std::pair<size_t, int>>{{3, 6}, {4, 5}}));
}

TEST(GuitarProLayoutTest, ARefusalSaysWhereTheFileEndsAndWhy) {
  std::vector<uint8_t> bytes = LayoutBytes("handmade.gp5.txt");
  bytes.resize(400);  // within the MIDI channels
  testing::TempDir dir;
  testing::WriteText(dir.File("cut.gp5"), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  testing::ScriptedPrompts prompts;
  CBriotabDoc document;
  GuitarProDoc doc;
  doc.target = &document;
  EXPECT_FALSE(doc.ImportInto(dir.File("cut.gp5")));
  EXPECT_TRUE(document.sections.empty());
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{std::string(GuitarProDoc::kCannotImport) +
                                                        "\n\ncut.gp5: readTrackDefaults at offset 398: end of file"}));
}

INSTANTIATE_TEST_SUITE_P(Versions, GuitarProLayoutTest,
                         ::testing::Values("handmade.gp3.txt", "handmade.gp4.txt", "handmade.gp5.txt"));

}  // namespace
}  // namespace vornel
