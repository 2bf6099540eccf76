#include "import/CourseClashes.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "import/ImportWarnings.h"
#include "model/instrument/CTabInstrument.h"
#include "model/instrument/nTuning.h"
#include "model/voice/RhythmValues.h"
#include "model/voice/nChordArray.h"

namespace vornel {

namespace {

constexpr int kHighestFret = 24;

constexpr ImportLoss kDoubledNote{"note doubling the note of its course", "notes doubling the notes of their courses"};
constexpr ImportLoss kCourseTaken{"note on a course another note of its chord holds",
                                  "notes on courses other notes of their chords hold"};

// Which of the notes on one course is kept first: the lowest rank.
int Rank(const nNotes& note) {
  if (note.slur == kHeldSlurWord) return 1;
  return (note.flags & nNotes::kLowerVoiceFlag) != 0 ? 2 : 0;
}

bool Held(const nNotes& note) { return note.slur == kHeldSlurWord; }

// The free course nearest `from` where `pitch` (a note's pitch byte) lies 0 to 24 frets above
// the open course; -1 when none.
int FreeCourseFor(const CTabInstrument& tab, const std::vector<bool>& taken, int from, int pitch) {
  int best = -1;
  for (int c = 0; c < static_cast<int>(taken.size()); ++c) {
    if (taken[static_cast<size_t>(c)]) continue;
    const int fret = pitch - kCoursePitchOffset - tab.OpenPitch(c);
    if (fret < 0 || fret > kHighestFret) continue;
    if (best < 0 || std::abs(c - from) < std::abs(best - from)) best = c;
  }
  return best;
}

void SeparateChord(nChord& chord, const CTabInstrument& tab, size_t courses, CourseClashes& counts) {
  nNoteArray& notes = chord.notes;
  std::vector<std::vector<size_t>> onCourse(courses);
  bool clash = false;
  for (size_t n = 0; n < notes.size(); ++n) {
    const nNotes* note = notes.at(n);
    if (note == nullptr || note->string >= courses) continue;
    onCourse[note->string].push_back(n);
    clash = clash || onCourse[note->string].size() > 1;
  }
  if (!clash) return;
  std::vector<bool> taken(courses, false);
  for (size_t c = 0; c < courses; ++c) taken[c] = !onCourse[c].empty();
  std::vector<bool> leaving(notes.size(), false);
  for (size_t c = 0; c < courses; ++c) {
    if (onCourse[c].size() < 2) continue;
    size_t keeper = onCourse[c].front();
    for (const size_t n : onCourse[c]) {
      if (Rank(*notes.at(n)) < Rank(*notes.at(keeper))) keeper = n;
    }
    for (const size_t n : onCourse[c]) {
      if (n == keeper) continue;
      nNotes& note = *notes.at(n);
      const nNotes& kept = *notes.at(keeper);
      if (Held(note)) {
        leaving[n] = true;  // the course's stroke ends it
      } else if (note.pitch == kept.pitch && !Held(kept)) {
        leaving[n] = true;
        ++counts.doubled;
      } else if (const int free = note.pitch == kept.pitch ? -1 : FreeCourseFor(tab, taken, note.string, note.pitch);
                 free >= 0) {
        note.string = static_cast<uint8_t>(free);
        taken[static_cast<size_t>(free)] = true;
        ++counts.moved;
      } else if (Held(kept)) {
        // Struck again: the held note ends where this one sounds.
        leaving[keeper] = true;
        keeper = n;
      } else {
        leaving[n] = true;
        ++counts.dropped;
      }
    }
  }
  for (size_t n = notes.size(); n-- > 0;) {
    if (leaving[n]) notes.erase(n);
  }
}

}  // namespace

CourseClashes SeparateCourses(nChordArray& voice, const CTabInstrument& tab, std::string_view where) {
  CourseClashes counts;
  const size_t courses = std::min<size_t>(static_cast<size_t>(std::max(tab.CoursesInUse(), 0)), nTuning::kMaxCourses);
  for (const auto& e : voice) {
    if (e != nullptr && e->IsChord() && e->notes.size() > 1) SeparateChord(*e, tab, courses, counts);
  }
  CountImportLoss(kDoubledNote, counts.doubled);
  CountImportLoss(kCourseTaken, counts.dropped);
  if (counts.moved > 0) {
    ImportWarning("warning: " + std::string(where) + ": " + std::to_string(counts.moved) +
                  (counts.moved == 1 ? " note moved to a free course: another note of its chord held its own"
                                     : " notes moved to free courses: other notes of their chords held their own"));
  }
  return counts;
}

}  // namespace vornel
