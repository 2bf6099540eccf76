// The "Add digital facsimile" dialog in a window: its list shows the entries, its buttons and
// a double-click change the working list, and only OK changes the section's list.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/listbox.h>

#include "model/text/CFacsimileListDlg.h"
#include "support/ScriptedPrompts.h"
#include "view/ui/facsimile/FacsimileListDialog.h"

namespace vornel::view {
namespace {

void Click(wxWindow* dialog, int id) {
  wxCommandEvent event(wxEVT_BUTTON, id);
  event.SetEventObject(dialog);
  dialog->GetEventHandler()->ProcessEvent(event);
}

std::vector<std::string> Shown(const wxListBox* list) {
  std::vector<std::string> lines;
  for (unsigned i = 0; i < list->GetCount(); ++i) lines.push_back(list->GetString(i).ToStdString());
  return lines;
}

TEST(FacsimileListDialog, ButtonsChangeTheWorkingListOnly) {
  testing::ScriptedPrompts prompts;
  CFacsimileListDlg list;
  list.AddImage("/scans/f1r.jpg");
  list.AddImage("/scans/f1v.jpg");
  auto* dialog = new FacsimileListDialog(nullptr, list);
  EXPECT_EQ(dialog->GetTitle(), "Add digital facsimile");
  wxListBox* shown = dialog->List();
  EXPECT_EQ(Shown(shown), (std::vector<std::string>{"/scans/f1r.jpg", "/scans/f1v.jpg"}));

  prompts.QueueText("http://host/p1.jpg");
  Click(dialog, FacsimileListDialog::kAddLinkId);
  EXPECT_EQ(shown->GetSelection(), 2);
  shown->SetSelection(0);
  Click(dialog, FacsimileListDialog::kDeleteId);
  // Nothing selected: "Edit caption" says so, "Delete" does nothing.
  Click(dialog, FacsimileListDialog::kEditCaptionId);
  Click(dialog, FacsimileListDialog::kDeleteId);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], "No image selected");

  // A double-click edits the link of the entry.
  shown->SetSelection(0);
  prompts.QueueText("/scans/f1v-corrected.jpg");
  wxCommandEvent doubleClick(wxEVT_LISTBOX_DCLICK, FacsimileListDialog::kListId);
  doubleClick.SetEventObject(shown);
  dialog->GetEventHandler()->ProcessEvent(doubleClick);
  EXPECT_EQ(Shown(shown), (std::vector<std::string>{"/scans/f1v-corrected.jpg", "http://host/p1.jpg"}));

  // The section's list changes only when the caller commits after OK.
  EXPECT_EQ(list.imagePaths, (std::vector<std::string>{"/scans/f1r.jpg", "/scans/f1v.jpg"}));
  dialog->Editor().Commit(list);
  EXPECT_EQ(list.imagePaths, (std::vector<std::string>{"/scans/f1v-corrected.jpg", "http://host/p1.jpg"}));
  dialog->Destroy();
  wxTheApp->ProcessIdle();
}

}  // namespace
}  // namespace vornel::view
