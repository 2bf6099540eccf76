// A MusicXML file imported into a document, the finishing of the section, and the registry
// that hands files to their importer.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ImportTestSupport.h"
#include "document/CBriotabDoc.h"
#include "import/ImportedSection.h"
#include "import/Importer.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::Score;
using testing::ScriptedPrompts;
using testing::TempFile;

const std::string kTwoParts = Score(R"(<work><work-title>Suite</work-title><work-number>3</work-number></work>
  <movement-title>Allemande</movement-title>
  <identification><creator type="composer">Visée</creator></identification>
  <part-list>
    <score-part id="P1"><part-name>Guitar</part-name>
      <score-instrument id="P1-I1"><instrument-name>Guitare</instrument-name></score-instrument>
      <midi-instrument id="P1-I1"><midi-program>25</midi-program></midi-instrument></score-part>
    <score-part id="P2"><part-name>Bass</part-name></score-part>
  </part-list>
  <part id="P1"><measure number="1"><attributes><staff-details><staff-lines>6</staff-lines>
    <staff-tuning line="1"><tuning-step>E</tuning-step><tuning-octave>2</tuning-octave></staff-tuning>
    <staff-tuning line="2"><tuning-step>A</tuning-step><tuning-octave>2</tuning-octave></staff-tuning>
    <staff-tuning line="3"><tuning-step>D</tuning-step><tuning-octave>3</tuning-octave></staff-tuning>
    <staff-tuning line="4"><tuning-step>G</tuning-step><tuning-octave>3</tuning-octave></staff-tuning>
    <staff-tuning line="5"><tuning-step>B</tuning-step><tuning-octave>3</tuning-octave></staff-tuning>
    <staff-tuning line="6"><tuning-step>E</tuning-step><tuning-octave>4</tuning-octave></staff-tuning>
    </staff-details></attributes>
    <note><pitch><step>E</step><octave>4</octave></pitch><duration>1</duration><voice>1</voice></note></measure></part>
  <part id="P2"><measure number="1"><note><rest/><duration>1</duration><voice>1</voice></note></measure></part>)");

// A document of one section, titled "first".
std::unique_ptr<CBriotabDoc> OneSectionDocument() {
  auto doc = std::make_unique<CBriotabDoc>();
  doc->AppendNewSection()->Title().text = "first";
  return doc;
}

TEST(MusicXmlImport, AFileBecomesANewActiveSection) {
  ScriptedPrompts prompts;
  const TempFile file(kTwoParts);
  auto doc = OneSectionDocument();
  MusicXMLImport import;
  import.target = doc.get();
  ASSERT_TRUE(import.ImportFile(file.path()));
  EXPECT_TRUE(prompts.messages.empty());
  ASSERT_EQ(doc->sections.size(), 2u);
  EXPECT_EQ(doc->sections.activeSection, 1);
  const CSystemArray& section = *doc->sections.at(1);
  EXPECT_EQ(section.index, 1);
  EXPECT_EQ(section.Title().text, "Allemande");
  EXPECT_EQ(section.Author().text, "Suite -- 3");
  EXPECT_EQ(section.Comments().text, "Visée");
  ASSERT_EQ(section.definitions.size(), 2u);
  ASSERT_GE(section.systems.size(), 1u);
  for (const auto& system : section.systems.items()) EXPECT_EQ(system->lines.size(), 2u);

  const CInstrumentDlg& guitar = *section.Definition(0);
  EXPECT_EQ(guitar.nameText.text, "Guitar");  // the part's name, as its score shows it
  EXPECT_EQ(guitar.midi.patch, 24);  // MusicXML counts programs from 1
  EXPECT_EQ(guitar.midi.name, "25. Acoustic Guitar (nylon)");
  ASSERT_EQ(guitar.staves.size(), 1u);
  EXPECT_EQ(guitar.staves.at(0)->clefId, CClef::kGClef);
  EXPECT_EQ(guitar.staves.at(0)->type, CClef::kStaff);
  EXPECT_EQ(guitar.staves.at(0)->spaceBelow, 3u);
  const nTuning& tuning = guitar.tabInstrument.tuning;
  ASSERT_EQ(tuning.CoursesInUse(), 6u);
  EXPECT_EQ(tuning.courses[0].pitch + kCoursePitchOffset, 64);
  EXPECT_EQ(tuning.courses[5].pitch + kCoursePitchOffset, 40);

  const CInstrumentDlg& bass = *section.Definition(1);
  EXPECT_EQ(bass.nameText.text, "Bass");
  EXPECT_EQ(bass.midi.patch, 0);
  EXPECT_EQ(bass.tabInstrument.tuning, CInstrumentDlg().tabInstrument.tuning);
}

// The names a score prints for its parts: the part's name or what its display says instead,
// the abbreviation likewise; a name the score does not print is kept unprinted. Names stand on
// every system when a part has an abbreviation.
TEST(MusicXmlImport, PartNamesAndAbbreviations) {
  ScriptedPrompts prompts;
  const TempFile file(Score(R"(<part-list>
    <score-part id="P1"><part-name>Violin</part-name><part-abbreviation>Vln.</part-abbreviation>
      <score-instrument id="P1-I1"><instrument-name>Violin solo</instrument-name></score-instrument></score-part>
    <score-part id="P2"><part-name>Part name</part-name>
      <part-name-display><display-text>Player </display-text><display-text>Two</display-text></part-name-display>
      <part-abbreviation>Abbrev.</part-abbreviation>
      <part-abbreviation-display><display-text>P. 2</display-text></part-abbreviation-display></score-part>
    <score-part id="P3"><part-name print-object="no">Hidden</part-name></score-part>
  </part-list>
  <part id="P1"><measure number="1"><note><rest/><duration>1</duration><voice>1</voice></note></measure></part>
  <part id="P2"><measure number="1"><note><rest/><duration>1</duration><voice>1</voice></note></measure></part>
  <part id="P3"><measure number="1"><note><rest/><duration>1</duration><voice>1</voice></note></measure></part>)"));
  auto doc = OneSectionDocument();
  MusicXMLImport import;
  import.target = doc.get();
  ASSERT_TRUE(import.ImportFile(file.path()));
  const CSystemArray& section = *doc->sections.at(1);
  ASSERT_EQ(section.definitions.size(), 3u);
  struct Expected {
    const char* name;
    const char* shortName;
    bool printed;
  };
  const Expected expected[] = {{"Violin", "Vln.", true}, {"Player Two", "P. 2", true}, {"Hidden", "", false}};
  for (size_t d = 0; d < 3; ++d) {
    EXPECT_EQ(section.Definition(d)->nameText.text, expected[d].name);
    EXPECT_EQ(section.Definition(d)->shortName, expected[d].shortName);
    EXPECT_EQ(section.Definition(d)->nameText.flags != 0, expected[d].printed) << d;
  }
  for (const auto& system : section.systems.items()) EXPECT_EQ(system->nameInstruments & 1, 1);
}

TEST(MusicXmlImport, TheSectionIsNamedAfterTheMovementElseTheWorkElseTheFile) {
  ScriptedPrompts prompts;
  const auto without = [](std::string text, std::string_view part) {
    text.erase(text.find(part), part.size());
    return text;
  };
  const std::string noMovement = without(kTwoParts, "<movement-title>Allemande</movement-title>");
  const std::string untitled =
      without(noMovement, "<work><work-title>Suite</work-title><work-number>3</work-number></work>");
  for (const auto& [text, title] : {std::pair{noMovement, std::string("Suite")}, std::pair{untitled, std::string()}}) {
    const TempFile file(text);
    auto doc = OneSectionDocument();
    MusicXMLImport import;
    import.target = doc.get();
    ASSERT_TRUE(import.ImportFile(file.path()));
    const std::string expected = title.empty() ? std::filesystem::path(file.path()).stem().string() : title;
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(doc->GetActiveSection()->Title().text, expected);
  }
}

TEST(MusicXmlImport, FilesThatImportNothingChangeNothing) {
  struct Case {
    const char* label;
    std::string bytes;
    std::string_view message;
    const char* reason = nullptr;  // what follows the file's path, when the reader knows it
  };
  const std::vector<Case> cases = {
      {"no part in the list", Score("<part-list/><part id=\"P1\"><measure/></part>"),
       MusicXMLImport::kNoInstrumentsMessage},
      {"no part list", Score("<part id=\"P1\"><measure/></part>"), MusicXMLImport::kNoInstrumentsMessage},
      {"a timewise score", MusicXML2::testing::Document("<score-timewise version=\"2.0\"><part-list/></score-timewise>"),
       MusicXMLImport::kUnreadableMessage, "it is not a partwise MusicXML score (its root is <score-timewise>)"},
      {"not XML", "PK\x03\x04 not a zip archive", MusicXMLImport::kUnreadableMessage,
       "it is not a zip archive, or its directory is damaged"},
      {"empty", "", MusicXMLImport::kUnreadableMessage, "syntax error, unexpected $end, expecting DOCTYPE on line 1"},
  };
  for (const Case& c : cases) {
    ScriptedPrompts prompts;
    const TempFile file(c.bytes);
    auto doc = OneSectionDocument();
    MusicXMLImport import;
    import.target = doc.get();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(import.ImportFile(file.path())) << c.label;
    ::testing::internal::GetCapturedStderr();
    std::string expected(c.message);
    if (c.reason != nullptr) expected += "\n" + file.path() + ":\n" + c.reason;
    EXPECT_EQ(prompts.messages, std::vector<std::string>{expected}) << c.label;
    EXPECT_EQ(doc->sections.size(), 1u) << c.label;
    EXPECT_EQ(doc->GetActiveSection()->Title().text, "first") << c.label;
  }
}

TEST(MusicXmlImport, TheFileIsAskedFor) {
  const TempFile file(kTwoParts);
  ScriptedPrompts prompts;
  prompts.QueueFile(std::nullopt);
  prompts.QueueFile(file.path());
  auto doc = OneSectionDocument();
  MusicXMLImport import;
  import.target = doc.get();
  EXPECT_FALSE(import.OnNewDocument());
  EXPECT_EQ(doc->sections.size(), 1u);
  EXPECT_TRUE(import.OnNewDocument());
  EXPECT_EQ(doc->sections.size(), 2u);
  EXPECT_EQ(prompts.filePrompts, (std::vector<std::string>(2, "Open a MusicXML file...|*.xml;*.musicxml;*.mxl||")));
}

TEST(MusicXmlImport, FinishingLaysTheVoicesOutIntoSystems) {
  auto section = testing::SectionOfParts({"Lute", "Viol"});
  std::string tags = "staff 1 1 1 0 0\nmeter 3/4 3 4\n";
  for (int bar = 0; bar < 12; ++bar) {
    for (int beat = 0; beat < 3; ++beat) tags += "note 48 c 4 \"\" 260 0 1 4 0\n";
    tags += "bar\n";
  }
  tags += "endstaff staff\nstaff 2 1 1 0 1\nnote 36 c 3 \"\" 260 0 3 4 0\nendstaff staff\n";
  testing::WalkText(*section, tags);
  FinishImportedSection(*section, MusicXMLImport::kEventsPerSystem, ImportedVoices::kInDefinitions);
  // 49 events in runs of more than 18: the systems after the first start at a bar line.
  ASSERT_GE(section->systems.size(), 2u);
  EXPECT_TRUE(section->System(1)->Line(0)->firstVoice.at(0)->IsBarLine());
  size_t chords = 0;
  size_t fixedBars = 0;
  for (const auto& system : section->systems.items()) {
    ASSERT_EQ(system->lines.size(), 2u);
    for (const auto& e : system->Line(0)->firstVoice) {
      if (e == nullptr) continue;
      chords += e->IsChord() ? 1 : 0;
      fixedBars += e->IsBarLine() && (e->status & 0xFFF3) == 0x11 ? 1 : 0;
    }
  }
  EXPECT_EQ(chords, 36u);
  EXPECT_EQ(fixedBars, 0u);  // the forced bar lines fell on bar ends and were freed
  size_t violChords = 0;
  for (const auto& system : section->systems.items()) {
    for (const auto& e : system->Line(1)->firstVoice) violChords += e != nullptr && e->IsChord() ? 1 : 0;
  }
  EXPECT_EQ(violChords, 1u);
  for (const auto& definition : section->definitions.items()) EXPECT_TRUE(definition->gathered[0].empty());
}

TEST(Importers, FilesGoToTheirImporter) {
  const TempFile zipped("PK\x03\x04 anything", "score.dat");
  const TempFile text("<?xml version=\"1.0\"?>", "score.dat");
  const Importer* musicXml = FindImporter("a.xml");
  ASSERT_NE(musicXml, nullptr);
  EXPECT_EQ(musicXml->Name(), "MusicXML");
  for (const char* path : {"b.MusicXML", "c.MXL", "/no/such/d.xml"}) EXPECT_EQ(FindImporter(path), musicXml) << path;
  EXPECT_EQ(FindImporter(zipped.path()), musicXml);  // a zip archive is compressed MusicXML
  EXPECT_EQ(FindImporter(text.path()), nullptr);
  EXPECT_EQ(FindImporter("/no/such/file.dat"), nullptr);

  ScriptedPrompts prompts;
  prompts.QueueFile(std::nullopt);
  CBriotabDoc doc;
  EXPECT_EQ(PromptAndImport(*musicXml, doc), 0u);
  EXPECT_EQ(prompts.filePrompts, std::vector<std::string>{"Open a MusicXML file...|*.xml;*.musicxml;*.mxl||"});
}

}  // namespace
}  // namespace vornel
