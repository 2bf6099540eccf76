#pragma once
// The facsimile windows of the editor: web images fetched into the cache (as
// WebFacsimileWindows does), local pictures shown in the image view of the document's
// facsimile pane, the "Add digital facsimile" dialog on a list, and a progress window with
// Cancel on long downloads.

#include <string>

#include "view/facsimile/ImageDownload.h"

class wxWindow;

namespace vornel::view {

class WxFacsimileWindows : public WebFacsimileWindows {
 public:
  using WebFacsimileWindows::WebFacsimileWindows;
  // The window the list dialog belongs to.
  void SetParent(wxWindow* parent) { parent_ = parent; }

  bool EditFacsimileList(CFacsimileListDlg& list) override;
  bool ShowInViewer(CBriotabDoc& doc, const std::string& path) override;
  bool RunViewerCommand(CBriotabDoc& doc, int id) override;

 protected:
  // A download that lasts more than half a second shows a progress window with Cancel
  // (not while printing).
  DownloadProgress ProgressFor(const std::string& url, bool printing) override;

 private:
  wxWindow* parent_ = nullptr;
};

}  // namespace vornel::view
