#pragma once
// Pedals and knee levers of an instrument: each retunes chosen strings by some half-steps
// while held, and colours their tablature text. A definition always carries ten.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

class CPedal : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CPedal";
  static constexpr uint32_t kDefaultColor = 0x464696;

  int32_t persistent = 0;   // listed with the instrument's pedals even where no event names it
  uint32_t stringMask = 0;  // bit n: acts on string n (0-based course index)
  int32_t action = 0;       // change in half-steps, -12 to 12; 0 acts on nothing
  uint32_t color = kDefaultColor;
  std::string caption;

  bool operator==(const CPedal& other) const;

  // True when the pedal changes the pitch of the string.
  bool ActsOn(int string) const;

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  // The caption only from version "8.05".
  void Load(ArchiveReader& ar) override;
};

class CPedalArray : public Persistent, public OwnedArray<CPedal> {
 public:
  static constexpr std::string_view kClassName = "CPedalArray";
  static constexpr size_t kPedalCount = 10;
  // Labels of the six pedals and four knee levers.
  static constexpr std::array<std::string_view, kPedalCount> kLabels = {
      "ped.1", "ped.2", "ped.3", "ped.4", "ped.5", "ped.6", "LKL", "LKR", "RKL", "RKR"};

  int32_t shownStrings = 16;  // strings listed on the pedals page

  CPedalArray();

  // Each record's settings from the record at the same index of `other`.
  void CopyFrom(const CPedalArray& other);
  // The first pedal that acts on the string; null when none does.
  const CPedal* FindPedalForString(int string) const;
  // Every pedal whose persistent switch is set, in order.
  void CollectPersistent(std::vector<const CPedal*>& out) const;

  std::string_view ClassName() const override { return kClassName; }
  // The object-array form: count, then each pedal with its class name.
  void Store(ArchiveWriter& ar) const override;
  // Always leaves ten pedals: missing or empty entries become default pedals, entries beyond
  // ten are dropped.
  void Load(ArchiveReader& ar) override;
};

}  // namespace vornel
