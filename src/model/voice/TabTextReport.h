#pragma once
// What a section's TAB text could not hold: the TAB export counts it while it writes, and
// tells the user afterwards, so that nothing is left out silently.

#include <cstddef>
#include <string>

namespace vornel {

struct TabTextReport {
  size_t barLines = 0;    // bar lines of a kind the text has no line for (written as ".bb.")
  size_t frets = 0;       // notes whose fret no single character of the text names
  size_t bassNotes = 0;   // notes on bass courses that no position of the line can take
  size_t fermatas = 0;    // fermatas on chords whose flag changes the rhythm
  size_t tuplets = 0;     // tuplet marks the text cannot give back
  size_t marks = 0;       // chord marks (greyed, ghost ...) and note marks the text has no sign for,
                          // or a note's marks past its first

  bool Empty() const { return barLines + frets + bassNotes + fermatas + tuplets + marks == 0; }
  // "2 bar lines of a kind TAB text has no line for, 1 fermata ..."; empty when nothing was left out.
  std::string Describe() const;
};

}  // namespace vornel
