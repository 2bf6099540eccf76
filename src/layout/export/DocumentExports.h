#pragma once
// The document's exports to foreign text forms: the TAB text of the DOS lute-tablature
// typesetter, the plain-text tablature for Braille transcription and one section as MusicXML.
// The builders make the whole file in memory; the commands ask for what they need through
// Prompts() and the export services, write the file through a temporary file and hand it on
// (the TAB file to the typesetter, the others to the desktop). A command changes nothing in
// the document, and a command that fails or is cancelled writes nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "layout/export/CTabProperties.h"
#include "layout/export/MusicXmlExport.h"

namespace vornel {

struct TabTextReport;

class CBriotabDoc;

// What the export commands need of the application: the options dialog, the programs that
// take the written files, the day and the application's settings. The defaults start nothing,
// so tools and tests run without a window; their options dialog says that none is installed.
class ExportServices {
 public:
  virtual ~ExportServices() = default;
  // The "Tab formatting options" dialog on `options`; true on OK.
  virtual bool EditTabOptions(CTabProperties& options);
  // Runs the TAB typesetter on a written file.
  virtual void RunTabProgram(const std::string& path);
  // Opens a written file with the program the desktop associates with it.
  virtual void OpenWithDesktop(const std::string& path);
  // The day written into MusicXML files.
  virtual ExportDate Today();

  std::string xmlFolder;        // where MusicXML files are proposed (the "XMLPath" preference)
  int32_t brailleLines = 25;    // Braille lines per page
  int32_t brailleColumns = 32;  // Braille characters per line
};

// The services in force.
ExportServices& Exports();

// Installs `services` for its lifetime and restores the previous ones after.
class ScopedExportServices {
 public:
  explicit ScopedExportServices(ExportServices& services);
  ~ScopedExportServices();
  ScopedExportServices(const ScopedExportServices&) = delete;
  ScopedExportServices& operator=(const ScopedExportServices&) = delete;

 private:
  ExportServices* previous_;
};

// Command ids and their menu texts.
inline constexpr int kExportTabFormatCommand = 33119;
inline constexpr int kExportBrailleTabCommand = 33045;
inline constexpr int kExportSectionMusicXmlCommand = 33046;
inline constexpr std::string_view kCannotOpenFileMessage = "Cannot open file";
// kCannotOpenFileMessage with the file and why it could not be written.
std::string CannotWriteMessage(const std::string& path, const std::string& error);

// The TAB text file (UTF-8, line feeds): header with the option lines, the document's title
// and author and the section's tuning, then the body of section `section`, or of every
// section (each followed by a page break) when the options ask for all. What the text cannot
// hold is counted in `report`.
std::string BuildTabFile(const CBriotabDoc& doc, size_t section, const CTabProperties& options,
                         TabTextReport* report = nullptr);
// The message that tells what a TAB export left out; empty when it left out nothing.
std::string TabExportLossMessage(const TabTextReport& report);
// The Braille text file of section `section`, with its own line and page counters.
std::string BuildBrailleFile(CBriotabDoc& doc, size_t section, int32_t linesPerPage, int32_t charsPerLine);

// The names the commands write to.
std::string BrailleFileName(const CBriotabDoc& doc, size_t section);
std::string ProposedMusicXmlName(const CBriotabDoc& doc, size_t section);

// Command 33119: the options dialog, a file name, the TAB file of the active section, the
// typesetter.
void OnExportTabFormat(CBriotabDoc& doc);
// Command 33045: the Braille file of the active section beside the document (an untitled
// document asks where), then the desktop opens it.
void OnExportBrailleTab(CBriotabDoc& doc);
// Command 33046: a file name, the MusicXML file of the active section, then the desktop.
void OnExportSectionMusicXml(CBriotabDoc& doc);

}  // namespace vornel
