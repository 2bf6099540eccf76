#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/CBriotabDoc.h"
#include "document/DocumentDump.h"
#include "document/DocumentFixtures.h"
#include "document/OldDocumentRecords.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::OldDocument;
using testing::ScriptedPrompts;
using testing::TempDir;
using testing::ToHex;

constexpr const char* kNewer =
    "This document was created with a more recent version of the program\nand cannot be read by this outdated "
    "copy.\nPlease update to the latest version of Vornel!";
constexpr const char* kXmlMessage =
    "Wrong file format...This looks like an XML file.\nCheck and rename it with a btxml extension if it is a valid "
    "VornelXML file.";

std::string WriteFile(const TempDir& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string path = dir.File(name);
  testing::WriteText(path, std::string(bytes.begin(), bytes.end()));
  return path;
}

TEST(BinaryDocument, HeaderIsTheMagicThenTheWriterVersionAsTexts) {
  CBriotabDoc doc;
  doc.sections.push_back(std::make_unique<CSystemArray>());
  doc.sections.activeSection = 0;
  const std::vector<uint8_t> bytes = doc.StoreBinary();
  const std::vector<uint8_t> header = HexBytes(
      "FF FE FF 07 42 00 72 00 69 00 6F 00 54 00 61 00 62 00"   // "BrioTab"
      " FF FE FF 07 39 00 2E 00 38 00 2E 00 31 00 2E 00 30 00");  // "9.8.1.0"
  ASSERT_GT(bytes.size(), header.size());
  EXPECT_EQ(ToHex(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(header.size()))),
            ToHex(header));
  // Then the settings record and the section list, which ends with the active index.
  ArchiveWriter rest;
  doc.settings.Store(rest);
  doc.sections.Store(rest);
  EXPECT_EQ(bytes.size(), header.size() + rest.Bytes().size());
  EXPECT_EQ(ToHex(std::vector<uint8_t>(bytes.end() - 4, bytes.end())), "00 00 00 00");
}

TEST(BinaryDocument, HandBuiltDocumentOpensWithEveryField) {
  ScriptedPrompts prompts;
  TempDir dir;
  const std::string path = WriteFile(dir, "lachrimae.btb", testing::SampleDocument("9.8.1.0").Bytes());
  CBriotabDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(path));
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(doc.GetTitle(), "lachrimae.btb");
  EXPECT_EQ(doc.xmlFlag, 0);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.settings.Text(CDocumentSettings::kTitle).text, "Lachrimae");
  EXPECT_EQ(doc.settings.Association("pdf-rendition"), "C:\\a.pdf");
  ASSERT_EQ(doc.sections.size(), 1u);
  const CSystemArray& section = *doc.sections.at(0);
  ASSERT_EQ(section.definitions.size(), 2u);
  EXPECT_EQ(section.Definition(1)->nameText.text, "Bass viol");
  const nChord* chord = section.System(0)->Line(1)->firstVoice.at(2);
  ASSERT_EQ(chord->notes.size(), 2u);
  EXPECT_EQ(chord->notes.at(0)->pitch, 60);
  EXPECT_EQ(chord->metaEvents.at(0)->text, "my tears");

  const std::string dump = DumpDocument(doc);
  for (const char* line : {"    texts\n      text 0\n        descriptor \"document-title\"\n        text \"Lachrimae\"",
                           "      pdf-rendition \"C:\\\\a.pdf\"", "      systemsPerPage 5",
                           "            meta-event 0\n                kind 0\n                text \"my tears\"",
                           "                pitch 55\n"}) {
    EXPECT_NE(dump.find(line), std::string::npos) << line;
  }
}

// Lines stored without their staves take copies of their definitions' staves: a small file of
// many lines over definitions of sixteen staves would build hundreds of times its size.
TEST(BinaryDocument, AFileThatWouldBuildFarBeyondItsSizeIsRefused) {
  CBriotabDoc hostile;
  auto section = std::make_unique<CSystemArray>();
  for (int d = 1; d < 20; ++d) section->AddInstrument(std::make_unique<CInstrumentDlg>());
  for (const auto& definition : section->definitions.items()) {
    while (definition->AddStave() != nullptr) {
    }
  }
  while (section->systems.size() < 1000) section->NewSystem(CSystemArray::kAppend);
  for (const auto& system : section->systems.items()) {
    for (const auto& line : system->lines.items()) line->staves.clear();
  }
  hostile.sections.push_back(std::move(section));
  hostile.sections.activeSection = 0;
  const std::vector<uint8_t> bytes = hostile.StoreBinary();
  ASSERT_LT(bytes.size(), size_t(1) << 20);

  ScriptedPrompts prompts;
  CBriotabDoc doc;
  const std::string before = DumpDocument(doc);
  EXPECT_FALSE(doc.LoadBinary(bytes, "hostile.btb"));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(prompts.messages[0].starts_with("Memory exception found: hostile.btb\nthe records build more than"))
      << prompts.messages[0];
  EXPECT_EQ(DumpDocument(doc), before);
}

TEST(BinaryDocument, TheToolsFixtureIsTheHandBuiltDocument) {
  const std::string committed = testing::ReadText(std::string(VORNEL_SOURCE_DIR) + "/tests/tool/lachrimae.btb");
  const std::vector<uint8_t> built = testing::SampleDocument("9.8.1.0").Bytes();
  EXPECT_TRUE(committed == std::string(built.begin(), built.end()));
}

struct HeaderCase {
  const char* name;
  std::string magic;
  const char* version;
  std::vector<std::string> messages;  // none: the file opens
};

class BinaryHeaders : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(BinaryHeaders, MagicAndVersionDecideWhetherTheFileIsRead) {
  const HeaderCase& c = GetParam();
  ScriptedPrompts prompts;
  OldDocument file = testing::SampleDocument(c.version);
  file.magic = c.magic;
  CBriotabDoc doc;
  const bool opened = doc.LoadBinary(file.Bytes(), "file.btb");
  std::vector<std::string> expected;
  for (const std::string& message : c.messages) expected.push_back("file.btb:\n" + message);
  EXPECT_EQ(prompts.messages, expected);
  EXPECT_EQ(opened, c.messages.empty());
  EXPECT_EQ(doc.sections.size(), opened ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BinaryHeaders,
    ::testing::Values(HeaderCase{"Current", "BrioTab", "9.8.1.0", {}},
                      HeaderCase{"LongerMagic", "BrioTabX", "9.8.1.0", {}},
                      HeaderCase{"OlderByText", "BrioTab", "9.16", {}},
                      HeaderCase{"ShortMagic", "BrioTa", "9.8.1.0", {"Wrong file format..."}},
                      HeaderCase{"XmlDeclaration", "?xml version", "9.8.1.0", {kXmlMessage}},
                      HeaderCase{"Newer", "BrioTab", "9.9", {kNewer}},
                      HeaderCase{"NewerAndWrongMagic", "Junk", "9.9", {kNewer}}),
    [](const ::testing::TestParamInfo<HeaderCase>& info) { return info.param.name; });

TEST(BinaryDocument, XmlFilesGiveBothMessagesHoweverShort) {
  for (const std::string& text : {std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VornelTabXML version=\"1.0\">"
                                             "<document-settings/><sections count=\"0\"/></VornelTabXML>\n"),
                                 std::string("<?xml")}) {
    ScriptedPrompts prompts;
    CBriotabDoc doc;
    EXPECT_FALSE(doc.LoadBinary(std::vector<uint8_t>(text.begin(), text.end())));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{kXmlMessage});
  }
}

TEST(BinaryDocument, TemplateGivesItsOneSectionAndIsStoredAsADocument) {
  ScriptedPrompts prompts;
  OldDocument file = testing::SampleDocument("9.8.1.0");
  file.magic = "BrioTabTemplate";
  CBriotabDoc doc;
  ASSERT_TRUE(doc.LoadBinary(file.Bytes()));
  ASSERT_EQ(doc.sections.size(), 1u);
  EXPECT_EQ(doc.sections.activeSection, 0);
  EXPECT_EQ(doc.sections.at(0)->definitions.size(), 2u);

  const std::vector<uint8_t> stored = doc.StoreBinary();
  CBriotabDoc again;
  ASSERT_TRUE(again.LoadBinary(stored));
  EXPECT_EQ(ToHex(std::vector<uint8_t>(stored.begin(), stored.begin() + 18)),
            "FF FE FF 07 42 00 72 00 69 00 6F 00 54 00 61 00 62 00");
  EXPECT_EQ(DumpDocument(again), DumpDocument(doc));
}

TEST(BinaryDocument, FilesBeforeSevenThreeTakeTheDocumentsSystemsPerPage) {
  ScriptedPrompts prompts;
  for (const auto& [version, expected] : {std::pair<std::string, int32_t>{"7.2", 5}, {"7.3", 6}}) {
    OldDocument file = testing::SampleDocument(version);
    file.sections.at(0)->stavesPerPage = 6;  // stored from 7.3 on
    CBriotabDoc doc;
    ASSERT_TRUE(doc.LoadBinary(file.Bytes())) << version;
    EXPECT_EQ(doc.sections.at(0)->stavesPerPage, expected) << version;
    EXPECT_EQ(doc.settings.pageSettings.systemsPerPage, 5u) << version;
  }
}

TEST(BinaryDocument, AFailedLoadChangesNothing) {
  ScriptedPrompts prompts;
  auto doc = testing::RichDocument();
  doc->SetPathName("/music/rich.btb");
  const std::string before = DumpDocument(*doc);
  std::vector<uint8_t> bytes = testing::SampleDocument("9.8.1.0").Bytes();
  bytes.resize(bytes.size() - 10);
  EXPECT_FALSE(doc->LoadBinary(bytes, "/music/cut.btb"));
  // The message names the file, then what the reader found and where.
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(prompts.messages[0].starts_with("Corrupt or invalid file found: /music/cut.btb\n")) << prompts.messages[0];
  EXPECT_NE(prompts.messages[0].find("(at byte "), std::string::npos) << prompts.messages[0];
  EXPECT_EQ(DumpDocument(*doc), before);
  EXPECT_EQ(doc->GetPathName(), "/music/rich.btb");
}

TEST(BinaryDocument, OnlyBinaryFilesThatExistAreOpened) {
  TempDir dir;
  const std::string other = WriteFile(dir, "x.btxml", testing::SampleDocument("9.8.1.0").Bytes());
  for (const std::string& path : {other, dir.File("x.btz"), dir.File("x.txt")}) {
    ScriptedPrompts prompts;
    CBriotabDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(path)) << path;
    EXPECT_TRUE(prompts.messages.empty()) << path;
    EXPECT_TRUE(doc.sections.empty());
  }
  // A missing document opens as nothing, never as an empty score under its name.
  ScriptedPrompts prompts;
  CBriotabDoc doc;
  EXPECT_FALSE(doc.OnOpenDocument(dir.File("missing.btb")));
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"This file does not exist."});
  EXPECT_TRUE(doc.sections.empty());
  EXPECT_EQ(doc.GetPathName(), "");
}

TEST(BinaryDocument, FacsimilesAreLookedForBesideTheDocument) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("images"));
  testing::WriteText(dir.File("images/F1R.jpg"), "jpeg");
  OldDocument file = testing::SampleDocument("9.8.1.0");
  file.settings.associations.clear();
  file.sections.at(0)->images = {"C:\\scans\\f1r.JPG", "http://www.example.org/f2.jpg", "C:\\scans\\f3.jpg"};
  const std::string path = WriteFile(dir, "song.btb", file.Bytes());
  ScriptedPrompts prompts;
  CBriotabDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(path));
  EXPECT_EQ(doc.sections.at(0)->facsimiles.imagePaths,
            (std::vector<std::string>{dir.File("images/F1R.jpg"), "http://www.example.org/f2.jpg",
                                      "C:\\scans\\f3.jpg"}));
  EXPECT_EQ(prompts.messages,
            std::vector<std::string>{"C:\\scans\\f3.jpg:\nThis facsimile file does not exist on your system"});
}

// A damaged document naming thousands of missing facsimiles gives one warning with the first
// few names and their count.
TEST(BinaryDocument, ManyMissingFacsimilesGiveOneShortWarning) {
  TempDir dir;
  OldDocument file = testing::SampleDocument("9.8.1.0");
  file.settings.associations.clear();
  file.sections.at(0)->images.clear();
  for (int i = 0; i < 12; ++i) file.sections.at(0)->images.push_back("C:\\scans\\p" + std::to_string(i) + ".jpg");
  const std::string path = WriteFile(dir, "song.btb", file.Bytes());
  ScriptedPrompts prompts;
  CBriotabDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(path));
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"C:\\scans\\p0.jpg\nC:\\scans\\p1.jpg\nC:\\scans\\p2.jpg\n"
                                                       "C:\\scans\\p3.jpg\nC:\\scans\\p4.jpg\n(and 7 more, 12 in all):\n"
                                                       "This facsimile file does not exist on your system"});
  EXPECT_EQ(MissingFacsimilesMessage({"a.jpg", "b.jpg"}),
            "a.jpg\nb.jpg\n(2 in all):\nThis facsimile file does not exist on your system");
}

}  // namespace
}  // namespace vornel
