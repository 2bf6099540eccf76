// The three export commands, headless: scripted prompts, a scripted options dialog and the
// programs that would take the files, recorded.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "layout/ExportFixtures.h"
#include "layout/export/DocumentExports.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using namespace testing;

class RecordedServices : public ExportServices {
 public:
  bool EditTabOptions(CTabProperties& options) override {
    ++dialogs;
    if (!acceptOptions) return false;
    options.forcePageBreaks = 1;
    return true;
  }
  void RunTabProgram(const std::string& path) override { typeset.push_back(path); }
  void OpenWithDesktop(const std::string& path) override { opened.push_back(path); }
  ExportDate Today() override { return {2024, 1, 2}; }

  bool acceptOptions = true;
  int dialogs = 0;
  std::vector<std::string> typeset;
  std::vector<std::string> opened;
};

class ExportCommands : public ::testing::Test {
 protected:
  ExportCommands() : scope_(services) { services.xmlFolder = dir.path(); }

  size_t FilesWritten() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()));
  }

  TempDir dir;
  ScriptedPrompts prompts;
  RecordedServices services;

 private:
  ScopedExportServices scope_;
};

TEST_F(ExportCommands, CancellingWritesNothing) {
  auto doc = NewDocument(1);
  doc->SetPathName(dir.File("suite.btxml"));
  services.acceptOptions = false;
  OnExportTabFormat(*doc);  // the options dialog cancelled: not even a file prompt
  EXPECT_TRUE(prompts.filePrompts.empty());
  services.acceptOptions = true;
  prompts.QueueFile(std::nullopt);
  OnExportTabFormat(*doc);
  prompts.QueueFile(std::nullopt);
  OnExportSectionMusicXml(*doc);
  doc->ClearPathName();
  prompts.QueueFile(std::nullopt);
  OnExportBrailleTab(*doc);  // an untitled document asks where
  EXPECT_EQ(services.dialogs, 2);
  EXPECT_EQ(prompts.filePrompts.size(), 3u);
  EXPECT_EQ(FilesWritten(), 0u);
  EXPECT_TRUE(services.typeset.empty());
  EXPECT_TRUE(services.opened.empty());
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ExportCommands, TabFileGoesToTheTypesetter) {
  auto doc = NewDocument(1);
  VoiceOf(*doc, 0).push_back(ChordOf(3, {{67, 0}}));
  prompts.QueueFile(dir.File("out.tab"));
  OnExportTabFormat(*doc);
  EXPECT_EQ(prompts.filePrompts, std::vector<std::string>{"Save document in Z.U. tab format|*.tab||"});
  EXPECT_EQ(services.typeset, std::vector<std::string>{dir.File("out.tab")});
  const std::string text = ReadText(dir.File("out.tab"));
  EXPECT_NE(text.find("\r\n-P \r\n-K\r\n"), std::string::npos);  // the dialog's choice
  EXPECT_NE(text.find("1a     \r\n"), std::string::npos);

  // A file that cannot be written: the system's message, nothing typeset, the document kept.
  prompts.QueueFile(dir.File("missing/out.tab"));
  OnExportTabFormat(*doc);
  EXPECT_EQ(prompts.messages,
            std::vector<std::string>{CannotWriteMessage(dir.File("missing/out.tab"),
                                                        "cannot create a temporary file: No such file or directory")});
  EXPECT_EQ(services.typeset.size(), 1u);
  EXPECT_EQ(doc->sections.size(), 1u);
}

TEST_F(ExportCommands, MusicXmlNames) {
  const struct {
    const char* title;
    const char* proposed;
  } cases[] = {{"suite.btz", "suite.btz-section_1.xml"},
               {"suite.btxml", "suite-section_1.xml"},
               {"a.btb.btxml", "a-section_1.xml"}};
  for (const auto& c : cases) {
    auto doc = NewDocument(1);
    doc->SetTitle(c.title);
    EXPECT_EQ(ProposedMusicXmlName(*doc, 0), c.proposed);
  }
  auto doc = NewDocument(1);
  doc->SetPathName(dir.File("suite.btz"));
  prompts.QueueFile(std::nullopt);
  OnExportSectionMusicXml(*doc);
  EXPECT_EQ(prompts.filePrompts,
            std::vector<std::string>{"Create an XML file|*.xml|suite.btz-section_1.xml|" + dir.path()});
}

TEST_F(ExportCommands, UntitledDocumentWithUnsavedEditsExportsFromMemory) {
  auto doc = NewDocument(1);
  ASSERT_TRUE(doc->GetPathName().empty());
  VoiceOf(*doc, 0).push_back(ChordOf(3 | 8, {{67, 0}}));
  doc->SetModifiedFlag();
  prompts.QueueFile(dir.File("edited.xml"));
  OnExportSectionMusicXml(*doc);
  EXPECT_TRUE(prompts.messages.empty());
  const std::string text = ReadText(dir.File("edited.xml"));
  EXPECT_NE(text.find("<duration>144</duration>"), std::string::npos);
  EXPECT_NE(text.find("<encoding-date>2024-01-02</encoding-date>"), std::string::npos);
  EXPECT_EQ(services.opened, std::vector<std::string>{dir.File("edited.xml")});

  // Nothing written, nothing opened.
  prompts.QueueFile(dir.File("missing/edited.xml"));
  OnExportSectionMusicXml(*doc);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Cannot open file\n" + dir.File("missing/edited.xml") +
                                                       ":\ncannot create a temporary file: No such file or directory"});
  EXPECT_EQ(services.opened.size(), 1u);
}

TEST_F(ExportCommands, BrailleFileBesideTheDocument) {
  auto doc = NewDocument(1);
  for (int i = 0; i < 2; ++i) doc->sections.push_back(std::make_unique<CSystemArray>());
  doc->SetPathName(dir.File("suite"));
  doc->sections.activeSection = 2;
  OnExportBrailleTab(*doc);
  EXPECT_TRUE(prompts.filePrompts.empty());
  EXPECT_EQ(services.opened, std::vector<std::string>{dir.File("suite_2.txt")});
  const std::string text = ReadText(dir.File("suite_2.txt"));
  EXPECT_EQ(text.rfind("Vornel file: suite.btb [V:9.8.1.0]\r\n[begin section]\r\n", 0), 0u);

  doc->ClearPathName();
  prompts.QueueFile(dir.File("chosen.txt"));
  OnExportBrailleTab(*doc);
  EXPECT_EQ(prompts.filePrompts, std::vector<std::string>{"Export to Braille tab format|*.txt|suite_2.txt|"});
  EXPECT_TRUE(fs::exists(dir.File("chosen.txt")));
}

TEST_F(ExportCommands, IndexOutsideTheListIsReportedAndWritesNothing) {
  auto doc = NewDocument(2);
  doc->sections.at(0)->activeSystem = 7;  // the TAB body's active system is not in the section
  prompts.QueueFile(dir.File("bad.tab"));
  OnExportTabFormat(*doc);
  ASSERT_EQ(prompts.messages.size(), 1u);
  doc->sections.at(0)->activeSystem = 0;
  doc->sections.activeSection = 4;
  OnExportBrailleTab(*doc);
  prompts.QueueFile(dir.File("bad.xml"));
  OnExportSectionMusicXml(*doc);
  EXPECT_EQ(prompts.messages.size(), 3u);
  EXPECT_EQ(FilesWritten(), 0u);
  EXPECT_TRUE(services.typeset.empty());
  EXPECT_TRUE(services.opened.empty());
}

}  // namespace
}  // namespace vornel
