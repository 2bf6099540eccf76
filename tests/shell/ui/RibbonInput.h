#pragma once
// Clicks on the ribbon of the running editor as a user makes them: the page made the one
// shown, a collapsed panel opened first, then the button's rectangle clicked.

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/ribbon/toolbar.h>

#include <vector>

#include "shell/ui/MainFrame.h"
#include "shell/ui/RealInput.h"
#include "shell/ui/bars/FrameBars.h"
#include "shell/ui/bars/RibbonBar.h"

namespace vornel {

template <typename T>
inline void FindAll(wxWindow* root, std::vector<T*>& found) {
  if (auto* window = dynamic_cast<T*>(root)) found.push_back(window);
  for (wxWindow* child : root->GetChildren()) FindAll(child, found);
}

// The button bar or tool bar under `root` that holds `command`, and the button's rectangle.
inline wxWindow* RibbonButton(wxWindow* root, int command, wxRect& rect) {
  std::vector<wxRibbonButtonBar*> buttons;
  std::vector<wxRibbonToolBar*> tools;
  FindAll(root, buttons);
  FindAll(root, tools);
  for (wxRibbonButtonBar* bar : buttons) {
    if (bar->GetItemById(command) == nullptr) continue;
    rect = bar->GetItemRect(command);
    return bar;
  }
  for (wxRibbonToolBar* bar : tools) {
    if (bar->FindById(command) == nullptr) continue;
    rect = bar->GetToolRect(command);
    return bar;
  }
  return nullptr;
}

// Clicks the ribbon's button of `command` on its page, which is made the page shown; a panel
// too narrow for its page is opened first by a click, as a user opens it.
inline void ClickRibbonButton(CMainFrame& frame, int command) {
  CRibbonBar& ribbon = *frame.Bars().Ribbon();
  for (size_t p = 0; p < ribbon.GetPageCount(); ++p) {
    // A page's panels are made when it first shows.
    ribbon.SetActivePage(p);
    wxRect rect;
    wxWindow* bar = RibbonButton(ribbon.GetPage(p), command, rect);
    if (bar == nullptr) continue;
    frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
    testing::Pump();
    if (!bar->IsShownOnScreen()) {
      wxWindow* panel = bar->GetParent();
      while (panel != nullptr && dynamic_cast<wxRibbonPanel*>(panel) == nullptr) panel = panel->GetParent();
      ASSERT_NE(panel, nullptr) << command;
      testing::ClickCentre(*panel);
      wxRibbonPanel* expanded = static_cast<wxRibbonPanel*>(panel)->GetExpandedPanel();
      ASSERT_NE(expanded, nullptr) << command;
      expanded->UpdateWindowUI(wxUPDATE_UI_RECURSE);
      bar = RibbonButton(expanded, command, rect);
      ASSERT_NE(bar, nullptr) << command;
      testing::Pump();
    }
    ASSERT_TRUE(bar->IsShownOnScreen()) << command;
    testing::ClickAt(*bar, wxPoint(rect.x + rect.width / 3, rect.y + rect.height / 3));
    return;
  }
  FAIL() << "no ribbon button " << command;
}

// Clicks the ribbon's check box labelled `label` on its page, which is made the page shown; a
// collapsed panel is opened first, as for a button, unless it is open already. Returns the
// pop-up the box stands in, still open after the click; null when the box stands on its page
// or its pop-up closed.
inline wxRibbonPanel* ClickRibbonCheckBox(CMainFrame& frame, const wxString& label) {
  CRibbonBar& ribbon = *frame.Bars().Ribbon();
  for (size_t p = 0; p < ribbon.GetPageCount(); ++p) {
    ribbon.SetActivePage(p);
    std::vector<wxCheckBox*> boxes;
    FindAll(ribbon.GetPage(p), boxes);
    for (wxCheckBox* box : boxes) {
      if (box->GetLabel() != label) continue;
      frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
      testing::Pump();
      if (!box->IsShownOnScreen()) {
        auto* panel = dynamic_cast<wxRibbonPanel*>(box->GetParent());
        EXPECT_NE(panel, nullptr) << label;
        if (panel == nullptr) return nullptr;
        if (panel->GetExpandedPanel() == nullptr) testing::ClickCentre(*panel);
        wxRibbonPanel* expanded = panel->GetExpandedPanel();
        EXPECT_NE(expanded, nullptr) << label;
        if (expanded == nullptr) return nullptr;
        expanded->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        testing::Pump();
      }
      EXPECT_TRUE(box->IsShownOnScreen()) << label;
      testing::ClickAt(*box, wxPoint(6, box->GetSize().y / 2));
      const bool popUp = wxGetTopLevelParent(box) != wxGetTopLevelParent(&ribbon);
      return popUp && box->IsShownOnScreen() ? dynamic_cast<wxRibbonPanel*>(box->GetParent()) : nullptr;
    }
  }
  ADD_FAILURE() << "no ribbon check box " << label;
  return nullptr;
}

// Clicks the `nth` (from 1) of the buttons of ribbon page `page` that only open a menu (they
// carry no command of their own), as they stand on the page.
inline void ClickRibbonMenuButton(CMainFrame& frame, const wxString& page, int nth) {
  CRibbonBar& ribbon = *frame.Bars().Ribbon();
  for (size_t p = 0; p < ribbon.GetPageCount(); ++p) {
    if (ribbon.GetPage(p)->GetLabel() != page) continue;
    ribbon.SetActivePage(p);
    testing::Pump();
    std::vector<wxRibbonButtonBar*> bars;
    FindAll(ribbon.GetPage(p), bars);
    int seen = 0;
    for (wxRibbonButtonBar* bar : bars) {
      for (size_t i = 0; i < bar->GetButtonCount(); ++i) {
        const int id = bar->GetItemId(bar->GetItem(i));
        if (id >= 0 || ++seen != nth) continue;
        const wxRect rect = bar->GetItemRect(id);
        testing::ClickAt(*bar, wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2));
        return;
      }
    }
    FAIL() << "no menu button " << nth << " on " << page;
  }
  FAIL() << "no ribbon page " << page;
}

}  // namespace vornel
