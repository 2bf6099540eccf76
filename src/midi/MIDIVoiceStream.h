#pragma once
// Builds the timed MIDI event records of an instrument line from its voices: notes with their
// velocities, ornaments realised as grace notes, ties, octave doubling of the bass courses,
// echo notes, controller and tempo changes from the chords' meta-events, repeat signs, bar
// markers for the playback cursor. Playback and the MIDI file writer read the same records.

#include <cstdint>
#include <map>

#include "midi/strMidiNote.h"
#include "model/instrument/CKey.h"

namespace vornel {

class CMetaEvent;
class nChord;
class nChordArray;
class nNotes;

// What the builder reads of an instrument definition and its MIDI settings.
struct MidiVoiceSettings {
  int32_t transpose = 0;  // half steps
  uint8_t velocity = 64;  // main-channel velocity
  int32_t equalizer = 0;  // depth of the velocity curve over the keyboard
  int32_t dynamicAmplitude = 10;  // percent of accent on bars and beats
  bool ornamentsPlayed = true;
  bool mergeVoices = false;
  bool mute = false;
  bool percussion = false;
  int currentVoice = 0;  // the voice played alone (0 or 1)
  bool octaveOn = false;
  int32_t octaveString = 0;  // first course doubled an octave higher
  int32_t octaveDelay = 0;
  int32_t octaveVelocity = 40;
  bool echoOn = false;
  uint8_t echoChannel = 8;
  int32_t echoDelay = 30;
  int32_t echoOctave = 0;  // signed octaves
  CKey key;                // spells the neighbours of ornaments
};

// Controller code and signed value of a MIDI-controller meta-event: the code in bits 16-23 of
// the value word, the value in its low 16 bits.
int MidiControllerCode(const CMetaEvent& event);
int MidiControllerValue(const CMetaEvent& event);
uint32_t PackMidiController(int code, int value);

// The ornament parameters a grace-note meta-event gives the note it belongs to: the signed
// diatonic step to the neighbour (the grace-notes dialog's start offset) and the group's flags,
// whose key rotations spell the neighbour in another key.
struct GraceParameters {
  int step = 0;
  uint32_t flags = 0;
};
GraceParameters GraceParametersOf(const CMetaEvent& event);

class MIDIVoiceStream {
 public:
  // Velocity of grace notes and of the dead-note stroke.
  static constexpr uint8_t kGraceVelocity = 50;
  static constexpr uint8_t kDeadNoteKey = 44;
  static constexpr uint8_t kDeadNoteVelocity = 40;
  static constexpr int32_t kDeadNoteTicks = 30;
  // Play modes: the current voice of one line, both voices of one line, every line.
  static constexpr int kModeVoice = 1;
  static constexpr int kModeInstrument = 2;
  static constexpr int kModeAll = 3;

  // Voice 1 plays on `channel`, voice 2 on `secondChannel` (the same channel when the voices
  // are merged). The signature gives bars and beats to the velocity accents and pauses.
  void Init(const MidiVoiceSettings& settings, uint8_t channel, uint8_t secondChannel, int32_t numerator,
            int32_t denominator, int32_t firstSystem, bool reportPositions);

  // The records of one voice, sorted, appended to `out`. `reportNotes` flags its notes for
  // the player's position reports (when positions are reported).
  void BuildVoice(const nChordArray& voice, bool firstVoice, bool reportNotes, strMidiBuffer& out);

  // One instrument line: nothing when every line plays and the line is muted; mode 1 builds
  // the current voice only, other modes both; the voices merged, note-offs added.
  strMidiBuffer BuildInstrument(const nChordArray* voice1, const nChordArray* voice2, int mode);

  int32_t SystemNumber() const { return system_; }

 private:
  struct NoteContext;
  void AddMetaEventRecords(const nChord& chord, uint32_t time, uint8_t channel, strMidiBuffer& out);
  void AddController(uint8_t subKind, int value, uint32_t time, uint8_t channel, strMidiBuffer& out);
  uint32_t AddOrnament(const nNotes& note, int key, int code, const GraceParameters& grace, uint32_t time, int32_t d,
                       uint8_t channel, strMidiBuffer& out);
  void AddNote(const NoteContext& c, const nNotes& note, strMidiBuffer& out);
  uint8_t NoteVelocity(int key, uint32_t time) const;

  MidiVoiceSettings settings_;
  uint8_t channels_[2] = {0, 1};
  uint32_t barTicks_ = 768;
  uint32_t beatTicks_ = 192;
  int32_t firstSystem_ = 0;
  bool reportPositions_ = false;
  // State of the voice being built.
  int32_t system_ = 0;
  int bar_ = -1;
  uint32_t barStart_ = 0;
  int baseVelocity_ = 64;
  uint8_t currentVelocity_ = 64;
  // The last main note struck on each key, for ties: its record and its echo's.
  std::map<int, std::pair<size_t, size_t>> lastNote_;
};

}  // namespace vornel
