// Every MIDI file of the corpus that imports is exported to all three forms, and its MusicXML
// reads back through our MusicXML reader with, in every part, the pitches of the instrument's
// first voice: each note's step, alteration and octave make the pitch the document holds.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

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

// The MIDI pitch (C4 = 60) of a "pitch" element, or -1.
int PitchOf(const MusicXML2::Sxmlelement& pitch) {
  static const std::map<std::string, int> kSteps = {{"C", 0}, {"D", 2}, {"E", 4}, {"F", 5},
                                                    {"G", 7}, {"A", 9}, {"B", 11}};
  int step = -1;
  float alter = 0;
  int octave = 0;
  for (const MusicXML2::Sxmlelement& part : pitch->elements()) {
    if (part->getName() == "step" && kSteps.count(part->getValue())) step = kSteps.at(part->getValue());
    if (part->getName() == "alter") alter = part->getFloatValue();
    if (part->getName() == "octave") octave = part->getIntValue();
  }
  return step < 0 ? -1 : (octave + 1) * 12 + step + static_cast<int>(std::lround(alter));
}

// The pitches of the notes of each part in the order written, by part id.
std::map<std::string, std::vector<int>> PitchesByPart(const std::string& path) {
  std::map<std::string, std::vector<int>> pitches;
  MusicXML2::xmlreader reader;
  const MusicXML2::STXMLFile file = reader.readFile(path.c_str());
  if (!file || !file->getRoot()) return pitches;
  const std::function<void(const MusicXML2::Sxmlelement&, std::vector<int>&)> collect =
      [&](const MusicXML2::Sxmlelement& e, std::vector<int>& out) {
        for (const MusicXML2::Sxmlelement& child : e->elements()) {
          if (child->getName() == "note") {
            for (const MusicXML2::Sxmlelement& part : child->elements()) {
              if (part->getName() == "pitch") out.push_back(PitchOf(part));
            }
          } else {
            collect(child, out);
          }
        }
      };
  for (const MusicXML2::Sxmlelement& part : file->getRoot()->elements()) {
    if (part->getName() == "part") collect(part, pitches[part->getAttributeValue("id")]);
  }
  return pitches;
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

    const std::map<std::string, std::vector<int>> parts = PitchesByPart(xml);
    for (size_t i = 0; i < imported.definitions.size(); ++i) {
      std::vector<int> pitches;
      for (const auto& system : imported.systems) {
        for (const auto& e : system->Line(i)->firstVoice) {
          if (e == nullptr || !e->IsChord()) continue;
          for (const nNotes* note : e->notes.InReadOrder()) pitches.push_back(note->pitch);
        }
      }
      const std::string id = FormatText("P%zu-0", i + 1);
      ASSERT_TRUE(parts.count(id)) << name << " " << id;
      EXPECT_EQ(parts.at(id), pitches) << name << " " << id;
    }
    ++exported;
  }
  EXPECT_GT(exported, 40);
}

}  // namespace
}  // namespace vornel
