// The ribbon's panels that are too narrow for their page open as pop-ups at a click: each one
// opens at its own size, the second time too, and the ribbon keeps its layout while the pointer
// passes over it. With VORNEL_RIBBON_SHOTS naming a folder, the ribbon is saved there as a picture of
// each page after all its pop-ups were used (for looking at the layout at the screen's width).

#include <gtest/gtest.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/utils.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/ShellFixtures.h"
#include "shell/ui/EditorRun.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/RealInput.h"
#include "shell/ui/RibbonInput.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using testing::ClickAt;
using testing::Pump;

void SaveRibbon(wxWindow& ribbon, const std::string& path) {
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  const wxSize size = ribbon.GetClientSize();
  wxBitmap bitmap(size);
  wxMemoryDC memory(bitmap);
  wxClientDC client(&ribbon);
  memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
  memory.SelectObject(wxNullBitmap);
  bitmap.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
}

TEST(RibbonPopups, EveryCollapsedPanelOpensAtItsSize) {
  testing::TemporaryHome home;
  testing::ScriptedPrompts prompts;
  fs::create_directories(home.Path() + "Documents/VornelFiles");
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  frame.SetSize(wxDisplay(0u).GetClientArea());
  Pump();
  CRibbonBar& ribbon = *frame.Bars().Ribbon();
  const char* shots = std::getenv("VORNEL_RIBBON_SHOTS");
  for (size_t p = 0; p < ribbon.GetPageCount(); ++p) {
    ribbon.SetActivePage(p);
    Pump();
    wxRibbonPage* page = ribbon.GetPage(p);
    const int height = ribbon.GetSize().y;
    std::vector<wxRibbonPanel*> panels;
    FindAll(page, panels);
    for (wxRibbonPanel* panel : panels) {
      if (panel->GetParent() != page || !panel->IsMinimised()) continue;
      // Opened twice: the second time it opens with the controls its first pop-up gave back.
      for (int round = 0; round < 2; ++round) {
        // Apart in time, so that the second click is no double click.
        if (round > 0) wxMilliSleep(600);
        testing::ClickCentre(*panel);
        wxRibbonPanel* open = panel->GetExpandedPanel();
        ASSERT_NE(open, nullptr) << panel->GetLabel() << " " << round;
        const wxSize size = open->GetSize();
        const wxSize best = open->GetBestSize();
        EXPECT_GE(size.x, std::min(best.x, 60)) << panel->GetLabel() << " round " << round;
        EXPECT_GE(size.y, std::min(best.y, 60)) << panel->GetLabel() << " round " << round;
        panel->HideExpanded();
        Pump();
      }
      // The pointer passing over the ribbon leaves its height as it is.
      testing::MoveTo(*panel, wxPoint(5, 5));
      testing::MoveTo(ribbon, wxPoint(ribbon.GetClientSize().x - 5, 5));
      EXPECT_EQ(ribbon.GetSize().y, height) << panel->GetLabel();
    }
    if (shots != nullptr) {
      testing::Expose(ribbon);
      SaveRibbon(ribbon, std::string(shots) + "/ribbon-" + std::to_string(wxDisplay(0u).GetGeometry().width) + "-" +
                             std::to_string(p) + ".png");
    }
  }
}

}  // namespace
}  // namespace vornel
