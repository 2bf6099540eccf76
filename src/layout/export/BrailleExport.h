#pragma once
// The state of one Braille text export: the text written so far, the Braille page size and
// the line and page counters that every writer of the export shares. The counters belong to
// the export, so two exports never disturb each other.

#include <cstdint>
#include <string>
#include <string_view>

namespace vornel {

struct BrailleExport {
  static constexpr char kFormFeed = '\x0C';

  std::string out;           // UTF-8; line feeds and form feeds as they are
  int32_t linesPerPage = 25;
  int32_t charsPerLine = 32;
  int32_t line = 1;          // the line counter
  int32_t page = 1;          // the page counter

  void Write(std::string_view text) { out += text; }
  // A form feed starts the next page: the page counter grows and the line counter restarts.
  void NewPage();
  // A line feed; past the last line of the page a form feed follows.
  void BreakLine();
  // Adds `lines` to the line counter; past line 24 a form feed follows (the instrument
  // blocks use this fixed page length whatever the page size).
  void CountBlockLines(int32_t lines);
};

// A number as Braille digits: '1'-'9' become 'a'-'i' and '0' becomes 'j' ("102" is "ajb").
std::string BrailleDigits(int32_t number);

}  // namespace vornel
