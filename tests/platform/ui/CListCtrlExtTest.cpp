// The list control's cell combo on screen: it shows over the label, closes into the item, and
// keeps out of icon view and Ctrl double-clicks.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>

#include "platform/ui/CListCtrlExt.h"

namespace vornel {
namespace {

struct ListWindow {
  wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "List", wxDefaultPosition, wxSize(500, 300));
  CListCtrlExt* list = new CListCtrlExt(frame, wxID_ANY, wxDefaultPosition, wxSize(480, 260), wxLC_REPORT);

  ListWindow() {
    list->AppendColumn("Instrument", wxLIST_FORMAT_LEFT, 100);
    list->AppendColumn("Track", wxLIST_FORMAT_LEFT, 120);
    wxArrayString choices;
    choices.Add("Lute");
    choices.Add("Theorbo");
    for (const char* text : {"Lute", "Viol", "Voice"}) list->InsertItem(list->GetItemCount(), text);
    list->RegisterCombo(0, choices);
    list->RegisterCombo(1, choices);
    frame->Show();
    for (int i = 0; i < 5; ++i) wxTheApp->Yield(true);
  }
  ~ListWindow() {
    frame->Destroy();
    wxTheApp->ProcessIdle();
  }
};

TEST(CListCtrlExt, DoubleClickShowsTheComboOverTheLabelAndClosingWritesBack) {
  ListWindow w;
  EXPECT_FALSE(w.list->OnLabelDoubleClick(0, true));  // Ctrl held
  EXPECT_EQ(w.list->ShownCombo(), nullptr);
  EXPECT_FALSE(w.list->OnLabelDoubleClick(2, false));  // no combo registered for it

  ASSERT_TRUE(w.list->OnLabelDoubleClick(1, false));
  wxComboBox* combo = w.list->ShownCombo();
  ASSERT_NE(combo, nullptr);
  EXPECT_TRUE(combo->IsShown());
  // The column is narrower than the minimum: the box takes 150 pixels from the label's left.
  wxRect label;
  ASSERT_TRUE(w.list->GetItemRect(1, label, wxLIST_RECT_LABEL));
  const wxPoint comboInList = w.list->ScreenToClient(combo->GetScreenPosition());
  EXPECT_EQ(combo->GetSize().x, 150);
  EXPECT_EQ(comboInList.x, label.x);
  EXPECT_EQ(comboInList.y, label.y);
  // "Viol" is not a choice: it stands in the edit field.
  EXPECT_EQ(combo->GetValue(), "Viol");
  EXPECT_EQ(w.list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED), 1);

  combo->SetSelection(1);
  w.list->CloseCombo();
  EXPECT_EQ(w.list->GetItemText(1), "Theorbo");
  EXPECT_FALSE(combo->IsShown());

  // A typed text that is not a choice is written back; an empty one leaves the item.
  ASSERT_TRUE(w.list->ShowCombo(0));
  EXPECT_EQ(w.list->ShownCombo()->GetSelection(), 0);  // "Lute" is chosen in the list
  w.list->ShownCombo()->ChangeValue("Cittern");
  w.list->ShownCombo()->SetSelection(wxNOT_FOUND);
  wxCommandEvent typed(wxEVT_TEXT, w.list->ShownCombo()->GetId());
  typed.SetString("Cittern");
  typed.SetEventObject(w.list->ShownCombo());
  w.list->ShownCombo()->GetEventHandler()->ProcessEvent(typed);
  w.list->CloseCombo();
  EXPECT_EQ(w.list->GetItemText(0), "Cittern");

  ASSERT_TRUE(w.list->ShowCombo(0));
  typed.SetString("");
  w.list->ShownCombo()->ChangeValue("");
  w.list->ShownCombo()->SetSelection(wxNOT_FOUND);
  w.list->ShownCombo()->GetEventHandler()->ProcessEvent(typed);
  w.list->CloseCombo();
  EXPECT_EQ(w.list->GetItemText(0), "Cittern");
}

TEST(CListCtrlExt, NeverInIconView) {
  ListWindow w;
  w.list->SetWindowStyleFlag(wxLC_ICON | wxLC_SINGLE_SEL);
  EXPECT_FALSE(w.list->OnLabelDoubleClick(0, false));
  EXPECT_EQ(w.list->ShownCombo(), nullptr);
}

}  // namespace
}  // namespace vornel
