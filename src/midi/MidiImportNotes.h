#pragma once
// The merged records of a MIDI import made ready for tablature: rescaled to 192 ticks per
// quarter note, quantised, note-ons paired with their note-offs into notes with durations, and
// cut at the bar lines.

#include <cstdint>
#include <vector>

#include "midi/nTrackArray.h"
#include "midi/strMidiNote.h"

namespace vornel {

// Times later than this (ten thousand bars of 4/4) are not imported: a file cannot make a
// section of millions of bars.
inline constexpr uint32_t kMidiMaxImportTicks = 768u * 10000u;
// The quantiser's grid is 6 << level ticks; level 3 is the sixteenth note.
inline constexpr int kMidiDefaultQuantizeLevel = 3;
inline constexpr int kMidiMaxQuantizeLevel = 5;

// One time moved onto the grid of 6 << level ticks, or onto the triplet grid when it is on it
// already; within a quarter note a time off the grid goes to the start, the middle or the
// end of its part of the quarter (see the .cpp).
uint32_t QuantizeMidiTime(uint32_t t, int level);
// Every time of the buffer quantised.
void QuantizeMidiBuffer(strMidiBuffer& buffer, int level);
// Times from the file's division to 192 ticks per quarter, halves rounded up; records that
// land after kMidiMaxImportTicks are dropped.
void RescaleMidiBuffer(strMidiBuffer& buffer, uint32_t division);
void RescaleMidiMetaRecords(std::vector<MidiMetaRecord>& records, uint32_t division);
// Each note-on takes as its duration the time to the next note-off of the same channel and
// key after it, and that note-off is removed; a note-on without one keeps a duration of 0.
// Then every record that is not a note-on is removed.
void PairMidiNotes(strMidiBuffer& buffer);
// An empty record (kind 0, key 0) at the first and at the last bar line that fall strictly
// between two records, so that no chord or rest of the tablature runs into a bar from before
// it; the whole bars between them are rests. Absolute times.
void CutMidiBufferAtBars(strMidiBuffer& buffer, uint32_t barTicks);
// All of the above in order, ending with the times turned into deltas.
void PrepareImportedMidiNotes(strMidiBuffer& buffer, uint32_t division, int level, uint32_t barTicks);

}  // namespace vornel
