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

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "model/score/CBar.h"
#include "model/voice/nChord.h"
#include "platform/archive/Persistent.h"

namespace vornel {

class XmlSink;

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

struct BrailleExport;
struct TabTextReport;
class CClef;
class CKey;
class CTabInstrument;
class CVoicesArray;

// One stage of the chord transformations: an operation code of the transformation dialog
// and its operand.
struct ChordOperation {
  enum Code : int {
    kNothing = 0,
    kClone = 1,
    kTransposeScale = 2,
    kTransposeSemitones = 3,
    kFlip = 4,
    kMirror = 5,
    kRotate = 6,
    kShift = 7,
    kCascade = 8,
    kAmplify = 9,
    kTremoloize = 10,
    kRotateFlags = 11,
    kDotFlags = 12,
    kArpeggiateUp = 13,
    kArpeggiateDown = 14,
    kArpeggiateUpDown = 15,
    kArpeggiateDownUp = 16,
    kRepeat = 17,
  };
  int code = kNothing;
  int operand = 0;
};

// The "Remove all..." commands.
enum class ClearCommand : int {
  kFingerings = 33100,
  kOrnaments = 33101,
  kLinks = 33102,
  kVoicingCues = 33103,
  kLyrics = 33104,
  kStaticSpaces = 33106,
  kSectionNotes = 33107,
  // Not a per-chord edit: the voices of the active instrument are re-barred and their fixed
  // bar lines freed (CSystemArray::ApplyCommandToActiveInstrument).
  kClearForcedBarlines = 33105,
  kNoteFlag6 = 33108,
  kDanglingFloatingOrnaments = 33109,
  kPackSlurs = 33110,
  kNoteBeamFormatting = 33139,
  kMetaEvents = 33258,
  kNoteValues = 34263,
  kMarkers = 48,
  kEndMarkers = 49,
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
  // An entry as another list takes it: a new copy of the event, except that null entries and
  // shared events stay the same handle.
  static Handle CopyEntry(const Handle& entry);
  // Room for `count` entries, so that a list built to a known length is allocated once.
  void reserve(size_t count) { events_.reserve(count); }
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
  // The signature in force; null when none.
  const CMetaEvent* CurrentTimeSignature() const { return currentTimeSignature_.get(); }
  uint32_t Shortest() const { return shortest_; }
  uint32_t Longest() const { return longest_; }
  uint32_t TotalLength() const { return totalLength_; }

 private:
  // Declared ahead of the cursor so that it packs against the base class.
  uint32_t shortest_ = 65535;

 public:
  size_t cursor = 0;  // event index of the walking operations

  // --- time
  // Start ticks (delta) of every event and, for chords, the bar they start in.
  void UpdateTickPositions(int32_t numerator, int32_t denominator);
  // The beam indices of the chords (not stored) as cutting the bars finds them, without
  // touching the bar lines: each bar line starts a bar.
  void UpdateBeamGroups(int32_t numerator, int32_t denominator);
  // Cuts the voice into bars: bar-cut times, beat groups, beam indices, plain bar lines
  // re-created where bars end. The first bar starts `startInBar` ticks into a bar (where the
  // voice before this one left off). Returns the bar length.
  uint32_t RebarVoice(int32_t numerator, int32_t denominator, uint32_t startInBar = 0);
  // What bar cutting and numbering computed for `from`, a voice of the same events (an exact
  // copy of it): its lengths and each event's time, place and number.
  void CopyComputedState(const nChordArray& from);
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

  // --- editing (runs are entry indexes [start, start + count), clipped to the voice)
  // The event at `index`: a null slot gets a new empty chord; past the end the voice grows
  // with null entries and a new empty chord at the index.
  nChord* GetOrCreateChord(size_t index);
  // Replaces the events by copies of up to `count` events of `source` from `start`; false
  // when `start` lies past the source's end.
  bool CopyRange(const nChordArray& source, size_t start, size_t count);
  // Takes `count` events out from `index`; with `deleteEvents` the signature in force is
  // forgotten too. False when `index` lies past the end.
  bool RemoveEvents(size_t index, size_t count, bool deleteEvents);
  // Dots the first chord of each pair of the run and makes the second a value shorter. With
  // `absorb`, a chord at the start that gains its dot first takes over the rests that follow
  // it within the dot's length.
  void DotPairs(size_t start, size_t count, bool absorb);
  // Gives each chord of the run the rhythm word (selector << 4) | code (code -1 keeps each
  // chord's own value), the first chord first taking over the rests the new value covers.
  void SetRhythm(size_t start, size_t count, int code, int selector);
  // The chord at `index` (or the first after it) takes over the rests and ghost chords that
  // follow it while its plain length and theirs stays within that of `newRhythm`; their slots
  // become null. Returns how many were taken.
  size_t AbsorbFollowing(size_t index, uint16_t newRhythm);
  // Each chord of the run becomes one value shorter (`halve`) or longer.
  void ScaleRhythm(size_t start, size_t count, bool halve);
  // Puts the shared stave-break bar line before each bar line reached after more than `n`
  // events since the last break; returns the number of lines.
  int InsertStaveBreaks(size_t n, const Handle& staveBreak);
  // The chord at `index` takes `ticks`: whole breves beyond the first go before it as empty
  // chords, what one value cannot hold goes into an empty chord after it. Returns the ticks
  // still left over; `chordIndex` receives where the chord ends up.
  uint32_t ExpandTicks(uint32_t ticks, size_t index, size_t* chordIndex = nullptr);
  // Takes out null entries and every event that is neither a chord nor the stave break.
  void KeepChordsAndStaveBreaks();
  // Moves events from the front to the end of `target` up to a stave break, which is taken
  // off; returns the target's count.
  size_t MoveUntilStaveBreak(nChordArray& target);
  // Empties `target` and moves events from the front into it until `n` bar lines (stave
  // breaks counting, but dropped) have passed; returns how many were moved.
  size_t MoveBars(size_t n, nChordArray& target);
  // The first note on `course` of every chord rises by `amount`.
  void RaiseOnCourse(uint8_t course, int amount);
  // Every note above `limit` goes an octave down (or, with `upward`, every note below it an
  // octave up); returns how many moved.
  size_t OctaveFold(int limit, bool upward);
  // Moves the i-th event of this list into the i-th voice of `voices` at `index`.
  void InsertIntoVoices(CVoicesArray& voices, size_t index);
  // Moves `note` of `source` (a chord of voice `voiceIndex` of `voices`) to the chord of the
  // other voice that starts at the same bar-cut time; false when there is none.
  static bool MoveNoteToOtherVoice(size_t voiceIndex, CVoicesArray& voices, nChord& source, const nNotes& note);
  // Courses for the notes of each chord of the run (see nNoteArray::AssignStrings).
  void AssignStrings(size_t start, size_t count, const CTabInstrument& instrument);
  // Spells the notes of each chord of the run in the key, then assigns their courses.
  void RespellAndRestring(size_t start, size_t count, const CKey& key, const CTabInstrument& instrument);
  // Builds a voice from timed notes (the MIDI import): `gap` ticks after the start of the
  // previous note, a note of MIDI `pitch` (0: none) on `course`, spelled in the key, with
  // `text` as its lyric. False, with nothing appended, for a gap of more breves than a voice
  // takes at once.
  bool AppendTimedNote(uint32_t gap, int pitch, uint8_t course, const CKey& key, std::string_view text);
  // Moves each note of the run's chords to the next course below (direction -1) or above (1)
  // where that course's open pitch is not above the note; a note that cannot move beeps.
  // Returns how many moved.
  size_t MoveNotesToAdjacentString(size_t start, size_t count, int direction, const CTabInstrument& instrument);
  static bool MoveNoteToAdjacentString(nNotes& note, int direction, const CTabInstrument& instrument);
  // From the event after the cursor, the plain lengths of the chords up to the end of the
  // beam group (a bar line or special event, a chord starting a group or holding a
  // lower-voice note), where the cursor is left.
  uint32_t RestOfBeamGroup();

  // --- walking and searching (indexes kept by the caller; -1 stands for none)
  // Index of the n-th bar line (from 1); the count when there are fewer; 0 for n = 0.
  size_t GetBarLineIndex(size_t n) const;
  // Index of the bar line numbered `number`; 0 when one with a greater number comes first;
  // the count when none.
  size_t FindBarByNumber(uint32_t number) const;
  // Index just after the first bar line; the count when none.
  size_t AfterFirstBarLine() const;
  // Where the last bar starts; -1 for an empty voice.
  int LastBarStart() const;
  // The first bar line whose bar-cut time is at least `tick`; else the last entry, whatever
  // it is (null for an empty voice).
  nChord* FindBarAtTick(uint32_t tick) const;
  // The first chord whose start (delta) is at least `tick`, the cursor left on it; null, with
  // the cursor at the count, when none.
  nChord* FindChordAtTick(uint32_t tick);
  // The n-th chord from `index` on, `index` left just past it.
  nChord* NextNthChord(int n, int& index) const;
  // The first chord at or after `index`, which is left on it (past the end when none).
  nChord* SeekChord(int& index) const;
  // The nearest chord at or before `index`, which is left on it (-1 when none).
  nChord* SeekChordBackward(int& index) const;
  // Walks back from the event before `index` to one holding a note within a semitone of
  // `pitch`; false (with -1) when there is none.
  bool FindPrevNearPitch(int& index, int pitch) const;
  // Moves `index` just past the next bar line; true when the voice ended first.
  bool SkipToNextBar(int& index) const;
  // Moves `index` back to the previous bar line; true when the start came first.
  bool PrevBarLine(int& index) const;
  // The next non-null event after `index` when it is a rest or a ghost chord.
  nChord* NextRestOrGhost(int index) const;
  // The clef meta-event of the nearest clef change at or before `index`.
  CMetaEvent* FindPrecedingClefChange(int index) const;
  // Every clef change of the voice in turn gives the stave its key (cy bits 0-2 the count,
  // cy bit 4 clear for flats) and its step offset (cx); the last change stays.
  void ApplyClefChanges(CClef& stave) const;
  // The next chord after `index` with a note on `course`, `index` left on it; null at the end.
  nNotes* FindNextNoteOnString(uint8_t course, int& index) const;

  // --- voice utilities
  // Appends `count` rests of the note value `noteValue` (1 whole, 2 half, 4 quarter ...).
  // Returns how many were appended: none for a value below 1 or an unreasonable count.
  size_t AppendRests(size_t count, uint32_t noteValue);
  // Deletes the rests of the run; returns how many.
  size_t RemoveEmptyChords(size_t start, size_t count);
  // Ghost chords become rests.
  void GhostsToRests();
  // Gives the words of `text` (separated by blanks and line ends) one by one as lyrics to the
  // chords with notes from `start` on.
  void DistributeLyrics(std::string_view text, size_t start);
  // Re-bars both voices, then joins the chords of `other` into this voice by start time,
  // splitting a chord of this voice where one of `other` starts inside it: the later part
  // holds the chord's own notes (tied, not struck again), and each part keeps its length, in
  // several held values where one does not hold it, so the bars stay where they were. Joined
  // notes are marked as lower-voice notes of voice `voiceNumber`; the meta-events of a joined
  // chord come with its notes. Returns how many parts no values could hold exactly (they
  // take the nearest).
  size_t MergeVoice(nChordArray& other, int32_t numerator, int32_t denominator, int voiceNumber = 0);
  // Appends to `destination` copies of the events from the first chord starting at
  // `firstTick` through the first starting at `lastTick`; false when they are not found in
  // that order.
  bool CopyRangeBetweenTicks(nChordArray& destination, uint32_t firstTick, uint32_t lastTick) const;
  // Removes those events.
  bool DeleteRangeBetweenTicks(uint32_t firstTick, uint32_t lastTick);
  // Stem directions from the middle line's pitch, starting in `startDown` direction.
  void SetStemDirections(int middlePitch, bool startDown);
  // Notes with ornament `from` get `to`; returns how many.
  size_t ReplaceOrnament(uint8_t from, uint8_t to);
  // Short or full form of every time signature.
  void SetTimeSignatureShort(bool shortForm);
  // Slurs of type 0 become wide slurs (type 13), or back.
  void SetSlurWidth(bool wide);
  // Chords of at most one note that start off the beat divided by `divisor` get the one-dot
  // mark on their note.
  void MarkOffbeatNotes(int divisor);
  // Adds the notes of the first 122 events to `table` by pitch class.
  void CountPitchClasses(int (&table)[12]) const;
  struct TickRange {
    int64_t start = 0;
    int64_t end = 0;
  };
  // Start ticks of the first begin marker and the end marker after it; (-1, 0) for an empty
  // voice, 0 for what is not found.
  TickRange FindMarkedRange() const;
  // Applies one of the "Remove all..." commands.
  void ClearItems(ClearCommand command);
  // Runs the stages of the chord transformations over the events of this voice (the
  // selection), transposing in `key`: false when a stage failed (the stages still all run).
  bool TransformChords(const std::vector<ChordOperation>& stages, const CKey& key);
  // Bar by bar: spells every note in the key, marks a note whose step and pitch came before
  // in the bar (status bit 5), and asks a chromatic note that shares its step with another
  // pitch of the bar for the other spelling (status bit 2). Returns the number of distinct
  // notes.
  size_t RespellInKey(const CKey& key);

  // --- splits
  // Copies this tablature voice into the first two voices of `targets`: upper-voice notes
  // to the first, lower-voice notes (flags bit 7) to the second; rests that follow a chord in
  // a target are merged into it along the beat, ties marking what is split. Returns 1.
  int SplitIntoNotationVoices(CVoicesArray& targets, int32_t numerator, int32_t denominator) const;
  // Marks each note as upper or lower voice around the split pitch `split` and sets the stem
  // marks of the lower voice for the beat of `denominator`.
  void SplitByPitch(int32_t denominator, int split, int highRange);

  // --- meta-events of the voice
  void ResetMetaEventLocations();
  // Edits the first meta-event whose rectangle for the view contains (x, y), going on from
  // the last search position; returns true when one was handled.
  bool EditMetaEventAt(int32_t x, int32_t y, bool tablature);
  // The next EditMetaEventAt starts at event `index`.
  void StartMetaEventSearch(size_t index) { searchIndex_ = static_cast<uint32_t>(index); }

  // --- text exports
  // The TAB text lines of the voice: chords, and bar lines numbered by `barCounter`, which
  // runs on from voice to voice of one section.
  void WriteTabText(const CTabInstrument& instrument, std::string& out, int& barCounter,
                    TabTextReport* report = nullptr) const;
  // The voice as Braille text, wrapped to the export's line length and paged.
  void WriteBrailleText(BrailleExport& text, const CTabInstrument& instrument) const;

  // --- the "staff" element
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  void WriteXml(XmlSink& out) const;
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
  // The end of the run [start, start + count) clipped to the voice; not above `start` when
  // the run starts past the end.
  size_t RunEnd(size_t start, size_t count) const {
    return start >= events_.size() ? events_.size() : start + std::min(count, events_.size() - start);
  }
  // Index of the first chord whose start (delta) is at least `tick`; the count when none.
  size_t IndexOfChordAtTick(uint32_t tick) const;
  Meter MeterInForce(int32_t numerator, int32_t denominator) const;
  uint8_t JoinBeatGroup(uint32_t tuplet, uint16_t code, const Meter& meter);
  void AdvanceBeat(uint32_t duration, const Meter& meter);
  // Appends to `out` the events that give `chord` the length `ticks` (see ExpandTicks);
  // `chordPos` receives the chord's place among them. Returns the ticks left over.
  static uint32_t ExpandInto(std::vector<Handle>& out, Handle chord, uint32_t ticks, size_t* chordPos = nullptr);
  // The walk of a notation voice after splitting: rests join the chord before them, which is
  // cut at beats.
  void JoinRestsAlongBeat(uint32_t barLength, uint32_t beat);

  std::vector<Handle> events_;
  // Held apart and never changed once made, so that a voice without one (most of them) pays
  // only the pointer, and copies of a voice share it.
  std::shared_ptr<const CMetaEvent> currentTimeSignature_;
  uint32_t longest_ = 0;
  uint32_t totalLength_ = 0;
  uint32_t searchIndex_ = 0;  // an event index: a voice holds far fewer events
  BeatState beat_;
};

}  // namespace vornel
