#pragma once
// The columns the voices of a system share. Every event of every voice stands in the column of
// its time: chords that start together stand one above the other whatever else the voices
// hold, the bar lines of a bar share one column at its end, and a change of signature or clef
// takes a column of its own before the chords of its time. A column is as wide as the widest
// of its events needs; a chord's column is wider the longer the music waits for the next one,
// as engravers space notes. Widths are in units, kUnitsPerColumn to a column of the page's
// column width.

#include <cstdint>
#include <utility>
#include <vector>

#include "model/instrument/CClef.h"

namespace vornel {

class CTabInstrument;
class nChord;

// The room the columns give after an event beyond its own column, in half columns: half after
// a bar line when the instrument shows bar lines, half after a special event, a whole column
// more after a bar line standing for a rest of several bars and after one that shows a time
// signature.
int32_t ExtraHalfColumnsAfter(const nChord& e, bool halfColumnBars);

// One voice as the system shows it: its entries in order (null for a blank entry), and whether
// its instrument shows bar lines.
struct SlotVoice {
  std::vector<const nChord*> events;
  bool halfColumnBars = true;
  // How far each event's ink reaches left and right of its place, in units (empty: nothing
  // to keep clear). A chord stands far enough from the chord before it in its voice for their
  // ink not to meet (a lyric's syllable, the digits of a fret).
  std::vector<std::pair<int32_t, int32_t>> reach;
};

// How the columns are measured: engraved, a chord's column as long as the wait for the next and a
// bar line's as narrow as the room before the next bar; or as tablature is written, every chord
// a column and every bar line a column and the room after it.
enum class SlotSpacing { kEngraved, kTablature };

// Staff notation, percussion and tablature with modern flags are spaced as engravers space
// notes; a system of other tablature alone keeps a column to a chord, as tablature is written.
bool SpacedAsEngraved(const CClef& stave, const CTabInstrument* tablature);
inline bool SpacedAsEngraved(const CClef& stave) { return SpacedAsEngraved(stave, stave.tabInstrument); }

struct SystemSlots {
  static constexpr int32_t kUnitsPerColumn = 16;
  // Each voice's events' places in units from the first column, never decreasing along the
  // voice (a blank entry stands between its neighbours: it is only a place for the caret).
  std::vector<std::vector<int64_t>> places;
  // The start of each column, ascending, and where the last one ends.
  std::vector<int64_t> starts;
  int64_t end = 0;
};

// The shared columns of `voices`. Voices are matched bar by bar (a voice without bar lines by
// time against the voice with the most), so that a bar one voice fills short of its length
// does not put the bars after it out of step.
SystemSlots LaySystemSlots(const std::vector<SlotVoice>& voices, SlotSpacing spacing);

// The width in units of an engraved chord's column when the next column of its bar comes
// `ticks` later: a quarter note's wait gives three quarters of a column, each doubling about a
// third more, each halving about a quarter less, within a third of a column and two columns.
int32_t ChordColumnUnits(uint64_t ticks);

// The width in units of an engraved bar line's column: the room before the next bar's first
// event (three eighths of a column), with a column more for a rest of several bars, which
// stands a column after the column's start, and a column more when the bar line shows a time
// signature.
int32_t BarColumnUnits(const nChord& bar);
// How far right of its column's start a bar line stands.
int32_t BarOffsetUnits(const nChord& bar);

}  // namespace vornel
