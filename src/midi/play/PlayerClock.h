#pragma once
// The time the player schedules against, in nanoseconds. The player's own thread runs on the
// steady clock; tests and the offline renderer move a manual clock themselves and pump the
// player after each move.

#include <atomic>
#include <chrono>
#include <cstdint>

namespace vornel {

class PlayerClock {
 public:
  virtual ~PlayerClock() = default;
  virtual int64_t Now() const = 0;
};

// std::chrono::steady_clock, whose time points the player's thread sleeps until.
class SteadyPlayerClock : public PlayerClock {
 public:
  int64_t Now() const override {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  static std::chrono::steady_clock::time_point TimePoint(int64_t nanoseconds) {
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::nanoseconds(nanoseconds)));
  }
};

class ManualPlayerClock : public PlayerClock {
 public:
  int64_t Now() const override { return now_.load(std::memory_order_acquire); }
  void Set(int64_t nanoseconds) { now_.store(nanoseconds, std::memory_order_release); }
  void Advance(int64_t nanoseconds) { now_.fetch_add(nanoseconds, std::memory_order_acq_rel); }
  void AdvanceMs(double ms) { Advance(static_cast<int64_t>(ms * 1e6)); }

 private:
  std::atomic<int64_t> now_{0};
};

}  // namespace vornel
