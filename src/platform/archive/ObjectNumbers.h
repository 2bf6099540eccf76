#pragma once
// The numbers that an archive writer gives the objects it writes, found by the objects'
// addresses. One flat table with open addressing: it grows by doubling, so filling it costs
// time linear in the number of objects, a lookup touches one or two neighbouring slots, and
// nothing is allocated per object.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vornel {

class ObjectNumbers {
 public:
  // The number of `object`, or 0 when it has none.
  uint32_t Find(const void* object) const {
    if (slots_.empty()) return 0;
    for (size_t i = Home(object);; i = Next(i)) {
      if (slots_[i].object == object) return slots_[i].number;
      if (slots_[i].object == nullptr) return 0;
    }
  }

  // Gives `object` (not null, not numbered yet) its number.
  void Insert(const void* object, uint32_t number) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    size_t i = Home(object);
    while (slots_[i].object != nullptr) i = Next(i);
    slots_[i] = {object, number};
    ++count_;
  }

  // Forgets the number of `object`, when it has one.
  void Erase(const void* object) {
    if (slots_.empty()) return;
    size_t hole = Home(object);
    while (slots_[hole].object != object) {
      if (slots_[hole].object == nullptr) return;
      hole = Next(hole);
    }
    // Entries after the hole that could not stand at their home move back into it, so that no
    // lookup stops early at an empty slot.
    for (size_t j = Next(hole); slots_[j].object != nullptr; j = Next(j)) {
      const size_t home = Home(slots_[j].object);
      const bool between = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
      if (between) continue;
      slots_[hole] = slots_[j];
      hole = j;
    }
    slots_[hole] = {};
    --count_;
  }

  size_t size() const { return count_; }

 private:
  struct Slot {
    const void* object = nullptr;
    uint32_t number = 0;
  };

  size_t Home(const void* object) const {
    // Fibonacci hashing spreads the aligned addresses of neighbouring objects.
    return static_cast<size_t>((reinterpret_cast<uintptr_t>(object) * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  size_t Next(size_t i) const { return (i + 1) & (slots_.size() - 1); }

  void Grow() {
    std::vector<Slot> old(std::max<size_t>(slots_.size() * 2, 64));
    old.swap(slots_);
    shift_ = 64 - std::countr_zero(slots_.size());
    count_ = 0;
    for (const Slot& slot : old) {
      if (slot.object != nullptr) Insert(slot.object, slot.number);
    }
  }

  std::vector<Slot> slots_;
  size_t count_ = 0;
  int shift_ = 64;
};

}  // namespace vornel
