#pragma once
// A section as MIDI: the event-builder settings of its instrument definitions, the Standard
// MIDI File of the section (a title track, a track per instrument line that is not muted, an
// optional metronome track) and the stream of events that playback hands to the player.

#include <cstdint>
#include <string>
#include <vector>

#include "document/CMIDIExportDlg.h"
#include "midi/MIDIVoiceStream.h"
#include "midi/MidiFile.h"

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
// writing" and gives false.
bool WriteSectionMidiFile(CSystemArray& section, const CMIDIExportDlg& settings, const MidiExportOptions& options,
                          const std::string& path);

struct MidiPlayOptions {
  int mode = MIDIVoiceStream::kModeAll;  // 1 the current voice, 2 the active line, 3 every line
  uint32_t startTick = 0;                // the cursor's time; 0 plays from the start
  bool metronome = false;
  uint8_t metronomeChannel = 9;
  uint8_t metronomeKey = 81;
};

// The records that a play of the section sounds, from the active system on, in absolute time:
// the active line alone below mode 3 (on channels 0 and 1), every line that is not muted on
// the channel of its index otherwise, the active one reporting its notes; starting at the
// first note at or after the start tick, with the settings made before it; metronome beats.
strMidiBuffer BuildPlayRecords(CSystemArray& section, const MidiPlayOptions& options);
// Those records as the player's 12-byte stream events.
std::vector<uint8_t> BuildPlayStream(CSystemArray& section, const MidiPlayOptions& options);

}  // namespace vornel
