// The document's file, print and view commands through its command table with scripted
// prompts: the zoom commands and box, the print options, "Save as BTB", "Save As Template...",
// "Export to VornelXML", the section buffer and the frame of the imports (with an importer of
// the test's own).

#include "shell/commands/DocumentFileCommands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "FakeDocumentWindows.h"
#include "document/DocumentFiles.h"
#include "document/DocumentEnvironment.h"
#include "document/instruments/CInstrumentTemplates.h"
#include "document/instruments/ShippedInstrumentData.h"
#include "layout/dialogs/SmallDialogs.h"
#include "import/Importer.h"
#include "model/instrument/CInstrument.h"
#include "model/score/CSystemArray.h"
#include "shell/app/Profile.h"
#include "shell/bars/ToolbarTable.h"
#include "support/Bytes.h"
#include "support/RecordingFramePanes.h"
#include "support/ScriptedPrompts.h"
#include "view/commands/CommandTable.h"
#include "view/commands/ScoreDialogs.h"
#include "view/facsimile/FacsimileCommands.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

// Appends one section of `systems` systems, as an import of a file would.
class FakeImporter : public Importer {
 public:
  explicit FakeImporter(size_t systems) : systems_(systems) {}
  std::string_view Name() const override { return "MusicXML"; }
  std::span<const std::string_view> Extensions() const override { return {}; }
  bool TakesSignature(std::span<const uint8_t>) const override { return false; }
  std::string_view PromptTitle() const override { return "Import"; }
  std::string_view FilePattern() const override { return "*.xml"; }
  size_t ImportSections(const std::string&, CBriotabDoc& doc) const override {
    CSystemArray* section = doc.AppendNewSection();
    while (section->systems.size() < systems_) section->NewSystem(CSystemArray::kAppend);
    return 1;
  }

 private:
  size_t systems_;
};

// The section lists the document tells its windows of.
struct SectionLists : DocumentObserver {
  void OnUpdate(const CBriotabDoc&, int, const CStaveArray*) override {}
  void OnSectionListChanged(const std::vector<std::string>& lines, int32_t active) override {
    log.push_back(std::to_string(lines.size()) + " active " + std::to_string(active));
  }
  std::vector<std::string> log;
};

// The sections range dialog: records what it was opened with and answers with a range.
struct ScriptedRange : view::ScoreDialogs {
  bool ChooseBarRange(CBarRangeDlg& dialog) override {
    opened.push_back(dialog.caption + " " + std::to_string(dialog.barCount) + " " + std::to_string(dialog.begin) +
                     "-" + std::to_string(dialog.end));
    if (!answer) return false;
    dialog.begin = answer->first;
    dialog.end = answer->second;
    return true;
  }
  std::optional<std::pair<int, int>> answer;
  std::vector<std::string> opened;
};

struct DocumentFileCommandsTest : ::testing::Test {
  testing::ScriptedPrompts prompts;
  testing::RecordingFramePanes panes;
  testing::TempDir dir;
  MemoryProfile profile;
  CVornelTabApp app{profile};
  testing::FakeWindows windows{app};
  CVornelTabDoc doc;
  FakeImporter importer{30};
  view::CommandTable table;

  DocumentFileCommandsTest() {
    doc.OnNewDocument();
    DocumentFileServices services;
    services.importer = [this](std::string_view name) -> const Importer* {
      return name == "MusicXML" ? &importer : nullptr;
    };
    AddDocumentFileCommands(table, app, windows, doc, services);
  }
  int32_t& Zoom() { return doc.settings.pageSettings.zoom; }
};

TEST_F(DocumentFileCommandsTest, ZoomCommandsAndTheZoomBox) {
  struct Case {
    int id;
    std::optional<long> value;
    int32_t zoom;
  };
  const Case cases[] = {
      {kFirstZoom, {}, 75},          {kFirstZoom + 4, {}, 150},  {kFirstZoom + 7, {}, 800},
      {kFitWidth, {}, 800},          // "Fit width" leaves the zoom as it is
      {bars::kZoomComboCommand, 5, 150},  // the sixth entry
      {bars::kZoomComboCommand, 0, 75},
      {bars::kZoomComboCommand, 11, 800},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(table.Execute({c.id, c.value, {}}));
    EXPECT_EQ(Zoom(), c.zoom) << c.id << " " << c.value.value_or(-1);
  }
  // A box that is not there (no choice): the message, and the zoom stays.
  ASSERT_TRUE(table.Execute({bars::kZoomComboCommand, {}, {}}));
  EXPECT_EQ(Zoom(), 800);
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{std::string(kNoZoomBox)}));
}

TEST_F(DocumentFileCommandsTest, PrintOptionsToggleBetweenZeroAndOne) {
  doc.settings.titlePage.pageNumbers = 7;
  const int id = 33528;  // "Include page numbers"
  EXPECT_TRUE(table.State(id).checked.value_or(false));
  table.Execute({id, {}, {}});
  EXPECT_EQ(doc.settings.titlePage.pageNumbers, 0);
  EXPECT_FALSE(table.State(id).checked.value_or(true));
  table.Execute({id, {}, {}});
  EXPECT_EQ(doc.settings.titlePage.pageNumbers, 1);
  for (int option = kFirstPrintOption; option <= kLastPrintOption; ++option) EXPECT_TRUE(table.State(option).handled);
}

TEST_F(DocumentFileCommandsTest, SaveAsBtbWritesACopyBesideTheDocument) {
  EXPECT_EQ(BinaryCopyPath("/a/Suite.btz"), "/a/Suite.btb");
  EXPECT_EQ(BinaryCopyPath("/a/Suite.btxml"), "/a/Suite.btb");
  EXPECT_EQ(BinaryCopyPath("/a/Suite"), "/a/Suite.btb");

  // No path, the save prompt cancelled: nothing written.
  prompts.QueueAnswer(Answer::kOk);
  prompts.QueueFile(std::nullopt);
  table.Execute({kSaveAsBinary, {}, {}});
  EXPECT_EQ(prompts.questions, (std::vector<std::string>{std::string(kBinaryQuestion)}));
  EXPECT_TRUE(fs::is_empty(dir.path()));

  // A bundle: its copy in the old format beside it, the bundle as it was.
  const std::string bundle = dir.File("Suite.btz");
  ASSERT_TRUE(SaveDocumentFile(doc, bundle));
  doc.SetPathName(bundle);
  const std::string before = testing::ReadText(bundle);
  prompts.QueueAnswer(Answer::kCancel);
  table.Execute({kSaveAsBinary, {}, {}});
  EXPECT_FALSE(fs::exists(dir.File("Suite.btb")));
  prompts.QueueAnswer(Answer::kOk);
  table.Execute({kSaveAsBinary, {}, {}});
  EXPECT_TRUE(fs::exists(dir.File("Suite.btb")));
  EXPECT_EQ(testing::ReadText(bundle), before);
  EXPECT_EQ(doc.GetPathName(), bundle);

  // The copy is there: it is replaced only after a Yes.
  testing::WriteText(dir.File("Suite.btb"), "kept");
  prompts.QueueAnswer(Answer::kOk);
  prompts.QueueAnswer(Answer::kNo);
  table.Execute({kSaveAsBinary, {}, {}});
  EXPECT_EQ(prompts.questions.back(), "\"Suite.btb\" already exists in \"" + dir.path() + "\".\nDo you want to replace it?");
  EXPECT_EQ(testing::ReadText(dir.File("Suite.btb")), "kept");
  prompts.QueueAnswer(Answer::kOk);
  prompts.QueueAnswer(Answer::kYes);
  table.Execute({kSaveAsBinary, {}, {}});
  EXPECT_NE(testing::ReadText(dir.File("Suite.btb")), "kept");
}

TEST_F(DocumentFileCommandsTest, ExportThatCannotWriteOpensNothing) {
  doc.SetPathName(dir.File("no/such/folder/Suite.btxml"));
  doc.SetModifiedFlag(true);
  table.Execute({kExportToVornelXml, {}, {}});
  EXPECT_TRUE(windows.documents.empty());
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{std::string(CVornelTabDoc::kSaveFailedMessage)}));

  // Written: the copy opens in a tab of its own and the flag is cleared.
  prompts.messages.clear();
  doc.SetPathName(dir.File("Suite.btxml"));
  table.Execute({kExportToVornelXml, {}, {}});
  ASSERT_EQ(windows.documents.size(), 1u);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(prompts.messages.empty());
}

// "Manage facsimiles" edits the title page's list in the list dialog; only OK changes the
// document.
class TitlePageFacsimiles : public view::FacsimileWindows {
 public:
  TitlePageFacsimiles() : scope_(*this) {}
  bool EditFacsimileList(CFacsimileListDlg& list) override {
    if (!accept) return false;
    list.AddImage("plate1.jpg");
    return true;
  }
  bool ShowInViewer(CBriotabDoc&, const std::string&) override { return false; }
  std::string FetchWebImage(const std::string&, bool) override { return {}; }
  bool accept = false;

 private:
  view::ScopedFacsimileWindows scope_;
};

TEST_F(DocumentFileCommandsTest, ManageFacsimilesEditsTheTitlePagesList) {
  TitlePageFacsimiles dialog;
  doc.SetModifiedFlag(false);
  table.Execute({kManageFacsimiles, {}, {}});
  EXPECT_EQ(doc.settings.titlePage.imageList.size(), 0u);
  EXPECT_FALSE(doc.IsModified());
  dialog.accept = true;
  table.Execute({kManageFacsimiles, {}, {}});
  EXPECT_EQ(doc.settings.titlePage.imageList.imagePaths, std::vector<std::string>{"plate1.jpg"});
  EXPECT_TRUE(doc.IsModified());
}

// "Save instrument" puts the active line's definition into the configured base after asking;
// a base that cannot be written says so and keeps its file.
TEST_F(DocumentFileCommandsTest, SaveInstrumentPutsTheActiveDefinitionIntoTheBase) {
  const std::string savedBase = Environment().instrumentBasePath;
  const std::string base = dir.File("Base.btix");
  Environment().instrumentBasePath = base;
  CInstrumentDlg& definition = *doc.GetActiveInstrument()->definition;
  definition.nameText.text = "Lute of the document";
  ASSERT_TRUE(table.State(kSaveInstrument).enabled);

  prompts.QueueAnswer(Answer::kCancel);
  table.Execute({kSaveInstrument, {}, {}});
  EXPECT_EQ(prompts.questions, (std::vector<std::string>{std::string(kSaveInstrumentQuestion)}));
  EXPECT_FALSE(fs::exists(base));

  prompts.QueueAnswer(Answer::kOk);
  table.Execute({kSaveInstrument, {}, {}});
  CInstrumentTemplates saved;
  ASSERT_TRUE(saved.ReadBaseFile(base));
  size_t found = 0;
  for (const auto& entry : saved.instruments.items()) found += entry->nameText.text == "Lute of the document" ? 1 : 0;
  EXPECT_EQ(found, 1u);
  EXPECT_TRUE(prompts.messages.size() == 2u);  // the two questions, nothing else

  Environment().instrumentBasePath = dir.File("no-folder/Base.btix");
  prompts.QueueAnswer(Answer::kOk);
  table.Execute({kSaveInstrument, {}, {}});
  ASSERT_EQ(prompts.messages.size(), 4u);
  EXPECT_NE(prompts.messages.back().find(CInstrumentTemplates::kSaveFailedMessage), std::string::npos);

  // Without a line there is nothing to save: the command is disabled.
  doc.GetActiveSection()->DeleteAllSystems();
  EXPECT_FALSE(table.State(kSaveInstrument).enabled);
  Environment().instrumentBasePath = savedBase;
}

TEST_F(DocumentFileCommandsTest, ImportsRunInTheirFrame) {
  // Guitar Pro has no importer here: shown disabled.
  EXPECT_FALSE(table.State(kImportGuitarPro).enabled);

  // Cancelled: nothing happens.
  const size_t sections = doc.sections.size();
  prompts.QueueFile(std::nullopt);
  table.Execute({kImportMusicXml, {}, {}});
  EXPECT_EQ(doc.sections.size(), sections);
  EXPECT_TRUE(panes.log.empty());

  doc.settings.pageSettings.systemsPerPage = 1;
  SectionLists lists;
  doc.AddObserver(&lists);
  prompts.QueueFile(dir.File("in.xml"));
  table.Execute({kImportMusicXml, {}, {}});
  ASSERT_EQ(doc.sections.size(), sections + 1);
  // The systems per page worked out for the paper; the view to the start, the titles placed,
  // the sections listed.
  EXPECT_GT(doc.GetActiveSection()->stavesPerPage, 1);
  std::vector<std::string> commands;
  for (const std::string& line : panes.log) {
    if (line.rfind("command", 0) == 0) commands.push_back(line);
  }
  EXPECT_EQ(commands, (std::vector<std::string>{"command 32764", "command 34233"}));
  ASSERT_FALSE(lists.log.empty());
  EXPECT_EQ(lists.log.back(), std::to_string(sections + 1) + " active " + std::to_string(sections));
  EXPECT_TRUE(doc.IsModified());
  doc.RemoveObserver(&lists);
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

// Clearing every section's notes asks first; OK is one undo step of the active section, whose
// notes its Undo gives back while the other sections stay cleared.
TEST_F(DocumentFileCommandsTest, AllSectionsNotesAreClearedAfterAsking) {
  doc.AppendNewSection();
  for (size_t i = 0; i < doc.sections.size(); ++i) doc.sections.at(i)->Comments().text = "Notes";
  doc.undoStack.clear();
  doc.SetModifiedFlag(false);
  prompts.QueueAnswer(Answer::kCancel);
  ASSERT_TRUE(table.Execute({kAllSectionsNotes, {}, {}}));
  EXPECT_EQ(doc.sections.at(0)->Comments().text, "Notes");
  EXPECT_FALSE(doc.IsModified());
  prompts.QueueAnswer(Answer::kOk);
  ASSERT_TRUE(table.Execute({kAllSectionsNotes, {}, {}}));
  for (size_t i = 0; i < doc.sections.size(); ++i) EXPECT_EQ(doc.sections.at(i)->Comments().text, "") << i;
  EXPECT_TRUE(doc.IsModified());
  ASSERT_EQ(doc.undoStack.size(), 1u);
  // One undo gives every section's notes back.
  doc.OnEditUndo();
  for (size_t i = 0; i < doc.sections.size(); ++i) EXPECT_EQ(doc.sections.at(i)->Comments().text, "Notes") << i;
  EXPECT_FALSE(doc.IsModified());
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

// The sections' titles, in order.
std::vector<std::string> SectionNames(const CBriotabDoc& doc) {
  std::vector<std::string> names;
  for (const auto& section : doc.sections.items()) names.push_back(section->Title().text);
  return names;
}

struct SectionBufferCommandsTest : DocumentFileCommandsTest {
  ScriptedRange range;
  view::ScopedScoreDialogs scoped{range};

  SectionBufferCommandsTest() {
    Environment().sectionBuffer.clear();
    Environment().sectionBuffer.limit = 12;
    // Titled "S1".."S4" so that copies can be told apart.
    for (int i = 0; i < 3; ++i) doc.AppendNewSection();
    for (size_t i = 0; i < doc.sections.size(); ++i) doc.sections.at(i)->Title().text = "S" + std::to_string(i + 1);
  }
  ~SectionBufferCommandsTest() override { Environment().sectionBuffer.clear(); }
};

TEST_F(SectionBufferCommandsTest, CopySectionThenPasteGivesItBackAfterTheActiveOne) {
  EXPECT_TRUE(table.State(kCopySection).enabled);
  EXPECT_FALSE(table.State(kPasteSection).enabled);
  doc.sections.activeSection = 1;
  ASSERT_TRUE(table.Execute({kCopySection, {}, {}}));
  EXPECT_TRUE(table.State(kPasteSection).enabled);
  EXPECT_FALSE(table.State(kPasteAllSections).enabled);
  prompts.QueueAnswer(Answer::kNo);
  ASSERT_TRUE(table.Execute({kPasteSection, {}, {}}));
  EXPECT_EQ(SectionNames(doc), (std::vector<std::string>{"S1", "S2", "S2", "S3", "S4"}));
  EXPECT_EQ(doc.sections.activeSection, 2);
  EXPECT_FALSE(table.State(kPasteSection).enabled);
}

TEST_F(SectionBufferCommandsTest, CopyAllSectionsTakesTheChosenRange) {
  doc.sections.activeSection = 2;
  range.answer = {{2, 3}};
  ASSERT_TRUE(table.Execute({kCopyAllSections, {}, {}}));
  // Proposed: the active section (numbered from 1) to the last.
  EXPECT_EQ(range.opened, (std::vector<std::string>{"Copy sections range 4 3-4"}));
  EXPECT_TRUE(table.State(kPasteAllSections).enabled);
  doc.sections.activeSection = 3;
  prompts.QueueAnswer(Answer::kNo);
  ASSERT_TRUE(table.Execute({kPasteAllSections, {}, {}}));
  EXPECT_EQ(SectionNames(doc), (std::vector<std::string>{"S1", "S2", "S3", "S4", "S2", "S3"}));
  EXPECT_EQ(prompts.messages.size(), 1u);  // the reformat question only
}

TEST_F(SectionBufferCommandsTest, AnEmptyRangeIsRefusedAndTheBufferKept) {
  doc.sections.activeSection = 0;
  table.Execute({kCopySection, {}, {}});
  struct Case {
    std::optional<std::pair<int, int>> answer;
    bool message;
  };
  const Case cases[] = {
      {std::pair{3, 2}, true},  // last before first
      {std::nullopt, false},    // cancelled
  };
  for (const Case& c : cases) {
    prompts.messages.clear();
    range.answer = c.answer;
    ASSERT_TRUE(table.Execute({kCopyAllSections, {}, {}}));
    EXPECT_EQ(prompts.messages, c.message ? std::vector<std::string>{"No sections available to copy"}
                                          : std::vector<std::string>{});
    EXPECT_EQ(Environment().sectionBuffer.size(), 1u);
  }
  // No sections at all: the message without the dialog.
  doc.sections.clear();
  range.opened.clear();
  prompts.messages.clear();
  table.Execute({kCopyAllSections, {}, {}});
  EXPECT_TRUE(range.opened.empty());
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{"No sections available to copy"}));
}

TEST_F(DocumentFileCommandsTest, SaveAsTemplateWritesTheActiveSectionAsANewDocumentsStart) {
  doc.AppendNewSection()->Title().text = "Second";
  // Cancelled: nothing written.
  prompts.QueueFile(std::nullopt);
  table.Execute({kSaveAsTemplate, {}, {}});
  EXPECT_TRUE(fs::is_empty(dir.path()));
  // ".btt" is written as ".bttx"; the template makes a document of the active section alone.
  prompts.QueueFile(dir.File("Lute.btt"));
  ASSERT_TRUE(table.Execute({kSaveAsTemplate, {}, {}}));
  ASSERT_TRUE(fs::exists(dir.File("Lute.bttx")));
  EXPECT_EQ(prompts.filePrompts.back().substr(0, 30), "Save to a Vornel template file");
  const std::unique_ptr<CVornelTabDoc> made = OpenTemplateUntitled(dir.File("Lute.bttx"));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(SectionNames(*made), (std::vector<std::string>{"Second"}));
  EXPECT_TRUE(SaveDocumentFile(*made, dir.File("New.btz")));
  EXPECT_EQ(doc.GetPathName().find(".btt"), std::string::npos);  // the document keeps its own name
}

}  // namespace
}  // namespace vornel
