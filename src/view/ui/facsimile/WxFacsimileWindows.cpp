#include "view/ui/facsimile/WxFacsimileWindows.h"

#include "view/ui/facsimile/ImageView.h"

namespace vornel::view {

bool WxFacsimileWindows::EditFacsimileList(CFacsimileListDlg&) { return false; }

bool WxFacsimileWindows::ShowInViewer(CBriotabDoc& doc, const std::string& path) {
  ImageView* view = ImageView::Of(doc);
  return view != nullptr && view->Load(path);
}

}  // namespace vornel::view
