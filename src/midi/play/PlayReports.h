#pragma once
// The player's reports to its owner (the start, the event words that ask to be reported, the
// end) travel through a fixed ring: the player's thread writes, the window thread reads. Room
// is kept for the end report, so that it is never lost when the window falls behind.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace vornel {

class PlayReportRing {
 public:
  static constexpr size_t kCapacity = 1024;

  // Adds a word when more than `keepFree` places stay free after it; false when it was dropped.
  bool Push(uint32_t word, size_t keepFree) {
    const size_t head = head_.load(std::memory_order_relaxed);
    const size_t tail = tail_.load(std::memory_order_acquire);
    const size_t used = head - tail;
    if (used + 1 + keepFree > kCapacity) return false;
    slots_[head % kCapacity] = word;
    head_.store(head + 1, std::memory_order_release);
    return true;
  }

  bool Pop(uint32_t& word) {
    const size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail == head_.load(std::memory_order_acquire)) return false;
    word = slots_[tail % kCapacity];
    tail_.store(tail + 1, std::memory_order_release);
    return true;
  }

 private:
  std::array<uint32_t, kCapacity> slots_{};
  std::atomic<size_t> head_{0};
  std::atomic<size_t> tail_{0};
};

}  // namespace vornel
