#pragma once
// Where the importers write their warnings, and what an import could not keep.
//
// Warnings go one line each to a stream: the standard error stream unless a caller sets
// another for a while (the editor shows them in its output pane, the tool prints them with
// --warnings, tests collect them). What an import drops (notes on courses the instrument
// lacks, lines it cannot read, elements the score has no place for) is counted by its cause
// while the import runs, and reported in one warning when the import ends.

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

std::ostream& ImportWarnings();

// Writes `text` and a line end to the warning stream.
void ImportWarning(std::string_view text);

// Sends the warnings to `stream` for its lifetime, then back where they went before.
class ScopedImportWarnings {
 public:
  explicit ScopedImportWarnings(std::ostream& stream);
  ~ScopedImportWarnings();
  ScopedImportWarnings(const ScopedImportWarnings&) = delete;
  ScopedImportWarnings& operator=(const ScopedImportWarnings&) = delete;

 private:
  std::ostream* previous_;
};

// A cause of loss, named for one and for several ("grace note", "grace notes").
struct ImportLoss {
  std::string_view one;
  std::string_view many;
};

// Counts `count` losses of `cause` in the import that runs; nothing when none runs.
void CountImportLoss(const ImportLoss& cause, size_t count = 1);

// One import: while it runs, losses are counted, and when it ends one warning names the file
// and every cause with its count, in the order first met:
//   warning: song.gp5: not imported: 2 grace notes, 1 tied note without a note to tie to
// An import made inside another (the files of a folder) adds to the outer one.
class ImportReport {
 public:
  explicit ImportReport(std::string_view source);
  ~ImportReport();
  ImportReport(const ImportReport&) = delete;
  ImportReport& operator=(const ImportReport&) = delete;

  // The losses of `cause` counted so far (those of inner imports included).
  size_t Count(const ImportLoss& cause) const;
  // The warning the report ends with; empty when nothing was lost.
  std::string Summary() const;

 private:
  struct Counted {
    ImportLoss cause;
    size_t count;
  };
  friend void CountImportLoss(const ImportLoss& cause, size_t count);

  std::string source_;
  std::vector<Counted> counts_;
  ImportReport* outer_;
};

}  // namespace vornel
