#pragma once
// The notes of one chord, owned, in descending pitch order after every read.

#include <array>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "model/voice/nNotes.h"
#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

class CKey;
class CTabInstrument;
class nTuning;

// The chord writes and reads its notes itself, never as an object of their own, so the list
// carries no object identity of the archive: a chord's notes cost only the list, and a chord of
// one note holds it without a list.
class nNoteArray : public OwnedArray<nNotes, true> {
 public:
  static constexpr std::string_view kClassName = "nNoteArray";
  // At most this many notes stand in one chord.
  static constexpr size_t kMaxNotes = 32;

  std::string_view ClassName() const { return kClassName; }
  // Count, then one object reference per note, in the order Load gives them.
  void Store(ArchiveWriter& ar) const;
  // Reads the notes, drops empty entries, sorts by descending pitch and keeps at most
  // kMaxNotes (the highest).
  void Load(ArchiveReader& ar);

  // Inserts before the first note of lower pitch (after notes of equal pitch); returns the
  // index, or -1 when the chord is full (the note is then dropped).
  int InsertInPitchOrder(std::unique_ptr<nNotes> note);

  void SortDescending();
  void SortAscending();
  // The notes (without empty entries) in the order a reader of either file form puts them:
  // descending pitch, equal pitches as they stand. The writers write them so, so that a chord
  // sorted otherwise (by an import or a command) reads back as it was written.
  std::vector<const nNotes*> InReadOrder() const;
  // Removes the lowest notes beyond kMaxNotes after a descending sort.
  void LimitToMaxNotes();

  // --- setting and removing notes
  // Pitch 0 removes the note and returns null. Otherwise the note on `course` (or, without
  // `byCourse`, the note with `interval`) takes the pitch and loses its ornament; without one
  // a new note is inserted in pitch order. Returns the note, or null when the chord is full.
  nNotes* SetNote(uint8_t pitch, uint8_t course, uint8_t interval, bool byCourse);
  // Deletes the first note on the course (or with the interval) and drops the notes without a
  // course; false when there was no such note.
  bool RemoveNote(uint8_t courseOrInterval, bool byCourse);
  // Deletes every note on `course` or a higher course index.
  void DeleteNotesFromCourse(uint8_t course);
  // Deletes every note.
  void DeleteAll() { clear(); }
  // Replaces the notes by copies of another chord's.
  void CopyFrom(const nNoteArray& other);

  // --- finding notes
  // The note on a course (or with an interval) and its index, or null and -1.
  nNotes* NoteOnCourse(uint8_t course, int* index = nullptr) const;
  nNotes* NoteWithInterval(uint8_t interval, int* index = nullptr) const;
  nNotes* FindNote(uint8_t courseOrInterval, bool byCourse) const;

  // The notes as Braille text, course by course: fret and course number with their marks;
  // "!" when a note has no fret on the instrument.
  std::string GetBrailleText(const CTabInstrument& instrument) const;
  // Pitch of the first note on a course, 0 when none.
  uint8_t PitchOnCourse(uint8_t course) const;
  // Pitch of the first note on a course above `course` (its course in `found`); 0 when none.
  uint8_t NextNoteAboveCourse(uint8_t course, uint8_t& found) const;
  // The first note whose interval lies exactly two steps from `interval`.
  nNotes* FindNeighbourNote(uint8_t interval) const;
  // The first note within a semitone of `pitch`.
  nNotes* FindNoteNearPitch(int pitch) const;
  bool RemoveNoteNearPitch(int pitch);
  // -1 for a chord without notes.
  int HighestPitch() const;
  int LowestPitch() const;
  // The note of highest pitch (the first of equals), or null.
  nNotes* GetHighestNote() const;

  // --- courses
  // Lowest and highest course index of the notes; (0, 0) without notes.
  std::pair<int, int> GetStringSpan() const;
  // With the notes in course order: the course of the note after the one on `course`, else of
  // the one before it, else 0.
  int GetNeighbourString(uint8_t course) const;

  struct BarreNotes {
    int count = 0;
    int first = -1;  // note indexes
    int last = -1;
  };
  // The notes whose high fingering mark is the barré (8).
  BarreNotes CountBarreNotes() const;

  // --- courses on a tablature instrument
  // Courses for the pitches, highest pitch on the highest course, each note on a course after
  // the one before it where the instrument has one; notes end in course order. A pitch
  // without a course gets course 255.
  void AssignStrings(const CTabInstrument& instrument);
  // Course k becomes course c - 1 - k of the instrument's c courses, the pitch moving by the
  // difference of their open pitches.
  void ReverseStringOrder(const CTabInstrument& instrument);

  struct Frets {
    std::array<int, 16> onCourse;  // -1: no note there
    int lowest = 100;              // lowest fret above 0; 100 when none
    int highest = 0;
  };
  // The fret of each course's note on the tuning.
  Frets FretRange(const nTuning& tuning) const;

  // --- spelling
  // Interval and spelled name of every note from the key's spelling of its pitch.
  void Respell(const CKey& key);
  // The same, a note's status bit 2 asking for the other spelling; status bit 5 is cleared.
  void RespellKeepingMarks(const CKey& key);
  // Diatonically: the interval moves by `amount` steps and the key gives the pitch;
  // chromatically: the pitch moves by `amount` semitones and is spelled again.
  void Transpose(int amount, const CKey& key, bool diatonic);

  // --- ordering (a chord never holds more than kMaxNotes notes)
  void SortByPitch(bool ascending);
  // By course, then by pitch, both ascending.
  void SortByCourse();

  // --- marks
  // Toggles a decoration code on the note on `course`; false when there is none.
  bool ToggleDecorationOnString(uint8_t course, int code);
  // Lower-voice notes (flags bit 7) take `value` in flags bits 0-1, and bit 2 when asked.
  void SetStemAndVoiceMarks(uint16_t value, bool setBit2);

  struct SplitCounts {
    int upper = 0;
    int lower = 0;
  };
  // Notes above `split`, and every note on course 0, go to the upper voice (flags bit 7
  // cleared; `upperLowest` follows their lowest pitch); the others to the lower voice (bit 7
  // set; `lowerHighest` follows their highest pitch).
  SplitCounts SplitByPitch(int split, int& upperLowest, int& lowerHighest);

  bool operator==(const nNoteArray& other) const;
};

}  // namespace vornel
