#pragma once
// The view's printing run, the same for the printer, the preview and a PDF file: it begins
// (zoom 100, the scroll at the top left, the frame disabled, the stored proportional spacing
// in force, the print sequence built), draws each page on a printing device, and ends
// (everything put back as it was). The window layer's printout and the tool's "print"
// command both go through it.
//
//   ViewPrintJob job(view, /*preview=*/false);
//   for (int32_t p = 0; p < job.PageCount(); ++p) job.PrintPage(device, p);
//   // the destructor ends the run

#include <cstdint>
#include <string>

namespace vornel {

class DeviceContext;

namespace view {

class CBriotabView;

// The PDF file printing to a file proposes: the document's name with ".pdf" beside the
// document, or for a document not saved yet its title with ".pdf" in `otherwise` (the
// documents folder).
std::string ProposedPdfPath(const std::string& documentPath, const std::string& title, const std::string& otherwise);

class ViewPrintJob {
 public:
  ViewPrintJob(CBriotabView& view, bool preview);
  ~ViewPrintJob();
  ViewPrintJob(const ViewPrintJob&) = delete;
  ViewPrintJob& operator=(const ViewPrintJob&) = delete;

  int32_t PageCount() const { return pages_; }
  // The page a preview opens on: the active section's first page.
  int32_t FirstPage() const { return firstPage_; }
  // Draws page `page` (from 0) on a printing device.
  void PrintPage(DeviceContext& dc, int32_t page);
  // A preview closes showing page `page`: when it belongs to another section, that section
  // becomes the active one, at its first page, once the run has ended.
  void ClosePreviewOn(int32_t page) { closedOn_ = page; }
  // Ends the run now (the destructor then does nothing).
  void End();

 private:
  CBriotabView& view_;
  bool preview_;
  bool ended_ = false;
  int32_t pages_ = 0;
  int32_t firstPage_ = 0;
  int32_t closedOn_ = -1;
};

}  // namespace view
}  // namespace vornel
