#pragma once
// A document of one long section as a TAB text import gives it: lute chords of one to three
// notes, a rhythm flag on the first of every four and a bar line after them, cut into systems
// by the import. The text is made in memory, written to a temporary folder of the process and
// imported through the importer the editor's import command uses. (The typing benchmark uses
// it too.)

#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "document/CVornelTabDoc.h"
#include "document/InstrumentChooser.h"
#include "document/SectionWizard.h"
#include "import/ImportWarnings.h"
#include "import/Importer.h"
#include "model/instrument/CInstrumentDlg.h"
#include "platform/UserPrompts.h"
#include "platform/io/TemporaryFiles.h"

namespace vornel::testing {

// TAB text of `chords` chords.
inline std::string LongTabText(size_t chords) {
  std::string text = "-R9\n\n";
  uint32_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  for (size_t c = 0; c < chords; ++c) {
    // A flag on the first chord of each bar, the others following it.
    text.push_back(c % 4 == 0 ? '2' : ' ');
    const size_t notes = 1 + next() % 3;
    char line[6] = {' ', ' ', ' ', ' ', ' ', ' '};
    for (size_t n = 0; n < notes; ++n) line[next() % 6] = static_cast<char>('a' + next() % 6);
    size_t end = 6;
    while (end > 0 && line[end - 1] == ' ') --end;
    text.append(line, end);
    text.push_back('\n');
    if (c % 4 == 3) text.append("b\n");
  }
  text.append("e\n");
  return text;
}

// A new document holding only the imported section of `chords` chords, active.
inline std::unique_ptr<CVornelTabDoc> LongSectionDocument(size_t chords) {
  class Quiet : public ConsolePrompts {
   public:
    void ShowMessage(std::string_view, MessageKind, std::string_view) override {}
  } prompts;
  ScopedPrompts scopedPrompts(prompts);
  std::ostream nowhere(nullptr);
  ScopedImportWarnings quiet(nowhere);
  CInstrumentDlg instrument;
  instrument.EnsureStave();
  FixedInstrumentChooser chooser(instrument);
  ScopedInstrumentChooser scopedChooser(chooser);
  FixedSectionWizard wizard(instrument);
  ScopedSectionWizard scopedWizard(wizard);

  const std::string folder = MakeTemporaryFolder();
  if (folder.empty()) return nullptr;
  const std::filesystem::path path = std::filesystem::path(folder) / "long.tab";
  std::ofstream(path, std::ios::binary) << LongTabText(chords);
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  const CSystemArray* blank = doc->sections.at(0);
  const Importer* importer = FindImporter(path.string());
  const size_t added = importer != nullptr ? importer->Import(path.string(), *doc) : 0;
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  if (added == 0) return nullptr;
  if (const int index = doc->sections.IndexOf(blank); index >= 0) doc->sections.DeleteSection(static_cast<size_t>(index));
  doc->sections.activeSection = 0;
  doc->sections.Renumber();
  return doc;
}

}  // namespace vornel::testing
