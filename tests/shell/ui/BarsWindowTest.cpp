// The ribbon, the tool bars, the undo drop-down, the zoom box, the output pane and the keyboard
// console in the running editor under a virtual display, with scripted prompts: built from the
// table, exchanging states with the command route, kept in the profile.

#include <gtest/gtest.h>
#include <wx/aui/auibook.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/gallery.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/ribbon/toolbar.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "shell/app/Profile.h"
#include "shell/bars/CommandCatalogue.h"
#include "shell/bars/RibbonTable.h"
#include "shell/bars/ToolbarTable.h"
#include "shell/commands/CommandIds.h"
#include "shell/commands/CommandRoute.h"
#include "shell/ui/CChildFrame.h"
#include "shell/ui/EditorRun.h"
#include "shell/ui/bars/CustomizeDialog.h"
#include "shell/ui/bars/FrameBars.h"
#include "shell/ui/bars/RibbonBar.h"
#include "shell/ui/bars/ToolBarEx.h"
#include "shell/ui/bars/UndoDropDown.h"
#include "shell/ui/console/KeyboardConsole.h"
#include "shell/ui/console/OutputPane.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using bars::RibbonKind;

struct BarsWindows : ::testing::Test {
  testing::TemporaryHome home;
  testing::ScriptedPrompts prompts;
  BarsWindows() { fs::create_directories(home.Path() + "Documents/VornelFiles"); }
};

// What a panel holds once built: buttons of its button bars, tools of its tool bars, check
// boxes, labels, sliders and galleries.
struct Counts {
  size_t buttons = 0;
  size_t tools = 0;
  size_t checks = 0;
  size_t labels = 0;
  size_t sliders = 0;
  size_t galleries = 0;
  friend bool operator==(const Counts&, const Counts&) = default;
};

// The groups' buttons of the panel found on its tool bars (each group after the first stands
// behind a separator, which the bar counts as a tool).
size_t ToolsFound(wxRibbonPanel* panel, const bars::RibbonPanel& table) {
  size_t found = 0;
  size_t groups = 0;
  size_t onBars = 0;
  for (wxWindow* child : panel->GetChildren()) {
    if (auto* tools = dynamic_cast<wxRibbonToolBar*>(child)) onBars += tools->GetToolCount();
  }
  for (const bars::RibbonElement& element : table.elements) {
    if (element.kind != RibbonKind::kButtonGroup) continue;
    ++groups;
    for (const bars::RibbonItem& item : element.items) {
      for (wxWindow* child : panel->GetChildren()) {
        auto* tools = dynamic_cast<wxRibbonToolBar*>(child);
        if (tools != nullptr && tools->FindById(item.id) != nullptr) {
          ++found;
          break;
        }
      }
    }
  }
  return groups == 0 || onBars == found + groups - 1 ? found : 0;
}

Counts Built(wxRibbonPanel* panel, const bars::RibbonPanel& table) {
  Counts counts;
  counts.tools = ToolsFound(panel, table);
  for (wxWindow* child : panel->GetChildren()) {
    if (auto* buttons = dynamic_cast<wxRibbonButtonBar*>(child)) counts.buttons += buttons->GetButtonCount();
    if (dynamic_cast<wxCheckBox*>(child) != nullptr) ++counts.checks;
    if (dynamic_cast<wxStaticText*>(child) != nullptr) ++counts.labels;
    if (dynamic_cast<wxSlider*>(child) != nullptr) ++counts.sliders;
    if (dynamic_cast<wxRibbonGallery*>(child) != nullptr) ++counts.galleries;
  }
  return counts;
}

Counts Expected(const bars::RibbonPanel& panel) {
  Counts counts;
  for (const bars::RibbonElement& element : panel.elements) {
    switch (element.kind) {
      case RibbonKind::kButtonGroup: counts.tools += element.items.size(); break;
      case RibbonKind::kCheckBox: ++counts.checks; break;
      case RibbonKind::kLabel: ++counts.labels; break;
      case RibbonKind::kSlider: ++counts.sliders; break;
      case RibbonKind::kGallery: ++counts.galleries; break;
      default: ++counts.buttons; break;
    }
  }
  return counts;
}

std::vector<wxRibbonPanel*> PanelsOf(wxRibbonPage* page) {
  std::vector<wxRibbonPanel*> panels;
  for (wxWindow* child : page->GetChildren()) {
    if (auto* panel = dynamic_cast<wxRibbonPanel*>(child)) panels.push_back(panel);
  }
  return panels;
}

// Shows every page of the ribbon in turn (a page's panels are made when it first shows), then
// the first again.
void ShowEveryPage(CRibbonBar& ribbon) {
  for (size_t p = 0; p < ribbon.GetPageCount(); ++p) ribbon.SetActivePage(p);
  ribbon.SetActivePage(size_t(0));
}

template <typename T>
std::vector<T*> Find(wxWindow* root) {
  std::vector<T*> found;
  if (auto* window = dynamic_cast<T*>(root)) found.push_back(window);
  for (wxWindow* child : root->GetChildren()) {
    for (T* window : Find<T>(child)) found.push_back(window);
  }
  return found;
}

TEST_F(BarsWindows, TheRibbonBuildsItsTenPagesWithTheirPanelsAndElements) {
  EditorRun run(home);
  CRibbonBar* ribbon = run.Frame().Bars().Ribbon();
  const auto& categories = bars::RibbonCategories();
  ASSERT_EQ(ribbon->GetPageCount(), 10u);
  ASSERT_EQ(categories.size(), 10u);
  // Only the page shown at the start has its panels; the others get theirs when they show.
  EXPECT_EQ(PanelsOf(ribbon->GetPage(0)).size(), categories[0].panels.size());
  for (size_t p = 1; p < categories.size(); ++p) EXPECT_TRUE(PanelsOf(ribbon->GetPage(static_cast<int>(p))).empty()) << p;
  EXPECT_EQ(ribbon->SliderOf(33965), nullptr);
  const int height = run.Frame().DockManager().GetPane(FrameBars::kRibbonPane).best_size.y;
  const char* pages[] = {"File",  "Document", "Book Settings", "Sections",      "Instruments",
                         "Transformations", "Chords", "Editing", "MIDI play bar", "About"};
  for (size_t p = 0; p < categories.size(); ++p) {
    ASSERT_TRUE(ribbon->SetActivePage(p));
    wxRibbonPage* page = ribbon->GetPage(static_cast<int>(p));
    EXPECT_TRUE(page->IsShown());
    EXPECT_EQ(page->GetLabel(), pages[p]);
    const std::vector<wxRibbonPanel*> panels = PanelsOf(page);
    ASSERT_EQ(panels.size(), categories[p].panels.size()) << pages[p];
    for (size_t i = 0; i < panels.size(); ++i) {
      const bars::RibbonPanel& panel = categories[p].panels[i];
      const std::string label = p == 0 ? "File" : bars::DisplayLabel(panel.label);
      EXPECT_EQ(panels[i]->GetLabel(), wxString::FromUTF8(label));
      EXPECT_EQ(Built(panels[i], panel), Expected(panel)) << pages[p] << " / " << panel.label;
    }
  }
  // The pane has room for the tallest page.
  EXPECT_GE(run.Frame().DockManager().GetPane(FrameBars::kRibbonPane).best_size.y, height);
  EXPECT_EQ(run.Frame().DockManager().GetPane(FrameBars::kRibbonPane).best_size.y, ribbon->GetBestSize().y);
  // A few panels counted by hand from the table.
  const auto built = [&](int page, int panel) {
    return Built(PanelsOf(ribbon->GetPage(page))[static_cast<size_t>(panel)],
                 categories[static_cast<size_t>(page)].panels[static_cast<size_t>(panel)]);
  };
  EXPECT_EQ(built(0, 0).buttons, 12u);                      // File
  EXPECT_EQ(built(2, 3).checks, 9u);                        // Print elements
  EXPECT_EQ(built(3, 4), (Counts{1, 8, 0, 0, 0, 0}));       // Navigation
  EXPECT_EQ(built(8, 4), (Counts{0, 0, 0, 6, 6, 0}));       // Controllers
  EXPECT_EQ(built(2, 2).galleries, 1u);                     // Frame styles
  // The gallery has room for its four pictures side by side.
  const std::vector<wxRibbonGallery*> galleries = Find<wxRibbonGallery>(ribbon);
  ASSERT_EQ(galleries.size(), 1u);
  EXPECT_EQ(galleries[0]->GetCount(), 4u);
  EXPECT_GE(galleries[0]->GetMinSize().x, 4 * 24);
  // Sliders: width 100, 0 to 127, at 50, until a line is active.
  wxSlider* volume = ribbon->SliderOf(33965);
  ASSERT_NE(volume, nullptr);
  EXPECT_EQ(volume->GetValue(), 50);
  EXPECT_EQ(volume->GetMax(), 127);
  EXPECT_EQ(volume->GetMinSize().x, 100);
  // The bar above the ribbon, and the ribbon's own toggle and help buttons.
  EXPECT_NE(ribbon->GetWindowStyleFlag() & wxRIBBON_BAR_SHOW_TOGGLE_BUTTON, 0);
  EXPECT_NE(ribbon->GetWindowStyleFlag() & wxRIBBON_BAR_SHOW_HELP_BUTTON, 0);
  CToolBarEx* quick = run.Frame().Bars().QuickBar();
  EXPECT_EQ(quick->GetToolCount(), 7u);
  EXPECT_NE(quick->FindTool(commands::kPreferences), nullptr);
  EXPECT_NE(quick->FindTool(57603), nullptr);
  EXPECT_EQ(quick->FindTool(57600), nullptr);  // offered in the overflow only
  // No menu bar is left.
  EXPECT_EQ(run.Frame().GetMenuBar(), nullptr);
}

TEST_F(BarsWindows, EveryCommandOfTheWindowsHasAStateOnTheRoute) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  for (const int id : WindowCommandIds()) {
    const view::CommandState state = run.Frame().CommandStateOf(id);
    EXPECT_TRUE(state.handled) << id;
    if (bars::FindPendingCommand(id) != nullptr && !state.enabled) continue;
  }
  // A command still to come (or waiting for its view) shows disabled, a carried one enabled.
  EXPECT_FALSE(run.Frame().CommandStateOf(33178).enabled);
  EXPECT_TRUE(run.Frame().CommandStateOf(commands::kSave).enabled);
}

TEST_F(BarsWindows, ControlsAndButtonsFollowTheirRules) {
  EditorRun run(home);
  CMainFrame& frame = run.Frame();
  CRibbonBar* ribbon = frame.Bars().Ribbon();
  ShowEveryPage(*ribbon);
  // "Play metronome clicks" is the application's switch; "Print title page" is still to come.
  std::map<int, wxCheckBox*> checks;
  for (wxCheckBox* box : Find<wxCheckBox>(ribbon)) {
    if (box->GetLabel() == "Play metronome clicks") checks[33989] = box;
    if (box->GetLabel() == "Print title page") checks[33521] = box;
  }
  ASSERT_EQ(checks.size(), 2u);
  run.App().metronomeOn = true;
  frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_TRUE(checks[33989]->IsEnabled());
  EXPECT_TRUE(checks[33989]->GetValue());
  EXPECT_FALSE(checks[33521]->IsEnabled());
  // Clicking the box sends the command; the mark comes back from the rule.
  wxCommandEvent click(wxEVT_CHECKBOX, checks[33989]->GetId());
  click.SetEventObject(checks[33989]);
  checks[33989]->GetEventHandler()->ProcessEvent(click);
  EXPECT_FALSE(run.App().metronomeOn);
  frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_FALSE(checks[33989]->GetValue());
  // Small buttons: enabled by the route, pressed by their check marks (on the page shown, whose
  // panels have room).
  bool marked = true;
  frame.FrameCommands().Add(33303, [](const view::CommandEvent&) {}, {}, [&] { return marked; });
  ribbon->SetActivePage(6);
  wxRibbonToolBar* alfabeto = nullptr;
  for (wxRibbonToolBar* tools : Find<wxRibbonToolBar>(ribbon->GetPage(6))) {
    if (tools->FindById(33303) != nullptr) alfabeto = tools;
  }
  ASSERT_NE(alfabeto, nullptr);
  ASSERT_TRUE(alfabeto->IsShown());
  frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_TRUE(alfabeto->GetToolEnabled(33303));
  EXPECT_TRUE(alfabeto->GetToolState(33303));
  EXPECT_FALSE(alfabeto->GetToolEnabled(33310));  // still to come
  marked = false;
  frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_FALSE(alfabeto->GetToolState(33303));
  // The same command everywhere: each place of 33520 and 33411 sends one command.
  std::vector<int> sent;
  frame.FrameCommands().Add(33411, [&](const view::CommandEvent& e) { sent.push_back(e.id); });
  frame.FrameCommands().Add(57600, [&](const view::CommandEvent& e) { sent.push_back(e.id); });
  for (wxRibbonToolBar* tools : Find<wxRibbonToolBar>(ribbon)) {
    if (tools->FindById(33411) == nullptr) continue;
    wxRibbonToolBarEvent event(wxEVT_RIBBONTOOLBAR_CLICKED, 33411, tools);
    tools->GetEventHandler()->ProcessEvent(event);
  }
  for (wxRibbonButtonBar* buttons : Find<wxRibbonButtonBar>(ribbon)) {
    for (const int id : {33411, 57600}) {
      if (buttons->GetItemById(id) == nullptr) continue;
      wxRibbonButtonBarEvent event(wxEVT_RIBBONBUTTONBAR_CLICKED, id, buttons, buttons->GetItemById(id));
      buttons->GetEventHandler()->ProcessEvent(event);
    }
  }
  std::sort(sent.begin(), sent.end());
  EXPECT_EQ(sent, (std::vector<int>{33411, 33411, 33411, 57600, 57600}));
}

TEST_F(BarsWindows, AHiddenBarDrawsItsPicturesWhenItFirstShows) {
  EditorRun run(home);
  CMainFrame& frame = run.Frame();
  Settle();
  ASSERT_FALSE(frame.Bars().BarShown(bars::kPaletteBar));
  CToolBarEx* palettes = frame.Bars().Bar(bars::kPaletteBar);
  EXPECT_GT(palettes->GetToolCount(), 0u);
  const size_t drawn = frame.Pictures().Count();
  frame.Bars().ShowBar(bars::kPaletteBar, true);
  Settle();
  palettes->Refresh();
  palettes->Update();
  EXPECT_GT(frame.Pictures().Count(), drawn);
  // Measured without its pictures, the bar is as large as its pictures make it.
  EXPECT_GE(palettes->GetSize().y, 28);
}

TEST_F(BarsWindows, TogglingTheRibbonTwiceRestoresIt) {
  EditorRun run(home);
  CMainFrame& frame = run.Frame();
  CRibbonBar* ribbon = frame.Bars().Ribbon();
  const int height = frame.DockManager().GetPane(FrameBars::kRibbonPane).best_size.y;
  EXPECT_TRUE(ribbon->ArePanelsShown());
  EXPECT_EQ(frame.CommandStateOf(commands::kToggleRibbon).checked, true);
  EXPECT_TRUE(frame.DispatchCommand(commands::kToggleRibbon));
  EXPECT_FALSE(ribbon->ArePanelsShown());
  EXPECT_LT(frame.DockManager().GetPane(FrameBars::kRibbonPane).best_size.y, height);
  EXPECT_TRUE(frame.DispatchCommand(commands::kToggleRibbon));
  EXPECT_TRUE(ribbon->ArePanelsShown());
  EXPECT_EQ(frame.DockManager().GetPane(FrameBars::kRibbonPane).best_size.y, height);
}

TEST_F(BarsWindows, AStoredStateComesBackOptionsBeforeButtons) {
  {
    // Written by an earlier run: "Large Icons", "No Text Labels", three buttons.
    ConfigProfile profile(home.Path() + "vornel.ini");
    profile.WriteText(bars::kToolbarStateSection, "ToolBarEx1", "icons=1 text=2 buttons=57643,0,57634");
    profile.WriteText(bars::kToolbarStateSection, "ToolBarEx2", "no state of ours");
    profile.Flush();
  }
  EditorRun run(home);
  CToolBarEx* editing = run.Frame().Bars().Bar(bars::kEditingOptionsBar);
  EXPECT_EQ(editing->State().icons, bars::IconOption::kLargeIcons);
  EXPECT_EQ(editing->State().text, bars::TextOption::kNoTextLabels);
  EXPECT_EQ(editing->State().buttons, (std::vector<int>{57643, 0, 57634}));
  EXPECT_EQ(editing->FindTool(57643)->GetBitmapBundle().GetDefaultSize(), wxSize(24, 24));
  EXPECT_EQ(editing->GetToolCount(), 3u);
  EXPECT_FALSE(editing->HasFlag(wxAUI_TB_TEXT));
  // Text that cannot be read leaves the bar as it was made.
  CToolBarEx* midi = run.Frame().Bars().Bar(bars::kMidiPlayBar);
  EXPECT_EQ(midi->State(), bars::InitialToolbarState(midi->Definition()));
}

TEST_F(BarsWindows, CustomizingShowsTextAtOnceIconsOnCloseAndResets) {
  {
    EditorRun run(home);
    CToolBarEx* editing = run.Frame().Bars().Bar(bars::kEditingOptionsBar);
    CCustomizeDialog dialog(&run.Frame(), *editing);
    dialog.onStateChanged = [&](CToolBarEx& bar) { run.Frame().Bars().SaveState(bar); };
    dialog.ChooseTextOption(bars::TextOption::kShowTextLabels);
    EXPECT_TRUE(editing->HasFlag(wxAUI_TB_TEXT));
    dialog.ChooseIconOption(bars::IconOption::kLargeIcons);
    EXPECT_EQ(editing->State().icons, bars::IconOption::kSmallIcons);  // not before the close
    dialog.RemoveCurrent(0);
    EXPECT_EQ(editing->GetToolCount(), bars::DefaultToolbarState(editing->Definition()).buttons.size() - 1);
    dialog.Finish();
    EXPECT_EQ(editing->State().icons, bars::IconOption::kLargeIcons);
    EXPECT_EQ(editing->FindTool(57643)->GetBitmapBundle().GetDefaultSize(), wxSize(24, 24));
  }
  // Kept for the next start; a reset from the dialog then gives the defaults.
  EditorRun run(home);
  CToolBarEx* editing = run.Frame().Bars().Bar(bars::kEditingOptionsBar);
  EXPECT_EQ(editing->State().icons, bars::IconOption::kLargeIcons);
  EXPECT_EQ(editing->State().text, bars::TextOption::kShowTextLabels);
  CCustomizeDialog dialog(&run.Frame(), *editing);
  dialog.Reset();
  EXPECT_EQ(dialog.TextOptions()->GetStringSelection(), "No Text Labels");
  EXPECT_EQ(dialog.IconOptions()->GetStringSelection(), "Small Icons");
  EXPECT_FALSE(editing->HasFlag(wxAUI_TB_TEXT));
  dialog.Finish();
  EXPECT_EQ(editing->State(), bars::DefaultToolbarState(editing->Definition()));
}

TEST_F(BarsWindows, TheBarsContextMenuListsEveryBarThePanesAndCustomize) {
  EditorRun run(home);
  FrameBars& bars = run.Frame().Bars();
  std::unique_ptr<wxMenu> menu = bars.BuildContextMenu();
  std::vector<std::string> items;
  for (const wxMenuItem* item : menu->GetMenuItems()) {
    items.push_back(item->IsSeparator() ? "-" : std::string(item->GetItemLabel().utf8_str()) +
                                                    (item->IsCheckable() && item->IsChecked() ? " [x]" : ""));
  }
  EXPECT_EQ(items, (std::vector<std::string>{"Editing options [x]", "MIDI Play Bar [x]", "Palettes",
                                             "Alfabeto toolbar", "Zoom [x]", "Keyboard console [x]",
                                             "&Properties View [x]", "&Output", "-", "&Customize..."}));
  // Choosing a bar shows or hides it.
  bars.RunMenuChoice(bars::kAlfabetoBar, *bars.Bar(bars::kEditingOptionsBar));
  EXPECT_TRUE(bars.BarShown(bars::kAlfabetoBar));
  EXPECT_TRUE(run.Frame().DispatchCommand(commands::kToggleToolbars));
  EXPECT_FALSE(bars.BarShown(bars::kEditingOptionsBar));
  EXPECT_FALSE(bars.BarShown(bars::kZoomBar));
  EXPECT_TRUE(bars.BarShown(bars::kAlfabetoBar));
}

TEST_F(BarsWindows, TheZoomBoxListsTwelveLinesAndHidesAtASide) {
  EditorRun run(home);
  CMainFrame& frame = run.Frame();
  CToolBarEx* zoom = frame.Bars().Bar(bars::kZoomBar);
  wxComboBox* box = zoom->ZoomBox();
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(box->GetCount(), 12u);
  EXPECT_EQ(box->GetString(0), "75%");
  EXPECT_EQ(box->GetString(11), "800%");
  EXPECT_EQ(box->GetValue(), "120%");
  wxAuiPaneInfo& pane = frame.DockManager().GetPane(zoom);
  pane.Left();
  frame.DockManager().Update();
  frame.Bars().CheckSideDocking();
  EXPECT_FALSE(box->IsShown());
  pane.Top();
  frame.DockManager().Update();
  frame.Bars().CheckSideDocking();
  EXPECT_TRUE(box->IsShown());
  EXPECT_EQ(box->GetValue(), "120%");
}

TEST_F(BarsWindows, TheUndoListShowsTheEntriesAndUndoesTheStepsChosen) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  CVornelTabDoc& doc = frame.ActiveChild()->Document();
  SaveFourNamedSteps(doc);
  CToolBarEx* editing = frame.Bars().Bar(bars::kEditingOptionsBar);
  editing->ShowUndoList(commands::kUndo);
  CUndoMenu* list = editing->OpenUndoList();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->List()->GetCount(), 4u);
  EXPECT_EQ(list->List()->GetString(0), "Paste section");
  EXPECT_EQ(list->List()->GetString(3), "Add a new section");
  list->Hover(2);
  wxArrayInt selected;
  EXPECT_EQ(list->List()->GetSelections(selected), 3);
  EXPECT_EQ(list->Label(), "Undo 3 Actions");
  list->Hover(0);
  EXPECT_EQ(list->List()->GetSelections(selected), 1);
  EXPECT_EQ(list->Label(), "Undo 1 Actions");
  list->Hover(2);
  list->Choose();
  EXPECT_EQ(doc.UndoNames(), std::vector<std::string>{"Add a new section"});
  EXPECT_EQ(doc.RedoNames(), (std::vector<std::string>{"Copy voice", "Split chord", "Paste section"}));
  // The redo list names the same entries, and a command run from the bars names its snapshot.
  frame.FrameCommands().Add(33178, [&](const view::CommandEvent&) { doc.SaveSnapshot(); });
  EXPECT_TRUE(frame.Dispatch({33178, std::nullopt, {}}));
  EXPECT_EQ(doc.UndoNames().front(), "Center all titlepage elements");
}

TEST_F(BarsWindows, TheOutputPaneListsItsLinesAndHidesFromItsMenu) {
  EditorRun run(home);
  CMainFrame& frame = run.Frame();
  COutputWnd* output = frame.OutputPane();
  ASSERT_NE(output, nullptr);
  ASSERT_EQ(output->Tabs()->GetPageCount(), 3u);
  EXPECT_EQ(output->Tabs()->GetPageText(0), "Build");
  EXPECT_EQ(output->Tabs()->GetPageText(2), "Find");
  EXPECT_EQ(output->List(1)->GetId(), 3);
  EXPECT_EQ(output->List(1)->GetString(0), "Debug output is being displayed here.");
  EXPECT_EQ(output->List(1)->GetCount(), 3u);
  EXPECT_TRUE(frame.DispatchCommand(commands::kOutputView));
  EXPECT_TRUE(frame.DockManager().GetPane("output").IsShown());
  const size_t before = prompts.messages.size();
  output->List(0)->RunCommand(57634);
  output->List(0)->RunCommand(57632);
  ASSERT_EQ(prompts.messages.size(), before + 2);
  EXPECT_NE(prompts.messages[before].find("Copy output"), std::string::npos);
  EXPECT_NE(prompts.messages[before + 1].find("Clear output"), std::string::npos);
  output->List(0)->RunCommand(149);
  EXPECT_FALSE(frame.DockManager().GetPane("output").IsShown());
}

// As a click does: a check button changes its mark, then sends its command.
void ClickConsoleButton(CToolBarEx& bar, int id) {
  if (bar.FindTool(id)->GetKind() == wxITEM_CHECK) bar.ToggleTool(id, !bar.GetToolToggled(id));
  wxCommandEvent click(wxEVT_MENU, id);
  click.SetEventObject(&bar);
  bar.GetEventHandler()->ProcessEvent(click);
}

TEST_F(BarsWindows, TheConsoleActsOnTheViewOnly) {
  {
    EditorRun run(home);
    CMyKeyboardBar* console = run.Frame().KeyboardConsole();
    ASSERT_NE(console, nullptr);
    CToolBarEx* bar = console->EditingBar();
    ASSERT_EQ(bar->GetToolCount(), 14u);
    EXPECT_EQ(bar->FindToolByIndex(0)->GetId(), 32792);
    EXPECT_EQ(bar->FindToolByIndex(13)->GetId(), 32784);
    // No document: the buttons do nothing and keep their marks; the piano enters nothing.
    const bool before = bar->GetToolToggled(32789);
    ClickConsoleButton(*bar, 32789);
    ClickConsoleButton(*bar, 32784);
    EXPECT_EQ(bar->GetToolToggled(32789), before);
    EXPECT_TRUE(console->Piano()->Click(7, 80));
    EXPECT_FALSE(console->Piano()->Click(3, 80));
  }
  // With a document the buttons act on its score view, whose marks they show.
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  CToolBarEx* bar = frame.KeyboardConsole()->EditingBar();
  const bool overwrite = frame.CommandStateOf(32789).checked.value_or(false);
  ClickConsoleButton(*bar, 32789);
  EXPECT_EQ(frame.CommandStateOf(32789).checked.value_or(false), !overwrite);
  bar->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_EQ(bar->GetToolToggled(32789), !overwrite);
}

}  // namespace
}  // namespace vornel
