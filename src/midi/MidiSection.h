#pragma once
// A section as MIDI: the event-builder settings of its instrument definitions, the Standard
// MIDI File of the section (a title track, a track per instrument line that is not muted, an
// optional metronome track) and the stream of events that playback hands to the player.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "document/CMIDIExportDlg.h"
#include "midi/MIDIVoiceStream.h"
#include "midi/MidiFile.h"
#include "midi/MidiStreamEvents.h"
#include "midi/MidiTime.h"

namespace vornel {

class CInstrumentDlg;
class CSystemArray;
class MIDIControllers;

// What the event builder reads of a definition.
MidiVoiceSettings MidiVoiceSettingsOf(const CInstrumentDlg& definition);

// The channel set-up at the start of an instrument track: controller resets, programs, the
// main-channel controllers (again on the second channel when the line uses two) and the
// echo channel's.
void WriteMidiChannelSetup(MidiFile& file, const MIDIControllers& midi, uint8_t channel, uint8_t secondChannel,
                           bool twoChannels);

struct MidiExportOptions {
  std::string title;   // the section's title when empty
  std::string author;  // the section's author when empty
  bool metronome = false;
  uint8_t metronomeChannel = 9;
  uint8_t metronomeKey = 81;
};

// The file of a section. The export settings take the section's signature and tempo. Every
// definition that is not muted gets a track; the channel each track received is returned per
// definition (-1 for a muted one).
std::vector<int> WriteSectionMidi(CSystemArray& section, CMIDIExportDlg settings, const MidiExportOptions& options,
                                  MidiFile& file);
// The same, saved to `path`; a file that cannot be written shows "Cannot open file for
// writing" with the path and why, and gives false.
bool WriteSectionMidiFile(CSystemArray& section, const CMIDIExportDlg& settings, const MidiExportOptions& options,
                          const std::string& path);

struct MidiPlayOptions {
  int mode = MIDIVoiceStream::kModeAll;  // 1 the current voice, 2 the active line, 3 every line
  uint32_t startTick = 0;                // the cursor's time; 0 plays from the start
  bool metronome = false;
  uint8_t metronomeChannel = 9;
  uint8_t metronomeKey = 81;
};

// One channel message as the player sends it at once.
struct MidiShortMessage {
  std::array<uint8_t, 3> bytes{};
  uint8_t size = 0;
  bool operator==(const MidiShortMessage&) const = default;
};
MidiShortMessage MidiMessage(uint8_t status, uint8_t a);
MidiShortMessage MidiMessage(uint8_t status, uint8_t a, uint8_t b);

// The channel set-up of one instrument before a play: control changes 127 = 127, 7 = volume,
// 10 = 100, 1 = modulation, 8 = pan, 11 = expression, 4 = brightness; then 69 = 127 with the
// hold pedal and 65 = 127 with portamento.
void AddInstrumentSetup(const MIDIControllers& midi, uint8_t channel, std::vector<MidiShortMessage>& out);

// What a play sends: the set-up messages first, in order, then the stream events. When
// `positions` is filled, the bar markers of the stream carry their index in it instead of
// the low bytes of their system and bar.
struct MidiPlayProgram {
  std::vector<MidiShortMessage> setup;
  std::vector<uint8_t> stream;
  std::vector<MidiPlayPosition> positions = {};
};

// The time signature a play of the section counts bars and beats in: the active line's
// time-signature event in force at the start of the active system (the last one in the
// systems before it, unless the active system has one of its own), else the section's.
MidiMeter PlayMeter(const CSystemArray& section);

// The records that a play of the section sounds, from the active system on, in absolute time:
// the active line alone below mode 3 (on channels 0 and 1), every line that is not muted on
// the channel of its index otherwise, the active one reporting its notes; starting at the
// first note at or after the start tick, with the settings made before it; metronome beats.
strMidiBuffer BuildPlayRecords(CSystemArray& section, const MidiPlayOptions& options);
// The channel the active line plays on in a play of that mode (its first voice's).
uint8_t ActiveLinePlayChannel(CSystemArray& section, int mode);
// The channel the patch chooser names entries for, and the typed chord's echo sounds on: the
// percussion channel (its keys) for a definition of the percussion family, else 0 (the programs).
int PatchChooserChannel(const CInstrumentDlg& definition);
// Those records as the player's 12-byte stream events.
std::vector<uint8_t> BuildPlayStream(CSystemArray& section, const MidiPlayOptions& options);
// The stream with its set-up: for each line played, on the channels the event builder gave it,
// a program change with its patch and its instrument set-up (again on its second channel when
// it uses two); below mode 3 then a program change on channel 0 with the active line's patch.
MidiPlayProgram BuildPlayProgram(CSystemArray& section, const MidiPlayOptions& options);

}  // namespace vornel
