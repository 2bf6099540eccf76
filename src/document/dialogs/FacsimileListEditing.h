#pragma once
// The "Facsimile list" buttons of the section, title page and document information dialogs:
// the list dialog itself belongs to the view area, which installs it here. A dialog edits its
// own working copy of the list, which only its OK stores.

#include "model/text/CFacsimileListDlg.h"

namespace vornel {

class FacsimileListEditing {
 public:
  virtual ~FacsimileListEditing() = default;
  // Runs the list dialog on `list`: true on OK with the changes made to `list`; false, with
  // `list` as it was, on Cancel.
  virtual bool EditFacsimileList(CFacsimileListDlg& list) = 0;
};

// The installed dialog; without one an edit says that none is installed and changes nothing.
FacsimileListEditing* FacsimileListEditorInForce();
class ScopedFacsimileListEditing {
 public:
  explicit ScopedFacsimileListEditing(FacsimileListEditing& editing);
  ~ScopedFacsimileListEditing();
  ScopedFacsimileListEditing(const ScopedFacsimileListEditing&) = delete;
  ScopedFacsimileListEditing& operator=(const ScopedFacsimileListEditing&) = delete;

 private:
  FacsimileListEditing* previous_;
};

// A facsimile list edited from inside another dialog: a copy of the list, taken when that
// dialog loads its fields. The list dialog works on a copy of the copy; its OK keeps the
// changes, its Cancel drops them, and the other dialog's OK stores what was kept.
class FacsimileListEdit {
 public:
  void Load(const CFacsimileListDlg& list);
  // Runs the installed dialog on the copy; true on OK.
  bool Run();
  // Stores the copy into `list` when an edit was accepted; a list never edited is left alone.
  void Store(CFacsimileListDlg& list) const;
  bool Edited() const { return edited_; }
  const CFacsimileListDlg& List() const { return list_; }

 private:
  CFacsimileListDlg list_;
  bool edited_ = false;
};

}  // namespace vornel
