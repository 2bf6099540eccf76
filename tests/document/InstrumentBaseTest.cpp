#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/DocumentEnvironment.h"
#include "document/instruments/CInstrumentTemplates.h"
#include "model/instrument/InstrumentTemplateTable.h"
#include "model/OldRecords.h"
#include "model/score/SectionEditor.h"
#include "platform/io/FileIO.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::ReadText;
using testing::ScriptedPrompts;
using testing::TempDir;

bool BaseFileExists(const std::string& path) { return std::filesystem::exists(path); }

std::vector<std::string> TemplateNames(const CInstrumentTemplates& base) {
  std::vector<std::string> names;
  for (const auto& definition : base.instruments.items()) names.push_back(definition->nameText.text);
  return names;
}

// A base of the first `count` records of the early-music set.
CInstrumentTemplates BaseOf(size_t count) {
  CInstrumentTemplates base;
  for (size_t i = 0; i < count; ++i) {
    auto definition = std::make_unique<CInstrumentDlg>();
    definition->SetFromTemplate(InstrumentTemplateSet(kEarlyMusicSet)[i]);
    base.instruments.push_back(std::move(definition));
  }
  return base;
}

void WriteBaseFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  ASSERT_TRUE(WriteFileAtomically(path, std::span<const uint8_t>(bytes)));
}

// Keeps the environment and the template set of the process as the test found them.
class InstrumentBaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedEnvironment_ = Environment().instrumentBasePath;
    savedData_ = Environment().dataFolder;
  }
  void TearDown() override {
    Environment().instrumentBasePath = savedEnvironment_;
    Environment().dataFolder = savedData_;
    SetTemplateSetInUse(kEarlyMusicSet);
  }
  ScriptedPrompts prompts;
  TempDir dir;

 private:
  std::string savedEnvironment_;
  std::string savedData_;
};

TEST_F(InstrumentBaseTest, BaseFileNamesEndInTheXmlExtensionCaseSensitively) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/b/Lutes.btbi", "/b/Lutes.btix"}, {"/b/Lutes.btix", "/b/Lutes.btix"}, {"/b/Lutes", "/b/Lutes.btix"},
      {"/b/Lutes.BTIX", "/b/Lutes.BTIX.btix"}, {"/b/Lutes.xml", "/b/Lutes.xml.btix"}};
  for (const auto& [path, expected] : cases) EXPECT_EQ(BaseFileName(path), expected) << path;
}

TEST_F(InstrumentBaseTest, XmlBaseRoundTripIsByteIdentical) {
  CInstrumentTemplates base = BaseOf(kTemplateSetSize);
  const auto written = base.WriteBaseFile(dir.File("Base.btbi"));
  ASSERT_EQ(written, dir.File("Base.btix"));
  const std::string first = ReadText(*written);

  CInstrumentTemplates read;
  ASSERT_TRUE(read.ReadBaseFile(*written));
  EXPECT_EQ(TemplateNames(read), TemplateNames(base));
  EXPECT_EQ(read.basePath, *written);
  ASSERT_TRUE(read.WriteBaseFile(*written));
  EXPECT_EQ(ReadText(*written), first);
}

TEST_F(InstrumentBaseTest, EmptyBaseWritesCountZeroAndReadsBackEmpty) {
  CInstrumentTemplates empty;
  const auto written = empty.WriteBaseFile(dir.File("Empty.btix"));
  ASSERT_TRUE(written);
  const std::string text = ReadText(*written);
  EXPECT_NE(text.find("<instruments count=\"0\"/>"), std::string::npos) << text;
  CInstrumentTemplates read;
  EXPECT_TRUE(read.ReadBaseFile(*written));
  EXPECT_TRUE(read.instruments.empty());
}

TEST_F(InstrumentBaseTest, UnreadableXmlBaseLeavesTheBaseAsItWas) {
  testing::WriteText(dir.File("Other.btix"), "<?xml version=\"1.0\"?><something-else/>");
  testing::WriteText(dir.File("Broken.btix"), "<instruments-list><instr");
  CInstrumentTemplates base = BaseOf(1);
  base.basePath = "kept";
  for (const char* name : {"Other.btix", "Broken.btix"}) {
    EXPECT_FALSE(base.ReadBaseFile(dir.File(name))) << name;
    EXPECT_EQ(base.instruments.size(), 1u);
    EXPECT_EQ(base.basePath, "kept");
  }
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_NE(prompts.messages[0].find("instruments-list"), std::string::npos);
  EXPECT_EQ(prompts.messages[1], std::string(CInstrumentTemplates::kCorruptBaseMessage) + dir.File("Broken.btix"));
}

// Binary bases built from the archive form: with the version header, and from before it
// existed (read as "6.58": an empty base is its count alone, which a reader expecting the
// header texts would take for the first text and then run out).
TEST_F(InstrumentBaseTest, BinaryBasesAreReadWithAndWithoutTheHeader) {
  const CInstrumentTemplates source = BaseOf(2);
  CInstrumentTemplates withHeader;
  ASSERT_TRUE(withHeader.ReadBinaryBase(source.BinaryBaseBytes("9.8.1.0")));
  EXPECT_EQ(TemplateNames(withHeader), TemplateNames(source));
  EXPECT_EQ(withHeader.instruments.at(1)->tabInstrument.tuning.stringCount, 10);

  const std::vector<uint8_t> headerless = CInstrumentTemplates().BinaryBaseBytes("6.58");
  EXPECT_EQ(headerless, (std::vector<uint8_t>{0, 0}));
  CInstrumentTemplates old = BaseOf(1);
  EXPECT_TRUE(old.ReadBinaryBase(headerless));
  EXPECT_EQ(old.instruments.size(), 1u);
  // Definitions written before the header, by hand in the records of that version: read by
  // that version's rules (no ornament table, families above 5 moved down, default brightness).
  const testing::OldDefinition lute("6.58", "Old lute");
  const testing::OldDefinition viol("6.58", "Old viol");
  ArchiveWriter oldBase("6.58");
  oldBase.WriteCount(2);
  oldBase.WriteObject(&lute);
  oldBase.WriteObject(&viol);
  CInstrumentTemplates oldDefinitions;
  ASSERT_TRUE(oldDefinitions.ReadBinaryBase(oldBase.Bytes()));
  EXPECT_EQ(TemplateNames(oldDefinitions), (std::vector<std::string>{"Old lute", "Old viol"}));
  EXPECT_EQ(oldDefinitions.instruments.at(1)->family, 5);
  EXPECT_EQ(oldDefinitions.instruments.at(1)->midi.brightness, 80);
  // The same records after the current header are read by the current rules and fail.
  std::vector<uint8_t> headed = CInstrumentTemplates().BinaryBaseBytes("9.8.1.0");
  headed.pop_back();
  headed.pop_back();  // the empty count
  const std::vector<uint8_t> records = oldBase.Bytes();
  headed.insert(headed.end(), records.begin(), records.end());
  EXPECT_FALSE(CInstrumentTemplates().ReadBinaryBase(headed));
  // The header's first text written as 8-bit characters is recognised too.
  std::vector<uint8_t> narrow = {13};
  for (const char c : std::string_view("VornelVersion")) narrow.push_back(static_cast<uint8_t>(c));
  narrow.push_back(7);
  for (const char c : std::string_view("9.8.1.0")) narrow.push_back(static_cast<uint8_t>(c));
  narrow.push_back(0);
  narrow.push_back(0);  // no definitions
  CInstrumentTemplates narrowRead;
  EXPECT_TRUE(narrowRead.ReadBinaryBase(narrow));
  EXPECT_TRUE(narrowRead.instruments.empty());
}

TEST_F(InstrumentBaseTest, CleanBinaryConfiguredBaseIsConvertedBesideIt) {
  WriteBaseFile(dir.File("Old.btbi"), BaseOf(2).BinaryBaseBytes("9.8.1.0"));
  Environment().instrumentBasePath = dir.File("Old.btbi");
  CInstrumentTemplates base;
  base.OpenConfiguredBase();
  EXPECT_EQ(base.instruments.size(), 2u);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(base.basePath, dir.File("Old.btix"));
  CInstrumentTemplates converted;
  ASSERT_TRUE(converted.ReadBaseFile(dir.File("Old.btix")));
  EXPECT_EQ(TemplateNames(converted), TemplateNames(base));
}

TEST_F(InstrumentBaseTest, BrokenBinaryBaseKeepsWhatWasReadAndSavesNothing) {
  const std::vector<uint8_t> whole = BaseOf(2).BinaryBaseBytes("9.8.1.0");
  const std::vector<uint8_t> broken(whole.begin(), whole.end() - static_cast<std::ptrdiff_t>(whole.size() / 4));
  WriteBaseFile(dir.File("Broken.btbi"), broken);
  Environment().instrumentBasePath = dir.File("Broken.btbi");
  CInstrumentTemplates base;
  base.OpenConfiguredBase();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], std::string(CInstrumentTemplates::kCorruptBaseMessage) + dir.File("Broken.btbi"));
  EXPECT_EQ(TemplateNames(base), (std::vector<std::string>{"Renaissance lute in G (vieil ton)"}));
  EXPECT_FALSE(BaseFileExists(dir.File("Broken.btix")));
}

TEST_F(InstrumentBaseTest, ConfiguredBaseAndTheBuiltInFill) {
  // No configured base: the twelve of the set in use.
  Environment().instrumentBasePath.clear();
  CInstrumentTemplates fresh;
  fresh.OpenConfiguredBase();
  ASSERT_EQ(fresh.instruments.size(), kTemplateSetSize);
  EXPECT_EQ(fresh.instruments.at(0)->nameText.text, "Renaissance lute in G (vieil ton)");
  // A name of another kind loads nothing and does not fall back.
  Environment().instrumentBasePath = dir.File("Base.txt");
  testing::WriteText(dir.File("Base.txt"), "x");
  CInstrumentTemplates other;
  other.OpenConfiguredBase();
  EXPECT_TRUE(other.instruments.empty());
  // A configured base that is not there yet starts from the templates without a word.
  Environment().instrumentBasePath = dir.File("Missing.btix");
  CInstrumentTemplates missing;
  missing.OpenConfiguredBase();
  EXPECT_EQ(missing.instruments.size(), kTemplateSetSize);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(InstrumentBaseTest, ResetTakesTheShippedBaseAndLaterFreshBasesTheModernSet) {
  CInstrumentTemplates base = BaseOf(1);
  base.ResetToDefaultBase();
  EXPECT_TRUE(base.modified);
  EXPECT_EQ(base.instruments.size(), 2 * kTemplateSetSize);
  EXPECT_EQ(base.basePath, ShippedDefaultBasePath());
  Environment().instrumentBasePath.clear();
  CInstrumentTemplates fresh;
  fresh.OpenConfiguredBase();
  EXPECT_EQ(fresh.instruments.at(0)->nameText.text, "Modern guitar");
}

TEST_F(InstrumentBaseTest, SavesGoToTheConfiguredFileOrTheDataFolder) {
  CInstrumentTemplates base = BaseOf(1);
  Environment().instrumentBasePath.clear();
  Environment().dataFolder = dir.path();
  EXPECT_TRUE(base.SaveInstrumentBase());
  EXPECT_TRUE(BaseFileExists(dir.File("VornelDatabase.btix")));
  Environment().instrumentBasePath = dir.File("Mine.btbi");
  EXPECT_TRUE(base.SaveInstrumentBase());
  EXPECT_TRUE(BaseFileExists(dir.File("Mine.btix")));
}

TEST_F(InstrumentBaseTest, FailedSaveKeepsTheChangesAndSaysSo) {
  CInstrumentTemplates base = BaseOf(1);
  base.modified = true;
  Environment().instrumentBasePath = dir.File("no-folder/Base.btix");
  prompts.QueueAnswer(Answer::kYes);
  EXPECT_FALSE(base.AskToSaveChanges());
  EXPECT_TRUE(base.modified);
  ASSERT_EQ(prompts.messages.size(), 3u);  // the question, the failure, what became of the changes
  EXPECT_EQ(prompts.messages[0], CInstrumentTemplates::kSaveQuestion);
  EXPECT_NE(prompts.messages[1].find(CInstrumentTemplates::kSaveFailedMessage), std::string::npos);
  EXPECT_NE(prompts.messages[1].find(dir.File("no-folder/Base.btix")), std::string::npos);

  Environment().instrumentBasePath = dir.File("Base.btix");
  prompts.QueueAnswer(Answer::kYes);
  EXPECT_TRUE(base.AskToSaveChanges());
  EXPECT_FALSE(base.modified);
}

TEST_F(InstrumentBaseTest, EditingTheBase) {
  CInstrumentTemplates base;
  base.instruments.FillFromTemplates();
  // The tabs filter by family; "All" lists every definition.
  EXPECT_EQ(base.ListedFor(0).size(), kTemplateSetSize);
  ASSERT_EQ(base.ListedFor(5).size(), 2u);  // family 4, guitars
  EXPECT_EQ(base.ListedFor(5)[0]->nameText.text, "Baroque guitar");
  EXPECT_TRUE(base.ListedFor(11).empty());

  CInstrumentDlg stranger;
  EXPECT_FALSE(base.DeleteDefinition(&stranger));
  EXPECT_FALSE(base.modified);
  EXPECT_TRUE(base.DeleteDefinition(base.instruments.at(0)));
  EXPECT_TRUE(base.modified);
  EXPECT_EQ(base.instruments.size(), kTemplateSetSize - 1);

  CInstrumentDlg theorbo(*base.ListedFor(4)[0]);
  theorbo.nameText.text = "Second theorbo";
  const size_t at = base.InsertByFamily(theorbo);
  EXPECT_EQ(base.instruments.at(at)->nameText.text, "Second theorbo");
  EXPECT_EQ(base.instruments.at(at + 1)->nameText.text, "Theorbo in A");
}

TEST_F(InstrumentBaseTest, ImportAppendsOnlyTheFilesDefinitionsAfterAsking) {
  WriteBaseFile(dir.File("Import.btbi"), BaseOf(2).BinaryBaseBytes("9.8.1.0"));
  Environment().instrumentBasePath = dir.File("Configured.btix");
  CInstrumentTemplates base = BaseOf(1);
  prompts.QueueAnswer(Answer::kCancel);
  EXPECT_FALSE(base.ImportBase(dir.File("Import.btbi")));
  EXPECT_EQ(base.instruments.size(), 1u);
  prompts.QueueAnswer(Answer::kOk);
  EXPECT_TRUE(base.ImportBase(dir.File("Import.btbi")));
  EXPECT_EQ(TemplateNames(base), (std::vector<std::string>{"Renaissance lute in G (vieil ton)",
                                                   "Renaissance lute in G (vieil ton)", "Ten-course lute in G"}));
  EXPECT_TRUE(base.modified);
  EXPECT_FALSE(BaseFileExists(dir.File("Configured.btix")));
  EXPECT_FALSE(BaseFileExists(dir.File("Import.btix")));
  EXPECT_FALSE(base.ImportBase(dir.File("Gone.btbi")));
  EXPECT_EQ(prompts.questions.size(), 2u);  // nothing asked for a file that cannot be opened
}

// The sheet opened from the base's dialog must not offer the base again: the definition's edit
// context is off while it runs and back on afterwards, whatever the answer; copies keep the
// flag, settings passed with CopyFrom do not carry it.
TEST_F(InstrumentBaseTest, SheetsOfTheBaseRunOutsideTheEditContext) {
  struct RecordingEditor : SectionEditor {
    bool answer = false;
    std::vector<bool> contexts;
    bool EditInstrument(CInstrumentDlg& definition) override {
      contexts.push_back(definition.editContext);
      return answer;
    }
  } editor;
  ScopedSectionEditor scope(editor);
  CInstrumentTemplates base = BaseOf(2);
  CInstrumentDlg& first = *base.instruments.at(0);
  EXPECT_FALSE(base.EditDefinition(first));
  EXPECT_EQ(base.AddDefinition(&first), nullptr);
  editor.answer = true;
  EXPECT_TRUE(base.EditDefinition(first));
  CInstrumentDlg* added = base.AddDefinition(nullptr);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(editor.contexts, std::vector<bool>(4, false));
  EXPECT_TRUE(first.editContext);
  EXPECT_TRUE(added->editContext);

  first.editContext = false;
  EXPECT_FALSE(CInstrumentDlg(first).editContext);
  CInstrumentDlg other;
  other.CopyFrom(first);
  EXPECT_TRUE(other.editContext);
}

}  // namespace
}  // namespace vornel
