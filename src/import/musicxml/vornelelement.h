#pragma once
// The converted element tree: what the MusicXML converters make of a score before the import
// walks it. Nodes are reference-counted: notes, chords, one sequence per voice of a part and
// tags with parameters, under a top chord named "Score". Flattened, the tree becomes one list
// in which every container is opened by an element and closed by "endchord", "endstaff" or
// "endgroup"; the import reads only that list (its names and its parameters as texts).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BuildBudget.h"
#include "musicxml/tree/smartable.h"

namespace vornel {

using MusicXML2::SMARTP;
using MusicXML2::smartable;

class vornelparam;
class vornelelement;
using Svornelparam = SMARTP<vornelparam>;
using Svornelelement = SMARTP<vornelelement>;

// One parameter: its value as text, and whether a printed form would quote it.
class vornelparam : public smartable {
 public:
  // What one costs a reading under way (see BuildBudget).
  [[no_unique_address]] BuildCharge<80> buildCharge;

  static Svornelparam create(std::string_view value, bool quote);
  static Svornelparam create(long value, bool quote);
  const std::string& getValue() const { return value_; }
  bool quoted() const { return quote_; }

 protected:
  vornelparam(std::string value, bool quote) : value_(std::move(value)), quote_(quote) {}

 private:
  std::string value_;
  bool quote_;
};

class vornelelement : public smartable {
 public:
  // What one costs a reading under way (see BuildBudget).
  [[no_unique_address]] BuildCharge<192> buildCharge;

  static Svornelelement create(std::string_view name, std::string_view separator = " ");

  const std::string& getName() const { return name_; }
  void setName(std::string_view name) { name_ = name; }
  const std::string& getStart() const { return start_; }
  const std::string& getEnd() const { return end_; }
  const std::string& getSeparator() const { return separator_; }
  const std::vector<Svornelelement>& elements() const { return children_; }
  const std::vector<Svornelparam>& parameters() const { return params_; }
  // Each appends and returns the new index (the count - 1).
  int add(const Svornelelement& child);
  int add(const Svornelparam& param);
  // The text of parameter `i`; empty when there is none.
  const std::string& param(size_t i) const;

  // The element that stands for this node in the flat list, or none. A plain element and a
  // tag stand for themselves.
  virtual Svornelelement flatten();

 protected:
  vornelelement(std::string_view name, std::string_view separator, const char* start = "", const char* end = "")
      : name_(name), start_(start), end_(end), separator_(separator) {}
  // Releases the subtree without recursion: a tree may be as deep as a file nests its
  // containers.
  ~vornelelement() override;

 private:
  std::string name_;
  std::string start_;
  std::string end_;
  std::string separator_;
  std::vector<Svornelelement> children_;
  std::vector<Svornelparam> params_;
};

// A tag: named "\" and the tag's name, printed as "\name(...)".
class vorneltag : public vornelelement {
 public:
  static Svornelelement create(std::string_view tagName);

 protected:
  explicit vorneltag(std::string_view tagName);
};

// A chord of notes; the converters' top container is the chord named "Score".
class vornelchord : public vornelelement {
 public:
  static Svornelelement create();
  // An element named "chord" (and this node takes that name), or none for "Score".
  Svornelelement flatten() override;

 protected:
  vornelchord();
};

// The notes of one voice of a part: named "staff", its staff number the first parameter. The
// score converter adds the part's staff count, its voice count, the voice's index within the
// part and the part's index.
class vornelseq : public vornelelement {
 public:
  static Svornelelement create(int staff);
  // An element named "staff" with copies of the first five parameters.
  Svornelelement flatten() override;

 protected:
  explicit vornelseq(int staff);
};

// A note value in whole notes with its dots, and the word that packs the three: denominator in
// bits 0-7, numerator in bits 8-11, dots in bits 12-15.
struct vornelnoteduration {
  int numerator = 1;
  int denominator = 4;
  int dots = 0;
  uint16_t packed = 260;

  vornelnoteduration() = default;
  vornelnoteduration(int n, int d, int dotCount);
  bool sameValue(const vornelnoteduration& other) const {
    return numerator == other.numerator && denominator == other.denominator && dots == other.dots;
  }
};

// The last octave and duration written for a voice.
struct NoteStatus {
  int octave = 1;
  vornelnoteduration duration;
};

// The status of each voice, so that a note's text repeats only what changed. Voices 0 to 127
// have an entry, made on first use; others have none.
class NoteStatusTable {
 public:
  using Entry = NoteStatus;
  static constexpr int kVoices = 128;

  // The voice's entry; null outside 0-127.
  Entry* entry(int voice);
  // Every entry made so far back to octave 1 and a quarter.
  void reset();

 private:
  std::array<std::optional<Entry>, kVoices> entries_;
};

// The table of the program's run; the part converter resets it for every part.
NoteStatusTable& VoiceNoteStatus();

// A note (or a rest, named "_", or a filler named "empty"). Its name is its text form: the
// note name, the accidental and octave, the duration when it changed and a "." per dot.
class vornelnote : public vornelelement {
 public:
  static Svornelelement create(int voice, std::string_view name, int octave, int16_t pitch,
                               const vornelnoteduration& duration, uint32_t stringWord, std::string_view accidental);

  int16_t pitch() const { return pitch_; }
  const std::string& noteName() const { return noteName_; }
  const std::string& accidental() const { return accidental_; }
  int8_t octave() const { return octave_; }
  uint32_t stringWord() const { return stringWord_; }
  const vornelnoteduration& duration() const { return duration_; }

  // An element named "note" with the pitch, the note name, the octave + 3, the accidental, the
  // packed duration, the string word and, exactly, the numerator, denominator and dots.
  Svornelelement flatten() override;

 protected:
  vornelnote(int voice, std::string_view name, int octave, int16_t pitch, const vornelnoteduration& duration,
             uint32_t stringWord, std::string_view accidental);

 private:
  int16_t pitch_;  // -1 for a rest
  std::string noteName_;
  std::string accidental_;
  int8_t octave_;
  uint32_t stringWord_;  // string number x 256 + fret; the first course is string 1
  vornelnoteduration duration_;
};

// The flat list of the tree below `top`, depth first, as the children of a new element named
// "Score": each node's flattened form, then, for a node with children, its children and a
// closing element ("endchord" for a chord, "endstaff" for a sequence, "endgroup" otherwise)
// whose one parameter is the node's name.
Svornelelement flattenTree(const Svornelelement& top);

}  // namespace vornel
