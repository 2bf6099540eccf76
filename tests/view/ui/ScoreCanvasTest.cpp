// The score view in its window: a document opens and paints, zoom and paging reach the
// status panes, and a page of the print preview is the page of the PDF the same printing run
// writes (compared with the raster pdftoppm makes of it; pdffonts finds the fonts embedded).

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/image.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "document/CBriotabDoc.h"
#include "document/CPageDlg.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/io/FileDialogFolders.h"
#include "support/Bytes.h"
#include "support/RecordingFramePanes.h"
#include "support/ScriptedPrompts.h"
#include "view/PageFixtures.h"
#include "view/core/ViewIds.h"
#include "view/core/ViewPrinting.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/DocumentPages.h"
#include "view/ui/ScoreCanvas.h"
#include "view/ui/ScorePrinting.h"
#include "view/ui/CanvasWindow.h"

namespace vornel {
namespace {

std::unique_ptr<CBriotabDoc> TwoPages() {
  auto doc = std::make_unique<CBriotabDoc>();
  auto section = testing::NotatedSection("Pavan", 8);
  section->stavesPerPage = 4;
  doc->AppendSection(std::move(section));
  doc->settings.pageSettings.paperFormat = 9;
  doc->settings.pageSettings.systemsPerPage = 4;
  return doc;
}

bool Logged(const testing::RecordingFramePanes& panes, const std::string& line) {
  return std::find(panes.log.begin(), panes.log.end(), line) != panes.log.end();
}

struct CanvasTest : ::testing::Test {
  testing::ScriptedPrompts prompts;
  testing::RecordingFramePanes panes;
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed{renderer};
  std::unique_ptr<CBriotabDoc> doc = TwoPages();
  testing::CanvasWindow<view::ScoreCanvas> shown{"Score", *doc};
  wxFrame* frame = shown.frame;
  view::ScoreCanvas* canvas = shown.canvas;

  void Paint() { shown.Paint(); }
};

TEST_F(CanvasTest, OpensPaintsZoomsAndTurnsPages) {
  frame->Show();
  Paint();
  // The window's paint drew the page: the panes are set from the drawing.
  EXPECT_TRUE(Logged(panes, "status 12 100%"));
  EXPECT_TRUE(Logged(panes, "status 6 1 [p. 1]"));
  const wxSize total = canvas->GetVirtualSize();
  EXPECT_EQ(total, wxSize(794 + 100, 1123 + 100));

  // What the window shows, painted into a bitmap the size of its client area: the page's
  // white and the music's black both there.
  const wxSize client = canvas->GetClientSize();
  ImageDevice shown(client.x, client.y);
  canvas->PaintInto(shown);
  const DeviceBitmap bitmap = shown.ToBitmap();
  size_t white = 0;
  size_t dark = 0;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      const COLORREF c = bitmap.GetPixel(x, y);
      const int sum = static_cast<int>((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
      if (sum > 3 * 250) ++white;
      if (sum < 3 * 60) ++dark;
    }
  }
  EXPECT_GT(white, static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitmap.Height()) / 3);
  EXPECT_GT(dark, 500u);

  panes.log.clear();
  canvas->View().SetZoomKeepingPosition(150);
  Paint();
  EXPECT_TRUE(Logged(panes, "status 12 150%"));
  EXPECT_EQ(canvas->GetVirtualSize(), wxSize(1191 + 100, 1684 + 100));

  panes.log.clear();
  ASSERT_TRUE(canvas->View().Commands().Execute({view::kPageDown, {}, {}}));
  Paint();
  EXPECT_TRUE(Logged(panes, "status 6 1 [p. 2]"));
  EXPECT_EQ(canvas->GetViewStart(), wxPoint(0, 0));
}

// The pixels of an image as grey values.
std::vector<int> Grey(const wxImage& image) {
  std::vector<int> grey;
  grey.reserve(static_cast<size_t>(image.GetWidth()) * static_cast<size_t>(image.GetHeight()));
  const unsigned char* rgb = image.GetData();
  for (int i = 0; i < image.GetWidth() * image.GetHeight(); ++i) {
    grey.push_back((rgb[3 * i] + rgb[3 * i + 1] + rgb[3 * i + 2]) / 3);
  }
  return grey;
}

std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  ::pclose(pipe);
  return out;
}

TEST_F(CanvasTest, PrintingToAFileProposesTheDocumentsPdfOnItsPaper) {
  using GetSetting = const char* (*)(void*, const char*);
  const auto get = reinterpret_cast<GetSetting>(dlsym(RTLD_DEFAULT, "gtk_print_settings_get"));
  ASSERT_NE(get, nullptr);
  testing::TempDir documents;
  FileDialogFolders::Shared().SetDocumentsFolder(documents.path());
  struct Case {
    std::string path;
    std::string title;
    std::string proposed;
  };
  for (const Case& c : {Case{"/music/lute/Suite.btz", "Suite.btz", "file:///music/lute/Suite.pdf"},
                        Case{"", "VornelTab1", "file://" + documents.File("VornelTab1.pdf")}}) {
    doc->ClearPathName();
    if (!c.path.empty()) doc->SetPathName(c.path);
    doc->SetTitle(c.title);
    doc->settings.pageSettings.paperFormat = 9;  // A4
    wxPrintData data = view::PrintDataFor(*doc);
    EXPECT_EQ(data.GetPaperId(), wxPAPER_A4);
    auto* native = dynamic_cast<wxGtkPrintNativeData*>(data.GetNativeData());
    ASSERT_NE(native, nullptr);
    const char* uri = get(native->GetPrintConfig(), "output-uri");
    ASSERT_NE(uri, nullptr);
    EXPECT_EQ(std::string(uri), c.proposed);
    EXPECT_STREQ(get(native->GetPrintConfig(), "paper-format"), "iso_a4");
  }
}

TEST_F(CanvasTest, APreviewPageIsThePdfPage) {
  testing::TempDir dir;
  const std::string pdf = dir.File("score.pdf");
  view::CBriotabView& view = canvas->View();
  // The preview of the same run: its second page drawn into a bitmap.
  auto job = std::make_unique<view::ViewPrintJob>(view, true);
  wxPrintData data = view::PrintDataFor(*doc);
  auto* preview = new view::ScorePrintPreview(new view::ScorePrintout(*job, "Score"),
                                              new view::ScorePrintout(*job, "Score"), &data);
  ASSERT_TRUE(preview->IsOk());
  // The preview's pages are in the printer's pixels; it draws them scaled into its bitmaps,
  // here about 100 pixels to the inch.
  const wxSize full = preview->PageSizePixels();
  ASSERT_GT(full.x, 100);
  const int shrink = std::max(1, full.x / 830);
  const wxSize page(full.x / shrink, full.y / shrink);
  wxBitmap bitmap(page.x, page.y, 24);
  ASSERT_TRUE(preview->RenderPageIntoBitmap(bitmap, 2));
  const wxImage previewed = bitmap.ConvertToImage();
  const int32_t printerDpi = static_cast<int32_t>(full.x * 25.4 / 210.0 + 0.5);
  delete preview;
  job.reset();
  EXPECT_EQ(doc->settings.pageSettings.zoom, 100);

  {
    // The PDF of the same run, laid out at the printer's resolution as the preview is.
    view::ViewPrintJob job(view, false);
    ASSERT_EQ(job.PageCount(), 2);
    RecordingDevice like(printerDpi, true);
    const Rect paper = PaperRect(doc->settings.pageSettings, like);
    PdfDevice device(paper.Width(), paper.Height(), printerDpi, true);
    job.PrintPage(device, 0);
    device.NextPage();
    job.PrintPage(device, 1);
    ASSERT_TRUE(device.Finish(pdf));
  }

  // The PDF's second page at the preview's resolution (A4 is 210 mm wide).
  const int dpi = static_cast<int>(page.x * 25.4 / 210.0 + 0.5);
  const std::string raster = dir.File("page");
  ASSERT_EQ(std::system(("pdftoppm -r " + std::to_string(4 * dpi) + " -f 2 -l 2 -png -singlefile '" + pdf + "' '" +
                         raster + "'")
                            .c_str()),
            0);
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxImage printed;
  ASSERT_TRUE(printed.LoadFile(raster + ".png", wxBITMAP_TYPE_PNG));
  printed.Rescale(page.x, page.y, wxIMAGE_QUALITY_BOX_AVERAGE);
  const std::vector<int> a = Grey(previewed);
  const std::vector<int> b = Grey(printed);
  ASSERT_EQ(a.size(), b.size());
  // Ink agrees when the other image has ink within a pixel of it: the two rasterisers place
  // the edges of strokes a fraction of a pixel apart. (The PDF is rasterised at four times the
  // resolution and averaged down, as the preview draws: its reader widens the printer's
  // hairlines, the one-pixel outlines of beams and stems, to a whole pixel of its raster.)
  const int w = page.x;
  const int h = page.y;
  const auto agrees = [&](const std::vector<int>& other, int x, int y, int reach) {
    for (int dy = -reach; dy <= reach; ++dy) {
      for (int dx = -reach; dx <= reach; ++dx) {
        const int nx = std::clamp(x + dx, 0, w - 1);
        const int ny = std::clamp(y + dy, 0, h - 1);
        if (other[static_cast<size_t>(ny * w + nx)] < 200) return true;
      }
    }
    return false;
  };
  size_t ink = 0;
  size_t differing = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const size_t i = static_cast<size_t>(y * w + x);
      if (a[i] >= 128 && b[i] >= 128) continue;
      ++ink;
      if ((a[i] < 128 && !agrees(b, x, y, 1)) || (b[i] < 128 && !agrees(a, x, y, 1))) ++differing;
    }
  }
  // Ink on the page, and the two pages agree.
  EXPECT_GT(ink, 1000u);
  EXPECT_LT(differing, ink / 25) << differing << " of " << ink;

  // The fonts travel with the PDF.
  const std::string fonts = Output("pdffonts '" + pdf + "'");
  EXPECT_NE(fonts.find("Bravura"), std::string::npos) << fonts;
  EXPECT_EQ(fonts.find(" no  "), std::string::npos) << fonts;
}

}  // namespace
}  // namespace vornel
