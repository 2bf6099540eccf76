#pragma once
// The tracks of the Standard MIDI File of a section: the header with the title track, one
// track per instrument line built from the same event records as playback, and the metronome
// track.

#include <cstdint>
#include <string_view>

#include "midi/MidiFile.h"
#include "midi/strMidiNote.h"

namespace vornel {

// Where the controllers of a line are repeated for its echo.
struct MidiEcho {
  bool on = false;
  uint8_t channel = 8;
};

class MidiFileTrack {
 public:
  static constexpr uint8_t kMetronomeKey = 81;
  static constexpr uint8_t kMetronomeVelocity = 80;
  static constexpr uint8_t kMetronomeVolume = 0x78;

  // The header of a format-1 file announcing `tracks` + 1 tracks, then the title track with
  // "Title = " and "Author = " texts.
  static void WriteHeaderAndTitle(MidiFile& file, uint16_t tracks, std::string_view title, std::string_view author);

  // The voice events of a line (absolute times, note-offs included) as track events; with
  // `expandRepeats` each repeated passage is written again after its closing repeat sign.
  // Returns the ticks written.
  static uint64_t WriteEvents(MidiFile& file, const strMidiBuffer& records, const MidiEcho& echo, bool expandRepeats);

  // The metronome track: a click per beat for `totalTicks` on its channel, within the bounds of
  // MetronomeClickTicks and MaxMetronomeClicks for music of `events` events.
  static void WriteMetronome(MidiFile& file, uint64_t totalTicks, uint32_t beatTicks, uint8_t channel = 9,
                             uint8_t key = kMetronomeKey, uint64_t events = UINT64_MAX / 128);

  // The records of `records` with every repeated passage written out again after its closing
  // repeat sign, and no repeat signs left. Absolute times.
  static strMidiBuffer ExpandRepeats(const strMidiBuffer& records);
};

}  // namespace vornel
