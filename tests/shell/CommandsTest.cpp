// The application's and documents' commands headless, through their command tables with
// scripted prompts: opening into tabs, closing with the save question, saving all, the
// metronome, the help pages, the external programs, the recovery copies and the play list of
// the exported MIDI files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "shell/commands/ApplicationCommands.h"
#include "shell/app/AutoSave.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/commands/CommandIds.h"
#include "shell/commands/ExternalPrograms.h"
#include "shell/commands/HelpPages.h"
#include "shell/commands/Metronome.h"
#include "shell/commands/PlaybackCommands.h"
#include "shell/app/Profile.h"
#include "shell/commands/ProgramCommands.h"
#include "view/commands/MidiCommands.h"
#include "support/Bytes.h"
#include "support/RecordingFramePanes.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"
#include "FakeDocumentWindows.h"
#include "ShellFixtures.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPrompts;

using testing::FakeWindows;

// A file the launcher may start.
std::string Executable(const std::string& path) {
  testing::WriteText(path, "#!/bin/sh\n");
  fs::permissions(path, fs::perms::owner_all);
  return path;
}

std::string WriteDocument(const std::string& path) {
  CVornelTabDoc doc;
  doc.OnNewDocument();
  EXPECT_TRUE(SaveDocumentFile(doc, path));
  return path;
}

struct CommandsFixture : ::testing::Test {
  ScriptedPrompts prompts;
  testing::TempDir dir;
  MemoryProfile profile;
  CVornelTabApp app{profile};
  FakeWindows windows{app};
  view::CommandTable table;
  CommandsFixture() {
    app.dataFolder = dir.path() + "/";
    app.tempFolder = dir.path() + "/";
    AddApplicationCommands(table, app, windows);
  }
};

TEST_F(CommandsFixture, OpenShowsATabOnceAndListsTheFile) {
  const std::string path = WriteDocument(dir.File("Suite.btxml"));
  prompts.QueueFile(path);
  EXPECT_TRUE(table.Execute({commands::kOpen, {}, {}}));
  ASSERT_EQ(windows.documents.size(), 1u);
  EXPECT_EQ(windows.documents[0]->GetTitle(), "Suite.btxml");
  EXPECT_EQ(windows.switched, std::vector<std::string>{"Sections"});
  EXPECT_EQ(app.recentFiles.Paths(), std::vector<std::string>{path});
  // Opened again, the tab that has it is activated.
  EXPECT_EQ(OpenDocumentFile(app, windows, path), windows.documents[0].get());
  EXPECT_EQ(windows.documents.size(), 1u);
  // A recent entry whose file is gone is dropped from the list.
  EXPECT_TRUE(table.State(commands::kFirstRecentFile).enabled);
  EXPECT_FALSE(table.State(commands::kFirstRecentFile + 1).enabled);
  windows.documents.clear();
  fs::remove(path);
  EXPECT_TRUE(table.Execute({commands::kFirstRecentFile, {}, {}}));
  EXPECT_TRUE(app.recentFiles.Paths().empty());
  EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(CommandsFixture, ClosingAModifiedDocumentAsksYesNoCancel) {
  WriteDocument(dir.File("Suite.btxml"));
  CVornelTabDoc* doc = OpenDocumentFile(app, windows, dir.File("Suite.btxml"));
  ASSERT_NE(doc, nullptr);
  view::CommandTable docTable;
  AddDocumentCommands(docTable, app, windows, *doc);
  doc->SetModifiedFlag(true);

  prompts.QueueAnswer(Answer::kCancel);
  docTable.Execute({commands::kClose, {}, {}});
  EXPECT_EQ(windows.documents.size(), 1u);
  EXPECT_EQ(prompts.questions.back(), "Save changes to Suite.btxml?");

  // Yes, but the save fails (the folder is gone): the document stays.
  doc->SetPathName(dir.File("gone/Suite.btxml"));
  prompts.QueueAnswer(Answer::kYes);
  EXPECT_FALSE(windows.CloseDocument(*doc));
  EXPECT_EQ(windows.documents.size(), 1u);
  EXPECT_TRUE(doc->IsModified());

  doc->SetPathName(dir.File("Suite.btxml"));
  prompts.QueueAnswer(Answer::kNo);
  docTable.Execute({commands::kClose, {}, {}});
  EXPECT_TRUE(windows.documents.empty());
}

TEST_F(CommandsFixture, SaveAllSavesOnlyModifiedDocuments) {
  WriteDocument(dir.File("A.btxml"));
  WriteDocument(dir.File("B.btxml"));
  CVornelTabDoc* a = OpenDocumentFile(app, windows, dir.File("A.btxml"));
  CVornelTabDoc* b = OpenDocumentFile(app, windows, dir.File("B.btxml"));
  ASSERT_TRUE(a && b);
  const auto before = fs::last_write_time(dir.File("A.btxml"));
  fs::remove(dir.File("B.btxml"));
  b->SetModifiedFlag(true);
  EXPECT_TRUE(table.Execute({commands::kSaveAll, {}, {}}));
  EXPECT_TRUE(fs::exists(dir.File("B.btxml")));
  EXPECT_FALSE(b->IsModified());
  EXPECT_EQ(fs::last_write_time(dir.File("A.btxml")), before);
  // A document without a name asks for one.
  auto untitled = std::make_unique<CVornelTabDoc>();
  untitled->OnNewDocument();
  untitled->SetTitle("VornelTab1");
  untitled->SetModifiedFlag(true);
  windows.ShowDocument(std::move(untitled));
  prompts.QueueFile(dir.File("Named"));
  table.Execute({commands::kSaveAll, {}, {}});
  EXPECT_TRUE(fs::exists(dir.File("Named.btz")));
  EXPECT_EQ(prompts.filePrompts.back(), "Save As|*.btz;*.btxml|VornelTab1|" + dir.path() + "/");
}

TEST_F(CommandsFixture, ImportVornelXmlTakesTheTitleFromTheFileName) {
  WriteDocument(dir.File("Export.btxml"));
  fs::rename(dir.File("Export.btxml"), dir.File("Export.xml"));
  testing::WriteText(dir.File("Broken.xml"), "<VornelTabXML");
  prompts.QueueFile(dir.File("Export.xml"));
  prompts.QueueFile(dir.File("Broken.xml"));
  table.Execute({commands::kImportVornelXml, {}, {}});
  table.Execute({commands::kImportVornelXml, {}, {}});
  ASSERT_EQ(windows.documents.size(), 1u);
  EXPECT_EQ(windows.documents[0]->GetTitle(), "Export");
  EXPECT_TRUE(windows.documents[0]->GetPathName().empty());
  EXPECT_EQ(prompts.messages,
            (std::vector<std::string>{"Unable to parse this XML file!\nError=XML_ERROR_PARSING_ELEMENT ErrorID=6 (0x6) "
                                      "Line number=1: XMLElement name=VornelTabXML",
                                      "Failed to create empty document."}));
}

TEST_F(CommandsFixture, MetronomeOnIsACheckedSwitchAndExitClosesTheWindow) {
  EXPECT_EQ(table.State(commands::kMetronomeOn).checked, false);
  table.Execute({commands::kMetronomeOn, {}, {}});
  EXPECT_EQ(table.State(commands::kMetronomeOn).checked, true);
  // Printing belongs to the score view: the application does not claim its set-up.
  EXPECT_FALSE(table.State(commands::kPrintSetup).handled);
  table.Execute({commands::kExit, {}, {}});
  EXPECT_TRUE(windows.exited);
}

class FakeTimer : public MetronomeTimer {
 public:
  void Start(int periodMs) override { log.push_back("start " + std::to_string(periodMs)); }
  void Stop() override { log.push_back("stop"); }
  std::vector<std::string> log;
};

TEST(Metronome, FirstPeriodThenTheTempo) {
  FakeTimer timer;
  Metronome metronome(timer);
  metronome.TempoChanged(120);  // off stays off
  EXPECT_FALSE(metronome.Running());
  EXPECT_TRUE(timer.log.empty());
  metronome.Toggle();
  EXPECT_EQ(metronome.PeriodMs(), 750);
  metronome.TempoChanged(120);
  EXPECT_EQ(metronome.PeriodMs(), 500);
  metronome.TempoChanged(7);
  EXPECT_EQ(metronome.PeriodMs(), 8571);
  metronome.TempoChanged(0);
  EXPECT_EQ(metronome.PeriodMs(), 60000);
  metronome.Toggle();
  EXPECT_FALSE(metronome.Running());
  metronome.TempoChanged(90);
  EXPECT_EQ(timer.log, (std::vector<std::string>{"start 750", "stop", "start 500", "stop", "start 8571", "stop",
                                                 "start 60000", "stop"}));
}

TEST(HelpPages, TheTwoMessagesAndThePagesOfTheMenu) {
  ScriptedPrompts prompts;
  testing::TempDir dir;
  EXPECT_EQ(FindHelpPage(34359, dir.File("Documentation")), std::nullopt);
  fs::create_directory(dir.File("Documentation"));
  testing::WriteText(dir.File("Documentation/software.html"), "<html/>");
  EXPECT_EQ(FindHelpPage(34359, dir.File("Documentation")), std::nullopt);
  EXPECT_EQ(prompts.messages,
            (std::vector<std::string>{"Cannot find documentation directory: " + dir.File("Documentation/"),
                                      "Missing file: " + dir.File("Documentation/documents.html")}));
  EXPECT_EQ(FindHelpPage(34358, dir.File("Documentation")), dir.File("Documentation/software.html"));
  for (int silent : {34356, 34366, 34367}) EXPECT_EQ(FindHelpPage(silent, dir.File("Documentation")), std::nullopt);
  EXPECT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(HelpPageName(34355), "accelerators.html");
  EXPECT_EQ(HelpPageName(34362), "editing.html");
}

using FakeLauncher = testing::RecordingLauncher;

TEST_F(CommandsFixture, TabTypesetterRunsInAFolderOfItsOwn) {
  FakeLauncher launcher;
  // Unset, and the answer No: nothing starts.
  prompts.QueueAnswer(Answer::kNo);
  RunTabProgram(app, dir.File("piece.tab"));
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_EQ(prompts.captions.back(), "Program not found");

  // A typesetter that is not there names its setting.
  app.tabProgramPath = dir.File("missing-tab");
  RunTabProgram(app, dir.File("piece.tab"));
  EXPECT_EQ(prompts.messages.back(), "Cannot start " + app.tabProgramPath + ".\nCheck the setting \"TabDosPath\".");
  EXPECT_TRUE(launcher.started.empty());

  app.tabProgramPath = Executable(dir.File("tab"));
  RunTabProgram(app, dir.File("piece.tab"));
  RunTabProgram(app, dir.File("piece.tab"));
  ASSERT_EQ(launcher.started.size(), 2u);
  EXPECT_EQ(launcher.started[0], (std::vector<std::string>{app.tabProgramPath, "-P", dir.File("piece.tab")}));
  EXPECT_NE(launcher.folders[0], launcher.folders[1]);
  // The first run wrote its output; the second wrote none and failed.
  testing::WriteText(launcher.folders[0] + "out.ps", "%!PS");
  launcher.exits[1](3);
  launcher.exits[0](0);
  EXPECT_EQ(launcher.opened, std::vector<std::string>{launcher.folders[0] + "out.ps"});
  EXPECT_EQ(prompts.messages.back(), app.tabProgramPath + " ended with exit code 3.");

  launcher.starts = false;
  RunTabProgram(app, dir.File("piece.tab"));
  EXPECT_EQ(prompts.messages.back(), "Cannot start " + app.tabProgramPath + ".\nCheck the setting \"TabDosPath\".");
}

TEST_F(CommandsFixture, AbcFilesGoToTheConverterOrTheDesktop) {
  FakeLauncher launcher;
  prompts.QueueFile(dir.File("tune.abc"));
  table.Execute({commands::kRunAbcSoftware, {}, {}});
  EXPECT_EQ(launcher.opened, std::vector<std::string>{dir.File("tune.abc")});
  EXPECT_TRUE(launcher.started.empty());
  app.abcProgramPath = Executable(dir.File("abc2ps"));
  prompts.QueueFile(dir.File("tune.abc"));
  table.Execute({commands::kRunAbcSoftware, {}, {}});
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0], (std::vector<std::string>{app.abcProgramPath, dir.File("tune.abc")}));
  launcher.exits[0](0);
  EXPECT_EQ(prompts.messages.back(), app.abcProgramPath + " wrote no Out.ps.");
}

TEST_F(CommandsFixture, TheMidiToWavePlayerIsLookedForOnceWhenUnset) {
  prompts.QueueAnswer(Answer::kOk);
  prompts.QueueFile("/usr/bin/timidity");
  EXPECT_EQ(GetMidiToWavProgramPath(app), "/usr/bin/timidity");
  EXPECT_EQ(profile.GetText(kSessionProfile, "TimidityPath"), "/usr/bin/timidity");
  EXPECT_EQ(GetMidiToWavProgramPath(app), "/usr/bin/timidity");  // no second question
  EXPECT_EQ(prompts.questions,
            std::vector<std::string>{
                "The path to your MIDI to WAV player has not been set yet. Would you like to go find it?"});
}

TEST_F(CommandsFixture, ExportedSectionMidiFilesJoinTheMainWindowsPlayList) {
  testing::RecordingFramePanes panes;
  CVornelTabDoc doc;
  doc.OnNewDocument();
  doc.AppendNewSection();
  doc.SetPathName(dir.File("Suite.btxml"));
  doc.SetTitle("Suite.btxml");
  view::CommandTable documentTable;
  AddPlaybackCommands(documentTable, app, doc);
  ASSERT_TRUE(documentTable.Execute({view::kExportAllSectionsMidi, {}, {}}));
  std::vector<std::string> listed;
  for (const std::string& entry : panes.log) {
    if (entry.rfind("playlist ", 0) == 0) listed.push_back(entry.substr(9));
  }
  EXPECT_EQ(listed, (std::vector<std::string>{dir.File("Suite_0.mid"), dir.File("Suite_1.mid")}));
  for (const std::string& path : listed) EXPECT_TRUE(fs::is_regular_file(path)) << path;
}

TEST(AutoSave, CopiesOfEndedRunsAreOfferedAndACleanCloseLeavesNone) {
  ScriptedPrompts prompts;
  testing::TempDir base;
  CVornelTabDoc doc;
  doc.OnNewDocument();
  doc.SetPathName("/music/Suite.btz");
  AutoSaveStore store(base.path());
  ASSERT_TRUE(store.SaveCopy(doc, 3));
  EXPECT_TRUE(fs::exists(store.RunFolder() + "3.btxml"));
  EXPECT_TRUE(store.Leftovers().empty());  // this run is alive

  // A run that ended without closing: its folder is named after a process that is gone.
  fs::create_directories(base.File("999999999"));
  fs::copy_file(store.RunFolder() + "3.btxml", base.File("999999999/1.btxml"));
  fs::copy_file(store.RunFolder() + "3.path", base.File("999999999/1.path"));
  const std::vector<RecoveryCopy> copies = store.Leftovers();
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].originalPath, "/music/Suite.btz");
  EXPECT_EQ(copies[0].title, "Suite.btz");
  EXPECT_TRUE(OpenDocumentFile(copies[0].copyPath).document);
  store.DiscardLeftovers();
  EXPECT_FALSE(fs::exists(base.File("999999999")));

  store.RemoveCopy(3);
  EXPECT_FALSE(fs::exists(store.RunFolder() + "3.btxml"));
  store.RemoveAll();
  EXPECT_FALSE(fs::exists(store.RunFolder()));
}

}  // namespace
}  // namespace vornel
