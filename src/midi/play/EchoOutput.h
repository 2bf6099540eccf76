#pragma once
// The output that sounds notes as they are typed. It is opened once, on a thread of its own
// so that typing never waits for it, and kept open for the notes that follow. An output that
// cannot be opened is reported once and left alone, silent, until the MIDI settings change.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "midi/play/MidiOut.h"

namespace vornel {

class EchoOutput {
 public:
  // `factory` makes the output the settings name; `settings` tells the settings in force as a
  // text (a different text means other settings: the output is opened again). Without it the
  // settings never change.
  explicit EchoOutput(MidiOutFactory factory, std::function<std::string()> settings = {});
  ~EchoOutput();
  EchoOutput(const EchoOutput&) = delete;
  EchoOutput& operator=(const EchoOutput&) = delete;

  // Ends what still sounds of the last chord and sounds `pitches` with `program` on `channel`.
  // While the output opens, the chord waits and sounds once it is open. False when nothing
  // sounded now: the output is opening, or failed.
  bool Sound(uint8_t channel, uint8_t program, std::span<const uint8_t> pitches);
  // Ends what sounds; the output stays open.
  void Silence();
  // Why the output could not be opened, the first time it is asked after the failure; empty
  // otherwise.
  std::string TakeFailure();
  // Waits until an opening under way is over.
  void WaitForOpening();

 private:
  enum class State { kClosed, kOpening, kOpen, kFailed };
  struct Chord {
    uint8_t channel = 0;
    uint8_t program = 0;
    std::vector<uint8_t> pitches;
  };

  void Open();
  // With the mutex held.
  void SendChord(const Chord& chord);
  void SilenceHeld();

  MidiOutFactory factory_;
  std::function<std::string()> settings_;
  std::mutex mutex_;
  State state_ = State::kClosed;
  std::unique_ptr<MidiOut> out_;
  std::string openedWith_;  // the settings of the last opening
  std::string failure_;
  bool failureTaken_ = false;
  bool chordWaiting_ = false;
  Chord waiting_;
  bool sounding_ = false;
  std::thread opener_;
};

}  // namespace vornel
