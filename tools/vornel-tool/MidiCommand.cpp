// midi IN.btxml|.btz|.btb OUT.mid [--section N]: the Standard MIDI File of a section of a document.
// midi-import IN.mid OUT.btxml|.btz|.btb: a MIDI file imported with the default choices (every
// track with notes, the default instrument) into a document of one section.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "document/CMIDIExportDlg.h"
#include "document/DocumentFiles.h"
#include "import/ImportedDocument.h"
#include "import/ImportedSection.h"
#include "midi/MidiImport.h"
#include "midi/MidiSection.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSectionArray.h"
#include "platform/UserPrompts.h"

namespace vornel::tool {

namespace {

int Midi(const CommandArguments& args) {
  std::optional<long> sectionNumber;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--section" && i + 1 < args.size()) {
      sectionNumber = std::strtol(args[++i].c_str(), nullptr, 10);
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return PrintUsage("midi");
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  const std::unique_ptr<CVornelTabDoc> doc = OpenDocument(files[0]);
  CSystemArray* section = ChooseSection(doc.get(), sectionNumber, files[0]);
  if (section == nullptr) return 1;
  return WriteSectionMidiFile(*section, CMIDIExportDlg{}, MidiExportOptions{}, files[1]) ? 0 : 1;
}

int MidiImport(const CommandArguments& args) {
  if (args.size() != 2) return PrintUsage("midi-import");
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  AllTracksChooser chooser;
  CInstrumentDlg defaultDefinition;
  defaultDefinition.EnsureStave();
  std::unique_ptr<CSystemArray> section = ImportMidiFile(args[0], chooser, nullptr, defaultDefinition);
  if (section == nullptr) return 1;
  // Laid out as the editor lays out an imported file, so both save the same document.
  section->InsertInitialTimeSignature();
  FinishImportedSection(*section, kMidiImportEventsPerSystem);

  size_t notes = 0;
  for (const auto& system : section->systems) {
    for (const auto& line : system->lines) {
      for (size_t v = 0; v < 2; ++v) {
        for (const auto& e : line->Voice(v)) notes += (e != nullptr && e->IsChord()) ? e->notes.size() : 0;
      }
    }
  }
  const size_t lines = section->definitions.size();

  // A new document whose one section is the imported one, saved in the form OUT names.
  CVornelTabDoc doc;
  doc.sections.DeleteAllSections();
  doc.sections.push_back(std::move(section));
  doc.sections.activeSection = 0;
  doc.sections.Renumber();
  TitleImportedDocument(doc, 1, args[0]);
  if (!SaveDocumentFile(doc, args[1])) return 1;
  std::printf("lines %zu notes %zu\n", lines, notes);
  return 0;
}

const ToolCommand midiRegistration("midi", "midi IN.btxml|IN.btz|IN.btb OUT.mid [--section N]",
                                   "write a section of a document as a Standard MIDI File", Midi);
const ToolCommand importRegistration("midi-import", "midi-import IN.mid OUT.btxml|OUT.btz|OUT.btb",
                                     "import a MIDI file into a document of one section", MidiImport);

}  // namespace

}  // namespace vornel::tool
