// The image view of the facsimile pane in a window: a picture is shown and fitted, zoomed by
// keys and by a dragged band, copied and pasted through the desktop clipboard, closed, and
// printed on one page of a preview bitmap.

#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/utils.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "document/CBriotabDoc.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLPixel32.h"
#include "image/codec/external/PLTIFFEncoder.h"
#include "support/ScriptedPrompts.h"
#include "view/facsimile/FacsimileCommands.h"
#include "view/ui/facsimile/ImageView.h"
#include "view/ui/facsimile/WxFacsimileWindows.h"

namespace vornel::view {
namespace {

namespace fs = std::filesystem;

fs::path Scratch() {
  const fs::path dir = fs::temp_directory_path() / ("vornel-imageview-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir;
}

// A TIFF of the given size: red on the left half, blue on the right.
std::string WriteHalves(const std::string& name, int width, int height) {
  PLAnyBmp bmp;
  bmp.Create(width, height, 32, false);
  {
    PLBmpLock lock(bmp, false, true);
    for (int y = 0; y < height; ++y) {
      auto* line = reinterpret_cast<PLPixel32*>(bmp.GetLineArray()[y]);
      for (int x = 0; x < width; ++x) line[x] = x < width / 2 ? PLPixel32::FromRgba(255, 0, 0) : PLPixel32::FromRgba(0, 0, 255);
    }
  }
  const std::string path = (Scratch() / name).string();
  PLTIFFEncoder().MakeFileFromBmp(path, bmp);
  return path;
}

// Lets the X server's exposures and repaints arrive.
void Pump() {
  for (int i = 0; i < 20; ++i) {
    wxTheApp->Yield(true);
    wxMilliSleep(5);
  }
}

// With VORNEL_SCREENSHOTS naming a folder, the screen is saved there as NAME.png.
// The band is drawn over the window's last paint: it is taken before pending repaints.
void Screenshot(const char* name, bool repaint = true) {
  const char* folder = std::getenv("VORNEL_SCREENSHOTS");
  if (folder == nullptr || *folder == '\0') return;
  if (repaint) Pump();
  const std::string command = std::string("import -window root '") + folder + "/" + name + ".png'";
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "no screenshot %s\n", name);
}

void Send(wxWindow* window, wxEvent& event) {
  event.SetEventObject(window);
  window->GetEventHandler()->ProcessEvent(event);
}

void Type(wxWindow* window, wxChar c) {
  wxKeyEvent event(wxEVT_CHAR);
  event.m_keyCode = c;
  event.m_uniChar = c;
  Send(window, event);
}

void Mouse(wxWindow* window, wxEventType type, int x, int y) {
  wxMouseEvent event(type);
  event.m_x = x;
  event.m_y = y;
  event.m_leftDown = type == wxEVT_LEFT_DOWN || type == wxEVT_MOTION;
  Send(window, event);
}

struct Pane {
  wxFrame* frame = nullptr;
  ImageView* view = nullptr;
  std::vector<bool> shown;
  std::vector<std::string> added;

  explicit Pane(CBriotabDoc& doc, wxPoint at = wxPoint(0, 0)) {
    frame = new wxFrame(nullptr, wxID_ANY, "Facsimile", at, wxSize(700, 600));
    auto* panel = new wxPanel(frame);
    ImageView::Hooks hooks;
    hooks.showPane = [this](bool show) { shown.push_back(show); };
    hooks.addToScore = [this](const std::string& path) { added.push_back(path); };
    view = new ImageView(panel, doc, std::move(hooks));
    view->SetSize(0, 0, 500, 400);
    frame->Show();
    Pump();
  }
  ~Pane() {
    frame->Destroy();
    wxTheApp->ProcessIdle();
  }
};

TEST(ImageView, ShowsFitsZoomsAndCloses) {
  testing::ScriptedPrompts prompts;
  CBriotabDoc doc;
  Pane pane(doc);
  ImageView* view = pane.view;
  ASSERT_EQ(ImageView::Of(doc), view);
  ASSERT_EQ(view->GetClientSize(), wxSize(500, 400));

  // The document's command shows a picture through the installed windows: the pane opens and
  // the picture, 2000 wide, is fitted to the 500 pixels of the window.
  WxFacsimileWindows windows(Scratch().string());
  ScopedFacsimileWindows installed(windows);
  const std::string wide = WriteHalves("wide.tif", 2000, 300);
  ShowFacsimileFile(doc, wide);
  Pump();
  ASSERT_TRUE(view->Document().HasImage()) << (prompts.messages.empty() ? "" : prompts.messages[0]);
  EXPECT_EQ(pane.shown, std::vector<bool>{true});
  EXPECT_DOUBLE_EQ(view->Zoom().Zoom(), 0.25);
  Screenshot("1-fitted");

  // "+" three times multiplies the zoom by 1.953125; "-" steps back.
  for (int i = 0; i < 3; ++i) Type(view, '+');
  EXPECT_DOUBLE_EQ(view->Zoom().Zoom(), 0.25 * 1.953125);
  Screenshot("2-zoomed-by-keys");
  Type(view, '-');
  EXPECT_DOUBLE_EQ(view->Zoom().Zoom(), 0.25 * 1.5625);
  EXPECT_TRUE(view->Zoom().NeedsScrolling());

  // A right click outside the zoom mode goes back to zoom 1; fitting then shows the width.
  // In zoom mode a dragged band zooms into what it encloses: 100 pixels wide fill the window.
  Mouse(view, wxEVT_RIGHT_DOWN, 10, 10);
  EXPECT_DOUBLE_EQ(view->Zoom().Zoom(), 1.0);
  view->FitImage();
  const double fitted = view->Zoom().Zoom();
  view->RunCommand(kZoomModeCommand);
  ASSERT_TRUE(view->ZoomMode());
  Mouse(view, wxEVT_LEFT_DOWN, 200, 10);
  Mouse(view, wxEVT_MOTION, 250, 30);
  Mouse(view, wxEVT_MOTION, 300, 40);
  EXPECT_TRUE(view->Zoom().Dragging());
  Screenshot("3-band", false);
  Mouse(view, wxEVT_LEFT_UP, 300, 40);
  Pump();
  EXPECT_FALSE(view->Zoom().Dragging());
  // 100 pixels at zoom 0.25 are 400 of the picture; (500 + 1) / 400 is the new zoom.
  ASSERT_DOUBLE_EQ(fitted, 0.25);
  EXPECT_DOUBLE_EQ(view->Zoom().Zoom(), 501.0 / 400);
  Screenshot("4-zoomed-by-band");
  // Esc leaves the band mode (the zoom-mode flag stays).
  Type(view, WXK_ESCAPE);
  EXPECT_EQ(view->Zoom().GetMode(), ZoomViewState::Mode::kOff);

  // "Add image to list" hands the path to the score; closing empties the viewer and hides
  // the pane.
  view->RunCommand(kAddImageToListCommand);
  EXPECT_EQ(pane.added, std::vector<std::string>{wide});
  EXPECT_TRUE(windows.RunViewerCommand(doc, kCloseFacsimileCommand));  // as the document's table does
  EXPECT_FALSE(view->Document().HasImage());
  EXPECT_EQ(view->Zoom().LogicalSize(), (Size{10, 10}));
  EXPECT_DOUBLE_EQ(view->Zoom().Zoom(), 1.0);
  EXPECT_EQ(pane.shown, (std::vector<bool>{true, false}));

  // A narrow picture opens at zoom 1.
  ASSERT_TRUE(view->Load(WriteHalves("narrow.tif", 300, 200)));
  EXPECT_DOUBLE_EQ(view->Zoom().Zoom(), 1.0);

  // The context menu in its order; the caption editor is not the viewer's.
  std::unique_ptr<wxMenu> menu(view->CreateContextMenu());
  std::vector<std::string> labels;
  for (const wxMenuItem* item : menu->GetMenuItems()) labels.push_back(item->GetItemLabelText().ToStdString());
  EXPECT_EQ(labels, (std::vector<std::string>{"Add image to list", "Close facsimile document", "Zoom mode", "Gray scale",
                                              "Fit image", "", "Open new facsimile", "Save image",
                                              "Edit image caption", "Clear cache"}));
  EXPECT_FALSE(menu->IsEnabled(ImageView::MenuIdOf(kEditImageCaptionCommand)));
  fs::remove_all(Scratch());
}

TEST(ImageView, CopyAndPasteThroughTheDesktopClipboard) {
  testing::ScriptedPrompts prompts;
  CBriotabDoc first;
  CBriotabDoc second;
  Pane a(first);
  Pane b(second, wxPoint(0, 600));
  ASSERT_TRUE(a.view->Load(WriteHalves("copied.tif", 64, 32)));
  ASSERT_TRUE(b.view->Load(WriteHalves("pasted.tif", 300, 200)));
  ASSERT_TRUE(a.view->CopyImage());
  ASSERT_TRUE(b.view->PasteImage());
  EXPECT_EQ(b.view->Document().ImageSize(), (Size{64, 32}));
  EXPECT_EQ(b.view->Zoom().LogicalSize(), (Size{64, 32}));
  Screenshot("5-pasted");
  fs::remove_all(Scratch());
}

// The preview shows the printout's one page in a window of its own, which closes without
// touching the viewer's picture.
TEST(ImagePrintout, PreviewWindowShowsTheOnePage) {
  testing::ScriptedPrompts prompts;
  CBriotabDoc doc;
  Pane pane(doc);
  EXPECT_EQ(pane.view->PreviewImage(), nullptr);  // nothing to preview yet
  ASSERT_TRUE(pane.view->Load(WriteHalves("preview.tif", 100, 200)));
  wxPrintPreviewBase* preview = pane.view->PreviewImage();
  ASSERT_NE(preview, nullptr);
  wxFrame* frame = preview->GetFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->IsShown());
  Pump();
  EXPECT_TRUE(preview->IsOk());
  EXPECT_EQ(preview->GetMinPage(), 1);
  EXPECT_EQ(preview->GetMaxPage(), 1);
  Screenshot("6-preview");
  frame->Close(true);
  wxTheApp->ProcessIdle();
  EXPECT_TRUE(pane.view->Document().HasImage());
  EXPECT_TRUE(prompts.messages.empty());
  fs::remove_all(Scratch());
}

TEST(ImagePrintout, FillsThePageHeightInThePreviewBitmap) {
  testing::ScriptedPrompts prompts;
  ImageViewerDocument image;
  ASSERT_TRUE(image.Open(WriteHalves("tall.tif", 1000, 2000)));
  // A 4800 x 6600 page at 600 dpi previewed in a bitmap a tenth of its size: the picture
  // takes (0, 0, 3300, 6600) of the page, so 330 of the bitmap's 480 columns.
  wxBitmap bitmap(480, 660, 24);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  ImagePrintout printout(image);
  printout.SetDC(&dc);
  printout.SetPageSizePixels(4800, 6600);
  printout.SetPPIPrinter(600, 600);
  ASSERT_TRUE(printout.OnPrintPage(1));
  EXPECT_FALSE(printout.HasPage(2));
  dc.SelectObject(wxNullBitmap);
  const wxImage page = bitmap.ConvertToImage();
  EXPECT_EQ(page.GetRed(10, 600), 255);    // red half
  EXPECT_EQ(page.GetBlue(320, 600), 255);  // blue half, near the picture's right edge
  EXPECT_EQ(page.GetRed(320, 600), 0);
  EXPECT_EQ(page.GetGreen(340, 600), 255);  // paper
  fs::remove_all(Scratch());
}

}  // namespace
}  // namespace vornel::view
