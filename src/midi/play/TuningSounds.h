#pragma once
// The sounds of the tuning dialogs: the open strings of a tuning played on the shared preview
// player, and one note held for a moment on an output of its own ("String pitch").

#include <memory>

#include "midi/play/MidiOut.h"
#include "midi/strMidiNote.h"
#include "model/instrument/nTuning.h"

namespace vornel {

struct PlayStringsOptions {
  bool asChord = false;   // all strings at once instead of one after another
  int tempo = 60;         // one string a beat
  int program = 25;
  bool reverse = false;   // from the lowest course up
  bool lowPitch = false;  // a half step down ("415 tuning")
};

// The open strings as note records, course 1 first unless reversed, one beat each.
strMidiBuffer OpenStringNotes(const nTuning& tuning, const PlayStringsOptions& options);
// Plays them on the shared preview player (a play still running there is stopped first).
// False when there is nothing to play or the output failed.
bool PlayStrings(const nTuning& tuning, const PlayStringsOptions& options);
// Stops the shared preview player.
void StopStrings();

// One note on channel 1 from NoteOn until NoteOff, on an output opened for it. No output, no
// sound: an output that does not open leaves the sounder silent and says nothing.
class SingleNoteSounder {
 public:
  explicit SingleNoteSounder(MidiOutFactory factory = {});
  ~SingleNoteSounder();
  SingleNoteSounder(const SingleNoteSounder&) = delete;
  SingleNoteSounder& operator=(const SingleNoteSounder&) = delete;

  // Ends a sounding note first. False when no output opened (nothing sounds).
  bool NoteOn(int key);
  // The note-off, then the output is closed.
  void NoteOff();
  bool Sounding() const { return out_ != nullptr; }

 private:
  MidiOutFactory factory_;
  std::unique_ptr<MidiOut> out_;
  uint8_t key_ = 0;
};

}  // namespace vornel
