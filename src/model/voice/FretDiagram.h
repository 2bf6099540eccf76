#pragma once
// Where the parts of a chord's fret diagram go: the grid of courses and frets, the marks above
// and on the courses, the nut or the number of the first fret, the barré and the chord's name.
// Device units; the view draws it with the chart's flags font selected.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/draw/DrawTypes.h"

namespace vornel {

struct FretDiagram {
  // Glyphs of the flags font that mark a course.
  static constexpr uint8_t kNotPlayed = 0xE8;
  static constexpr uint8_t kOpen = 0xED;
  static constexpr uint8_t kStopped = 0xEE;

  struct Line {
    Point from;
    Point to;
    friend bool operator==(const Line&, const Line&) = default;
  };
  struct Mark {
    Point at;
    uint8_t glyph = 0;
    friend bool operator==(const Mark&, const Mark&) = default;
  };
  struct Text {
    Point at;
    std::string text;
  };

  Rect covered;               // empty when nothing is drawn
  int32_t gridPen = 1;        // width of the grid lines (0.15 mm)
  int32_t barrePen = 1;       // width of the barré (0.8 mm)
  std::vector<Line> courses;  // course lines, the lowest course first
  std::vector<Line> frets;    // fret lines from the top
  std::vector<Mark> marks;
  std::optional<Rect> nut;    // a filled rectangle when the diagram starts at the nut
  std::optional<Text> firstFret;
  std::optional<Line> barre;
  Text name;
};

}  // namespace vornel
