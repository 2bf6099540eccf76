// The main frame's panes on screen: each builds in the frame and shows the active document;
// the property grid shows the model's values and stores an edit as one undoable command; the
// palettes send their buttons' commands and tear off one floating copy; the lists open their
// entry on Enter and keep the key.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/aui/auibook.h>
#include <wx/aui/framemanager.h>
#include <wx/frame.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "model/instrument/CInstrumentDlg.h"
#include "shell/commands/DocumentLibraryCommands.h"
#include "shell/commands/InstrumentBaseCommands.h"
#include "shell/FakePanes.h"
#include "shell/palettes/PaletteCommands.h"
#include "shell/ui/CChildFrame.h"
#include "shell/ui/MenuCommandIds.h"
#include "shell/ui/EditorRun.h"
#include "shell/ui/panes/FramePaneContents.h"
#include "shell/ui/panes/ListPanes.h"
#include "shell/ui/panes/MenuImages.h"
#include "shell/ui/panes/PaletteWindows.h"
#include "shell/ui/panes/PropertiesPane.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using properties::PropertyKind;

// A frame of its own for one pane, destroyed with the test.
struct PaneWindow {
  wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Pane", wxDefaultPosition, wxSize(320, 640));
  ~PaneWindow() {
    frame->Destroy();
    wxTheApp->ProcessIdle();
  }
  void Show() {
    frame->Layout();
    frame->Show();
    Settle();
  }
};

std::unique_ptr<CVornelTabDoc> OpenTemplate() {
  OpenedDocument opened = OpenDocumentFile(std::string(VORNEL_SOURCE_DIR) + "/data/Templates/Renaissance lute in G (vieil ton).bttx");
  EXPECT_NE(opened.document, nullptr) << opened.message;
  return std::move(opened.document);
}

TEST(Panes, EveryPaneBuildsInTheFrameAndShowsTheActiveDocument) {
  testing::TemporaryHome home;
  testing::ScriptedPrompts prompts;
  fs::create_directories(home.Path() + "Documents/VornelFiles");
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  Settle();
  FramePaneContents* panes = run.Frame().PaneContents();
  ASSERT_NE(panes, nullptr);
  CVornelTabDoc& doc = run.Frame().ActiveChild()->Document();

  EXPECT_EQ(panes->Sections()->Top()->List()->GetCount(), doc.sections.size());
  EXPECT_EQ(panes->Sections()->Top()->List()->GetSelection(), 0);
  EXPECT_NE(panes->Explorer()->Folders(), nullptr);
  // The instrument list shows the configured base (the built-in templates while there is none),
  // read when its tab first shows.
  EXPECT_EQ(panes->Templates()->Bottom()->List()->GetCount(), 0u);
  wxAuiNotebook& left = *run.Frame().LeftGroup();
  left.SetSelection(static_cast<size_t>(left.GetPageIndex(run.Frame().PaneHost(CMainFrame::kTemplates))));
  Settle();
  EXPECT_EQ(panes->Templates()->Bottom()->List()->GetCount(), InstrumentBaseNames().size());
  EXPECT_GT(panes->Templates()->Bottom()->List()->GetCount(), 0u);
  EXPECT_TRUE(panes->Properties()->Grid()->IsEnabled());
  EXPECT_EQ(panes->Properties()->Property(23)->GetValueAsString(),
            wxString::FromUTF8(doc.GetActiveSection()->Title().text.c_str()));
  EXPECT_EQ(panes->Palettes()->Upper()->Palettes().size(), 6u);
  EXPECT_EQ(panes->Palettes()->CurrentPalette(palettes::kLowerPane), 33826);

  // The palettes' commands go through the frame's routing.
  EXPECT_TRUE(run.Frame().DispatchCommand(33828));
  EXPECT_EQ(panes->Palettes()->CurrentPalette(palettes::kLowerPane), 33828);

  // The document closed, the properties show nothing.
  doc.SetModifiedFlag(false);
  run.Frame().CloseDocument(doc);
  wxTheApp->ProcessIdle();
  Settle();
  EXPECT_FALSE(panes->Properties()->Grid()->IsEnabled());
  EXPECT_EQ(panes->Sections()->Top()->List()->GetCount(), 0u);
}

TEST(Panes, TheGridShowsTheModelsValuesAndStoresAnEditAsOneCommand) {
  testing::ScriptedPrompts prompts;
  PaneWindow window;
  std::vector<int> sent;
  int resets = 0;
  auto* pane = new PropertiesPane(window.frame, [&](int id) { sent.push_back(id); }, [&] { ++resets; });
  window.Show();
  const auto doc = OpenTemplate();
  CSystemArray* section = doc->GetActiveSection();
  section->Title().text = "Galliard";
  section->AddInstrument(std::make_unique<CInstrumentDlg>());
  pane->UpdatePropList(doc.get(), section);
  EXPECT_TRUE(pane->Grid()->IsEnabled());

  for (const properties::PropertyRow& row : properties::PropertyTable()) {
    const auto value = pane->Model().Value(row.number);
    wxPGProperty* property = pane->Property(row.number);
    ASSERT_NE(property, nullptr) << row.number;
    if (!value) continue;
    switch (row.kind) {
      case PropertyKind::kText:
        EXPECT_EQ(property->GetValueAsString(), wxString::FromUTF8(value->text.c_str())) << row.number;
        break;
      case PropertyKind::kInteger:
        EXPECT_EQ(property->GetValue().GetLong(), value->number) << row.number;
        break;
      case PropertyKind::kCheck:
        EXPECT_EQ(property->GetValue().GetBool(), value->number != 0) << row.number;
        break;
      case PropertyKind::kFont: {
        wxFont font;
        font << property->GetValue();
        EXPECT_EQ(font.GetFaceName(), wxString::FromUTF8(value->font.lfFaceName.c_str())) << row.number;
        break;
      }
      case PropertyKind::kGroup:
        break;
    }
  }
  // Two definitions: each group has "Family", and "Visible".
  ASSERT_NE(pane->Property(properties::kFirstVisibleCheck + 1), nullptr);

  // A typed tempo past the spin range is stored clamped, as one undoable command.
  wxPGProperty* tempo = pane->Property(37);
  const uint32_t before = section->tempo;
  tempo->SetValue(500L);
  pane->StoreFromGrid(tempo);
  EXPECT_EQ(doc->GetActiveSection()->tempo & 0xFFF, 200u);
  EXPECT_EQ(resets, 1);
  doc->OnEditUndo();
  EXPECT_EQ(doc->GetActiveSection()->tempo, before);

  // Shown again, the same properties take the new values: nothing is rebuilt.
  doc->GetActiveSection()->Title().text = "Pavan";
  pane->UpdatePropList(doc.get(), doc->GetActiveSection());
  EXPECT_EQ(pane->Property(37), tempo);
  EXPECT_EQ(pane->Property(23)->GetValueAsString(), "Pavan");

  // "Visible" inverts the definition's flag and asks for the section's layout.
  wxPGProperty* visible = pane->Property(properties::kFirstVisibleCheck + 1);
  const int32_t shown = doc->GetActiveSection()->definitions.at(1)->visible;
  visible->SetValue(shown == 0);
  pane->StoreFromGrid(visible);
  EXPECT_EQ(doc->GetActiveSection()->definitions.at(1)->visible, shown != 0 ? 0 : 1);
  EXPECT_EQ(sent, std::vector<int>{kRefreshDocument});

  pane->UpdatePropList(nullptr, nullptr);
  EXPECT_FALSE(pane->Grid()->IsEnabled());
  EXPECT_FALSE(pane->Model().Showing());
}

TEST(Panes, PalettesSendTheirButtonsAndTearOffOneCopy) {
  PaneWindow window;
  wxAuiManager dock(window.frame);
  std::vector<view::CommandEvent> sent;
  PaletteRouting routing;
  routing.send = [&](const view::CommandEvent& event) { sent.push_back(event); };
  routing.state = [](int) { return view::CommandState{true, true, std::nullopt}; };
  auto* pane = new SplitPalettePane(window.frame, dock, routing);
  dock.AddPane(pane, wxAuiPaneInfo().Name("palettes").CenterPane());
  dock.Update();
  window.Show();

  pane->SelectPalette(33824);  // dynamics: one command, a value per marking
  PalettePanel* dynamics = pane->Upper()->Current();
  ASSERT_NE(dynamics, nullptr);
  EXPECT_EQ(pane->Upper()->Selector()->GetSelection(), 5);
  const palettes::PaletteButton& first = dynamics->Model().Buttons().front();
  dynamics->Press(0);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].id, first.command);
  EXPECT_EQ(sent[0].value, first.value);
  // A click on the first button's place presses it.
  const palettes::PaletteLayout layout = dynamics->Model().LayOut(Rect{0, 0, dynamics->GetClientSize().x, dynamics->GetClientSize().y});
  const wxPoint inside(layout.buttons[1].left + 2, layout.buttons[1].top + 2);
  EXPECT_EQ(dynamics->ButtonAt(inside), 1);

  pane->SetColumns(3);
  EXPECT_EQ(dynamics->Model().Columns(), 3);

  // A second tear-off of the same palette shows the copy there is.
  pane->FloatPalette(palettes::kLowerPane);
  PalettePanel* copy = pane->FloatingCopy();
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(dock.GetPane(copy).IsFloating());
  dock.GetPane(copy).Hide();
  dock.Update();
  pane->FloatPalette(palettes::kLowerPane);
  EXPECT_EQ(pane->FloatingCopy(), copy);
  EXPECT_TRUE(dock.GetPane(copy).IsShown());
  dock.DetachPane(pane);
  dock.UnInit();
  // The pane detaches itself from the manager when it goes: it must go before the manager.
  pane->Destroy();
}

TEST(Panes, ListsOpenTheirEntryOnEnterAndKeepTheKey) {
  testing::ScriptedPrompts prompts;
  PaneWindow window;
  panes::FakeView view;
  panes::FakeServices services;
  services.view = &view;
  constexpr int kTools[] = {33297, 33300};
  auto* pane = new SplitListPane(window.frame, "Sections", {panes::ListId::kSections, "Sections", kTools},
                                 {panes::ListId::kFacsimiles, "Facsimiles", {}}, services);
  window.Show();
  pane->Top()->Fill({"1 Prelude", "2 Galliard"}, 1);
  EXPECT_EQ(pane->Top()->Selection().text, "2 Galliard");

  wxKeyEvent enter(wxEVT_KEY_DOWN);
  enter.m_keyCode = WXK_RETURN;
  enter.SetEventObject(pane->Top()->List());
  EXPECT_TRUE(pane->Top()->List()->GetEventHandler()->ProcessEvent(enter));
  EXPECT_FALSE(enter.GetSkipped());
  EXPECT_EQ(view.calls, std::vector<std::string>{"section 1"});

  // Without a tablature view the sections list does nothing.
  services.view = nullptr;
  pane->Top()->OpenSelected();
  EXPECT_EQ(view.calls.size(), 1u);
}

TEST(Panes, LineStyleItemsShowTheirLineAndKeepTheirPlaceAndState) {
  MenuCommandIds ids;
  wxMenu menu;
  menu.Append(ids.ToWindowId(33000), "Other");
  auto* thickness = new wxMenu;
  for (int id = 34024; id <= 34028; ++id) {
    thickness->AppendRadioItem(ids.ToWindowId(id), wxString::Format("0.%02dmm", (id - 34023) * 5));
  }
  thickness->AppendSeparator();
  thickness->Append(ids.ToWindowId(34029), "Thick...");
  menu.AppendSubMenu(thickness, "Line thickness");
  thickness->Check(ids.ToWindowId(34026), true);
  thickness->Enable(ids.ToWindowId(34027), false);

  ShowLineStyles(menu, [&](int windowId) { return ids.ToCommand(windowId); });
  ASSERT_EQ(thickness->GetMenuItemCount(), 7u);
  for (int style = 1; style <= 5; ++style) {
    const wxMenuItem* item = thickness->FindItemByPosition(static_cast<size_t>(style - 1));
    EXPECT_EQ(ids.ToCommand(item->GetId()), 34023 + style);
    ASSERT_TRUE(item->GetBitmap().IsOk()) << style;
    // The line is as many rows thick as its style.
    const wxImage image = item->GetBitmap().ConvertToImage();
    int rows = 0;
    for (int y = 0; y < image.GetHeight(); ++y) rows += image.IsTransparent(image.GetWidth() / 2, y) ? 0 : 1;
    EXPECT_EQ(rows, style);
  }
  EXPECT_TRUE(thickness->IsChecked(ids.ToWindowId(34026)));
  EXPECT_FALSE(thickness->IsEnabled(ids.ToWindowId(34027)));
  EXPECT_FALSE(thickness->FindItem(ids.ToWindowId(34029))->GetBitmap().IsOk());
  EXPECT_FALSE(menu.FindItem(ids.ToWindowId(33000))->GetBitmap().IsOk());
}

}  // namespace
}  // namespace vornel
