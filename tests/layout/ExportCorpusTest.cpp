// Every MIDI file of the corpus that imports is exported to all three forms, and its MusicXML
// reads back through our MusicXML reader with, in every part, as many pitched notes as the
// instrument's first voice holds.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "document/CVornelTabDoc.h"
#include "layout/export/CTabProperties.h"
#include "layout/export/DocumentExports.h"
#include "layout/export/MusicXmlExport.h"
#include "midi/MidiImport.h"
#include "musicxml/reader/xmlreader.h"
#include "platform/text/FormatText.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

// Pitched notes of each part, by part id.
std::map<std::string, size_t> PitchedNotesByPart(const std::string& path) {
  std::map<std::string, size_t> counts;
  MusicXML2::xmlreader reader;
  const MusicXML2::STXMLFile file = reader.readFile(path.c_str());
  if (!file || !file->getRoot()) return counts;
  const std::function<size_t(const MusicXML2::Sxmlelement&)> count = [&](const MusicXML2::Sxmlelement& e) {
    size_t n = 0;
    for (const MusicXML2::Sxmlelement& child : e->elements()) {
      if (child->getName() == "note") {
        for (const MusicXML2::Sxmlelement& part : child->elements()) n += part->getName() == "pitch" ? 1 : 0;
      } else {
        n += count(child);
      }
    }
    return n;
  };
  for (const MusicXML2::Sxmlelement& part : file->getRoot()->elements()) {
    if (part->getName() == "part") counts[part->getAttributeValue("id")] = count(part);
  }
  return counts;
}

TEST(ExportCorpus, ImportedMidiFilesExportToEveryForm) {
  const fs::path folder = fs::path(VORNEL_CORPUS_DIR) / "midi";
  if (!fs::is_directory(folder)) GTEST_SKIP() << "no corpus at " << folder;
  testing::TempDir dir;
  int exported = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    testing::ScriptedPrompts prompts;
    AllTracksChooser chooser;
    CInstrumentDlg defaultDefinition;
    defaultDefinition.EnsureStave();
    std::unique_ptr<CSystemArray> section = ImportMidiFile(entry.path().string(), chooser, nullptr, defaultDefinition);
    if (section == nullptr) continue;

    CVornelTabDoc doc;
    doc.sections.DeleteAllSections();
    doc.sections.push_back(std::move(section));
    doc.sections.activeSection = 0;
    doc.sections.Renumber();
    doc.SetTitle(name);
    const CSystemArray& imported = *doc.sections.at(0);

    const std::string xml = dir.File("out.xml");
    ASSERT_EQ(WriteSectionMusicXml(doc, xml, 0, ExportDate{2024, 1, 1}), 1) << name;
    EXPECT_FALSE(BuildTabFile(doc, 0, CTabProperties{}).empty()) << name;
    EXPECT_FALSE(BuildBrailleFile(doc, 0, 25, 32).empty()) << name;
    // Nothing is said but the warning of a damaged file.
    for (const std::string& message : prompts.messages) {
      EXPECT_TRUE(message.starts_with(entry.path().string() + ": the file is damaged")) << name << ": " << message;
    }

    const std::map<std::string, size_t> parts = PitchedNotesByPart(xml);
    for (size_t i = 0; i < imported.definitions.size(); ++i) {
      size_t notes = 0;
      for (const auto& system : imported.systems) {
        for (const auto& e : system->Line(i)->firstVoice) notes += e != nullptr && e->IsChord() ? e->notes.size() : 0;
      }
      const std::string id = FormatText("P%zu-0", i + 1);
      ASSERT_TRUE(parts.count(id)) << name << " " << id;
      EXPECT_EQ(parts.at(id), notes) << name << " " << id;
    }
    ++exported;
  }
  EXPECT_GT(exported, 40);
}

}  // namespace
}  // namespace vornel
