#include "document/dialogs/FacsimileListEditing.h"

namespace vornel {

namespace {

FacsimileListEditing*& Installed() {
  static FacsimileListEditing* installed = nullptr;
  return installed;
}

}  // namespace

FacsimileListEditing* FacsimileListEditorInForce() { return Installed(); }

ScopedFacsimileListEditing::ScopedFacsimileListEditing(FacsimileListEditing& editing) : previous_(Installed()) {
  Installed() = &editing;
}

ScopedFacsimileListEditing::~ScopedFacsimileListEditing() { Installed() = previous_; }

void FacsimileListEdit::Load(const CFacsimileListDlg& list) {
  list_ = list;
  edited_ = false;
}

bool FacsimileListEdit::Run() {
  FacsimileListEditing* editing = FacsimileListEditorInForce();
  if (editing == nullptr) return false;
  CFacsimileListDlg working = list_;
  if (!editing->EditFacsimileList(working)) return false;
  list_ = std::move(working);
  edited_ = true;
  return true;
}

void FacsimileListEdit::Store(CFacsimileListDlg& list) const {
  if (edited_) list = list_;
}

}  // namespace vornel
