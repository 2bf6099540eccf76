#include "view/ui/ScorePrinting.h"

#include <cairo.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcprint.h>
#include <wx/graphics.h>
#include <wx/log.h>

#include <dlfcn.h>
#include <wx/filename.h>

#include <exception>

#include "document/CBriotabDoc.h"
#include "layout/ui/dialogs/PaperSetup.h"
#include "platform/UserPrompts.h"
#include "platform/draw/CairoDevice.h"
#include "platform/io/FileDialogFolders.h"
#include "view/core/CBriotabView.h"
#include "view/core/ViewPrinting.h"

namespace vornel::view {

std::unique_ptr<wxGraphicsContext> CairoContextOf(wxDC& dc) {
  wxGraphicsRenderer* renderer = wxGraphicsRenderer::GetCairoRenderer();
  if (renderer == nullptr) return nullptr;
  if (auto* memory = dynamic_cast<wxMemoryDC*>(&dc)) return std::unique_ptr<wxGraphicsContext>(renderer->CreateContext(*memory));
  if (auto* printer = dynamic_cast<wxPrinterDC*>(&dc)) return std::unique_ptr<wxGraphicsContext>(renderer->CreateContext(*printer));
  if (auto* window = dynamic_cast<wxWindowDC*>(&dc)) return std::unique_ptr<wxGraphicsContext>(renderer->CreateContext(*window));
  return nullptr;
}

namespace {

// The preview window: when it closes, the page it shows tells the view which section to go
// back to, and the print run ends.
class ScorePreviewFrame : public wxPreviewFrame {
 public:
  ScorePreviewFrame(wxPrintPreviewBase* preview, wxWindow* parent, std::unique_ptr<ViewPrintJob> job)
      : wxPreviewFrame(preview, parent, "Print Preview", wxDefaultPosition, wxSize(900, 1000)),
        preview_(preview),
        job_(std::move(job)) {
    Bind(wxEVT_CLOSE_WINDOW, &ScorePreviewFrame::OnClose, this);
  }
  ~ScorePreviewFrame() override {
    if (job_ != nullptr) job_->End();
  }

 private:
  void OnClose(wxCloseEvent& event) {
    if (job_ != nullptr) {
      try {
        job_->ClosePreviewOn(preview_->GetCurrentPage() - 1);
        job_->End();
      } catch (const std::exception& e) {
        Prompts().ShowMessage(e.what(), MessageKind::kError);
      }
    }
    event.Skip();
  }

  wxPrintPreviewBase* preview_;
  std::unique_ptr<ViewPrintJob> job_;
};

}  // namespace

ScorePrintout::ScorePrintout(ViewPrintJob& job, const wxString& title) : wxPrintout(title), job_(job) {}

bool ScorePrintout::HasPage(int page) { return page >= 1 && page <= job_.PageCount(); }

void ScorePrintout::GetPageInfo(int* minPage, int* maxPage, int* selectionFrom, int* selectionTo) {
  *minPage = 1;
  *maxPage = std::max(job_.PageCount(), 1);
  *selectionFrom = 1;
  *selectionTo = *maxPage;
}

bool DrawPrintedPage(wxPrintout& printout, const std::function<void(DeviceContext&, Size, Size)>& draw) {
  wxDC* dc = printout.GetDC();
  if (dc == nullptr) return false;
  int pageWidth = 0;
  int pageHeight = 0;
  printout.GetPageSizePixels(&pageWidth, &pageHeight);
  int dcWidth = 0;
  int dcHeight = 0;
  dc->GetSize(&dcWidth, &dcHeight);
  int ppiX = 0;
  int ppiY = 0;
  printout.GetPPIPrinter(&ppiX, &ppiY);
  if (pageWidth <= 0 || pageHeight <= 0 || ppiX <= 0 || ppiY <= 0) return false;
  std::unique_ptr<wxGraphicsContext> gc = CairoContextOf(*dc);
  auto* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
  if (cr == nullptr) return false;
  // The page is drawn in the printer's pixels; a preview's smaller bitmap scales it down.
  cairo_save(cr);
  cairo_scale(cr, static_cast<double>(dcWidth) / pageWidth, static_cast<double>(dcHeight) / pageHeight);
  try {
    CairoDevice device(cr, ppiX, ppiY, true);
    device.SetExtent({pageWidth, pageHeight});
    draw(device, {pageWidth, pageHeight}, {ppiX, ppiY});
  } catch (const std::exception& e) {
    wxLogDebug("printing failed: %s", e.what());
  }
  cairo_restore(cr);
  return true;
}

bool ScorePrintout::OnPrintPage(int page) {
  return DrawPrintedPage(*this, [&](DeviceContext& device, Size, Size) { job_.PrintPage(device, page - 1); });
}

namespace {

// Printing to a file writes `path` unless the user names another file: the print dialog of
// this platform takes it from its settings, which the toolkit's print data do not pass on.
void ProposeOutputFile(wxPrintData& data, const std::string& path) {
#if wxUSE_GTKPRINT
  data.ConvertToNative();
  auto* native = dynamic_cast<wxGtkPrintNativeData*>(data.GetNativeData());
  GtkPrintSettings* settings = native != nullptr ? native->GetPrintConfig() : nullptr;
  // The toolkit is loaded with the window system; its settings are set through its own call.
  using SetSetting = void (*)(GtkPrintSettings*, const char*, const char*);
  static const auto set = reinterpret_cast<SetSetting>(dlsym(RTLD_DEFAULT, "gtk_print_settings_set"));
  if (settings == nullptr || set == nullptr) return;
  set(settings, "output-uri", wxFileName::FileNameToURL(wxFileName(wxString::FromUTF8(path))).utf8_str());
  set(settings, "output-file-format", "pdf");
#else
  (void)data;
  (void)path;
#endif
}

}  // namespace

wxPrintData PrintDataFor(const CBriotabDoc& doc) {
  wxPrintData data = PrintDataForPage(doc.settings.pageSettings);
  ProposeOutputFile(data, ProposedPdfPath(doc.GetPathName(), doc.GetTitle(), FileDialogFolders::Shared().DocumentsFolder()));
  return data;
}

void RunScorePrint(wxWindow* parent, CBriotabView& view, bool preview, bool showDialog) {
  const wxString title = wxString::FromUTF8(view.Document().GetTitle());
  wxPrintData data = PrintDataFor(view.Document());
  if (preview) {
#if wxUSE_GTKPRINT
    auto job = std::make_unique<ViewPrintJob>(view, true);
    if (job->PageCount() <= 0) return;
    ViewPrintJob& run = *job;
    auto* shown = new ScorePrintout(run, title);
    auto* printing = new ScorePrintout(run, title);
    auto* previewed = new ScorePrintPreview(shown, printing, &data);
    if (!previewed->IsOk()) {
      delete previewed;
      return;
    }
    auto* frame = new ScorePreviewFrame(previewed, parent, std::move(job));
    frame->Initialize();
    previewed->SetCurrentPage(run.FirstPage() + 1);
    frame->Show();
#endif
    return;
  }
  ViewPrintJob job(view, false);
  if (job.PageCount() <= 0) return;
  wxPrintDialogData dialogData(data);
  dialogData.SetMinPage(1);
  dialogData.SetMaxPage(job.PageCount());
  wxPrinter printer(&dialogData);
  ScorePrintout printout(job, title);
  printer.Print(parent, &printout, showDialog);
}

}  // namespace vornel::view
