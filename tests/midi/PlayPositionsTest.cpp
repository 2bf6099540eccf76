// The bar positions a play reports: whole systems and bars, however far into a long section
// (the stream's word has room for only a byte of each; it carries the position's index).

#include <gtest/gtest.h>

#include "midi/MidiStreamEvents.h"
#include "midi/play/MidiOutStream.h"
#include "midi/strMidiNote.h"

namespace vornel {
namespace {

TEST(PlayPositions, WholeSystemsAndBarsBeyondAByte) {
  strMidiBuffer buffer;
  const MidiPlayPosition marked[] = {{3, 7}, {300, 1000}, {70000, 256}};
  uint32_t time = 0;
  for (const MidiPlayPosition& p : marked) {
    strMidiNote& marker = buffer.AddRecord(strMidiNote::kBarMarker, time, static_cast<uint8_t>(p.system),
                                           static_cast<uint8_t>(p.bar), 0);
    marker.markerSystem = p.system;
    marker.markerBar = p.bar;
    buffer.AddNote(time, 60, 64, 96, 0);
    time += 192;
  }
  std::vector<MidiPlayPosition> positions;
  const std::vector<MidiStreamEvent> events = ReadStreamEvents(WriteStreamEvents(buffer, &positions));
  ASSERT_EQ(positions, (std::vector<MidiPlayPosition>(std::begin(marked), std::end(marked))));
  // Each marker's word names its place in the list.
  std::vector<uint32_t> indices;
  for (const MidiStreamEvent& e : events) {
    if ((e.word & 0xFF000000u) == kMidiStreamPosition) indices.push_back(e.word & 0xFFFFFF);
  }
  EXPECT_EQ(indices, (std::vector<uint32_t>{0, 1, 2}));
  // A player that listed nothing reads the word's own low bytes.
  MidiOutStream player;
  const std::optional<MidiPlayPosition> own = player.ReportedPosition(kMidiStreamPosition | (5u << 16) | 9u);
  ASSERT_TRUE(own.has_value());
  EXPECT_EQ(*own, (MidiPlayPosition{5, 9}));
}

}  // namespace
}  // namespace vornel
