// import IN OUT.btxml|.btz [--into DOC]: a file of another program imported by the importer
// that takes it, appended to DOC or to a new document (whose untouched first section is then
// dropped) and saved as OUT. Prints each new section and, per instrument line, its name,
// program and courses, and per voice its chords, notes, rests and bars.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "import/Importer.h"
#include "model/CSystemArray.h"

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

int Import(const CommandArguments& args) {
  std::vector<std::string> files;
  std::optional<std::string> into;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--into" && i + 1 < args.size()) {
      into = args[++i];
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return PrintUsage("import");
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);

  const Importer* importer = FindImporter(files[0]);
  if (importer == nullptr) {
    std::fprintf(stderr, "%s: no importer reads this file\n", files[0].c_str());
    return 1;
  }
  std::unique_ptr<CVornelTabDoc> doc;
  if (into) {
    doc = OpenDocument(*into);
    if (doc == nullptr) return 1;
  } else {
    doc = std::make_unique<CVornelTabDoc>();
    doc->OnNewDocument();
  }
  const size_t before = doc->sections.size();
  const size_t added = importer->Import(files[0], *doc);
  if (added == 0) return 1;
  size_t first = before;
  if (!into && doc->sections.DeleteSection(0) != 0) --first;  // the new document's own section
  if (!SaveDocumentFile(*doc, files[1])) return 1;
  for (size_t s = first; s < doc->sections.size(); ++s) PrintSection(*doc->sections.at(s), s + 1);
  return 0;
}

const ToolCommand registration("import", "import IN OUT.btxml|OUT.btz [--into DOC]",
                               "import a file of another program as new sections of a document", Import);

}  // namespace

}  // namespace vornel::tool
