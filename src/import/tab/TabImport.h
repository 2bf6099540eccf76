#pragma once
// The reader of TAB text files, the line format of the DOS lute-tablature typesetter (the
// form the TAB export writes): one line per chord, bar line or directive. A file may hold
// several pieces: each in an HTML "<pre>" block after an "e" line, or each under its heading
// ("{Title / Source}") in a collection; every piece after the first goes into a section that
// the add-section wizard adds, named by its heading.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/ImportWarnings.h"
#include "import/text/CAbcImport.h"

namespace vornel {

class CSystemArray;
class LineReader;
class nChord;
class nNotes;

class TabImport : public CAbcImport {
 public:
  static constexpr std::string_view kOpenFailedMessage = "Unable to open tab file: ";
  static constexpr std::string_view kProcessingFailedMessage = "Error encountered while processing file";
  static constexpr std::string_view kPromptTitle = "Select a Z.U. tab format file";
  static constexpr std::string_view kFilePattern = "*.tab";
  // Buffers of the line reads: the dispatcher's and the scanning passes'.
  static constexpr size_t kLineBuffer = 790;
  static constexpr size_t kScanBuffer = 79;
  // Positions a chord line describes.
  static constexpr size_t kPositions = 10;
  // What a chord line can hold that the import does not keep.
  static constexpr ImportLoss kUnreadableLine{"chord line with a fret no course takes",
                                              "chord lines with frets no course takes"};
  static constexpr ImportLoss kAfterATab{"part after a tab on a chord line", "parts after a tab on chord lines"};
  static constexpr ImportLoss kUnmeasuredPiece{"piece whose first bar no two bar lines measure, and what follows it",
                                               "pieces whose first bar no two bar lines measure, and what follows them"};
  static constexpr ImportLoss kAfterOpenBass{"fret after an open bass course on its line",
                                             "frets after an open bass course on their lines"};

  explicit TabImport(CBriotabDoc& doc);
  ~TabImport() override;

  // Reads the file into the active section (and, for further pieces, into sections the
  // wizard adds). 1 on success; 0 after "Unable to open tab file: " and the path, or after
  // "Error encountered while processing file" when no bar lines can be found.
  int ReadFile(const std::string& path);
  // The same from the file's bytes.
  int ReadText(std::string_view bytes, const std::string& path);
  // Sections the wizard added for further pieces.
  size_t AddedSections() const { return addedSections_.size(); }
  const std::vector<CSystemArray*>& AddedSectionList() const { return addedSections_; }

 private:
  struct Position {
    char fret = 0;
    char decoration = 0;
    char slur = 0;
    int8_t course = -1;  // the course an "N" names, else the position's own
  };

  // A heading line's text: the name before "/", the source after it.
  struct Heading {
    std::string name;
    std::string source;
  };

  void StartVoice();
  bool ReadAllPieces();
  // False at the end of the file, when a new piece cannot begin or when a line cannot be read.
  bool DispatchLine();
  bool DispatchFromMeter(std::string_view line, size_t offset);
  // A heading after music begins the next piece when music follows it; otherwise its text
  // joins the current piece's.
  bool ReadHeading(const Heading& heading);
  // True when a bar line or a chord line comes before the end of the file (headings between
  // belong to the piece they head).
  bool MusicFollows();
  void ApplyHeading(const Heading& heading);
  // Adds to the author text, after a "; ".
  void AppendSource(std::string_view text);
  // Closes the current piece: a final bar line where its music does not end with one.
  void ClosePiece();
  bool StartNextPiece();
  // The name and the author text of a new piece, emptied.
  void ClearPieceTexts();
  // False, with the line and the reason in failure_, when the first bar cannot be measured.
  bool DetectMeter();
  // The line (from 1) at byte `offset` of the text read.
  size_t LineAt(size_t offset) const;
  void ReadMeterLine(std::string_view line);
  // False, with the line and the reason in failure_, when the line is not one chord.
  bool ReadChordLine(std::string_view line, size_t offset);
  // False when a fret stands past the last position a chord line describes.
  bool ReadPositions(std::string_view line, size_t i, nChord& chord);
  // False when a position holds a fret character no course takes: the line is dropped.
  bool ConvertPositions(const std::shared_ptr<nChord>& handle);
  void ApplyDecoration(char decoration, const std::shared_ptr<nChord>& chord, nNotes& note, int position);
  void StartSlur(const std::shared_ptr<nChord>& chord, nNotes& note);
  void CloseSlur(int span, std::optional<uint32_t> endValue);
  nNotes* PendingSlurNote() const;
  void ClearPendingSlur();

  LineReader* lines_ = nullptr;
  std::string_view text_;
  // Where and why the reading failed: "line 3: ...".
  std::string failure_;
  uint32_t rhythm_ = 2;
  // The current piece has chords; its heading has named it.
  bool pieceHasMusic_ = false;
  bool pieceNamed_ = false;
  // No bar line or chord line is left in the file.
  bool noMusicToTheEnd_ = false;
  std::array<Position, kPositions> positions_{};
  // The pending slur: the chord and course of the note where it began.
  std::shared_ptr<nChord> slurChord_;
  int slurCourse_ = -1;
  size_t chordLines_ = 0;
  size_t tupletChords_ = 0;
  // The "S" line that the meter detection has applied already.
  std::optional<size_t> appliedMeterLine_;
  std::vector<CSystemArray*> addedSections_;
};

}  // namespace vornel
