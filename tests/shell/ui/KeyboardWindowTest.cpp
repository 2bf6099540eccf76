// Keys as a user presses them, sent by the window system to the editor's main window: the
// shortcuts of the table of keys, the keypad's zoom keys, a character typed with Shift, undo
// after a typed note, the focus after a click on a document's tab and the modified mark.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/aui/auibook.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "midi/play/MidiOut.h"
#include "shell/ShellFixtures.h"
#include "shell/ui/CChildFrame.h"
#include "shell/ui/EditorRun.h"
#include "shell/ui/MainFrame.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "view/core/CBriotabView.h"
#include "view/ui/ScoreCanvas.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using testing::FirstDifference;
using testing::ReadText;

struct KeyboardWindow : ::testing::Test {
  testing::TemporaryHome home;
  testing::ScriptedPrompts prompts;
  MidiOutputSettings saved = CurrentMidiOutputSettings();
  wxUIActionSimulator keys;

  KeyboardWindow() {
    fs::create_directories(home.Path() + "Documents/VornelFiles");
    // No echo through whatever sound the machine has.
    CurrentMidiOutputSettings().audioDrivers = {"no-such-driver"};
  }
  ~KeyboardWindow() override { CurrentMidiOutputSettings() = saved; }

  // The pointer over the score of the active tab and the keys given to it, as a click there would.
  view::ScoreCanvas& Score(CMainFrame& frame) {
    auto* canvas = dynamic_cast<view::ScoreCanvas*>(frame.ActiveChild()->Canvas());
    EXPECT_NE(canvas, nullptr);
    frame.Raise();
    keys.MouseMove(canvas->GetScreenRect().GetPosition() + wxPoint(40, 40));
    canvas->SetFocus();
    // The page drawn once: its layout places the headings as the window shows them.
    canvas->Refresh();
    canvas->Update();
    Settle();
    return *canvas;
  }
  void Press(int key, int modifiers = wxMOD_NONE) {
    keys.Char(key, modifiers);
    Settle();
  }
};

TEST_F(KeyboardWindow, CtrlSSavesAndTheModifiedMarkComesAndGoes) {
  const std::string path = WriteDocument(home.Path() + "Suite.btxml");
  EditorRun run(home, {path});
  CMainFrame& frame = run.Frame();
  view::ScoreCanvas& score = Score(frame);
  ASSERT_EQ(wxWindow::FindFocus(), &score);
  const std::string saved = ReadText(path);
  Press('a');
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  ASSERT_TRUE(doc.IsModified());
  EXPECT_EQ(frame.DocumentTabs()->GetPageText(0), "*Suite.btxml");
  EXPECT_EQ(frame.GetTitle(), "*Suite.btxml - Vornel Tablature Composer");
  Press('s', wxMOD_CONTROL);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_NE(ReadText(path), saved);
  EXPECT_EQ(frame.DocumentTabs()->GetPageText(0), "Suite.btxml");
  EXPECT_EQ(frame.GetTitle(), "Suite.btxml - Vornel Tablature Composer");
}

TEST_F(KeyboardWindow, OneCtrlZAfterATypedNoteGivesBackTheSavedBytes) {
  const std::string path = WriteDocument(home.Path() + "Suite.btxml");
  EditorRun run(home, {path});
  CMainFrame& frame = run.Frame();
  view::ScoreCanvas& score = Score(frame);
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  const std::string before = home.Path() + "before.btxml";
  ASSERT_TRUE(SaveDocumentFile(doc, before));
  Press('c');
  ASSERT_EQ(doc.undoStack.size(), 1u);
  Press('z', wxMOD_CONTROL);
  EXPECT_TRUE(doc.undoStack.empty());
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(frame.DocumentTabs()->GetPageText(0), "Suite.btxml");
  const std::string after = home.Path() + "after.btxml";
  ASSERT_TRUE(SaveDocumentFile(doc, after));
  EXPECT_EQ(FirstDifference(ReadText(after), ReadText(before)), "");
  (void)score;
}

TEST_F(KeyboardWindow, TheKeypadsPlusZoomsAndChangesNoNote) {
  const std::string path = WriteDocument(home.Path() + "Suite.btxml");
  EditorRun run(home, {path});
  CMainFrame& frame = run.Frame();
  view::ScoreCanvas& score = Score(frame);
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  const int32_t zoom = doc.settings.pageSettings.zoom;
  const std::string before = home.Path() + "before.btxml";
  ASSERT_TRUE(SaveDocumentFile(doc, before));
  Press(WXK_NUMPAD_ADD);
  EXPECT_EQ(doc.settings.pageSettings.zoom, zoom + 10);
  Press(WXK_NUMPAD_SUBTRACT);
  EXPECT_EQ(doc.settings.pageSettings.zoom, zoom);
  EXPECT_TRUE(doc.undoStack.empty());
  EXPECT_FALSE(doc.IsModified());
  // The fonts keep the zoom they were last drawn at: the page is drawn at this zoom again first.
  score.Refresh();
  score.Update();
  Settle();
  const std::string after = home.Path() + "after.btxml";
  ASSERT_TRUE(SaveDocumentFile(doc, after));
  EXPECT_EQ(FirstDifference(ReadText(after), ReadText(before)), "");
}

TEST_F(KeyboardWindow, ATypedLessThanLeavesAutoForwardAsItWas) {
  const std::string path = WriteDocument(home.Path() + "Suite.btxml");
  EditorRun run(home, {path});
  CMainFrame& frame = run.Frame();
  view::ScoreCanvas& score = Score(frame);
  view::ScoreViewState& state = score.View().State();
  const bool autoAdvance = state.autoAdvance;
  const uint8_t value = state.noteValue;
  ASSERT_GT(value, 0);
  // Shift held for the ',' key: the character '<'.
  Press(',', wxMOD_SHIFT);
  EXPECT_EQ(state.noteValue, value - 1);
  EXPECT_EQ(state.autoAdvance, autoAdvance);
  // Shift pressed and released alone toggles it.
  keys.KeyDown(WXK_SHIFT);
  keys.KeyUp(WXK_SHIFT);
  Settle();
  EXPECT_EQ(state.autoAdvance, !autoAdvance);
}

TEST_F(KeyboardWindow, KeysGoToTheDocumentWhoseTabWasClicked) {
  const std::string first = WriteDocument(home.Path() + "First.btxml");
  const std::string second = WriteDocument(home.Path() + "Second.btxml");
  EditorRun run(home, {first, second});
  CMainFrame& frame = run.Frame();
  ASSERT_EQ(frame.DocumentTabs()->GetPageCount(), 2u);
  Score(frame);
  ASSERT_EQ(frame.DocumentTabs()->GetSelection(), 1);
  // A click on the first tab's label.
  wxAuiNotebook* tabs = frame.DocumentTabs();
  wxAuiTabCtrl* strip = nullptr;
  int index = -1;
  ASSERT_TRUE(tabs->FindTab(tabs->GetPage(0), &strip, &index));
  wxWindow* button = nullptr;
  (void)button;
  const wxRect stripRect = strip->GetScreenRect();
  keys.MouseMove(stripRect.GetPosition() + wxPoint(30, stripRect.GetHeight() / 2));
  keys.MouseClick();
  Settle();
  ASSERT_EQ(tabs->GetSelection(), 0);
  CChildFrame* child = frame.ActiveChild();
  EXPECT_EQ(wxWindow::FindFocus(), child->Canvas());
  Press('a');
  EXPECT_TRUE(child->Document().IsModified());
  EXPECT_FALSE(frame.ChildAt(1)->Document().IsModified());
}

}  // namespace
}  // namespace vornel
