#pragma once
// Timed MIDI event records and their list. The event builder fills them from voices; playback,
// the MIDI file writer and the MIDI import read them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vornel {

struct strMidiNote {
  // Record kinds.
  static constexpr uint8_t kText = 0;
  static constexpr uint8_t kController = 4;
  static constexpr uint8_t kImportNoteOff = 8;  // the import keeps the status nibbles
  static constexpr uint8_t kImportNoteOn = 9;
  static constexpr uint8_t kTempoText = 0x0F;
  static constexpr uint8_t kDynamics = 0x22;    // expression
  static constexpr uint8_t kRepeatSign = 0x25;  // bar line with a repeat (key 17, value its type)
  static constexpr uint8_t kBarMarker = 0x41;   // playback cursor: system in key, bar in velocity
  static constexpr uint8_t kNoteOff = 0x80;
  static constexpr uint8_t kNoteOn = 0x90;
  // Controller sub-kinds (the key of a kController record) with a meaning of their own.
  static constexpr uint8_t kSubVolume = 1;
  static constexpr uint8_t kSubExpression = 3;
  static constexpr uint8_t kSubProgram = 13;
  static constexpr uint8_t kSubTempo = 14;
  static constexpr uint8_t kRepeatKey = 17;

  uint8_t kind = 0;
  uint32_t time = 0;  // ticks; absolute while building, deltas once written out
  uint8_t key = 0;    // MIDI key; controller sub-kind; system number of a bar marker
  uint8_t string = 0;
  uint8_t channel = 0;
  int32_t duration = 0;  // ticks, for note-ons
  uint8_t flag = 0;      // 1: the player reports this note
  uint8_t velocity = 0;  // velocity, controller value, or bar number of a bar marker
  std::string text;      // text records
  // A bar marker's system and bar, whole (key and velocity keep only their low bytes).
  int32_t markerSystem = 0;
  int32_t markerBar = 0;

  bool IsNoteOn() const { return kind == kNoteOn || kind == kImportNoteOn; }
  bool IsNoteOff() const { return kind == kNoteOff || kind == kImportNoteOff; }
  bool operator==(const strMidiNote&) const = default;
};

// The order of records of one tick: note-offs first, so that a note struck again is not
// silenced by its own end; then repeat signs, which cut a repeat between the notes that end
// and those that start there; then controllers, tempi and texts, so that a note starts with
// its settings; then note-ons; bar markers last.
int MidiRecordRank(const strMidiNote& record);
// Time first, then rank. Sorting and merging with it are stable, so the bytes written are
// the same on every run.
bool MidiRecordBefore(const strMidiNote& a, const strMidiNote& b);

class strMidiBuffer {
 public:
  using Records = std::vector<strMidiNote>;

  uint8_t channel = 0;

  size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  const strMidiNote& operator[](size_t i) const { return records_[i]; }
  strMidiNote& operator[](size_t i) { return records_[i]; }
  auto begin() const { return records_.begin(); }
  auto end() const { return records_.end(); }
  auto begin() { return records_.begin(); }
  auto end() { return records_.end(); }
  const Records& records() const { return records_; }
  Records& records() { return records_; }
  void clear() { records_.clear(); }
  void reserve(size_t n) { records_.reserve(n); }
  void push_back(const strMidiNote& record) { records_.push_back(record); }
  void push_back(strMidiNote&& record) { records_.push_back(std::move(record)); }

  // A note-on (velocity, duration, report flag) on the buffer's or a given channel.
  strMidiNote& AddNote(uint32_t time, uint8_t key, uint8_t velocity, int32_t duration, uint8_t channel,
                       uint8_t string = 0, uint8_t flag = 0);
  // A record of any other kind: controller (key = sub-kind, velocity = value), dynamics, repeat
  // sign, bar marker, tempo text.
  strMidiNote& AddRecord(uint8_t kind, uint32_t time, uint8_t key, uint8_t value, uint8_t channel);
  strMidiNote& AddText(uint32_t time, std::string text, uint8_t channel);

  // Stable sort in record order.
  void Sort();
  // Merges another time-ordered list into this one; on equal places this list's records come
  // first. The other list is left empty.
  void Merge(strMidiBuffer&& other);
  // A note-off (velocity 0) at time + duration for every note-on, merged in. A note-on of no
  // length ends one tick later, so that its note-off never comes before it.
  void AddNoteOffs();
  // The records [first, last) without repeat signs, appended to `out`.
  void CopyRange(size_t first, size_t last, Records& out) const;
  // Absolute times become deltas; the first delta is the first time.
  void ToDeltas();
  // Deltas become absolute times.
  void ToAbsolute();
  // Starts the list at the first note-on at or after `start` (nothing happens for 0): the
  // records before it are dropped, except the controller, program, tempo and dynamics records,
  // which move to the new start in their order so that what plays keeps the settings made
  // before; every time moves back so that the new start is time 0.
  void DropBefore(uint32_t start);

 private:
  Records records_;
};

}  // namespace vornel
