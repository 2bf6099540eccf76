#pragma once
// Printing and previewing the score view: a printout that draws the view's print pages
// through the Cairo device of the printer's or the preview's context, the preview window that
// hands the page it was closed on back to the view, and the paper of the document's page
// settings for the print dialogs. The print run itself is the view's (ViewPrintJob).

#include <wx/cmndata.h>
#include <wx/graphics.h>
#include <wx/print.h>

#include <functional>
#include <memory>

#include "platform/draw/DrawTypes.h"

#if wxUSE_GTKPRINT
#include <wx/gtk/print.h>
#endif

namespace vornel {

class CBriotabDoc;
class DeviceContext;

namespace view {

class CBriotabView;
class ViewPrintJob;

class ScorePrintout : public wxPrintout {
 public:
  ScorePrintout(ViewPrintJob& job, const wxString& title);
  bool OnPrintPage(int page) override;
  bool HasPage(int page) override;
  void GetPageInfo(int* minPage, int* maxPage, int* selectionFrom, int* selectionTo) override;

 private:
  ViewPrintJob& job_;
};

// A Cairo graphics context on a memory, printer or window device context; null for others.
std::unique_ptr<wxGraphicsContext> CairoContextOf(wxDC& dc);

// Draws the current page of `printout` through a Cairo device in the printer's pixels (a
// preview's smaller bitmap scales it down): `draw` gets the device, the page size and the
// printer's pixels per inch. False when the printout has no usable context.
bool DrawPrintedPage(wxPrintout& printout, const std::function<void(DeviceContext&, Size page, Size ppi)>& draw);

// The document's paper and orientation, and as the file that printing to a file writes, the
// document's PDF (ProposedPdfPath, otherwise in the documents folder).
wxPrintData PrintDataFor(const CBriotabDoc& doc);

#if wxUSE_GTKPRINT
// The preview of this platform, its page rendering reachable from outside (tests compare a
// page's bitmap with the PDF of the same page).
class ScorePrintPreview : public wxGtkPrintPreview {
 public:
  using wxGtkPrintPreview::wxGtkPrintPreview;
  using wxGtkPrintPreview::RenderPageIntoBitmap;
  // The page in the preview's pixels, as RenderPageIntoBitmap draws it.
  wxSize PageSizePixels() const { return {m_pageWidth, m_pageHeight}; }
};
#endif

// The print dialog and the printer (`showDialog` false prints at once with the last choices),
// or the preview window on the active section's first page.
void RunScorePrint(wxWindow* parent, CBriotabView& view, bool preview, bool showDialog);

}  // namespace view
}  // namespace vornel
