#pragma once
// A Standard MIDI File turned into tablature: the tracks chosen for import, each (or all of
// them merged) made into an instrument definition with its voice, in a section of its own.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "midi/CIMidiDoc.h"
#include "midi/MidiImportNotes.h"

namespace vornel {

class CInstrumentArray;
class CInstrumentDlg;
class CSystemArray;

struct MidiImportOptions {
  int quantizeLevel = kMidiDefaultQuantizeLevel;
  int32_t numerator = 4;
  int32_t denominator = 4;
  int32_t tempo = 120;
  int32_t keyAccidentals = 0;  // sharps positive, flats negative
  int32_t keyMinor = 0;
  bool mergeTracks = false;   // one instrument made of every chosen track
  bool retainPatches = true;  // a track's program becomes its definition's patch
  bool newSection = true;     // a section of its own, else the lines join the active section
};

// Chooses the tracks to import (their marks and instrument choices) and the import's values.
// The window layer puts the "Imported Midi tracks" dialog behind it.
class MidiTrackChooser {
 public:
  virtual ~MidiTrackChooser() = default;
  // `options` comes with the file's signature, tempo and key; false when the user cancels.
  virtual bool Choose(CIMidiDoc& doc, MidiImportOptions& options) = 0;
};

// Imports every track that has notes, with the file's values and the default instrument.
class AllTracksChooser : public MidiTrackChooser {
 public:
  bool Choose(CIMidiDoc& doc, MidiImportOptions& options) override;
};

// The voice of a definition's first gathered list from prepared records (delta times, note
// durations): a chord for each time, the rest of the time as rests, notes on the courses the
// tablature instrument finds for them (none below its lowest course), the later signatures
// of `metas` (in the same time) as time-signature events where they fall. The definition's
// tuning comes from the track's list of course pitches when it has a usable one.
void ConvertMidiTrackToVoice(const strMidiBuffer& records, const std::vector<MidiMetaRecord>& metas,
                             const std::vector<uint16_t>& coursePitches, CInstrumentDlg& definition);

// Adds the chosen tracks of `doc` to `section` as instrument lines; the section takes the
// options' signature, tempo and key. `base` (may be null) holds the definitions that tracks
// can choose; the others copy `defaultDefinition`. Returns the number of lines added.
size_t ImportMidiTracks(CIMidiDoc& doc, const MidiImportOptions& options, const CInstrumentArray* base,
                        const CInstrumentDlg& defaultDefinition, CSystemArray& section);

// The whole import: reads the file, asks the chooser, and builds a new section titled by the
// file. Null when nothing was imported (the reason has been shown: the file could not be read,
// no track of it holds a note, the choice was cancelled, "No data available for import in
// selected tracks", or "No data was imported"). A damaged file imports the events before its
// fault, and a warning names the file and the fault.
std::unique_ptr<CSystemArray> ImportMidiFile(const std::string& path, MidiTrackChooser& chooser,
                                             const CInstrumentArray* base, const CInstrumentDlg& defaultDefinition);
// The same, where the chooser may ask for the lines to join `current` instead of a section of
// their own: then they are added to it, `joined` is set and the result is null.
std::unique_ptr<CSystemArray> ImportMidiFile(const std::string& path, MidiTrackChooser& chooser,
                                             const CInstrumentArray* base, const CInstrumentDlg& defaultDefinition,
                                             CSystemArray* current, bool& joined);

}  // namespace vornel
