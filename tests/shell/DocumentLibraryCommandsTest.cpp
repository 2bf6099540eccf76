// The document's library commands and whole-document edits through its command table with
// scripted prompts and a scripted associations editor.

#include "shell/commands/DocumentLibraryCommands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/DocumentFiles.h"
#include "document/library/DocumentAssociations.h"
#include "document/zip/ZipReader.h"
#include "layout/dialogs/ChordDialogs.h"
#include "model/score/CSystemArray.h"
#include "model/undo/CUndoSectionArray.h"
#include "model/voice/nNotes.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/app/Profile.h"
#include "support/Bytes.h"
#include "support/RecordingFramePanes.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"
#include "view/commands/CommandTable.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

// Answers the associations dialog: OK after `edit`, or Cancel.
struct ScriptedAssociations : AssociationsEditor {
  bool Edit(DocumentAssociationFields& fields, const std::string& folder) override {
    ++runs;
    seenFolder = folder;
    if (!accept) return false;
    if (edit) edit(fields);
    return true;
  }
  bool accept = true;
  std::function<void(DocumentAssociationFields&)> edit;
  int runs = 0;
  std::string seenFolder;
};

// Answers "Swap ornament" with the two entries, or Cancel without them.
struct ScriptedSwap : ChordDialogs {
  bool SwapOrnament(CSwapOrnamentDlg& dialog) override {
    if (!entries) return false;
    dialog.select = entries->first;
    dialog.replaceWith = entries->second;
    return true;
  }
  std::optional<std::pair<int, int>> entries;
};

// A note with a slur and an ornament at the start of every line's first voice.
void AddNote(CSystemArray& section, size_t line, uint16_t ornament) {
  auto chord = std::make_unique<nChord>(0, 3);
  auto note = std::make_unique<nNotes>();
  note->pitch = 60;
  note->ornament = ornament;
  note->slur = 0x001;
  chord->notes.push_back(std::move(note));
  section.System(0)->Line(line)->Voice(0).push_back(std::move(chord));
}

struct DocumentLibraryCommandsTest : ::testing::Test {
  testing::ScriptedPrompts prompts;
  testing::RecordingFramePanes panes;
  testing::RecordingLauncher launcher;
  testing::TempDir dir;
  MemoryProfile profile;
  CVornelTabApp app{profile};
  CVornelTabDoc doc;
  ScriptedAssociations associations;
  ScopedAssociationsEditor scopedAssociations{associations};
  ScriptedSwap swapDialog;
  ScopedChordDialogs scopedSwap{swapDialog};
  view::CommandTable table;

  DocumentLibraryCommandsTest() {
    doc.OnNewDocument();
    AddDocumentLibraryCommands(table, app, doc);
  }
  std::string SaveDocument() {
    const std::string path = dir.File("Lute songs.btxml");
    EXPECT_TRUE(SaveDocumentFile(doc, path));
    doc.SetPathName(path);
    return path;
  }
  bool Run(int id) { return table.Execute({id, {}, {}}); }
};

TEST_F(DocumentLibraryCommandsTest, ZipDocumentRunsTheAssociationsThenPacksAndRecordsThePackage) {
  // Cancelled associations: nothing asked after them.
  associations.accept = false;
  ASSERT_TRUE(Run(kZipDocument));
  EXPECT_TRUE(prompts.filePrompts.empty());

  // A document never saved has no file to pack.
  associations.accept = true;
  ASSERT_TRUE(Run(kZipDocument));
  EXPECT_EQ(prompts.messages, std::vector<std::string>{std::string(kSaveFirstMessage)});

  const std::string path = SaveDocument();
  testing::WriteText(dir.File("score.pdf"), "%PDF");
  associations.edit = [&](DocumentAssociationFields& fields) { fields.pdfPath = dir.File("score.pdf"); };
  prompts.QueueFile(dir.File("package"));
  prompts.QueueAnswer(Answer::kYes);
  ASSERT_TRUE(Run(kZipDocument));
  EXPECT_EQ(associations.seenFolder, dir.path());
  EXPECT_EQ(prompts.filePrompts.back(), "Create zip file|*.zip|Lute songs.zip|" + dir.path());
  const std::string zip = dir.File("package.zip");
  EXPECT_EQ(doc.settings.Association(CDocumentSettings::kZipBundle), zip);
  EXPECT_EQ(prompts.questions.back(), kZipCreatedQuestion);
  EXPECT_EQ(launcher.opened, std::vector<std::string>{zip});
  EXPECT_TRUE(doc.IsModified());
  ZipHandlePtr archive = OpenZip(zip);
  ASSERT_NE(archive, nullptr);
  for (const char* name : {"Lute songs.btxml", "score.pdf", "xmlpackage.xml"}) {
    int index = -1;
    ZipEntry entry;
    EXPECT_EQ(FindZipItem(archive.get(), name, index, entry), 0) << name;
  }

  // A package that cannot be written clears the recorded one.
  prompts.QueueFile(dir.File("missing/folder/p.zip"));
  ASSERT_TRUE(Run(kZipDocument));
  EXPECT_EQ(doc.settings.Association(CDocumentSettings::kZipBundle), "");
  EXPECT_TRUE(fs::exists(path));
}

TEST_F(DocumentLibraryCommandsTest, HtmlExportWritesThePageAndRecordsIt) {
  EXPECT_EQ(ProposedHtmlPageName("Suite.btxml"), "Suite.html");
  EXPECT_EQ(ProposedHtmlPageName("a.btz.btb"), "a.html.html");
  EXPECT_EQ(ProposedHtmlPageName("plain"), "plain");

  SaveDocument();
  prompts.QueueFile(std::nullopt);
  ASSERT_TRUE(Run(kExportListOfContents));
  EXPECT_EQ(prompts.filePrompts.back(),
            "Select an HTML file name for this document|*.html|Lute songs.html|" + dir.path());
  EXPECT_EQ(doc.settings.Association(CDocumentSettings::kHtmlTable), "");

  prompts.QueueFile(dir.File("page.html"));
  ASSERT_TRUE(Run(kExportToWebSite));
  EXPECT_NE(testing::ReadText(dir.File("page.html")).find("<html"), std::string::npos);
  EXPECT_EQ(doc.settings.Association(CDocumentSettings::kHtmlTable), dir.File("page.html"));
  EXPECT_EQ(launcher.opened, std::vector<std::string>{dir.File("page.html")});
  EXPECT_EQ(associations.runs, 2);
}

TEST_F(DocumentLibraryCommandsTest, AssociationsStoreTheFieldsAndGenerateMidiFilesWhenAsked) {
  SaveDocument();
  doc.settings.associations[std::string(CDocumentSettings::kPdfRendition)] = "/old.pdf";
  associations.edit = [](DocumentAssociationFields& fields) {
    EXPECT_EQ(fields.pdfPath, "/old.pdf");
    EXPECT_TRUE(fields.lockHtmlField);
    fields.pdfPath.clear();  // cleared: stored as an empty association
    fields.includeFacsimiles = true;
  };
  ASSERT_TRUE(Run(kAssociations));
  EXPECT_EQ(doc.settings.associations.count(std::string(CDocumentSettings::kPdfRendition)), 1u);
  EXPECT_EQ(doc.settings.Association(CDocumentSettings::kPdfRendition), "");
  EXPECT_EQ(doc.settings.associations.count(std::string(CDocumentSettings::kImagesPath)), 0u);
  EXPECT_EQ(doc.settings.bundleOptions, CDocumentSettings::kBundleFacsimiles);
  EXPECT_TRUE(prompts.messages.empty());

  // "Include MIDI files" carries the generation with it; the files go beside the document.
  associations.edit = [](DocumentAssociationFields& fields) {
    fields.SetIncludeMidiFiles(true);
    EXPECT_TRUE(fields.autoGenerateMidi);
  };
  ASSERT_TRUE(Run(kAssociations));
  EXPECT_EQ(doc.settings.bundleOptions, 0x7);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"1 MIDI files were generated"});
  EXPECT_TRUE(fs::exists(doc.sections.at(0)->midiFilePath));

  // Cancel changes nothing.
  associations.accept = false;
  doc.settings.bundleOptions = 0;
  ASSERT_TRUE(Run(kAssociations));
  EXPECT_EQ(doc.settings.bundleOptions, 0);
  EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(DocumentLibraryCommandsTest, PageBreaksAskFirst) {
  doc.AppendNewSection();
  doc.undoStack.clear();
  doc.SetModifiedFlag(false);
  const int32_t before = doc.sections.at(0)->flags;
  for (const auto& [answer, toggled] : {std::pair{Answer::kCancel, false}, std::pair{Answer::kOk, true}}) {
    prompts.QueueAnswer(answer);
    ASSERT_TRUE(Run(kAddPageBreaks));
    EXPECT_EQ(doc.sections.at(0)->flags != before, toggled);
    EXPECT_EQ(doc.sections.at(1)->flags != before, toggled);
    EXPECT_EQ(doc.undoStack.size(), toggled ? 1u : 0u);
    EXPECT_EQ(doc.IsModified(), toggled);
  }
  EXPECT_EQ(prompts.questions.back(), kPageBreaksQuestion);
  // One undo gives every section's flags back.
  doc.OnEditUndo();
  EXPECT_EQ(doc.sections.at(0)->flags, before);
  EXPECT_EQ(doc.sections.at(1)->flags, before);
}

TEST_F(DocumentLibraryCommandsTest, SlurWidthsAreUndoableEditsOfTheActiveSection) {
  CSystemArray& section = *doc.GetActiveSection();
  AddNote(section, 0, 5);
  AddNote(section, 0, 7);
  const auto slurOf = [&](size_t i) { return doc.GetActiveSection()->System(0)->Line(0)->Voice(0).at(i)->notes.at(0)->slur; };
  ASSERT_TRUE(Run(kSetWideSlurs));
  EXPECT_EQ(slurOf(0), 0xD01u);
  ASSERT_TRUE(Run(kSetNarrowSlurs));
  EXPECT_EQ(slurOf(0), 0x001u);
  EXPECT_TRUE(doc.CanUndo());
}

TEST_F(DocumentLibraryCommandsTest, SwapOrnamentsReplacesTheChosenKindOverTheActiveSection) {
  // The active section with two instrument lines, and a copy after it that keeps its ornaments.
  CSystemArray& section = *doc.GetActiveSection();
  section.AddInstrument(section.definitions.at(0)->Clone());
  AddNote(section, 0, 5);   // "Asc. acciaccatura"
  AddNote(section, 0, 7);   // "Asc. long mordent"
  AddNote(section, 1, 5);
  AddNote(section, 1, 69);  // "Desc. acciaccatura"
  doc.AppendSection(CopySection(section));
  doc.SetActiveSection(0);
  doc.SetModifiedFlag(false);
  const auto ornaments = [&] {
    std::vector<int> codes;
    for (size_t line = 0; line < 2; ++line) {
      for (const auto& chord : doc.GetActiveSection()->System(0)->Line(line)->Voice(0)) {
        codes.push_back(chord->notes.at(0)->ornament);
      }
    }
    return codes;
  };

  ASSERT_TRUE(Run(kSwapOrnaments));  // the dialog cancelled
  EXPECT_TRUE(prompts.messages.empty());

  // Entries naming kinds the section does not hold, the same kind twice, and an entry outside
  // the lists replace nothing: no undo step, the document unmodified.
  for (const std::pair<int, int>& entries : {std::pair{31, 0}, std::pair{2, 2}, std::pair{40, 2}, std::pair{2, 40}}) {
    swapDialog.entries = entries;
    ASSERT_TRUE(Run(kSwapOrnaments));
    EXPECT_EQ(prompts.messages.back(), "0 ornaments swapped");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.CanUndo());
  }

  // "Asc. acciaccatura" becomes "Ghost note" on every line of the active section.
  swapDialog.entries = std::pair{2, 31};
  ASSERT_TRUE(Run(kSwapOrnaments));
  EXPECT_EQ(prompts.messages.back(), "2 ornaments swapped");
  EXPECT_EQ(ornaments(), (std::vector<int>{91, 7, 91, 69}));
  EXPECT_EQ(doc.sections.at(1)->System(0)->Line(0)->Voice(0).at(0)->notes.at(0)->ornament, 5);
  EXPECT_TRUE(doc.IsModified());
  doc.OnEditUndo();
  EXPECT_EQ(ornaments(), (std::vector<int>{5, 7, 5, 69}));
}

TEST_F(DocumentLibraryCommandsTest, SplitPartsMakesOneSectionPerPartAfterTheSource) {
  doc.AppendNewSection();  // a second section after the one split
  doc.SetActiveSection(0);
  CSystemArray& source = *doc.GetActiveSection();
  source.Title().text = "Fantasia";
  for (const char* name : {"Bass", "Tenor"}) {
    auto definition = source.definitions.at(0)->Clone();
    definition->nameText.text = name;
    source.AddInstrument(std::move(definition));
  }
  source.definitions.at(0)->nameText.text = "Treble";
  ASSERT_EQ(source.definitions.size(), 3u);
  for (size_t line = 0; line < 3; ++line) AddNote(source, line, static_cast<uint16_t>(line + 1));

  ASSERT_TRUE(Run(kSplitParts));
  ASSERT_EQ(doc.sections.size(), 5u);
  const char* names[] = {"Treble", "Bass", "Tenor"};
  for (size_t part = 0; part < 3; ++part) {
    const CSystemArray& made = *doc.sections.at(part + 1);
    EXPECT_EQ(made.Title().text, "Fantasia (" + std::to_string(part + 1) + ")");
    ASSERT_EQ(made.definitions.size(), 1u);
    EXPECT_EQ(made.definitions.at(0)->nameText.text, names[part]);
    ASSERT_EQ(made.System(0)->lines.size(), 1u);
    EXPECT_EQ(made.System(0)->Line(0)->Voice(0).at(0)->notes.at(0)->ornament, part + 1);
  }
  EXPECT_EQ(doc.sections.at(0)->definitions.size(), 3u);
  EXPECT_EQ(doc.sections.at(4)->Title().text, CSystemArray::kNewTitle);
}

}  // namespace
}  // namespace vornel
