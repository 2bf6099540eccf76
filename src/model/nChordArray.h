#pragma once
// One voice: the ordered events of one voice of an instrument line, with tick positions,
// bar cutting by a time signature, bar numbering and the "staff" element.
//
// Ownership: a voice holds its events through shared handles. An event normally has one
// holder and dies with it; the section's stave-break bar line and its subtype-0x18 special
// events stand in many voices at once, and removing them from one voice never deletes them
// from under another. Null entries are allowed and kept. In the binary form a shared event
// written a second time is a back reference, which the reader accepts for those events only.

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "model/CBar.h"
#include "model/nChord.h"
#include "platform/archive/Persistent.h"

namespace vornel {

// The arithmetic of a time signature. A numerator outside 1-999 or a denominator that is not
// a power of two from 1 to 64 cannot cut bars; such a signature counts as 4/4 here, while
// the meta-event keeps the values it was given.
struct Meter {
  uint32_t numerator = 4;
  uint32_t denominator = 4;
  uint32_t barLength = 768;  // ticks
  uint32_t beat = 192;       // ticks of one beat
  uint32_t groupThreshold = 4;

  static Meter From(int64_t numerator, int64_t denominator);
};

class nChordArray : public Persistent {
 public:
  static constexpr std::string_view kClassName = "nChordArray";
  using Handle = std::shared_ptr<nChord>;

  nChordArray() = default;
  // Copies every event; shared events stay shared.
  nChordArray(const nChordArray& other);
  nChordArray& operator=(const nChordArray& other);
  nChordArray(nChordArray&&) noexcept = default;
  nChordArray& operator=(nChordArray&&) noexcept = default;
  ~nChordArray() override = default;

  // Same events (by their stored fields) at the same indices.
  bool operator==(const nChordArray& other) const;

  // --- the list (indices are checked: out of range raises std::out_of_range)
  size_t size() const { return events_.size(); }
  bool empty() const { return events_.empty(); }
  nChord* at(size_t i) const { return Checked(i).get(); }
  nChord* operator[](size_t i) const { return at(i); }
  nChord* back() const { return at(events_.size() - 1); }
  const Handle& HandleAt(size_t i) const { return Checked(i); }
  nChord* push_back(std::unique_ptr<nChord> event);
  nChord* push_back(Handle event);
  nChord* push_back(std::nullptr_t) { return push_back(Handle()); }
  nChord* insert(size_t i, std::unique_ptr<nChord> event);
  nChord* insert(size_t i, Handle event);
  nChord* insert(size_t i, std::nullptr_t) { return insert(i, Handle()); }
  // Takes an entry out of the list; it is deleted when no other voice holds it.
  Handle release(size_t i);
  void erase(size_t i) { release(i); }
  int IndexOf(const nChord* event) const;
  auto begin() const { return events_.begin(); }
  auto end() const { return events_.end(); }

  // Inserts `count` null entries before index `at`.
  void InsertNulls(size_t at, size_t count);
  // Puts null entries before each chord for the start times of `times` (ascending, from the
  // position reached by the chord before) that fall before it, so that chords of one time
  // stand at one index in every voice. Events of the chord's time directly in front of it stay
  // next to it.
  void SpreadToTimes(const std::vector<uint32_t>& times);
  // Removes every event (shared ones stay alive where else they stand) and forgets the
  // current time signature.
  void DeleteChords();
  // Removes the null entries and sets the cursor to 0; returns the new count.
  size_t Compact();

  // --- state
  // Keeps the values of a time-signature event as the signature in force (a copy, so that
  // the event's chord may be deleted); any other event, or null, clears it.
  void SetCurrentTimeSignature(const CMetaEvent* event);
  const std::optional<CMetaEvent>& CurrentTimeSignature() const { return currentTimeSignature_; }
  CBarArray& Bars() { return bars_; }
  const CBarArray& Bars() const { return bars_; }
  uint32_t Shortest() const { return shortest_; }
  uint32_t Longest() const { return longest_; }
  uint32_t TotalLength() const { return totalLength_; }
  size_t cursor = 0;  // event index of the walking operations
  std::vector<uint32_t> values;  // kept with the voice; nothing here uses it

  // --- time
  // Start ticks (delta) of every event and, for chords, the bar they start in.
  void UpdateTickPositions(int32_t numerator, int32_t denominator);
  // Cuts the voice into bars: bar-cut times, beat groups, beam indices, plain bar lines
  // re-created where bars end. The first bar starts `startInBar` ticks into a bar (where the
  // voice before this one left off). Returns the bar length.
  uint32_t RebarVoice(int32_t numerator, int32_t denominator, uint32_t startInBar = 0);
  // Ticks into its last bar that the last bar cutting reached.
  uint32_t BarPosition() const { return beat_.timeInBar; }
  // Numbers the bar lines from `firstNumber` + 1 and fills `bars`; returns the next number.
  uint32_t NumberBars(uint32_t firstNumber, CBarArray& bars);
  // From the cursor: the next non-null event that is not a special event (only chords with
  // `chordsOnly`), the cursor left on it; null, with the cursor at the count, at the end.
  nChord* NextEvent(bool chordsOnly);

  // --- bar lines around re-barring
  // Bar lines with a change of clef or time signature become special events; every other bar
  // line is removed.
  void BarsToSpecialEvents();
  // Puts bar lines back where the records of `bars` (from the second on) stand; returns the
  // number of records that found no element at or after their time (appended at the end).
  size_t RestoreBarLines(const CBarArray& bars);
  // Moves clef and time-signature changes that follow bar lines back into the bar lines.
  void FoldSpecialEventsIntoBars();
  // Re-bars, then frees fixed bar lines that fall on bar ends and carry nothing.
  uint32_t RebarAndFreeFixedBars(int32_t numerator, int32_t denominator);
  // Appends a bar line of style `code` 0-11 (importers); another code appends an event with
  // status 0.
  nChord* AppendBarLine(int code);
  // Appends a special event with a time-signature meta-event (importers).
  nChord* AppendTimeSignature(int32_t numerator, int32_t denominator);
  // Bar lines and special events, the last element not counted; a multi-bar rest counts twice.
  size_t CountBarsAndEvents() const;
  // Multi-bar rests, the last element not counted.
  size_t CountSpecialBars() const;
  // Bar lines that carry a change of clef.
  size_t CountClefBars() const;
  // Re-marks the status of bar line `index` for the meta-event its bits 2-3 announce; false
  // when the bar line lacks that event.
  bool RemarkBarLine(size_t index);
  // Fixed bar lines are not counted by the numbering (importers).
  void MarkFixedBarsUnnumbered();

  // --- meta-events of the voice
  void ResetMetaEventLocations();
  // Edits the first meta-event whose rectangle for the view contains (x, y), going on from
  // the last search position; returns true when one was handled.
  bool EditMetaEventAt(int32_t x, int32_t y, bool tablature);

  // --- the "staff" element
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Reads a "staff" element (replacing the events) and returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

 private:
  struct BeatState {
    uint32_t timeInGroup = 0;
    uint32_t timeInBar = 0;
    uint32_t remainder = 0;
    uint8_t groupIndex = 0;
    uint32_t groupTuplet = 0;
    uint32_t groupLength = 0;
    uint32_t previousDuration = 0;
  };

  const Handle& Checked(size_t i) const;
  Meter MeterInForce(int32_t numerator, int32_t denominator) const;
  uint8_t JoinBeatGroup(uint32_t tuplet, uint16_t code, const Meter& meter);
  void AdvanceBeat(uint32_t duration, const Meter& meter);
  void FinishBarLine(size_t i, const Meter& meter);

  std::vector<Handle> events_;
  std::optional<CMetaEvent> currentTimeSignature_;
  CBarArray bars_;
  uint32_t shortest_ = 65535;
  uint32_t longest_ = 0;
  uint32_t totalLength_ = 0;
  size_t searchIndex_ = 0;
  BeatState beat_;
};

}  // namespace vornel
