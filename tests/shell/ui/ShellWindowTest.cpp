// The shell's windows under a virtual display, with scripted prompts and a temporary home:
// start-up with a document, the status bar and the panes, looks, the facsimile pane, closing
// with the save question, what persists between two starts, the preferences dialog, the
// metronome and help commands, the MIDI play list window, File > New from a shipped template.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/aui/auibook.h>
#include <wx/aui/dockart.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/prntbase.h>
#include <wx/spinctrl.h>
#include <wx/splash.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "midi/play/MidiOut.h"
#include "midi/ui/MidiPlaylistWindow.h"
#include "layout/dialogs/SectionDialogs.h"
#include "model/text/CFacsimileListDlg.h"
#include "model/score/CSystemArray.h"
#include "model/voice/EntryForms.h"
#include "model/voice/nNotes.h"
#include "shell/ShellFixtures.h"
#include "shell/app/ApplicationLooks.h"
#include "shell/app/Profile.h"
#include "shell/commands/CommandIds.h"
#include "shell/commands/ExternalPrograms.h"
#include "shell/commands/HelpPages.h"
#include "shell/files/TemplateList.h"
#include "shell/ui/CChildFrame.h"
#include "shell/commands/DocumentFileCommands.h"
#include "shell/ui/EditorRun.h"
#include "shell/ui/RealInput.h"
#include "shell/ui/RibbonInput.h"
#include "shell/ui/console/OutputPane.h"
#include "shell/ui/ConfigProfile.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/RealInput.h"
#include "shell/ui/bars/FrameBars.h"
#include "shell/ui/bars/RibbonBar.h"
#include "shell/ui/SessionOptionsDialog.h"
#include "shell/frame/ShellPictures.h"
#include "shell/ui/ShellApplication.h"
#include "shell/ui/ShellExportServices.h"
#include "shell/ui/SplashWindow.h"
#include "shell/ui/WindowTabArt.h"
#include "shell/commands/DocumentFileCommands.h"
#include "shell/ui/EditorRun.h"
#include "shell/ui/console/OutputPane.h"
#include "support/RecordingFramePanes.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"
#include "view/commands/MidiCommands.h"
#include "view/core/ViewIds.h"
#include "view/ui/facsimile/ImageView.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

struct ShellWindows : ::testing::Test {
  testing::TemporaryHome home;
  testing::ScriptedPrompts prompts;
  ShellWindows() { fs::create_directories(home.Path() + "Documents/VornelFiles"); }
};

TEST_F(ShellWindows, ADocumentOnTheCommandLineGivesOneTabNamedAfterIt) {
  const std::string path = WriteDocument(home.Path() + "Suite.btxml");
  EditorRun run(home, {path});
  CMainFrame& frame = run.Frame();
  ASSERT_EQ(frame.DocumentTabs()->GetPageCount(), 1u);
  EXPECT_EQ(frame.DocumentTabs()->GetPageText(0), "Suite.btxml");
  EXPECT_EQ(frame.GetTitle(), "Suite.btxml - Vornel Tablature Composer");
  EXPECT_EQ(frame.GetStatusBar()->GetFieldsCount(), 21);
  EXPECT_EQ(frame.GetStatusBar()->GetStatusText(1), "Caret position");
  EXPECT_EQ(frame.GetStatusBar()->GetStatusText(13), "AUTOFWD");
  EXPECT_EQ(frame.LeftGroup()->GetPageCount(), 7u);
  EXPECT_EQ(frame.LeftGroup()->GetPageText(static_cast<size_t>(frame.LeftGroup()->GetSelection())), "Sections");
  EXPECT_EQ(frame.LeftGroup()->GetPageText(0), "File explorer");
  EXPECT_FALSE(frame.DockManager().GetPane("console").IsShown());
  EXPECT_FALSE(frame.DockManager().GetPane("output").IsShown());
  EXPECT_TRUE(frame.DockManager().GetPane("left").IsShown());
  // The document's section list reached the frame, and reaches whatever stands for it.
  EXPECT_EQ(frame.SectionLines().size(), 1u);
  {
    testing::RecordingFramePanes panes;
    frame.ActiveChild()->Activated();
    EXPECT_EQ(panes.log, std::vector<std::string>{"sections 1 active 0"});
  }
  // The view writes its values through the frame's interface.
  view::Panes().SetStatusText(view::kZoomSlot, "100%");
  EXPECT_EQ(frame.GetStatusBar()->GetStatusText(12), "100%");
  // A path that is not there is reported and opens no tab.
  EditorRun second(home, {home.Path() + "missing.btxml"});
  EXPECT_EQ(second.Frame().DocumentTabs()->GetPageCount(), 0u);
  EXPECT_FALSE(prompts.messages.empty());
}

// Texts the view writes with every key wait for the bar's next paint: the key is not held up
// by a paint of the bar for each of them.
TEST_F(ShellWindows, StatusTextsShowWithTheBarsNextPaint) {
  EditorRun run(home);
  wxStatusBar& bar = *run.Frame().GetStatusBar();
  bar.Update();
  testing::Pump();
  int paints = 0;
  bar.Bind(wxEVT_PAINT, [&paints](wxPaintEvent& event) {
    ++paints;
    event.Skip();
  });
  for (int i = 1; i <= 20; ++i) {
    view::Panes().SetStatusText(view::kCaretSlot, std::to_string(i) + "-1 [" + std::to_string(i) + "]");
  }
  EXPECT_EQ(paints, 0);
  EXPECT_EQ(bar.GetStatusText(view::kCaretSlot), "20-1 [20]");
  bar.Update();
  EXPECT_EQ(paints, 1);
}

TEST_F(ShellWindows, LooksAreKeptAndRestored) {
  {
    EditorRun run(home);
    EXPECT_EQ(run.App().look, 214);
    EXPECT_TRUE(run.Frame().DispatchCommand(215));
    EXPECT_EQ(run.Frame().CommandStateOf(215).checked, true);
    EXPECT_EQ(run.Frame().CommandStateOf(214).checked, false);
  }
  EditorRun run(home);
  EXPECT_EQ(run.App().look, 215);
  const wxColour caption =
      run.Frame().DockManager().GetArtProvider()->GetColour(wxAUI_DOCKART_ACTIVE_CAPTION_COLOUR);
  EXPECT_EQ(caption.GetRGB(), wxColour(0x6D, 0x8C, 0xC4).GetRGB());
}

TEST_F(ShellWindows, TheFacsimilePaneShownAndHiddenTwiceKeepsTheSash) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CChildFrame* child = run.Frame().ActiveChild();
  ASSERT_NE(child, nullptr);
  EXPECT_FALSE(child->FacsimilePaneShown());
  // An image handed to the score joins the active section's facsimiles.
  child->AddFacsimileToScore(home.Path() + "scan.png");
  EXPECT_EQ(child->Document().GetActiveSection()->facsimiles.imagePaths, std::vector<std::string>{home.Path() + "scan.png"});
  child->ShowFacsimilePane(true);
  Settle();
  ASSERT_TRUE(child->FacsimilePaneShown());
  auto* splitter = static_cast<wxSplitterWindow*>(child->Canvas()->GetParent());
  splitter->SetSashPosition(180);
  Settle();
  const int sash = child->SashPosition();
  for (int i = 0; i < 2; ++i) {
    child->ShowFacsimilePane(false);
    Settle();
    EXPECT_FALSE(child->FacsimilePaneShown());
    child->ShowFacsimilePane(true);
    Settle();
    EXPECT_EQ(child->SashPosition(), sash);
  }
}

// Print and Print preview act on the picture while the facsimile pane was given the focus
// last, and on the score again once the score has it.
TEST_F(ShellWindows, PrintReachesTheFacsimilePaneWhileItIsTheActiveView) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  CChildFrame* child = frame.ActiveChild();
  ASSERT_NE(child, nullptr);
  auto* image = dynamic_cast<view::ImageView*>(child->FacsimilePane());
  ASSERT_NE(image, nullptr);
  const auto focus = [](wxWindow* window) {
    wxChildFocusEvent event(window);
    window->GetEventHandler()->ProcessEvent(event);
  };
  // Hidden, the pane is never the active view.
  focus(image);
  EXPECT_EQ(child->FacsimileCommands(), nullptr);
  child->ShowFacsimilePane(true);
  Settle();
  EXPECT_EQ(child->FacsimileCommands(), nullptr);
  focus(image);
  EXPECT_EQ(child->FacsimileCommands(), &image->Commands());
  // An empty viewer has nothing to print: the commands show disabled rather than print the score.
  EXPECT_FALSE(frame.CommandStateOf(view::kPrint).enabled);
  EXPECT_FALSE(frame.DispatchCommand(view::kPrintPreview));
  ASSERT_TRUE(image->Load(std::string(VORNEL_CORPUS_DIR) + "/images/various/hopper.jpg"));
  EXPECT_TRUE(frame.CommandStateOf(view::kPrint).enabled);
  const auto previews = [] {
    std::vector<wxPreviewFrame*> found;
    for (wxWindow* window : wxTopLevelWindows) {
      if (auto* preview = dynamic_cast<wxPreviewFrame*>(window); preview != nullptr && preview->IsShown()) {
        found.push_back(preview);
      }
    }
    return found;
  };
  EXPECT_TRUE(previews().empty());
  EXPECT_TRUE(frame.DispatchCommand(view::kPrintPreview));
  ASSERT_EQ(previews().size(), 1u);
  previews()[0]->Close(true);
  wxTheApp->ProcessIdle();
  // The score given the focus takes the commands back; so does hiding the pane.
  focus(child->Canvas());
  EXPECT_EQ(child->FacsimileCommands(), nullptr);
  focus(image);
  EXPECT_EQ(child->FacsimileCommands(), &image->Commands());
  child->ShowFacsimilePane(false);
  EXPECT_EQ(child->FacsimileCommands(), nullptr);
}

TEST_F(ShellWindows, EditTitlePageShowsTheTitlePageBesideTheScoreAsTheActiveView) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  CChildFrame* child = frame.ActiveChild();
  ASSERT_NE(child, nullptr);
  // Beside the score the title page's commands wait for their view.
  EXPECT_FALSE(child->TitlePageView());
  EXPECT_FALSE(frame.CommandStateOf(33178).enabled);
  ASSERT_TRUE(frame.DispatchCommand(32966));
  Settle();
  ASSERT_TRUE(child->TitlePageView());
  auto* pages = dynamic_cast<wxNotebook*>(child->Canvas()->GetParent());
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->GetPageCount(), 2u);
  EXPECT_TRUE(child->Document().IsModified());
  EXPECT_EQ(frame.Bars().Ribbon()->GetActivePage(), 2);
  EXPECT_TRUE(frame.CommandStateOf(33178).enabled);
  // The gallery's item and the document's print option, from the title page.
  ASSERT_TRUE(frame.DispatchCommand(view::CommandEvent{34078, 3, {}}));
  EXPECT_EQ(child->Document().settings.titlePage.frameStyle, 3);
  const int32_t printAll = child->Document().settings.pageSettings.printAllSections;
  ASSERT_TRUE(frame.DispatchCommand(33520));
  EXPECT_NE(child->Document().settings.pageSettings.printAllSections, printAll);
  // Back at the score the route is the score's; a second "Edit title page" shows the same view.
  child->ShowScore();
  Settle();
  EXPECT_FALSE(child->TitlePageView());
  EXPECT_FALSE(frame.CommandStateOf(33178).enabled);
  ASSERT_TRUE(frame.DispatchCommand(32966));
  Settle();
  EXPECT_TRUE(child->TitlePageView());
  EXPECT_EQ(pages->GetPageCount(), 2u);
}

// File > New with scripted answers: the template list chooses the baroque guitar, the section
// properties step sets 3/4, the rhythm-pattern step is cancelled.
TEST_F(ShellWindows, FileNewFromTheBaroqueGuitarTemplateOpensAnUntitledTab) {
  struct ChooseBaroqueGuitar : TemplateListDialogs {
    bool Run(CTemplateList& list) override {
      const auto found = std::find(list.entries.begin(), list.entries.end(), "Baroque guitar.bttx");
      if (found == list.entries.end()) return false;
      list.Take(static_cast<int>(found - list.entries.begin()));
      return true;
    }
  } templates;
  struct ThreeFour : SectionDialogs {
    bool EditSection(CSectionDlg& dialog) override {
      dialog.numerator = 3;
      return true;
    }
  } sections;
  EntryForms noRhythmPattern;
  EditorRun run(home);
  // Installed after the editor's own dialogs, which the start puts in force.
  ScopedTemplateListDialogs scopedTemplates(templates);
  ScopedSectionDialogs scopedSections(sections);
  ScopedEntryForms scopedForms(noRhythmPattern);
  run.App().options.templatesFolder = std::string(VORNEL_SOURCE_DIR) + "/data/Templates/";
  CMainFrame& frame = run.Frame();
  ASSERT_TRUE(frame.DispatchCommand(commands::kNew));
  Settle();
  ASSERT_EQ(frame.DocumentTabs()->GetPageCount(), 1u);
  EXPECT_EQ(frame.DocumentTabs()->GetPageText(0), "VornelTab1");
  const CVornelTabDoc& doc = frame.ActiveChild()->Document();
  EXPECT_TRUE(doc.GetPathName().empty());
  const CSystemArray& section = *doc.GetActiveSection();
  EXPECT_EQ(section.numerator, 3);
  ASSERT_EQ(section.definitions.size(), 1u);
  EXPECT_EQ(section.systems.at(0)->lines.size(), 1u);
  const nTuning& tuning = section.definitions.at(0)->tabInstrument.tuning;
  ASSERT_EQ(tuning.stringCount, 5);
  // Re-entrant: the fourth and fifth courses above the third.
  EXPECT_GT(tuning.courses[3].pitch, tuning.courses[2].pitch);
  EXPECT_GT(tuning.courses[4].pitch, tuning.courses[2].pitch);
  EXPECT_TRUE(section.systems.at(0)->lines.at(0)->IsEmpty());  // no rhythm pattern filled
}

TEST_F(ShellWindows, ClosingAModifiedDocumentCancelKeepsItNoClosesIt) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  frame.ActiveChild()->Document().SetModifiedFlag(true);
  prompts.QueueAnswer(Answer::kCancel);
  EXPECT_FALSE(run.Close(false));  // closing the window asks too
  EXPECT_EQ(frame.DocumentTabs()->GetPageCount(), 1u);
  prompts.QueueAnswer(Answer::kCancel);
  EXPECT_TRUE(frame.DispatchCommand(commands::kClose));
  EXPECT_EQ(frame.DocumentTabs()->GetPageCount(), 1u);
  prompts.QueueAnswer(Answer::kNo);
  EXPECT_TRUE(frame.DispatchCommand(commands::kClose));
  wxTheApp->ProcessIdle();
  EXPECT_EQ(frame.DocumentTabs()->GetPageCount(), 0u);
  EXPECT_EQ(frame.Views().Count(), 0u);
  EXPECT_EQ(prompts.questions, std::vector<std::string>(3, "Save changes to Suite.btxml?"));
  EXPECT_FALSE(frame.CommandStateOf(commands::kSave).handled);
}

TEST_F(ShellWindows, SaveAsRenamesTheTabAndTheWindow) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  prompts.QueueFile(home.Path() + "Renamed");
  EXPECT_TRUE(run.Frame().DispatchCommand(commands::kSaveAs));
  EXPECT_TRUE(fs::exists(home.Path() + "Renamed.btz"));
  EXPECT_EQ(run.Frame().DocumentTabs()->GetPageText(0), "Renamed.btz");
  EXPECT_EQ(run.Frame().GetTitle(), "Renamed.btz - Vornel Tablature Composer");
  EXPECT_EQ(run.Frame().Views().Title(0), "Renamed.btz");
  EXPECT_EQ(run.App().recentFiles.Paths().front(), home.Path() + "Renamed.btz");
}

TEST_F(ShellWindows, RecentFilesAndTheLayoutPersistToTheNextStart) {
  const std::string path = WriteDocument(home.Path() + "Suite.btxml");
  {
    EditorRun run(home, {path});
    EXPECT_TRUE(run.Frame().DispatchCommand(commands::kOutputView));
    EXPECT_TRUE(run.Frame().DispatchCommand(commands::kPropertiesView));  // hides the properties tab
    EXPECT_FALSE(run.Frame().LeftPaneShown(CMainFrame::kProperties));
  }
  EXPECT_EQ(ConfigProfile(home.Path() + "vornel.ini").GetText(kRecentFileSection, "File1"), path);
  EditorRun run(home);
  EXPECT_EQ(run.App().recentFiles.Paths(), std::vector<std::string>{path});
  EXPECT_TRUE(run.Frame().DockManager().GetPane("output").IsShown());
  EXPECT_FALSE(run.Frame().DockManager().GetPane("console").IsShown());
  EXPECT_FALSE(run.Frame().LeftPaneShown(CMainFrame::kProperties));
  EXPECT_EQ(run.Frame().LeftGroup()->GetPageCount(), 6u);
  EXPECT_EQ(run.Frame().DocumentTabs()->GetPageCount(), 0u);  // "Open last document" is off
  EXPECT_TRUE(run.Frame().DispatchCommand(commands::kViewAllPanes));
  EXPECT_EQ(run.Frame().LeftGroup()->GetPageCount(), 7u);
  EXPECT_EQ(run.Frame().LeftGroup()->GetPageText(3), "Properties");
}

TEST_F(ShellWindows, RecoveryCopiesOfARunThatDidNotCloseAreOffered) {
  // A run that ended without closing left the copy of a modified document.
  const std::string run = home.Path() + ".local/state/vornel/autosave/999999999/";
  fs::create_directories(run);
  WriteDocument(run + "1.btxml");
  testing::WriteText(run + "1.path", home.Path() + "Suite.btz\nSuite.btz\n");
  prompts.QueueAnswer(Answer::kYes);
  EditorRun editor(home);
  ASSERT_EQ(editor.Frame().DocumentTabs()->GetPageCount(), 1u);
  CVornelTabDoc& doc = editor.Frame().ActiveChild()->Document();
  EXPECT_EQ(doc.GetPathName(), home.Path() + "Suite.btz");
  EXPECT_TRUE(doc.IsModified());
  EXPECT_FALSE(fs::exists(run));
  EXPECT_EQ(prompts.questions.size(), 1u);
  // Not saved, not wanted: the run closes without keeping it.
  prompts.QueueAnswer(Answer::kNo);
  EXPECT_TRUE(editor.Close(false));
  EXPECT_FALSE(fs::exists(home.Path() + ".local/state/vornel/autosave/" + std::to_string(::getpid())));
}

TEST_F(ShellWindows, PreferencesDialogExchangesTheOptionsAndOkWritesTheKeys) {
  MemoryProfile profile;
  CVornelTabApp app(profile);
  app.InitFolders();
  app.LoadSessionProfile();
  app.htmlRoot = "example.org/old";
  app.PreparePreferences();
  app.options.maximumUndo = 30;
  app.options.playJingle = 1;
  SessionOptionsDialog dialog(nullptr, app.options, &app, {"Built-in synthesizer", "Port 2"});
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.htmlRoot->GetValue(), "example.org/old");
  EXPECT_EQ(dialog.maximumUndo->GetValue(), 30);
  EXPECT_TRUE(dialog.playJingle->GetValue());
  EXPECT_EQ(dialog.viewTrackers->GetLabel(), "View  trackers");
  dialog.htmlRoot->SetValue("http://example.org/tabs");
  dialog.maximumUndo->SetValue(55);
  dialog.percussionChannel->SetValue(3);
  dialog.openLastDocument->SetValue(true);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(app.options.maximumUndo, 55u);
  EXPECT_EQ(app.options.openLastDocument, 1);
  profile.writes.clear();
  app.ApplyPreferences();
  ASSERT_GE(profile.writes.size(), 9u);
  EXPECT_EQ(profile.writes[0].substr(0, profile.writes[0].find('=')), "SessionProfile/XMLPath");
  EXPECT_EQ(profile.writes[6], "SessionProfile/HTMLRootPath=example.org/tabs");
  EXPECT_EQ(profile.writes[8], "SessionProfile/PlayJingle=1");
  app.CleanUp();
}

TEST_F(ShellWindows, TheMetronomeNeedsItsSoundsAndFollowsTheTempo) {
  {
    EditorRun run(home);
    EXPECT_FALSE(run.Frame().CommandStateOf(commands::kRunMetronome).enabled);
  }
  ConfigProfile(home.Path() + "vornel.ini").WriteInt(kSessionProfile, "PlayJingle", 1);
  EditorRun run(home);
  // Sounds that load whatever the machine has, in force over the editor's own.
  testing::RecordingSounds sounds;
  run.App().PlayJingle();
  CMainFrame& frame = run.Frame();
  ASSERT_TRUE(frame.CommandStateOf(commands::kRunMetronome).enabled);
  frame.TempoChanged(120);  // off stays off
  Settle();
  EXPECT_FALSE(frame.GetMetronome().Running());
  EXPECT_TRUE(frame.DispatchCommand(commands::kRunMetronome));
  EXPECT_EQ(frame.GetMetronome().PeriodMs(), 750);
  EXPECT_EQ(frame.CommandStateOf(commands::kRunMetronome).checked, true);
  frame.TempoChanged(120);
  Settle();
  EXPECT_EQ(frame.GetMetronome().PeriodMs(), 500);
  frame.TempoChanged(7);
  Settle();
  EXPECT_EQ(frame.GetMetronome().PeriodMs(), 8571);
  EXPECT_TRUE(frame.DispatchCommand(commands::kRunMetronome));
  EXPECT_FALSE(frame.GetMetronome().Running());
}

class OpenedTargets : public ProgramLauncher {
 public:
  OpenedTargets() : scope_(*this) {}
  bool Start(const std::vector<std::string>&, const std::string&, ExitHandler) override { return false; }
  bool OpenWithDefault(const std::string& target) override {
    opened.push_back(target);
    return true;
  }
  std::vector<std::string> opened;

 private:
  ScopedPrograms scope_;
};

TEST_F(ShellWindows, HelpPagesOpenFromTheDocumentationFolder) {
  EditorRun run(home);
  OpenedTargets launcher;
  testing::TempDir shipped;
  fs::create_directories(shipped.File("Documentation"));
  testing::WriteText(shipped.File("Documentation/software.html"), "<html/>");
  run.App().shippedDataFolder = shipped.path() + "/";
  EXPECT_TRUE(run.Frame().DispatchCommand(34358));
  EXPECT_EQ(launcher.opened, std::vector<std::string>{shipped.File("Documentation/software.html")});
  EXPECT_TRUE(run.Frame().DispatchCommand(34359));
  EXPECT_EQ(prompts.messages.back(), "Missing file: " + shipped.File("Documentation/documents.html"));
  // The shipped pages are all there.
  for (int command : {34355, 34357, 34358, 34359, 34360, 34361, 34362}) {
    EXPECT_TRUE(fs::exists(std::string(VORNEL_DATA_DIR) + "/Documentation/" + std::string(*HelpPageName(command))));
  }
}

// The "Documentation" menu of the About page: its submenus open, and "Tables" > "Accelerators"
// opens its page.
TEST_F(ShellWindows, TheDocumentationMenusSubmenusOpenTheirPages) {
  EditorRun run(home);
  OpenedTargets launcher;
  std::vector<std::string> submenus;
  testing::OnNextMenu choose([&](wxMenu& menu) {
    int steps = 0;
    int tables = 0;
    for (const wxMenuItem* item : menu.GetMenuItems()) {
      ++steps;
      if (!item->IsSubMenu()) continue;
      submenus.push_back(item->GetItemLabelText().utf8_string() + (item->IsEnabled() ? "" : " (disabled)"));
      if (item->GetItemLabelText() == "Tables") tables = steps;
    }
    for (int i = 0; i < tables; ++i) testing::PressKey(WXK_DOWN);
    testing::PressKey(WXK_RIGHT);  // opens "Tables" on its first entry, "Keyboard input"
    testing::PressKey(WXK_DOWN);
    testing::PressKey(WXK_RETURN);
  });
  ClickRibbonMenuButton(run.Frame(), "About", 1);
  testing::Pump();
  EXPECT_TRUE(choose.Opened());
  EXPECT_EQ(submenus, (std::vector<std::string>{"Tables", "Imports"}));
  EXPECT_EQ(launcher.opened, std::vector<std::string>{run.App().shippedDataFolder + "Documentation/accelerators.html"});
}

TEST_F(ShellWindows, TheTextImportsAndSwapOrnamentsAreInTheDocumentsTable) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  for (int command : {33174, 33280, 33419, 33281, 33087, 34371}) {
    EXPECT_TRUE(run.Frame().CommandStateOf(command).enabled) << command;
  }
}

TEST_F(ShellWindows, AnImportSaysWhatItCouldNotKeepInTheOutputPane) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  ASSERT_FALSE(frame.DockManager().GetPane("output").IsShown());
  // Two of its tied notes follow rests: nothing to tie them to.
  prompts.QueueFile(std::string(VORNEL_CORPUS_DIR) + "/guitarpro/Tie.gp5");
  ASSERT_TRUE(frame.DispatchCommand(kImportGuitarPro));
  Settle();
  EXPECT_EQ(frame.ActiveChild()->Document().sections.size(), 2u);
  EXPECT_TRUE(frame.DockManager().GetPane("output").IsShown());
  const COutputList& build = *frame.OutputPane()->List(0);
  ASSERT_GT(build.GetCount(), 0u);
  EXPECT_EQ(build.GetString(build.GetCount() - 1).utf8_string(),
            "warning: Tie.gp5: not imported: 2 tied notes without a note before them on their strings");
}

TEST_F(ShellWindows, TheExportsRunThroughTheDocumentsTableAndTheShellsPrograms) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  OpenedTargets launcher;
  for (int command : {33119, 33045, 33046}) EXPECT_TRUE(run.Frame().CommandStateOf(command).enabled) << command;
  ShellExportServices services(run.App());
  EXPECT_EQ(services.xmlFolder, run.App().xmlFolder);
  EXPECT_EQ(services.brailleLines, 32);
  EXPECT_EQ(services.brailleColumns, 25);
  services.OpenWithDesktop(home.Path() + "Suite.xml");
  EXPECT_EQ(launcher.opened, std::vector<std::string>{home.Path() + "Suite.xml"});
  // No typesetter set, and the answer No: nothing starts.
  prompts.QueueAnswer(Answer::kNo);
  services.RunTabProgram(home.Path() + "Suite.tab");
  EXPECT_EQ(prompts.captions.back(), "Program not found");
}

TEST_F(ShellWindows, APlayWithoutSoundOutputSaysSoAndTheEditorGoesOn) {
  // The synthesizer with a driver list that finds nothing, whatever the machine has.
  MidiOutputSettings& settings = CurrentMidiOutputSettings();
  const MidiOutputSettings saved = settings;
  settings.audioDrivers = {"no-such-driver"};
  EditorRun run(home, {WriteDocumentWithANote(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  ASSERT_TRUE(frame.CommandStateOf(view::kPlayAllInstruments).enabled);
  const size_t before = prompts.messages.size();
  EXPECT_TRUE(frame.DispatchCommand(view::kPlayAllInstruments));
  Settle();
  ASSERT_EQ(prompts.messages.size(), before + 1);
  EXPECT_EQ(prompts.captions.back(), "MIDI ERROR");
  EXPECT_FALSE(doc.IsModified());
  // The next command works: the section becomes a MIDI file.
  testing::RecordingLauncher launcher;
  prompts.QueueFile(home.Path() + "Suite_0.mid");
  EXPECT_TRUE(frame.DispatchCommand(view::kCreateMidiFile));
  EXPECT_TRUE(fs::exists(home.Path() + "Suite_0.mid"));
  EXPECT_EQ(launcher.opened, std::vector<std::string>{home.Path() + "Suite_0.mid"});
  settings = saved;
}

TEST_F(ShellWindows, ExportedMidiFilesLandInThePlayListWindowKeptByTheFrame) {
  EditorRun run(home, {WriteDocumentWithANote(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  EXPECT_EQ(frame.MidiPlaylist(), nullptr);
  ASSERT_TRUE(frame.DispatchCommand(view::kExportAllSectionsMidi));
  MidiPlaylistWindow* window = frame.MidiPlaylist();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->IsShown());
  ASSERT_EQ(window->List()->GetCount(), 1u);
  EXPECT_EQ(window->List()->GetString(0).utf8_string(), home.Path() + "Suite_0.mid");
  // Closing only hides it; the next export shows the same window, the file listed once.
  Settle();
  window->Close();
  Settle();
  EXPECT_FALSE(window->IsShown());
  ASSERT_TRUE(frame.DispatchCommand(view::kExportAllSectionsMidi));
  EXPECT_EQ(frame.MidiPlaylist(), window);
  EXPECT_TRUE(window->IsShown());
  EXPECT_EQ(window->List()->GetCount(), 1u);
  EXPECT_EQ(frame.MidiPlaylistFiles().Files().size(), 1u);
}

TEST(WindowTabArt, TabsShareTheStripByTheRule) {
  auto* strip = new wxFrame(nullptr, wxID_ANY, "tabs");
  WindowTabArt art;
  art.SetSizingInfo(wxSize(1000, 24), 10, strip);
  EXPECT_EQ(art.TabWidth(), 96);
  art.SetSizingInfo(wxSize(1000, 24), 3, strip);
  EXPECT_EQ(art.TabWidth(), 140);
  art.SetSizingInfo(wxSize(100, 24), 10, strip);
  EXPECT_EQ(art.TabWidth(), 24);
  strip->Destroy();
  wxTheApp->ProcessIdle();
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

TEST(SplashWindow, ShowsThePictureAndClosesAtAClick) {
  const wxBitmap bitmap = SplashBitmap();
  ASSERT_TRUE(bitmap.IsOk());
  EXPECT_EQ(bitmap.GetWidth(), kSplashPictureSize.cx);
  EXPECT_EQ(bitmap.GetHeight(), kSplashPictureSize.cy);
  wxSplashScreen* splash = ShowSplashScreen(nullptr);
  ASSERT_NE(splash, nullptr);
  Settle();
  EXPECT_TRUE(splash->IsShown());
  wxMouseEvent click(wxEVT_LEFT_DOWN);
  click.SetEventObject(splash->GetSplashWindow());
  splash->GetSplashWindow()->GetEventHandler()->ProcessEvent(click);
  wxTheApp->ProcessIdle();
  EXPECT_TRUE(wxTopLevelWindows.empty());
}

}  // namespace
}  // namespace vornel
