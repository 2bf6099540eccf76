#pragma once
// The recording output of tests and benchmarks: every message sent, with the clock's time,
// into room reserved beforehand, so that recording allocates nothing while a play runs.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "midi/play/MidiOut.h"
#include "midi/play/PlayerClock.h"

namespace vornel {

struct MidiRecord {
  int64_t time = 0;  // nanoseconds of the player's clock
  uint8_t size = 0;
  std::array<uint8_t, 3> bytes{};
};

class MidiRecording {
 public:
  explicit MidiRecording(size_t capacity = size_t(1) << 16) { records.reserve(capacity); }
  std::vector<MidiRecord> records;
  size_t dropped = 0;  // messages beyond the reserved room
  int opens = 0;
  int closes = 0;

  // One line per message: the time in milliseconds since `origin` with three decimals, then
  // the bytes in hex ("   500.000  90 3C 40").
  std::string Log(int64_t origin = 0) const;
  void Clear() {
    records.clear();
    dropped = 0;
  }
};

class RecordingMidiOut : public MidiOut {
 public:
  RecordingMidiOut(MidiRecording& recording, const PlayerClock& clock) : recording_(recording), clock_(clock) {}

  // Failures to act out: an output that does not open, or that fails after n sends.
  std::string openFailure;
  int failAfterSends = -1;

  bool Open() override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  bool Send(const uint8_t* bytes, size_t size) override;

 private:
  MidiRecording& recording_;
  const PlayerClock& clock_;
  bool open_ = false;
  int sends_ = 0;
};

}  // namespace vornel
