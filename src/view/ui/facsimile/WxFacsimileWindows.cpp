#include "view/ui/facsimile/WxFacsimileWindows.h"

#include <wx/progdlg.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "view/ui/facsimile/FacsimileListDialog.h"
#include "view/ui/facsimile/ImageView.h"

namespace vornel::view {

namespace {

constexpr auto kQuietDownload = std::chrono::milliseconds(500);
constexpr int kProgressRange = 1000;

}  // namespace

DownloadProgress WxFacsimileWindows::ProgressFor(const std::string& url, bool printing) {
  if (printing) return WebFacsimileWindows::ProgressFor(url, printing);
  struct Window {
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::unique_ptr<wxProgressDialog> dialog;
  };
  auto window = std::make_shared<Window>();
  wxWindow* parent = parent_;
  return [window, parent, url](std::uint64_t done, std::uint64_t total) {
    if (!window->dialog) {
      if (std::chrono::steady_clock::now() - window->started < kQuietDownload) return true;
      window->dialog = std::make_unique<wxProgressDialog>(
          "Downloading image", wxString::FromUTF8(url), kProgressRange, parent,
          wxPD_CAN_ABORT | wxPD_APP_MODAL | wxPD_AUTO_HIDE | wxPD_ELAPSED_TIME);
    }
    if (total == 0) return window->dialog->Pulse();
    return window->dialog->Update(static_cast<int>(std::min<std::uint64_t>(done * kProgressRange / total, kProgressRange - 1)));
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
