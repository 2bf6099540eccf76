// What a user reaches in the running editor, driven as a user drives it: the real main frame
// under a virtual display, its services the editor's own, and the pointer and the keys moved
// through the window system (clicks on a control's rectangle on the screen, key presses).

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/listbox.h>
#include <wx/menu.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "model/CInstrument.h"
#include "model/CSystemArray.h"
#include "model/nChord.h"
#include "model/nNotes.h"
#include "shell/ShellFixtures.h"
#include "shell/bars/ToolbarTable.h"
#include "shell/commands/CommandIds.h"
#include "shell/console/PianoKeyboard.h"
#include "shell/ui/CChildFrame.h"
#include "shell/ui/EditorRun.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/RealInput.h"
#include "shell/ui/bars/FrameBars.h"
#include "shell/ui/bars/ToolBarEx.h"
#include "shell/ui/bars/UndoDropDown.h"
#include "shell/ui/console/KeyboardConsole.h"
#include "support/ScriptedPrompts.h"
#include "support/ui/ModalDialogs.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using testing::ClickAt;
using testing::PressKey;
using testing::Pump;
using testing::TypeText;

struct ReachByInput : ::testing::Test {
  testing::TemporaryHome home;
  testing::ScriptedPrompts prompts;
  ReachByInput() { fs::create_directories(home.Path() + "Documents/VornelFiles"); }
};

// A click on a key of the keyboard console's piano enters its pitch at the caret.
TEST_F(ReachByInput, AClickOnAPianoKeyEntersItsNoteAtTheCaret) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  ASSERT_TRUE(frame.DispatchCommand(commands::kKeyboardConsole));
  Pump();
  CPianoKey* piano = frame.KeyboardConsole()->Piano();
  ASSERT_TRUE(piano->IsShownOnScreen());
  // The first point of the keys whose hit gives middle C.
  wxPoint middleC(-1, -1);
  const int y = std::min(piano->GetClientSize().y - 4, console::kPianoClickRect.bottom - 2);
  for (int x = console::kPianoClickRect.left; x < console::kPianoClickRect.right && middleC.x < 0; ++x) {
    if (console::PianoKeyAt(x, y) == 60) middleC = wxPoint(x + 3, y);
  }
  ASSERT_GE(middleC.x, 0);
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  ASSERT_FALSE(doc.IsModified());
  ClickAt(*piano, middleC);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.UndoNames().size(), 1u);
  // Entered at the caret, which moved on past it: the chord before the cursor holds it.
  CInstrument* line = doc.GetActiveInstrument();
  ASSERT_NE(line, nullptr);
  bool found = false;
  for (const auto& element : line->Voice(0)) {
    if (element == nullptr || !element->IsChord()) continue;
    for (const auto& note : element->notes) found = found || note->pitch == 60;
  }
  EXPECT_TRUE(found);
}

// The zoom box takes a click and a typed percentage; Enter sets the view's zoom.
TEST_F(ReachByInput, TypingAPercentageIntoTheZoomBoxZooms) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  wxComboBox* box = frame.Bars().Bar(bars::kZoomBar)->ZoomBox();
  ASSERT_NE(box, nullptr);
  frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
  Pump();
  ASSERT_TRUE(box->IsShownOnScreen());
  EXPECT_TRUE(box->IsEnabled());
  // Into the text: a click there, the old text selected and replaced.
  ClickAt(*box, wxPoint(10, box->GetClientSize().y / 2));
  PressKey('A', wxMOD_CONTROL);
  TypeText("150");
  PressKey(WXK_RETURN);
  EXPECT_EQ(frame.ActiveChild()->Document().settings.pageSettings.zoom, 150);
}

// The tool of `bar` whose label is `label`; null when there is none.
wxAuiToolBarItem* ToolLabelled(CToolBarEx& bar, const std::string& label) {
  for (size_t i = 0; i < bar.GetToolCount(); ++i) {
    wxAuiToolBarItem* tool = bar.FindToolByIndex(static_cast<int>(i));
    if (tool != nullptr && tool->GetLabel().utf8_string() == label) return tool;
  }
  return nullptr;
}

// The drop-down arrow at the right end of a tool.
wxPoint ArrowOf(CToolBarEx& bar, int id) {
  const wxRect rect = bar.GetToolRect(id);
  return wxPoint(rect.GetRight() - 3, rect.y + rect.height / 2);
}

// Undo's arrow opens the list of the document's steps; a click on the third undoes three.
TEST_F(ReachByInput, TheUndoArrowOpensItsListAndAClickUndoesTheStepsChosen) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  for (const char* name : {"Add a new section", "Copy voice", "Split chord", "Paste section"}) {
    const CBriotabDoc::ActionName action(doc, name);
    doc.SaveSnapshot();
  }
  CToolBarEx& editing = *frame.Bars().Bar(bars::kEditingOptionsBar);
  frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
  ClickAt(editing, ArrowOf(editing, commands::kUndo));
  CUndoMenu* list = editing.OpenUndoList();
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(list->IsShown());
  ASSERT_EQ(list->List()->GetCount(), 4u);
  // The pointer over the third entry selects it and both newer ones; the click takes them.
  wxListBox& entries = *list->List();
  wxPoint third(-1, -1);
  for (int y = 0; y < entries.GetClientSize().y && third.y < 0; ++y) {
    if (entries.HitTest(wxPoint(20, y)) == 2) third = wxPoint(20, y + 3);
  }
  ASSERT_GE(third.y, 0);
  testing::MoveTo(entries, third);
  EXPECT_EQ(list->Label(), "Undo 3 Actions");
  ClickAt(entries, third);
  EXPECT_EQ(doc.UndoNames(), std::vector<std::string>{"Add a new section"});
  EXPECT_EQ(doc.RedoNames().size(), 3u);
}

// "Remove all..." opens its menu from its arrow; the entry chosen runs on the document.
TEST_F(ReachByInput, TheRemoveAllArrowOpensItsMenuAndRunsTheEntryChosen) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  CToolBarEx& editing = *frame.Bars().Bar(bars::kEditingOptionsBar);
  wxAuiToolBarItem* removeAll = ToolLabelled(editing, "Remove all...");
  ASSERT_NE(removeAll, nullptr);
  frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
  // The menu blocks while it is shown: the first entry, "Fingerings", is chosen by keys.
  testing::OnNextMenu choose([] {
    PressKey(WXK_DOWN);
    PressKey(WXK_RETURN);
  });
  ClickAt(editing, ArrowOf(editing, removeAll->GetId()));
  Pump();
  EXPECT_TRUE(choose.Opened());
  const std::vector<std::string> undo = frame.ActiveChild()->Document().UndoNames();
  ASSERT_EQ(undo.size(), 1u);
  EXPECT_EQ(undo.front(), "Fingerings");
}

// A right click on a bar opens the bars' menu, whose last entry opens "Customize Toolbar".
TEST_F(ReachByInput, ARightClickOnABarReachesCustomize) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  CToolBarEx& editing = *frame.Bars().Bar(bars::kEditingOptionsBar);
  std::vector<std::string> buttons;
  testing::DialogDriver driver([&](wxDialog& dialog) {
    testing::Pump();
    auto* close = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_OK));
    ASSERT_NE(close, nullptr);
    testing::ClickCentre(*close);
  });
  testing::OnNextMenu choose([] {
    PressKey(WXK_UP);
    PressKey(WXK_RETURN);
  });
  const wxRect copy = editing.GetToolRect(57634);
  ClickAt(editing, wxPoint(copy.x + copy.width / 2, copy.y + copy.height / 2), wxMOUSE_BTN_RIGHT);
  Pump();
  EXPECT_EQ(driver.opened, std::vector<std::string>{"Customize Toolbar"});
}

}  // namespace
}  // namespace vornel
