#pragma once
// A document of one long section as a TAB text import gives it: lute chords of one to three
// notes with a rhythm flag now and then, a bar line every four chords, cut into systems by the
// import. The text is made in memory, written to a temporary file and imported through the
// importer the editor's import command uses.

#include <cstdio>
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

namespace vornel::bench {

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

  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("vornel-bench-" + std::to_string(chords) + ".tab");
  std::ofstream(path, std::ios::binary) << LongTabText(chords);
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  const CSystemArray* blank = doc->sections.at(0);
  const Importer* importer = FindImporter(path.string());
  const size_t added = importer != nullptr ? importer->Import(path.string(), *doc) : 0;
  std::filesystem::remove(path);
  if (added == 0) return nullptr;
  if (const int index = doc->sections.IndexOf(blank); index >= 0) doc->sections.DeleteSection(static_cast<size_t>(index));
  doc->sections.activeSection = 0;
  doc->sections.Renumber();
  return doc;
}

}  // namespace vornel::bench
