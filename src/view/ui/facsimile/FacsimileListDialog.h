#pragma once
// The "Add digital facsimile" dialog: the list of a section's (or the title page's) facsimiles
// with Add, Delete, Add HTTP Link, Edit caption and View image; a double-click edits an
// entry's link. It works on a FacsimileListEditor; the caller commits it after OK.

#include <wx/dialog.h>

#include "view/facsimile/FacsimileListEditor.h"

class wxListBox;

namespace vornel::view {

class FacsimileListDialog : public wxDialog {
 public:
  enum ControlId : int {
    kListId = 1507,
    kAddId = 1511,
    kDeleteId = 1513,
    kAddLinkId = 1325,
    kEditCaptionId = 4339,  // the "Edit image caption" command, below the window system's id limit
    kViewId = 1596,
  };

  FacsimileListDialog(wxWindow* parent, const CFacsimileListDlg& list);

  FacsimileListEditor& Editor() { return editor_; }
  wxListBox* List() const { return list_; }

 private:
  void Refill(int select);
  size_t Selected() const;
  void OnButton(wxCommandEvent& event);
  void OnDoubleClick(wxCommandEvent& event);

  FacsimileListEditor editor_;
  wxListBox* list_ = nullptr;
};

}  // namespace vornel::view
