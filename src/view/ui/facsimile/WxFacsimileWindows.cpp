#include "view/ui/facsimile/WxFacsimileWindows.h"

#include "view/ui/facsimile/FacsimileListDialog.h"
#include "view/ui/facsimile/ImageView.h"

namespace vornel::view {

bool WxFacsimileWindows::EditFacsimileList(CFacsimileListDlg& list) {
  FacsimileListDialog dialog(parent_, list);
  if (dialog.ShowModal() != wxID_OK) return false;
  dialog.Editor().Commit(list);
  return true;
}

bool WxFacsimileWindows::ShowInViewer(CBriotabDoc& doc, const std::string& path) {
  ImageView* view = ImageView::Of(doc);
  return view != nullptr && view->Load(path);
}

}  // namespace vornel::view
