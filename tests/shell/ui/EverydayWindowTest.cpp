// The editor as a player uses it every day, driven with real input under the virtual display:
// a file chooser's own error message never stops the editor, what is added to a document marks
// it modified, menus and keys answer with or without a document, the keys go back to the score
// after a cancelled dialog.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/aui/auibook.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "platform/ui/WxPrompts.h"
#include "shell/ShellFixtures.h"
#include "shell/commands/CommandIds.h"
#include "shell/bars/ToolbarTable.h"
#include "shell/ui/CChildFrame.h"
#include "shell/ui/EditorRun.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/bars/RibbonBar.h"
#include "shell/ui/bars/ToolBarEx.h"
#include "shell/ui/RealInput.h"
#include "shell/ui/console/OutputPane.h"
#include "shell/ui/RibbonInput.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "support/ui/ModalDialogs.h"
#include "view/FramePanes.h"
#include "view/core/CBriotabView.h"
#include "view/ui/ScoreCanvas.h"
#include "view/ui/facsimile/ImageView.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using testing::ClickAt;
using testing::ClickCentre;
using testing::PressKey;
using testing::Pump;
using testing::TypeText;

struct EverydayWindow : ::testing::Test {
  testing::TemporaryHome home;
  testing::ScriptedPrompts prompts;
  EverydayWindow() { fs::create_directories(home.Path() + "Documents/VornelFiles"); }

  // The pointer over the score of the active tab, which takes the keys as after a click.
  static view::ScoreCanvas& Score(CMainFrame& frame) {
    auto* canvas = dynamic_cast<view::ScoreCanvas*>(frame.ActiveChild()->Canvas());
    EXPECT_NE(canvas, nullptr);
    frame.Raise();
    testing::MoveTo(*canvas, wxPoint(40, 40));
    canvas->SetFocus();
    canvas->Refresh();
    canvas->Update();
    Pump();
    return *canvas;
  }
};

// Presses Escape every few tenths of a second while it lives: it answers a message box that a
// toolkit's own dialog runs by itself, beyond the reach of the test's dialog driver.
class EscapeWhileAlive {
 public:
  EscapeWhileAlive() {
    timer_.Bind(wxEVT_TIMER, [](wxTimerEvent&) {
      wxUIActionSimulator input;
      input.Char(WXK_ESCAPE);
    });
    timer_.Start(400);
  }
  ~EscapeWhileAlive() { timer_.Stop(); }

 private:
  wxTimer timer_;
};

// A path typed into the file chooser in a folder that does not exist: the chooser says so in
// a message box of its own while the editor's tool bars refresh their enable states, Paste's
// among them with chords on the clipboard. The message box takes its answer, the chooser is
// cancelled, and the editor goes on taking keys.
TEST_F(EverydayWindow, AFileChooserGivenAMissingFolderAnswersAndTheEditorGoesOn) {
  EditorRun run(home, {WriteDocumentWithANote(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  view::ScoreCanvas& score = Score(frame);
  PressKey('c', wxMOD_CONTROL);  // the chord at the caret copied
  WxPrompts chooser(&frame);
  ScopedPrompts real(chooser);
  bool choosing = false;
  testing::DialogDriver driver([&](wxDialog& dialog) {
    choosing = dialog.IsModal();
    Pump();
    TypeText("/no-such-folder-here/nor-this/Suite.btxml");
    {
      EscapeWhileAlive answer;
      wxUIActionSimulator input;
      input.Char(WXK_RETURN);
      for (int i = 0; i < 10; ++i) Pump();
    }
    if (dialog.IsModal()) dialog.EndModal(wxID_CANCEL);
  });
  PressKey('o', wxMOD_CONTROL);
  EXPECT_TRUE(choosing);
  ASSERT_EQ(driver.opened.size(), 1u);
  // The editor answers: the score takes a note.
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  score.SetFocus();
  Pump();
  const size_t chords = doc.GetActiveSection()->ActiveLine()->Voice(0).size();
  PressKey(WXK_END);
  PressKey('d');
  EXPECT_GT(doc.GetActiveSection()->ActiveLine()->Voice(0).size(), chords);
}

// An image shown in the tab's viewer and added to the score from the viewer's menu: the
// document is modified, so closing it asks first.
TEST_F(EverydayWindow, AFacsimileAddedMarksTheDocumentModified) {
  const std::string scan = std::string(VORNEL_CORPUS_DIR) + "/images/various/hopper.jpg";
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  CChildFrame& child = *frame.ActiveChild();
  CVornelTabDoc& doc = child.Document();
  prompts.QueueFile(scan);
  ASSERT_TRUE(frame.DispatchCommand(view::kViewImageFacsimileCommand));
  Pump();
  ASSERT_TRUE(child.FacsimilePaneShown());
  auto& viewer = *dynamic_cast<view::ImageView*>(child.FacsimilePane());
  ASSERT_TRUE(viewer.Document().HasImage());
  ASSERT_FALSE(doc.IsModified());
  testing::OnNextMenu add([&](wxMenu& menu) {
    const int id = view::ImageView::MenuIdOf(view::kAddImageToListCommand);
    ASSERT_NE(menu.FindItem(id), nullptr);
    // The entry's place in the menu, reached with the arrow keys.
    int steps = 0;
    for (wxMenuItem* item : menu.GetMenuItems()) {
      if (item->GetId() == id) break;
      if (!item->IsSeparator()) ++steps;
    }
    for (int i = 0; i <= steps; ++i) PressKey(WXK_DOWN);
    PressKey(WXK_RETURN);
  });
  ClickCentre(viewer);
  ClickAt(viewer, wxPoint(20, 20), wxMOUSE_BTN_RIGHT);
  Pump();
  ASSERT_TRUE(add.Opened());
  ASSERT_EQ(doc.GetActiveSection()->facsimiles.size(), 1u);
  EXPECT_EQ(doc.GetActiveSection()->facsimiles.GetImagePath(0), scan);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(frame.DocumentTabs()->GetPageText(0), "*Suite.btxml");
  // Closing asks, and Cancel keeps the document.
  prompts.QueueAnswer(Answer::kCancel);
  EXPECT_FALSE(frame.CloseDocument(doc));
  EXPECT_EQ(prompts.questions.size(), 1u);
}

// With no document open, Ctrl+N opens a new one and Ctrl+O the file prompt.
TEST_F(EverydayWindow, CtrlNAndCtrlOAnswerWithNoDocumentOpen) {
  // The last document closed with its key: the keys that had its score go to the frame.
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  Score(frame);
  PressKey('w', wxMOD_CONTROL);
  ASSERT_EQ(frame.DocumentTabs()->GetPageCount(), 0u);
  prompts.QueueFile(std::nullopt);
  PressKey('o', wxMOD_CONTROL);
  EXPECT_EQ(prompts.filePrompts.size(), 1u);
  // A new document starts with its choice of template or its wizard.
  testing::DialogDriver cancel([](wxDialog& dialog) { dialog.EndModal(wxID_CANCEL); });
  PressKey('n', wxMOD_CONTROL);
  EXPECT_EQ(cancel.opened.size(), 1u);
}

// The print dialog cancelled with its key: the score takes the next keys without a click.
TEST_F(EverydayWindow, AfterACancelledPrintTheScoreTakesTheKeys) {
  EditorRun run(home, {WriteDocumentWithANote(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  view::ScoreCanvas& score = Score(frame);
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  const size_t chords = doc.GetActiveSection()->ActiveLine()->Voice(0).size();
  testing::DialogDriver cancel([](wxDialog& dialog) {
    Pump();
    PressKey(WXK_ESCAPE);
    for (int i = 0; i < 5 && dialog.IsModal(); ++i) Pump();
  });
  PressKey('p', wxMOD_CONTROL);
  ASSERT_EQ(cancel.opened.size(), 1u);
  Pump();
  EXPECT_EQ(wxWindow::FindFocus(), &score);
  PressKey(WXK_END);
  PressKey('d');
  EXPECT_GT(doc.GetActiveSection()->ActiveLine()->Voice(0).size(), chords);
}

// Bars 1-4 typed into the first system and bars 5-8 into the third, a blank system between:
// "Delete blank staves" from the ribbon removes the blank systems and keeps every typed chord.
TEST_F(EverydayWindow, DeleteBlankStavesKeepsTypedMusic) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  CSystemArray& section = *doc.GetActiveSection();
  ASSERT_GT(section.systems.size(), 3u);
  const auto typed = [&] {
    size_t chords = 0;
    for (size_t s = 0; s < section.systems.size(); ++s) chords += section.System(s)->Line(0)->firstVoice.size();
    return chords;
  };
  Score(frame);
  for (int bar = 0; bar < 8; ++bar) {
    TypeText("acdf");
    ASSERT_TRUE(frame.DispatchCommand(32808));  // the palette's bar line
    Pump();
    if (bar == 3) {
      PressKey(WXK_RETURN);
      PressKey(WXK_RETURN);
    }
  }
  ASSERT_GE(typed(), 32u);
  ASSERT_TRUE(section.System(1)->Line(0)->firstVoice.empty());
  ASSERT_FALSE(section.System(2)->Line(0)->firstVoice.empty());
  const size_t chords = typed();
  ClickRibbonButton(frame, 33048);
  Pump();
  EXPECT_EQ(section.systems.size(), 2u);
  EXPECT_EQ(typed(), chords);
  EXPECT_FALSE(section.System(1)->Line(0)->firstVoice.empty());
}

// Every box of the "Print elements" panel toggles the print option it names, also from the
// panel's pop-up when the panel is collapsed: the pop-up stays open for the next box, and the
// document is marked modified.
TEST_F(EverydayWindow, ThePrintElementsBoxesToggleWhatTheyName) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  CPageDlg& page = doc.settings.pageSettings;
  CTitlePage& title = doc.settings.titlePage;
  const std::vector<std::pair<const char*, int32_t*>> boxes = {
      {"Print all sections", &page.printAllSections}, {"Print title page", &title.printTitlepage},
      {"Print preface", &title.printPreface},          {"Print facsimiles", &page.printFacsimiles},
      {"Print table of contents", &title.printContents}, {"Print RTF contents", &title.useRtf},
      {"Use columns", &title.columns},                 {"Include section index", &title.sectionPosition},
      {"Include page numbers", &title.pageNumbers}};
  bool collapsed = false;
  for (const auto& [label, option] : boxes) {
    const int32_t before = *option;
    if (collapsed) {
      ASSERT_NE(ClickRibbonCheckBox(frame, label), nullptr) << label << ": the pop-up closed";
    } else {
      collapsed = ClickRibbonCheckBox(frame, label) != nullptr;
    }
    Pump();
    EXPECT_EQ(*option, before != 0 ? 0 : 1) << label;
  }
  EXPECT_TRUE(doc.IsModified());
}

// A right click on a list of the output pane opens its menu (no complaint of the window
// system about its ids); "Hide" chosen with the keys hides the pane.
TEST_F(EverydayWindow, TheOutputPanesMenuOpensAndHides) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  const std::unique_ptr<wxMenu> barMenu = frame.Bars().BuildContextMenu();
  frame.Bars().RunMenuChoice(barMenu->FindItem("Output"), *frame.Bars().Bar(bars::kEditingOptionsBar));
  Pump();
  ASSERT_TRUE(frame.DockManager().GetPane("output").IsShown());
  COutputList& list = *frame.OutputPane()->List(0);
  ASSERT_TRUE(list.IsShownOnScreen());
  std::vector<std::string> entries;
  testing::OnNextMenu hide([&](wxMenu& menu) {
    for (const wxMenuItem* item : menu.GetMenuItems()) {
      if (!item->IsSeparator()) entries.push_back(item->GetItemLabelText().utf8_string());
    }
    PressKey(WXK_UP);  // the last entry
    PressKey(WXK_RETURN);
  });
  ClickAt(list, wxPoint(20, 10), wxMOUSE_BTN_RIGHT);
  Pump();
  ASSERT_TRUE(hide.Opened());
  EXPECT_EQ(entries, (std::vector<std::string>{"Copy", "Clear", "Hide"}));
  EXPECT_FALSE(frame.DockManager().GetPane("output").IsShown());
}

// With no document open the ribbon's "Import..." menu offers its imports: a MusicXML file
// chosen there comes in as a new document; a cancelled import leaves no empty tab behind.
TEST_F(EverydayWindow, ImportWithNoDocumentOpenMakesANewDocument) {
  EditorRun run(home);
  CMainFrame& frame = run.Frame();
  const auto choose = [&](const std::string& file) {
    std::string entry;
    bool enabled = false;
    testing::OnNextMenu pick([&](wxMenu& menu) {
      int steps = 0;
      for (const wxMenuItem* item : menu.GetMenuItems()) {
        if (item->IsSeparator()) continue;
        ++steps;
        if (item->GetItemLabelText() == "Import a MusicXML file...") {
          entry = item->GetItemLabelText().utf8_string();
          enabled = item->IsEnabled();
          break;
        }
      }
      for (int i = 0; i < steps; ++i) PressKey(WXK_DOWN);
      PressKey(WXK_RETURN);
    });
    prompts.QueueFile(file.empty() ? std::nullopt : std::optional<std::string>(file));
    // "Import...", after "Export...".
    ClickRibbonMenuButton(frame, "File", 2);
    Pump();
    EXPECT_TRUE(pick.Opened());
    EXPECT_EQ(entry, "Import a MusicXML file...");
    EXPECT_TRUE(enabled);
  };
  choose({});
  EXPECT_EQ(frame.DocumentTabs()->GetPageCount(), 0u);
  choose(std::string(VORNEL_CORPUS_DIR) + "/musicxml/01a-Pitches-Pitches.xml");
  ASSERT_EQ(frame.DocumentTabs()->GetPageCount(), 1u);
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  EXPECT_TRUE(doc.IsModified());
  size_t chords = 0;
  for (const auto& section : doc.sections.items()) {
    for (size_t s = 0; section != nullptr && s < section->systems.size(); ++s) {
      chords += section->System(s)->Line(0)->firstVoice.size();
    }
  }
  EXPECT_GT(chords, 10u);
}

// The status bar shows the note value the next typed note takes, and follows "<" and ">".
TEST_F(EverydayWindow, TheStatusBarShowsTheNoteValueInForce) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  Score(frame);
  wxStatusBar& bar = *frame.GetStatusBar();
  EXPECT_EQ(bar.GetStatusText(view::kNoteValueSlot - 1), "VALUE");
  const wxString first = bar.GetStatusText(view::kNoteValueSlot);
  EXPECT_FALSE(first.empty());
  TypeText(">");
  const wxString shorter = bar.GetStatusText(view::kNoteValueSlot);
  EXPECT_NE(shorter, first);
  TypeText("<<");
  const wxString longer = bar.GetStatusText(view::kNoteValueSlot);
  EXPECT_NE(longer, first);
  EXPECT_NE(longer, shorter);
  TypeText(">");
  EXPECT_EQ(bar.GetStatusText(view::kNoteValueSlot), first);
  // A typed note takes it.
  TypeText("a");
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  const nChord* typed = doc.GetActiveSection()->ActiveLine()->Voice(0).at(0);
  ASSERT_NE(typed, nullptr);
  constexpr const char* kNames[] = {"Breve",  "Semibreve",  "Minim",          "Crotchet",
                                    "Quaver", "Semiquaver", "Demisemiquaver", "Hemidemisemiquaver"};
  EXPECT_EQ(first, kNames[typed->rhythm & 7]);
}

// A document opened goes into the recent files on the disk at once, not only at exit: a run
// that ends without closing keeps it.
TEST_F(EverydayWindow, RecentFilesAreWrittenWhenTheyChange) {
  const std::string path = WriteDocument(home.Path() + "Suite.btxml");
  EditorRun run(home);
  CMainFrame& frame = run.Frame();
  frame.Raise();
  Pump();
  prompts.QueueFile(path);
  PressKey('o', wxMOD_CONTROL);
  ASSERT_EQ(frame.DocumentTabs()->GetPageCount(), 1u);
  Pump();
  EXPECT_NE(testing::ReadText(home.Path() + "vornel.ini").find("Suite.btxml"), std::string::npos);
}

}  // namespace
}  // namespace vornel
