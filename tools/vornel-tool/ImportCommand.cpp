// import IN|FOLDER OUT.btxml|.btz [--into DOC] [--instrument DOC] [--warnings]: a file of
// another program imported by the importer that takes it (or a folder: its TAB files, else its
// ".ft2" files), appended to DOC or to a new document (whose untouched first section is then
// dropped) and saved as OUT. The instrument chooser and the add-section wizard are answered with
// the first definition of the --instrument document. Prints each new section and, per
// instrument line, its name, program and courses, and per voice its chords, notes, rests and
// bars. --warnings prints the importers' warnings on the standard error stream, the last of
// them the count of what the import could not keep. As in the
// editor, each new section gets the systems per page that fit its paper, and sections print on
// pages of their own.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "document/InstrumentChooser.h"
#include "document/SectionWizard.h"
#include "import/ImportedDocument.h"
#include "import/Importer.h"
#include "import/ImportWarnings.h"
#include "import/text/TextImportCommands.h"
#include "model/score/CSystemArray.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/draw/TextFaces.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/DocumentPages.h"

namespace vornel::tool {

namespace {

struct VoiceCounts {
  size_t chords = 0;
  size_t notes = 0;
  size_t rests = 0;
  size_t bars = 0;
};

VoiceCounts CountVoice(const CSystemArray& section, size_t line, size_t voice) {
  VoiceCounts counts;
  for (const auto& system : section.systems.items()) {
    for (const auto& e : system->Line(line)->Voice(voice)) {
      if (e == nullptr) continue;
      if (e->IsBarLine() && !e->IsStaveBreak()) ++counts.bars;
      if (!e->IsChord()) continue;
      if (e->notes.empty()) {
        ++counts.rests;
      } else {
        ++counts.chords;
        counts.notes += e->notes.size();
      }
    }
  }
  return counts;
}

void PrintSection(const CSystemArray& section, size_t number) {
  std::printf("section %zu \"%s\": %zu systems\n", number, section.Title().text.c_str(), section.systems.size());
  for (size_t d = 0; d < section.definitions.size(); ++d) {
    const CInstrumentDlg& definition = *section.Definition(d);
    const nTuning& tuning = definition.tabInstrument.tuning;
    std::printf("  instrument %zu \"%s\" program %d courses %zu:", d + 1, definition.nameText.text.c_str(),
                definition.midi.patch, tuning.CoursesInUse());
    for (size_t c = 0; c < tuning.CoursesInUse(); ++c) std::printf(" %d", tuning.courses[c].pitch + kCoursePitchOffset);
    std::printf("\n");
    for (size_t v = 0; v < 2; ++v) {
      const VoiceCounts n = CountVoice(section, d, v);
      std::printf("    voice %zu: %zu chords, %zu notes, %zu rests, %zu bars\n", v + 1, n.chords, n.notes, n.rests,
                  n.bars);
    }
  }
}

// Systems per page of the sections not among `existing`, measured as the editor's screen
// measures them; the active section stays as it was.
void FitSystemsToPages(CVornelTabDoc& doc, const std::vector<const CSystemArray*>& existing) {
  DrawingStaveRenderer renderer;
  const ScopedStaveRenderer installed(renderer);
  RecordingDevice screen(96, false, PangoTextEngine::Shared());
  screen.SetRecording(false);
  const int32_t active = doc.sections.activeSection;
  for (size_t s = 0; s < doc.sections.size(); ++s) {
    const CSystemArray* section = doc.sections.at(s);
    if (section == nullptr || std::find(existing.begin(), existing.end(), section) != existing.end()) continue;
    doc.sections.activeSection = static_cast<int32_t>(s);
    RecomputeSystemsPerPage(doc, screen);
  }
  doc.sections.activeSection = active;
}

int Import(const CommandArguments& args) {
  std::vector<std::string> files;
  std::optional<std::string> into;
  bool warnings = false;
  std::optional<std::string> instrumentFrom;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--warnings") {
      warnings = true;
    } else if (args[i] == "--into" && i + 1 < args.size()) {
      into = args[++i];
    } else if (args[i] == "--instrument" && i + 1 < args.size()) {
      instrumentFrom = args[++i];
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return PrintUsage("import");
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  std::ostream nowhere(nullptr);
  ScopedImportWarnings quiet(warnings ? ImportWarnings() : nowhere);

  std::error_code error;
  const bool folder = std::filesystem::is_directory(files[0], error);
  const Importer* importer = folder ? nullptr : FindImporter(files[0]);
  if (!folder && importer == nullptr) {
    std::fprintf(stderr, "%s: no importer reads this file\n", files[0].c_str());
    return 1;
  }
  // The chooser and the wizard answer with the instrument document's first definition.
  std::unique_ptr<CVornelTabDoc> instrumentDoc;
  CInstrumentDlg instrument;
  instrument.EnsureStave();
  if (instrumentFrom) {
    instrumentDoc = OpenDocument(*instrumentFrom);
    if (instrumentDoc == nullptr) return 1;
    if (!instrumentDoc->sections.empty() && !instrumentDoc->sections.at(0)->definitions.empty()) {
      instrument.CopyFrom(*instrumentDoc->sections.at(0)->definitions.at(0));
    }
  }
  FixedInstrumentChooser chooser(instrument);
  ScopedInstrumentChooser scopedChooser(chooser);
  FixedSectionWizard wizard(instrument);
  ScopedSectionWizard scopedWizard(wizard);

  std::unique_ptr<CVornelTabDoc> doc;
  if (into) {
    doc = OpenDocument(*into);
    if (doc == nullptr) return 1;
  } else {
    doc = std::make_unique<CVornelTabDoc>();
    doc->OnNewDocument();
  }
  const CSystemArray* untouched = into ? nullptr : doc->sections.at(0);
  std::vector<const CSystemArray*> existing;
  for (const auto& section : doc->sections.items()) existing.push_back(section.get());
  const size_t added = folder ? ImportFolder(files[0], *doc) : ImportFile(*importer, files[0], *doc);
  if (added == 0) return 1;
  if (folder) TitleImportedDocument(*doc, added, files[0]);
  // The new document's own section goes, wherever the imports put theirs.
  if (untouched != nullptr) {
    const int index = doc->sections.IndexOf(untouched);
    if (index >= 0) doc->sections.DeleteSection(static_cast<size_t>(index));
  }
  FitSystemsToPages(*doc, existing);
  if (!SaveDocumentFile(*doc, files[1])) return 1;
  for (size_t s = 0; s < doc->sections.size(); ++s) {
    const CSystemArray* section = doc->sections.at(s);
    if (std::find(existing.begin(), existing.end(), section) == existing.end()) PrintSection(*section, s + 1);
  }
  return 0;
}

const ToolCommand registration("import",
                               "import IN|FOLDER OUT.btxml|OUT.btz [--into DOC] [--instrument DOC] [--warnings]",
                               "import a file of another program as new sections of a document", Import);

}  // namespace

}  // namespace vornel::tool
