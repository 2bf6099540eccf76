#pragma once
// The stand-alone metronome of the main frame: a repeating timer that first ticks every
// 750 ms (80 beats per minute) and follows the tempo of the section once a tempo change
// arrives while it runs. The timer is the window layer's; tests give a fake one.

#include <functional>

namespace vornel {

class MetronomeTimer {
 public:
  virtual ~MetronomeTimer() = default;
  // Starts (or restarts) the repeating timer with a period in milliseconds.
  virtual void Start(int periodMs) = 0;
  virtual void Stop() = 0;
};

class Metronome {
 public:
  static constexpr int kTimerId = 34303;
  static constexpr int kFirstPeriodMs = 750;

  explicit Metronome(MetronomeTimer& timer) : timer_(timer) {}

  // 60000 / tempo, a tempo below 1 counting as 1.
  static int PeriodForTempo(int beatsPerMinute);

  // The "Run metronome" command: starts with the first period, or stops.
  void Toggle();
  bool Running() const { return running_; }
  // A tempo change: restarts a running metronome with the tempo's period; nothing when off.
  void TempoChanged(int beatsPerMinute);
  int PeriodMs() const { return periodMs_; }
  // Stops the timer (the frame is closing).
  void Stop();

 private:
  MetronomeTimer& timer_;
  bool running_ = false;
  int periodMs_ = 0;
};

}  // namespace vornel
