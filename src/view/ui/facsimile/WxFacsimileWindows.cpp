#include "view/ui/facsimile/WxFacsimileWindows.h"

#include <wx/window.h>

#include <memory>

#include "view/ui/facsimile/DelayedProgress.h"
#include "view/ui/facsimile/FacsimileListDialog.h"
#include "view/ui/facsimile/ImageView.h"

namespace vornel::view {

DownloadProgress WxFacsimileWindows::ProgressFor(const std::string& url, bool printing) {
  if (printing) return WebFacsimileWindows::ProgressFor(url, printing);
  auto window = std::make_shared<DelayedProgress>("Downloading image", wxString::FromUTF8(url), parent_);
  return [window](std::uint64_t done, std::uint64_t total) {
    return window->Report(total == 0 ? -1.0 : double(done) / double(total));
  };
}

bool WxFacsimileWindows::EditFacsimileList(CFacsimileListDlg& list) {
  // Over the dialog whose "Facsimile list" button asked for it, else over the main window.
  wxWindow* active = wxGetActiveWindow();
  FacsimileListDialog dialog(active != nullptr ? wxGetTopLevelParent(active) : parent_, list);
  if (dialog.ShowModal() != wxID_OK) return false;
  dialog.Editor().Commit(list);
  return true;
}

bool WxFacsimileWindows::RunViewerCommand(CBriotabDoc& doc, int id) {
  ImageView* view = ImageView::Of(doc);
  return view != nullptr && view->RunCommand(id);
}

bool WxFacsimileWindows::ShowInViewer(CBriotabDoc& doc, const std::string& path) {
  ImageView* view = ImageView::Of(doc);
  return view != nullptr && view->Load(path);
}

}  // namespace vornel::view
