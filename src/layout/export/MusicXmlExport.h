#pragma once
// One section of a document as a MusicXML 2.0 "score-partwise" file. The document in memory
// is written by its own XML writer into a tree (the settings and that section), and two
// printers translate the tree: the header and part list, then every staff of every
// instrument as a part of its own. Nothing is read from disk, so unsaved edits are exported
// and a document that never had a file exports as well.

#include <cstddef>
#include <optional>
#include <string>

namespace vornel {

class CBriotabDoc;

// The day written as the "encoding-date", given by the caller so that the output is stable.
struct ExportDate {
  int year = 2000;
  int month = 1;
  int day = 1;
  // "yyyy-mm-dd".
  std::string Text() const;
  // Today's date on the local clock.
  static ExportDate Today();
};

// The MusicXML text (UTF-8, line feeds only) of section `section` (from 0) of the document;
// nothing when the document has no such section. Exceptions of the model's index checks
// pass to the caller.
std::optional<std::string> SectionMusicXmlText(CBriotabDoc& doc, size_t section, const ExportDate& date);

// Writes that text to `path` through a temporary file. Returns 1 when the file was written,
// 0 when there is no such section or the file could not be written (the old file stays).
int WriteSectionMusicXml(CBriotabDoc& doc, const std::string& path, int section, const ExportDate& date);

}  // namespace vornel
