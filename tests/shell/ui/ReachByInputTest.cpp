// What a user reaches in the running editor, driven as a user drives it: the real main frame
// under a virtual display, its services the editor's own, and the pointer and the keys moved
// through the window system (clicks on a control's rectangle on the screen, key presses).

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/ribbon/toolbar.h>
#include <wx/slider.h>
#include <wx/textctrl.h>
#include <wx/aui/auibook.h>
#include <wx/propgrid/propgrid.h>
#include <wx/radiobut.h>
#include <wx/statusbr.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "document/SectionWizard.h"
#include "layout/ui/CRichTextDlg.h"
#include "layout/ui/dialogs/SectionDialogWindows.h"
#include "model/text/CFacsimileListDlg.h"
#include "midi/ui/MidiPlaylistWindow.h"
#include "midi/ui/MidiSettingsDialogs.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChord.h"
#include "model/voice/nNotes.h"
#include "shell/ShellFixtures.h"
#include "shell/bars/MidiSliders.h"
#include "shell/bars/ToolbarTable.h"
#include "shell/commands/CommandIds.h"
#include "shell/console/PianoKeyboard.h"
#include "shell/ui/CChildFrame.h"
#include "shell/ui/EditorRun.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/RealInput.h"
#include "shell/ui/RibbonInput.h"
#include "shell/ui/bars/FrameBars.h"
#include "shell/ui/bars/RibbonBar.h"
#include "shell/ui/bars/ToolBarEx.h"
#include "shell/ui/bars/UndoDropDown.h"
#include "shell/ui/console/KeyboardConsole.h"
#include "shell/ui/console/OutputPane.h"
#include "shell/ui/panes/FramePaneContents.h"
#include "shell/ui/panes/ListPanes.h"
#include "shell/ui/panes/PropertiesPane.h"
#include "view/FramePanes.h"
#include "view/ui/ScoreCanvas.h"
#include "view/ui/facsimile/ImageView.h"
#include "support/ScriptedPrompts.h"
#include "support/ui/ModalDialogs.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using testing::ClickAt;
using testing::ClickCentre;
using testing::PressKey;
using testing::Pump;
using testing::TypeText;

struct ReachByInput : ::testing::Test {
  testing::TemporaryHome home;
  testing::ScriptedPrompts prompts;
  ReachByInput() { fs::create_directories(home.Path() + "Documents/VornelFiles"); }
};

// Clicks the tab of `page` in `tabs`, first scrolling the strip as far as it shows the tab.
void ClickTab(wxAuiNotebook& tabs, wxWindow* page) {
  wxAuiTabCtrl* strip = nullptr;
  int index = -1;
  ASSERT_TRUE(tabs.FindTab(page, &strip, &index));
  const int y = strip->GetClientSize().y / 2;
  for (int scrolls = 0; scrolls <= static_cast<int>(tabs.GetPageCount()); ++scrolls) {
    for (int x = 0; x < strip->GetClientSize().x; ++x) {
      wxWindow* hit = nullptr;
      if (strip->TabHitTest(x, y, &hit) && hit == page) {
        ClickAt(*strip, wxPoint(x + 8, y));
        Pump();
        return;
      }
    }
    // The tab lies past the strip's end: its right arrow scrolls one tab on.
    bool scrolled = false;
    for (int x = strip->GetClientSize().x - 1; x >= 0 && !scrolled; --x) {
      wxAuiTabContainerButton* button = nullptr;
      if (strip->ButtonHitTest(x, y, &button) && button->id == wxAUI_BUTTON_RIGHT) {
        ClickAt(*strip, wxPoint(x, y));
        Pump();
        scrolled = true;
      }
    }
    ASSERT_TRUE(scrolled) << "no tab and no arrow to reach it";
  }
  FAIL() << "the tab never came into the strip";
}

// The properties window, the chord palette and the output pane are built when a user first
// shows them, and show the active document then.
TEST_F(ReachByInput, PanesAreBuiltWhenFirstShown) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  Pump();
  FramePaneContents& panes = *frame.PaneContents();
  const CMainFrame::LeftPane pages[] = {CMainFrame::kProperties, CMainFrame::kChordCharts};
  for (const CMainFrame::LeftPane page : pages) {
    EXPECT_FALSE(panes.Built(page)) << page;
    EXPECT_TRUE(frame.PaneHost(page)->GetChildren().empty()) << page;
  }
  EXPECT_TRUE(frame.OutputHost()->GetChildren().empty());

  for (const CMainFrame::LeftPane page : pages) {
    ClickTab(*frame.LeftGroup(), frame.PaneHost(page));
    EXPECT_EQ(frame.LeftGroup()->GetCurrentPage(), frame.PaneHost(page)) << page;
    EXPECT_TRUE(panes.Built(page)) << page;
    ASSERT_EQ(frame.PaneHost(page)->GetChildren().size(), 1u) << page;
    EXPECT_TRUE(frame.PaneHost(page)->GetChildren().front()->IsShownOnScreen()) << page;
  }
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  EXPECT_TRUE(panes.Properties()->Grid()->IsEnabled());
  EXPECT_EQ(panes.Properties()->Property(23)->GetValueAsString(),
            wxString::FromUTF8(doc.GetActiveSection()->Title().text.c_str()));

  // "Output" of a tool bar's menu, as its choice runs.
  FrameBars& bars = frame.Bars();
  CToolBarEx& bar = *bars.Bar(bars::kEditingOptionsBar);
  const std::unique_ptr<wxMenu> menu = bars.BuildContextMenu();
  const int output = menu->FindItem("Output");
  ASSERT_NE(output, wxNOT_FOUND);
  bars.RunMenuChoice(output, bar);
  Pump();
  EXPECT_TRUE(frame.DockManager().GetPane("output").IsShown());
  ASSERT_EQ(frame.OutputHost()->GetChildren().size(), 1u);
  EXPECT_EQ(frame.OutputHost()->GetChildren().front(), static_cast<wxWindow*>(frame.OutputPane()));
  EXPECT_TRUE(frame.OutputPane()->IsShownOnScreen());
}

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
  SaveFourNamedSteps(doc);
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
  testing::OnNextMenu choose([](wxMenu&) {
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
  testing::OnNextMenu choose([](wxMenu&) {
    PressKey(WXK_UP);
    PressKey(WXK_RETURN);
  });
  const wxRect copy = editing.GetToolRect(57634);
  ClickAt(editing, wxPoint(copy.x + copy.width / 2, copy.y + copy.height / 2), wxMOUSE_BTN_RIGHT);
  Pump();
  EXPECT_EQ(driver.opened, std::vector<std::string>{"Customize Toolbar"});
}

// "Edit preface" opens the rich-text editor on the title page's preface; OK keeps the text.
TEST_F(ReachByInput, EditPrefaceOpensTheRichTextEditorOnThePrefaceAndOkKeepsIt) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  CTitlePage& titlePage = frame.ActiveChild()->Document().settings.titlePage;
  titlePage.preface.text = "{\\rtf1\\ansi {\\fonttbl{\\f0 Times New Roman;}}\\f0 Dedication}";
  std::string shown;
  testing::DialogDriver driver([&](wxDialog& dialog) {
    auto* editor = dynamic_cast<CRichTextDlg*>(&dialog);
    ASSERT_NE(editor, nullptr);
    Pump();
    shown = editor->Control().GetValue().utf8_string();
    // At the end of the text, typed on.
    ClickCentre(editor->Control());
    PressKey(WXK_END, wxMOD_CONTROL);
    TypeText(" to the reader");
    ClickCentre(*dynamic_cast<wxWindow*>(dialog.FindWindow(wxID_OK)));
  });
  ClickRibbonButton(frame, 33425);
  EXPECT_EQ(driver.opened, std::vector<std::string>{"Rich Text Editor"});
  EXPECT_EQ(shown, "Dedication");
  EXPECT_NE(titlePage.preface.text.find("Dedication to the reader"), std::string::npos) << titlePage.preface.text;
}

// The first point of a list's entry `index`.
wxPoint EntryPoint(wxListBox& list, int index) {
  for (int y = 0; y < list.GetClientSize().y; ++y) {
    if (list.HitTest(wxPoint(10, y)) == index) return wxPoint(10, y + 4);
  }
  ADD_FAILURE() << "no entry " << index;
  return wxPoint(10, 10);
}

// The colours of a window as it shows on the screen, counted in a grid of samples.
size_t ColoursShown(wxWindow& window) {
  testing::Expose(window);
  const wxSize size = window.GetClientSize();
  wxBitmap bitmap(size);
  {
    wxMemoryDC memory(bitmap);
    wxClientDC client(&window);
    memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
  }
  const wxImage image = bitmap.ConvertToImage();
  std::set<unsigned long> colours;
  for (int y = 0; y < size.y; y += 7) {
    for (int x = 0; x < size.x; x += 7) {
      colours.insert((image.GetRed(x, y) << 16) | (image.GetGreen(x, y) << 8) | image.GetBlue(x, y));
    }
  }
  return colours.size();
}

// A double click on an entry of the Facsimiles pane shows its picture in the tab's viewer,
// whose context menu then offers its commands.
TEST_F(ReachByInput, DoubleClickingAFacsimileShowsItsPixelsInTheViewer) {
  const std::string scan = std::string(VORNEL_CORPUS_DIR) + "/images/various/hopper.jpg";
  CVornelTabDoc written;
  written.OnNewDocument();
  written.GetActiveSection()->facsimiles.AddImage(scan);
  ASSERT_TRUE(SaveDocumentFile(written, home.Path() + "Suite.btxml"));
  EditorRun run(home, {home.Path() + "Suite.btxml"});
  CMainFrame& frame = run.Frame();
  CChildFrame& child = *frame.ActiveChild();
  Pump();
  wxListBox& facsimiles = *frame.PaneContents()->Sections()->Bottom()->List();
  ASSERT_EQ(facsimiles.GetCount(), 1u);
  EXPECT_EQ(facsimiles.GetString(0), "hopper.jpg");
  EXPECT_FALSE(child.FacsimilePaneShown());
  testing::DoubleClickAt(facsimiles, EntryPoint(facsimiles, 0));
  ASSERT_TRUE(child.FacsimilePaneShown());
  auto& viewer = *dynamic_cast<view::ImageView*>(child.FacsimilePane());
  ASSERT_TRUE(viewer.Document().HasImage());
  EXPECT_EQ(viewer.Document().Path(), scan);
  EXPECT_GT(ColoursShown(viewer), 50u);
  // Its menu, from a right click on the picture, has its commands enabled.
  bool openNew = false;
  bool fit = false;
  testing::OnNextMenu look([&](wxMenu& menu) {
    const wxMenuItem* item = menu.FindItem(view::ImageView::MenuIdOf(view::kOpenNewFacsimileCommand));
    openNew = item != nullptr && item->IsEnabled();
    item = menu.FindItem(view::ImageView::MenuIdOf(view::kFitImageCommand));
    fit = item != nullptr && item->IsEnabled();
    PressKey(WXK_ESCAPE);
  });
  ClickCentre(viewer);
  testing::ClickAt(viewer, wxPoint(20, 20), wxMOUSE_BTN_RIGHT);
  Pump();
  EXPECT_TRUE(look.Opened());
  EXPECT_TRUE(openNew);
  EXPECT_TRUE(fit);
}

// Clicks the tool `id` of a pane's tool bar.
void ClickPaneTool(wxAuiToolBar& bar, int id) {
  const wxRect rect = bar.GetToolRect(id);
  ASSERT_FALSE(rect.IsEmpty()) << id;
  ClickAt(bar, wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2));
}

// The instrument base's list: a double click edits the entry in the instrument sheet, and
// "Apply this instrument definition" gives the active line the selected entry's definition.
TEST_F(ReachByInput, TheInstrumentListEditsAndAppliesItsEntries) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  frame.ShowLeftPane(CMainFrame::kTemplates, true);
  Pump();
  TemplateListPane& instruments = *frame.PaneContents()->Templates()->Bottom();
  wxListBox& list = *instruments.List();
  ASSERT_GE(list.GetCount(), 2u);
  const std::string chosen = list.GetString(1).utf8_string();
  testing::DialogDriver driver([](wxDialog& dialog) {
    Pump();
    ClickCentre(*dialog.FindWindow(wxID_CANCEL));
  });
  testing::DoubleClickAt(list, EntryPoint(list, 1));
  ASSERT_EQ(driver.opened.size(), 1u);
  EXPECT_EQ(driver.opened[0], "Instrument properties");
  // The entry stays selected: applied to the active line after the question.
  EXPECT_EQ(list.GetSelection(), 1);
  prompts.QueueAnswer(Answer::kYes);
  ClickPaneTool(*instruments.ToolBar(), 34106);
  ASSERT_EQ(prompts.questions, std::vector<std::string>{"Replace current instrument definition?"});
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  EXPECT_EQ(doc.GetActiveSection()->ActiveDefinition()->nameText.text, chosen);
  EXPECT_EQ(doc.UndoNames().size(), 1u);
}

// The pointer resting on a meta-event frames it; a drag moves it by the distance dragged, as
// one undo step.
TEST_F(ReachByInput, DraggingAMetaEventMovesItAndOneUndoPutsItBack) {
  EditorRun run(home, {WriteDocumentWithANote(home.Path() + "Suite.btxml", "Allemande")});
  CMainFrame& frame = run.Frame();
  auto& canvas = *dynamic_cast<view::ScoreCanvas*>(frame.ActiveChild()->Canvas());
  testing::Expose(canvas);
  canvas.Update();
  Pump();
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  CMetaEvent& caption = *doc.GetActiveSection()->ActiveLine()->Voice(0).at(0)->metaEvents[0];
  const EventLocation before = caption.location;
  Rect drawn = before.Rect(EventLocation::kTablature);
  drawn.Normalize();
  ASSERT_FALSE(drawn.IsEmpty());
  const Rect client = canvas.View().LogicalToClient(drawn);
  const wxPoint grip((client.left + client.right) / 2, (client.top + client.bottom) / 2);
  testing::MoveTo(canvas, grip + wxPoint(1, 0));
  ASSERT_TRUE(canvas.View().HoveredMetaEvent().has_value());
  testing::DragFromTo(canvas, grip, grip + wxPoint(40, 24));
  EXPECT_FALSE(canvas.View().DraggedMetaEvent().has_value());
  ASSERT_EQ(doc.UndoNames().size(), 1u);
  // 40 × 24 pixels at the page's zoom, in hundredths of a millimetre at the screen's resolution.
  const Size dpi = canvas.View().Window().Resolution();
  const int zoom = doc.settings.pageSettings.zoom;
  EXPECT_NEAR(caption.location.tablatureCx - before.tablatureCx, 40 * 100 * 2540 / zoom / dpi.cx, 30);
  EXPECT_NEAR(caption.location.tablatureCy - before.tablatureCy, 24 * 100 * 2540 / zoom / dpi.cy, 30);
  EXPECT_TRUE(doc.IsModified());
  // Undo gives the section back as it was before the drag.
  ASSERT_TRUE(frame.DispatchCommand(commands::kUndo));
  const CMetaEvent& restored = *doc.GetActiveSection()->ActiveLine()->Voice(0).at(0)->metaEvents[0];
  EXPECT_EQ(restored.location.tablatureCx, before.tablatureCx);
  EXPECT_EQ(restored.location.tablatureCy, before.tablatureCy);
}

// The MIDI page: "Play list" shows the play list window; the patch chooser of a line of
// percussion names the percussion keys; the Bass/Treble balance slider stores its value.
TEST_F(ReachByInput, TheMidiPageOpensThePlayListThePercussionKeysAndStoresTheBalance) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  ASSERT_EQ(frame.MidiPlaylist(), nullptr);
  ClickRibbonButton(frame, commands::kMidiPlaylist);
  ASSERT_NE(frame.MidiPlaylist(), nullptr);
  EXPECT_TRUE(frame.MidiPlaylist()->IsShown());
  frame.MidiPlaylist()->Hide();
  frame.Raise();
  Pump();

  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  CInstrumentDlg& definition = *doc.GetActiveSection()->ActiveDefinition();
  definition.family = 10;  // "Percussions"
  std::vector<std::string> offered;
  testing::DialogDriver driver([&](wxDialog& dialog) {
    auto& chooser = dynamic_cast<GMPatchDialog&>(dialog);
    Pump();
    for (unsigned i = 0; i < chooser.List()->GetCount(); ++i) offered.push_back(chooser.List()->GetString(i).utf8_string());
    chooser.List()->EnsureVisible(0);
    Pump();
    testing::DoubleClickAt(*chooser.List(), EntryPoint(*chooser.List(), 3));
  });
  ClickRibbonButton(frame, 32828);
  ASSERT_EQ(offered.size(), 47u);
  EXPECT_EQ(offered.front(), "Bass Drum 2");
  EXPECT_EQ(definition.midi.patch, 3);

  wxSlider* balance = frame.Bars().Ribbon()->SliderOf(bars::kBalanceSlider);
  ASSERT_NE(balance, nullptr);
  // As wide as the screen, as a maximised window is: the page shows every panel.
  frame.SetSize(wxGetDisplaySize());
  Pump();
  wxIdleEvent idle;
  frame.ProcessWindowEvent(idle);
  frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
  Pump();
  ASSERT_TRUE(balance->IsShownOnScreen());
  EXPECT_TRUE(balance->IsEnabled());
  EXPECT_EQ(balance->GetMin(), -64);
  ClickAt(*balance, wxPoint(balance->GetClientSize().x * 4 / 5, balance->GetClientSize().y / 2));
  EXPECT_GT(definition.midi.equalizer, 0);
  EXPECT_EQ(definition.midi.equalizer, balance->GetValue());
}

// "Section properties": its texts' "..." buttons choose their fonts, "Global" gives every
// section the author after asking, "Comments page" edits the section's notes, kept on OK.
TEST_F(ReachByInput, TheSectionDialogsButtonsReachTheirEditors) {
  CVornelTabDoc written;
  written.OnNewDocument();
  written.AppendSection(SectionWith(*written.GetActiveSection()->Definition(0)));
  written.sections.activeSection = 0;
  ASSERT_TRUE(SaveDocumentFile(written, home.Path() + "Suite.btxml"));
  EditorRun run(home, {home.Path() + "Suite.btxml"});
  CMainFrame& frame = run.Frame();
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  ASSERT_EQ(doc.sections.size(), 2u);
  prompts.QueueAnswer(Answer::kOk);
  testing::DialogDriver driver([&](wxDialog& dialog) {
    Pump();
    if (auto* notes = dynamic_cast<CRichTextDlg*>(&dialog)) {
      ClickCentre(notes->Control());
      TypeText("Notes");
      ClickCentre(*dialog.FindWindow(wxID_OK));
      return;
    }
    if (dialog.GetTitle() == "Font") {
      ClickCentre(*dialog.FindWindow(wxID_CANCEL));
      return;
    }
    for (const int id : {SectionPropertiesDialog::kNameFont, SectionPropertiesDialog::kAuthorFont,
                         SectionPropertiesDialog::kCommentsFont, SectionPropertiesDialog::kEndTextFont,
                         SectionPropertiesDialog::kGlobal, SectionPropertiesDialog::kCommentsPage}) {
      ASSERT_NE(dialog.FindWindow(id), nullptr) << id;
      EXPECT_TRUE(dialog.FindWindow(id)->IsEnabled()) << id;
    }
    auto& author = *dynamic_cast<wxTextCtrl*>(dialog.FindWindow(SectionPropertiesDialog::kAuthor));
    ClickCentre(author);
    PressKey('A', wxMOD_CONTROL);
    TypeText("Gaultier");
    ClickCentre(*dialog.FindWindow(SectionPropertiesDialog::kGlobal));
    ClickCentre(*dialog.FindWindow(SectionPropertiesDialog::kCommentsPage));
    ClickCentre(*dialog.FindWindow(wxID_OK));
  });
  ClickRibbonButton(frame, 33297);
  ASSERT_GE(driver.opened.size(), 2u);
  EXPECT_EQ(driver.opened[0], "Section properties");
  EXPECT_EQ(driver.opened[1], "Rich Text Editor");
  EXPECT_EQ(prompts.questions, std::vector<std::string>{"Apply this author's name to all sections?\nGaultier"});
  for (size_t i = 0; i < doc.sections.size(); ++i) EXPECT_EQ(doc.sections.at(i)->Author().text, "Gaultier") << i;
  EXPECT_NE(doc.GetActiveSection()->couplets.text.find("Notes"), std::string::npos);
}

// The instrument's name in the status bar, once the view has painted.
std::string StatusInstrument(CMainFrame& frame) {
  if (CChildFrame* child = frame.ActiveChild()) {
    child->Canvas()->Refresh();
    child->Canvas()->Update();
  }
  Pump();
  return frame.GetStatusBar()->GetStatusText(view::kInstrumentSlot).utf8_string();
}

// What shows the document follows what changed it: the properties after "Page layout", the
// status bar's instrument after the instrument sheet's OK and after another tab is chosen.
TEST_F(ReachByInput, ThePropertiesAndTheStatusBarFollowWhatChanged) {
  for (const char* name : {"Lute", "Guitar"}) {
    CVornelTabDoc written;
    written.OnNewDocument();
    written.GetActiveSection()->Definition(0)->nameText.text = name;
    ASSERT_TRUE(SaveDocumentFile(written, home.Path() + name + ".btxml"));
  }
  EditorRun run(home, {home.Path() + "Lute.btxml", home.Path() + "Guitar.btxml"});
  CMainFrame& frame = run.Frame();
  ASSERT_EQ(frame.DocumentTabs()->GetPageCount(), 2u);
  frame.ShowLeftPane(CMainFrame::kProperties, true);
  Pump();
  wxPropertyGrid& grid = *frame.PaneContents()->Properties()->Grid();
  wxPGProperty* margin = grid.GetPropertyByLabel("Left margin");
  ASSERT_NE(margin, nullptr);
  EXPECT_NE(margin->GetValue().GetLong(), 123);
  testing::DialogDriver driver([&](wxDialog& dialog) {
    Pump();
    if (dialog.GetTitle() == "Instrument properties") {
      std::vector<wxTextCtrl*> texts;
      FindAll(&dialog, texts);
      for (wxTextCtrl* text : texts) {
        if (text->IsShownOnScreen() && text->GetValue() == wxString::FromUTF8(StatusInstrument(frame))) {
          ClickCentre(*text);
          PressKey('A', wxMOD_CONTROL);
          TypeText("Theorbo");
          break;
        }
      }
    } else {
      // The spin box after the label "Left" is the left margin.
      wxWindowList& children = dialog.FindWindowByLabel("Left")->GetParent()->GetChildren();
      for (auto it = children.begin(); it != children.end(); ++it) {
        if ((*it)->GetLabel() != "Left" || std::next(it) == children.end()) continue;
        wxWindow& spin = **std::next(it);
        ClickAt(spin, wxPoint(12, spin.GetClientSize().y / 2));
        PressKey('A', wxMOD_CONTROL);
        TypeText("123");
        PressKey(WXK_TAB);
        break;
      }
    }
    ClickCentre(*dialog.FindWindow(wxID_OK));
  });
  ClickRibbonButton(frame, 33294);
  Pump();
  EXPECT_EQ(frame.ActiveChild()->Document().settings.pageSettings.leftMargin, 123);
  margin = grid.GetPropertyByLabel("Left margin");
  ASSERT_NE(margin, nullptr);
  EXPECT_EQ(margin->GetValue().GetLong(), 123);

  ASSERT_EQ(StatusInstrument(frame), "Guitar");
  ClickRibbonButton(frame, 33181);
  EXPECT_EQ(StatusInstrument(frame), "Theorbo");
  // The other tab names its own instrument.
  wxAuiNotebook& tabs = *frame.DocumentTabs();
  const int other = 1 - tabs.GetSelection();
  wxAuiTabCtrl* strip = nullptr;
  int index = -1;
  ASSERT_TRUE(tabs.FindTab(tabs.GetPage(static_cast<size_t>(other)), &strip, &index));
  wxWindow* page = tabs.GetPage(static_cast<size_t>(other));
  wxRect tab;
  for (int x = 0; x < strip->GetClientSize().x; ++x) {
    wxWindow* hit = nullptr;
    if (strip->TabHitTest(x, strip->GetClientSize().y / 2, &hit) && hit == page) {
      ClickAt(*strip, wxPoint(x + 8, strip->GetClientSize().y / 2));
      break;
    }
  }
  ASSERT_EQ(tabs.GetSelection(), other);
  EXPECT_EQ(StatusInstrument(frame), "Lute");
}

}  // namespace
}  // namespace vornel
