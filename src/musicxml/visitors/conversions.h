#pragma once
// Two-way tables between the texts of small closed MusicXML vocabularies and their values.
// No table holds 0: a text that a table does not know gives 0, "no value".

#include <map>
#include <string>

#include "musicxml/tree/fraction.h"

namespace vornel {

template <typename T1, typename T2>
class bimap {
 public:
  // A later pair with the same key replaces the earlier one in that direction.
  bimap(const T1* first, const T2* second, int count) {
    for (int i = 0; i < count; ++i) {
      byFirst_[first[i]] = second[i];
      bySecond_[second[i]] = first[i];
    }
  }
  virtual ~bimap() = default;

  const std::map<T1, T2>& byFirst() const { return byFirst_; }
  const std::map<T2, T1>& bySecond() const { return bySecond_; }

 private:
  std::map<T1, T2> byFirst_;
  std::map<T2, T1> bySecond_;
};

}  // namespace vornel

namespace vornel::MusicXML2 {

// Each class has its enumeration `type` and one table; lookups are exact and case-sensitive.
class TrillStart {
 public:
  enum type { undefined = 0, upper = 1, main = 2, below = 3 };
  static const bimap<std::string, type>& table();
};

class TrillStep {
 public:
  enum type { undefined = 0, whole = 1, half = 2, unison = 3, none = 4 };
  static const bimap<std::string, type>& table();
};

class FullCue {
 public:
  enum type { undefined = 0, full = 1, cue = 2 };
  static const bimap<std::string, type>& table();
};

class YesNo {
 public:
  enum type { undefined = 0, yes = 1, no = 2 };
  static const bimap<std::string, type>& table();
};

// Bit values: "continue" has both the start and the stop bit.
class StartStop {
 public:
  enum type { undefined = 0, start = 1, stop = 2, cont = 3 };
  static const bimap<std::string, type>& table();
  static type fromString(std::string text);
};

class LineType {
 public:
  enum type { undefined = 0, solid = 1, dashed = 2, dotted = 3, wavy = 4 };
  static const bimap<std::string, type>& table();
};

// Values are lengths in 256th notes.
class NoteType {
 public:
  enum type {
    undefined = 0,
    t256th = 1,
    t128th = 2,
    t64th = 4,
    t32nd = 8,
    t16th = 16,
    eighth = 32,
    quarter = 64,
    half = 128,
    whole = 256,
    breve = 512,
    longa = 1024
  };
  static const bimap<std::string, type>& table();
  static type fromString(std::string text);
  // The length of the lowest of the bits 1 to 256 that is set, over 256 (not reduced); 0/1
  // when none of them is set ("breve", "longa" and unknown texts).
  static fraction toFraction(type value);
};

}  // namespace vornel::MusicXML2
