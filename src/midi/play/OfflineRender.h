#pragma once
// Plays without a sound card: the player on a manual clock, moved event by event (into the
// recording output's log) or one block of samples at a time (into the synthesizer's file
// renderer, which writes a WAVE file).

#include <string>

#include "midi/MidiSection.h"
#include "midi/play/MidiOut.h"
#include "midi/play/MidiOutStream.h"
#include "midi/play/PlayerClock.h"

namespace vornel {

// The tempo and beat of a section as the view gives them to the player: the low 12 bits of
// its tempo word (0, no tempo, as the default 120), and the ticks of its beat unit as the time
// division.
struct MidiPlayTiming {
  int tempo = 120;
  int timeDivision = MidiOutStream::kDefaultTimeDivision;
};
MidiPlayTiming PlayTiming(const CSystemArray& section);

// Moves the clock to each due time in turn until the player's play has ended.
void RunManualPlay(MidiOutStream& player, ManualPlayerClock& clock);

struct WaveRenderOptions {
  MidiPlayTiming timing;
  MidiOutputSettings settings;  // the SoundFont
  double sampleRate = 44100;
  double tailSeconds = 1.5;     // rendered after the last event, so that the notes ring out
};

// Writes the play to a 16-bit stereo WAVE file. A synthesizer or file that fails shows its
// text in the "MIDI ERROR" box and gives false (a program with nothing to play gives false
// too, silently).
bool RenderProgramToWave(const MidiPlayProgram& program, const std::string& path, const WaveRenderOptions& options);

}  // namespace vornel
