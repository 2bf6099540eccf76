#pragma once
// The tracks of a MIDI file being imported: what each track holds (names, signature, key,
// tempo, note records and later signature changes) and the merge of the tracks chosen for
// import into one list of records.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "midi/strMidiNote.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

// A meta-event of a track kept with its time: a time signature (1: numerator, denominator), a
// key signature (2: signed accidentals, minor) or a tempo (3: beats per minute).
struct MidiMetaRecord {
  static constexpr uint8_t kTimeSignature = 1;
  static constexpr uint8_t kKeySignature = 2;
  static constexpr uint8_t kTempo = 3;
  uint8_t type = 0;
  uint32_t time = 0;  // ticks of the file
  int32_t a = 0;
  int32_t b = 0;
  bool operator==(const MidiMetaRecord&) const = default;
};

class TrackInfo {
 public:
  // Marks of the track chooser.
  static constexpr int kImport = 2;
  static constexpr int kSkip = 1;

  std::string name;
  std::string instrumentText = "Default";
  std::string thirdText;  // the track's text of type 5 (lyrics)
  int32_t tempo = 0;      // beats per minute, 0 = none
  int32_t numerator = -1;  // -1 = none
  int32_t denominator = -1;
  bool hasKey = false;
  int32_t keyAccidentals = 0;  // sharps positive, flats negative
  int32_t keyMinor = 0;
  bool multiChannel = false;  // its records use more than one channel
  int32_t noteCount = 0;
  int32_t program = -1;  // the first program change, -1 = none
  size_t dataStart = 0;   // file offset of the track's events
  size_t dataLength = 0;
  uint8_t runningStatus = 0;
  bool ended = false;    // the end-of-track event was read
  uint64_t runningTime = 0;
  strMidiBuffer notes;   // channel events (control changes removed)
  std::vector<MidiMetaRecord> metaRecords;  // signature, key and tempo changes after the first
  std::vector<uint16_t> values;             // the list of meta-event 0x10
  int mark = kImport;
  int32_t choice = -1;   // the chosen instrument definition, -1 = the default
  std::array<int32_t, 16> channelCounts{};

  bool HasNotes() const { return noteCount > 0; }
};

class nTrackArray : public OwnedArray<TrackInfo> {
 public:
  strMidiBuffer merged;
  // What the merged buffer takes from the first track that has them.
  int32_t tempo = 120;
  int32_t numerator = 4;
  int32_t denominator = 4;
  int32_t keyAccidentals = 0;
  int32_t keyMinor = 0;
  // Later signature, key and tempo changes of the merged tracks, in time order.
  std::vector<MidiMetaRecord> metaRecords;

  // The first track's tempo above 0, else 120.
  int32_t GetTempo() const;
  // The first track's signature, else 4/4.
  void GetTimeSignature(int32_t& num, int32_t& den) const;
  // The first track's key, else none (0, major).
  void GetKeySignature(int32_t& accidentals, int32_t& minor) const;

  // For each track marked for import, the next chosen value (1-based, as the chooser counts)
  // minus 1 becomes its instrument choice.
  void ApplyTrackChoices(const std::vector<int32_t>& choices);
  // Moves the records of every track marked for import into the merged buffer, in track order,
  // sorted by time; takes tempo, signature and key. Returns the number of note-ons merged.
  size_t MergeTrackBuffers();
};

}  // namespace vornel
