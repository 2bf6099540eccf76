#pragma once
// A MusicXML file imported as one new section of an open document: one instrument definition
// per part (its name, program and tuning), the work's texts as the section's headings, the
// voices built by walking the converted tag list, then the section laid out into systems and
// appended. A file that cannot be read, or whose part list names no instrument, changes
// nothing and gets the system's message.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "import/musicxml/MusicXMLImportDriver.h"

namespace vornel {

class CBriotabDoc;
class CSystemArray;

class MusicXMLImport {
 public:
  static constexpr std::string_view kPromptTitle = "Open a MusicXML file...";
  static constexpr std::string_view kFilePattern = "*.xml;*.musicxml;*.mxl";
  static constexpr std::string_view kUnreadableMessage = "Sorry, I am unable to read this file";
  static constexpr std::string_view kNoInstrumentsMessage = "Sorry, I am unable to read the instrument data in this file";
  // A system ends after the first bar line that follows a run of more events than this.
  static constexpr size_t kEventsPerSystem = 18;

  // The document that receives the section; set before OnNewDocument or ImportFile.
  CBriotabDoc* target = nullptr;

  // Asks for the file, then imports it: true when a section was added, false when the prompt
  // was cancelled or nothing was imported.
  bool OnNewDocument();
  // Imports `path` into the target document as a new section, made active. False, after the
  // system's message, when the file cannot be read or lists no instrument, or the import
  // failed on the way; the target document is then as it was.
  bool ImportFile(const std::string& path);

 private:
  MusicXMLImportDriver driver_;
};

// The parts' instrument definitions, appended in order to `section`: one notation staff with
// a G clef, the part's instrument name (its part name when it has none) and its MIDI program
// with its General MIDI name.
void AddPartDefinitions(CSystemArray& section, const std::vector<PartRecord>& parts);
// A section for an import: no systems, and the parts' definitions.
std::unique_ptr<CSystemArray> MakeImportSection(const std::vector<PartRecord>& parts);

}  // namespace vornel
