#pragma once
// What the readers of text and tablature files share: lines read from a file held in memory
// as a C stream with a fixed buffer reads them, the rhythm-code arithmetic, the time
// signatures they accept, and notes placed on a course of the instrument.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/ImportWarnings.h"

namespace vornel {

class CBriotabDoc;
class CInstrumentDlg;
class CKey;
class CSystemArray;
class CTabInstrument;
class nChord;
class nNotes;

// What the text importers count as lost.
inline constexpr ImportLoss kUnplayableNote{"note the instrument cannot play", "notes the instrument cannot play"};

// The largest file the importers read into memory.
inline constexpr size_t kMaxImportFileBytes = size_t(64) << 20;

// The bytes of a file for an importer: nothing when it cannot be read or is larger than
// kMaxImportFileBytes, with `error` (when given) saying why.
std::optional<std::string> ReadImportFile(const std::string& path, std::string* error = nullptr);

// The same, showing `failureMessage` followed by the path and why when the file cannot be read.
std::optional<std::string> OpenImportFile(const std::string& path, std::string_view failureMessage);

// Lines of a file held in memory, as a stream read with a buffer of `bufferSize` bytes gives
// them: a piece holds at most bufferSize - 1 bytes and ends after its line feed, so an
// overlong line comes in several pieces. The line end stays in the piece.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}
  // The next piece; nothing at the end of the bytes.
  std::optional<std::string_view> Next(size_t bufferSize);
  size_t Tell() const { return pos_; }
  void Seek(size_t pos) { pos_ = pos < bytes_.size() ? pos : bytes_.size(); }
  bool AtEnd() const { return pos_ >= bytes_.size(); }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

// The line without its line end ("\n" or "\r\n").
std::string_view WithoutLineEnd(std::string_view line);
// True when the line ends in a line feed.
inline bool HasLineEnd(std::string_view line) { return !line.empty() && line.back() == '\n'; }
// The line is exactly `text` followed by a line end.
bool IsLineOf(std::string_view line, std::string_view text);

// The rhythm codes of the chord flag word: 0 breve ... 7 sixty-fourth; bit 3 dotted; bits
// 4-7 the tuplet.
inline constexpr uint16_t kDottedFlag = 0x08;
inline constexpr uint16_t kTripletFlag = 0x10;
// The greatest n with 2^n <= value; 0 for 0.
int FloorLog2(uint64_t value);
int ClampRhythmCode(int64_t code);
// The flag word with its rhythm code moved by `steps` (positive: shorter), kept in range.
uint16_t ShiftRhythmCode(uint16_t flags, int steps);

// Numerators 1-64 over denominators that are powers of two from 1 to 64; anything else
// leaves the time signature in force as it was.
bool IsAcceptedTimeSignature(int64_t numerator, int64_t denominator);

// The fret of a tablature letter: "a"-"i" 0-8, then one less than the letter's distance
// from "a" ("j" is 8 like "i", "k" 9, "l" 10 ...). -1 for anything else.
int FretOfLetter(char c);

// Gives `instrument` at least `count` courses: each course added is tuned a natural step
// below the one above it, as the bass courses of lutes are. False, with nothing changed, when
// a tuning cannot hold that many or the instrument has no course to start from.
bool EnsureCourses(CTabInstrument& instrument, size_t count);

// Sets the note of `chord` on `course` to the MIDI pitch, spelled in `key`. Null, with
// nothing changed, when the instrument has no such course or the pitch lies outside 0-127.
nNotes* SetNoteOnCourse(nChord& chord, const CTabInstrument& instrument, int course, int64_t midiPitch,
                        const CKey& key);
// The same at a fret of the course.
nNotes* SetFretOnCourse(nChord& chord, const CTabInstrument& instrument, int course, int64_t fret,
                        const CKey& key);

// The finishing of an imported section: its name and comments become the preface (the
// comments are then emptied); `key` becomes the key of the section and of the definition
// `current`; the definitions' gathered voices are laid out over systems, re-barred with the
// section's time signature (the bar lines read standing where they are, and counted),
// numbered, respelled, given their stems and reflowed into systems that end at bar lines.
void FinishTextImportSection(CSystemArray& section, size_t current, const CKey& key);

// What the instrument chooser is offered: a copy of the active section's first definition,
// else a new default one.
std::unique_ptr<CInstrumentDlg> ProposedInstrument(const CBriotabDoc& doc);

// The active section, or null.
const CSystemArray* ActiveSectionOf(const CBriotabDoc& doc);
// Takes `sections` out of the document again (an import that failed) and makes
// `activeBefore` active again when it is still in the list.
void RemoveSections(CBriotabDoc& doc, const std::vector<CSystemArray*>& sections, const CSystemArray* activeBefore);

// A decimal number at `pos` (which moves past its digits), kept at `limit` when it is larger.
int64_t ReadBoundedNumber(std::string_view text, size_t& pos, int64_t limit = 1000000);

// The regular files of `folder` whose names end in `extension` (without regard to case), in
// name order.
std::vector<std::string> ListFolderFiles(const std::string& folder, std::string_view extension);

}  // namespace vornel
