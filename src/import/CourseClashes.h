#pragma once
// A course sounds one note at a time. Imports whose notes come with their courses (a second
// voice joined to the first, a file that puts two notes of a chord on one string) can bring two
// notes to one course of a chord; drawn, their letters would stand on each other.

#include <cstddef>
#include <string_view>

namespace vornel {

class CTabInstrument;
class nChordArray;

struct CourseClashes {
  size_t moved = 0;    // notes moved to a free course where their pitch can be stopped
  size_t doubled = 0;  // notes of the pitch the course already sounds, left out
  size_t dropped = 0;  // notes of another pitch that no free course could take, left out
};

// Gives each course of every chord of `voice` one note. On a course that holds several, a struck
// note of the first voice is kept before a held note, and a held note before a note joined
// from another voice. Each other note: a held note leaves (the stroke ends it); a note of the
// pitch the course sounds leaves as doubled (a stroke of it ends a held one instead); any other
// moves to the free course nearest its own whose fret for the pitch lies between 0 and 24,
// else it ends a held note there or is dropped. Notes on no course of `tab` are left alone.
// The losses (doubled and dropped) are counted in the import that runs; moved notes are told
// in a warning that names `where` ("part 2").
CourseClashes SeparateCourses(nChordArray& voice, const CTabInstrument& tab, std::string_view where);

}  // namespace vornel
