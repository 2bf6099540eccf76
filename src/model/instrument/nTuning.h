#pragma once
// The tuning of a plucked instrument: up to sixteen courses (course 1, the highest, first),
// each a spelled note with its pitch byte (MIDI pitch - 23), and the number of courses drawn
// on the tablature lines; courses beyond it are bourdons.

#include <tinyxml2.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/archive/Persistent.h"

namespace vornel {

// One course: letter 'A'-'H', octave, accidental 'n', '#' or 'b', pitch byte.
struct CourseRecord {
  char letter = 0;
  uint8_t octave = 0;
  char accidental = 0;
  uint8_t pitch = 0;  // MIDI pitch - 23
  bool operator==(const CourseRecord&) const = default;
};

// Stored course pitches are MIDI pitches less this offset.
inline constexpr int kCoursePitchOffset = 23;

class nTuning : public Persistent {
 public:
  static constexpr std::string_view kClassName = "nTuning";
  static constexpr size_t kMaxCourses = 16;
  // Characters of a tuning text that are looked at.
  static constexpr size_t kMaxTuningTextLength = 21;

  std::array<CourseRecord, kMaxCourses> courses{};
  int32_t lines = 6;        // courses on the tablature lines
  int32_t stringCount = 0;  // courses in use, 0-16
  // Notes of the last tuning text: bits 0-2 letter (a = 0 ... h = 7), bit 3 sharp, bit 4 flat,
  // bits 5-6 octave count, bit 7 downwards. Not stored.
  std::array<uint16_t, kMaxCourses> packedNotes{};

  bool operator==(const nTuning& other) const;

  // Clears the courses, parses the text, computes the pitches and keeps `lines` within the
  // number of courses.
  void SetTuning(std::string_view text);
  // Fills the packed notes (and the letters and accidentals of the courses) from a tuning text
  // ("GDAFCGF", "A-1E-1BGDAGFE"); returns the number of notes (at most 16).
  int ParseTuningText(std::string_view text);
  // Pitch bytes and octaves of the courses in use from their packed notes.
  void ComputePitches();
  // The index of the first course without a letter (16 when all have one).
  int CountStrings() const;

  // Sets one course from a note text ("G5n", "F4#") and a MIDI pitch. The index may be that of
  // the course just past the last one, which adds it. False for any other index.
  bool SetString(int index, std::string_view noteText, int midiPitch);
  // "G5(67)"; empty for an index not in use.
  std::string FormatStringWithPitch(int index) const;
  // Letters, each followed by its accidental unless natural ("GDAFCGF").
  std::string GetTuningText() const;
  // Lines, course count and course records (not the packed notes).
  void CopyFrom(const nTuning& other);
  // Runs the "Instrument tuning" dialog of the editor in force on the tuning; on OK the course
  // count is recounted from the courses. False on Cancel, the tuning unchanged.
  bool EditTuning();

  // One course from a MIDI pitch: letter and accidental from the note names, octave pitch / 12.
  void SetCoursePitch(int course, int midiPitch);
  // `count` courses from MIDI pitches given lowest course first (the last becomes course 1).
  void SetFromPitches(int count, const int* midiPitches);
  // The course's note name without blanks ("C5").
  std::string GetStringLabel(int index) const;

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // "tuning" with "nb-strings" and "lines", holding "strings" with one "string" per course.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Requires "tuning"; keeps the stored pitches as they are. Returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  // The course count, kept inside 0 to kMaxCourses.
  size_t CoursesInUse() const;
};

// "C 5" for 60, "C#5" for 61: the two-character note name and the octave pitch / 12.
std::string GetPitchName(int midiPitch);

// The course record of a MIDI pitch, spelled with the note names (sharps for C# and F#, flats
// for Eb, Ab and Bb).
CourseRecord CourseFromPitch(int midiPitch);

}  // namespace vornel
