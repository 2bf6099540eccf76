#include "shell/commands/Metronome.h"

namespace vornel {

int Metronome::PeriodForTempo(int beatsPerMinute) { return 60000 / (beatsPerMinute < 1 ? 1 : beatsPerMinute); }

void Metronome::Toggle() {
  if (running_) {
    Stop();
    return;
  }
  periodMs_ = kFirstPeriodMs;
  timer_.Start(periodMs_);
  running_ = true;
}

void Metronome::TempoChanged(int beatsPerMinute) {
  if (!running_) return;
  timer_.Stop();
  periodMs_ = PeriodForTempo(beatsPerMinute);
  timer_.Start(periodMs_);
}

void Metronome::Stop() {
  if (!running_) return;
  timer_.Stop();
  running_ = false;
  periodMs_ = 0;
}

}  // namespace vornel
