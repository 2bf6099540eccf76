#pragma once
// What reading a file may build. A file of N bytes as stored (packed bytes counted as they are
// stored) may make the program hold at most 64 MiB and 64 bytes for each of its bytes: the
// text it unpacks, the trees it parses and the score it builds. A reading installs a budget on
// its thread for as long as it runs; the model's objects, the parsers' trees and the unpacked
// texts charge it as they are made and give their charge back as they go. A charge beyond the
// limit ends the reading with BuildBudgetExceeded, whose text names the limit. Without a
// reading under way the charges cost one test and do nothing.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace vornel {

class BuildBudgetExceeded : public std::runtime_error {
 public:
  BuildBudgetExceeded(uint64_t storedBytes, uint64_t limitBytes);
  uint64_t StoredBytes() const { return storedBytes_; }
  uint64_t LimitBytes() const { return limitBytes_; }

 private:
  uint64_t storedBytes_;
  uint64_t limitBytes_;
};

class BuildBudget {
 public:
  static constexpr uint64_t kBaseBytes = uint64_t(64) << 20;
  static constexpr uint64_t kBytesPerStoredByte = 64;

  // The budget of a file of `storedBytes`.
  explicit BuildBudget(uint64_t storedBytes);
  // The budget of the file at `path` as it is stored (none beyond the base when it cannot be
  // measured).
  static BuildBudget OfFile(const std::string& path);
  // A budget with its own limit (tests make small ones).
  BuildBudget(uint64_t storedBytes, uint64_t limitBytes);

  // Raises BuildBudgetExceeded when what is held would pass the limit; nothing is charged then.
  void Charge(uint64_t bytes);
  void Credit(uint64_t bytes);

  uint64_t StoredBytes() const { return storedBytes_; }
  uint64_t LimitBytes() const { return limitBytes_; }
  // What is held now, and the most that was held at once.
  uint64_t Held() const { return held_; }
  uint64_t Peak() const { return peak_; }

 private:
  friend class ScopedBuildBudget;
  friend void ChargeBuilt(uint64_t bytes);
  friend void CreditBuilt(uint64_t bytes);
  bool Fits(uint64_t bytes) const { return bytes <= limitBytes_ - std::min(held_, limitBytes_); }
  void Add(uint64_t bytes);

  BuildBudget* outer_ = nullptr;  // the budget installed around this one
  uint64_t storedBytes_;
  uint64_t limitBytes_;
  uint64_t held_ = 0;
  uint64_t peak_ = 0;
};

// Makes `budget` the one this thread's readings charge until the scope ends; the budget
// installed before comes back then. An inner scope never widens an outer one: when a budget
// is already installed, charges go to both.
class ScopedBuildBudget {
 public:
  explicit ScopedBuildBudget(BuildBudget& budget);
  ~ScopedBuildBudget();
  ScopedBuildBudget(const ScopedBuildBudget&) = delete;
  ScopedBuildBudget& operator=(const ScopedBuildBudget&) = delete;

 private:
  BuildBudget* previous_;
};

// Charges or credits the budgets installed on this thread; nothing without one.
void ChargeBuilt(uint64_t bytes);
void CreditBuilt(uint64_t bytes);
// True while a reading with a budget runs on this thread.
bool BuildBudgetInstalled();

// An empty member that charges its owner's weight as the owner is made (copies included) and
// credits it as the owner goes. Declared first among the members, it ends a construction
// beyond the budget before anything else is made.
template <uint64_t Weight>
struct BuildCharge {
  BuildCharge() { ChargeBuilt(Weight); }
  BuildCharge(const BuildCharge&) { ChargeBuilt(Weight); }
  BuildCharge& operator=(const BuildCharge&) { return *this; }
  ~BuildCharge() { CreditBuilt(Weight); }
  friend bool operator==(const BuildCharge&, const BuildCharge&) { return true; }
};

// Charges a size known only as the reading runs (an unpacked text) for as long as it lives.
class HeldBuild {
 public:
  explicit HeldBuild(uint64_t bytes) : bytes_(bytes) { ChargeBuilt(bytes); }
  ~HeldBuild() { CreditBuilt(bytes_); }
  HeldBuild(const HeldBuild&) = delete;
  HeldBuild& operator=(const HeldBuild&) = delete;

 private:
  uint64_t bytes_;
};

// The XML parsers' trees cost about this much for a text: the text itself (kept by the
// parser), an element record for each start tag and an attribute record for each attribute.
uint64_t ParsedXmlWeight(const char* text, size_t size);

}  // namespace vornel
