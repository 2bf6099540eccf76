// The facsimile pane's picture without a window: opening, drawing the visible part through the
// zoom, printing on one page, copy and paste, saving and clearing the cache.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "image/bitmap/PLClipboard.h"
#include "image/bitmap/PLWinBmpEx.h"
#include "image/codec/io/PLDataSource.h"
#include "platform/draw/RecordingDevice.h"
#include "support/Bytes.h"
#include "support/ScriptedClipboard.h"
#include "support/ScriptedPrompts.h"
#include "view/facsimile/ImageViewerDocument.h"
#include "view/facsimile/ZoomViewState.h"

namespace vornel::view {
namespace {

namespace fs = std::filesystem;

const std::string kImages = std::string(VORNEL_CORPUS_DIR) + "/images/various/";

fs::path Scratch() {
  const fs::path dir = fs::temp_directory_path() / ("vornel-viewer-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir;
}

std::string Head(const fs::path& path, size_t n) { return testing::ReadText(path.string()).substr(0, n); }

TEST(ImageViewerDocument, OpensDrawsAndPrints) {
  testing::ScriptedPrompts prompts;
  ImageViewerDocument doc;
  const fs::path bad = Scratch() / "bad.png";
  testing::WriteText(bad.string(), "not an image");
  EXPECT_FALSE(doc.Open(bad.string()));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_FALSE(doc.HasImage());
  EXPECT_EQ(doc.ImageSize(), (Size{10, 10}));
  const std::string cwd = fs::current_path().string();

  ASSERT_TRUE(doc.Open(kImages + "flower.jpg"));  // 480 x 360
  EXPECT_EQ(fs::current_path().string(), cwd);
  EXPECT_EQ(doc.ImageSize(), (Size{480, 360}));
  EXPECT_EQ(doc.Path(), kImages + "flower.jpg");

  // At zoom 2 in a 200 x 100 window scrolled to (100, 50), the window shows picture pixels
  // (50, 25) to (150, 75); one more on each side is drawn.
  ZoomViewState zoom;
  zoom.SetClientSize({200, 100});
  zoom.SetZoomExtent(doc.ImageSize(), {}, {});
  ASSERT_TRUE(zoom.ZoomInBy(2.0, Point{100, 50}));
  zoom.ScrollTo({100, 50});
  RecordingDevice screen(96, false);
  screen.SetExtent({200, 100});
  doc.Draw(screen, zoom, {0, 0, 200, 100});
  EXPECT_NE(screen.Log().find("StretchBlt -2 -2 202 102 480x360 49 24 151 76"), std::string::npos) << screen.Log();

  // On paper the picture fills the printable width.
  RecordingDevice paper(600, true);
  paper.SetExtent({4800, 6600});
  doc.Print(paper, 4800, 6600, 600, 600);
  EXPECT_NE(paper.Log().find("StretchBlt 0 0 4800 3600 480x360"), std::string::npos) << paper.Log();
  fs::remove(bad);
}

// Opening hears of the decoding's progress; a cancel leaves the viewer empty and says nothing.
TEST(ImageViewerDocument, ACancelledOpeningLeavesTheViewerEmptyAndQuiet) {
  testing::ScriptedPrompts prompts;
  ImageViewerDocument doc;
  int reports = 0;
  PLProgressCallback going([&](double) { return ++reports > 0; });
  ASSERT_TRUE(doc.Open(kImages + "flower.jpg", ImageViewerDocument::kDefaultOverview, &going));
  EXPECT_GT(reports, 0);
  PLProgressCallback cancelling([](double) { return false; });
  EXPECT_FALSE(doc.Open(kImages + "flower.jpg", ImageViewerDocument::kDefaultOverview, &cancelling));
  EXPECT_FALSE(doc.HasImage());
  EXPECT_TRUE(prompts.messages.empty());
}

TEST(ImageViewerDocument, CopyAndPasteGoThroughTheClipboard) {
  testing::ScriptedPrompts prompts;
  testing::ScriptedClipboard clipboard;
  ImageViewerDocument doc;
  EXPECT_FALSE(doc.CopyTo(clipboard));
  ASSERT_TRUE(doc.Open(kImages + "hopper.jpg"));  // 128 x 128
  ASSERT_TRUE(doc.CopyTo(clipboard));
  EXPECT_TRUE(clipboard.IsFormatAvailable(PLClipboard::kFormatDib));

  ImageViewerDocument other;
  EXPECT_FALSE(other.PasteFrom(clipboard));  // nothing to replace
  ASSERT_TRUE(other.Open(kImages + "flower.jpg"));
  ASSERT_TRUE(other.PasteFrom(clipboard));
  EXPECT_EQ(other.ImageSize(), (Size{128, 128}));
  clipboard.data.clear();
  EXPECT_FALSE(other.PasteFrom(clipboard));
  EXPECT_EQ(other.ImageSize(), (Size{128, 128}));
}

TEST(ImageViewerDocument, SavesTrueColourImagesAsJpegOrTiff) {
  testing::ScriptedPrompts prompts;
  const fs::path dir = Scratch();
  ImageViewerDocument doc;
  ASSERT_TRUE(doc.Open(kImages + "hopper.jpg"));
  ASSERT_EQ(doc.Image()->GetBitsPerPixel(), 32);

  prompts.QueueFile((dir / "scan.TIF").string());
  doc.Save();
  EXPECT_EQ(Head(dir / "scan.TIF", 2), "II");
  // Another type gets the JPEG extension rather than writing nothing.
  prompts.QueueFile((dir / "scan.png").string());
  doc.Save();
  EXPECT_FALSE(fs::exists(dir / "scan.png"));
  EXPECT_EQ(Head(dir / "scan.png.jpg", 3), "\xFF\xD8\xFF");
  prompts.QueueFile(std::nullopt);
  doc.Save();
  EXPECT_TRUE(prompts.messages.empty());

  // An image of fewer bits per pixel is refused.
  ASSERT_TRUE(doc.Open(kImages + "background_outside_palette.gif"));
  ASSERT_NE(doc.Image()->GetBitsPerPixel(), 32);
  doc.Save();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], kCannotSaveNonTrueColour);
  EXPECT_EQ(prompts.captions[0], kCannotSaveCaption);
  fs::remove_all(dir);
}

TEST(ImageViewerDocument, ClearsOnlyImagesOfTheCacheFolder) {
  testing::ScriptedPrompts prompts;
  const fs::path dir = Scratch();
  const fs::path cache = dir / "images";
  fs::create_directories(cache);
  fs::copy_file(kImages + "hopper.jpg", cache / "0123-hopper.jpg", fs::copy_options::overwrite_existing);

  ImageViewerDocument doc;
  ASSERT_TRUE(doc.Open(kImages + "hopper.jpg"));
  doc.ClearCachedImage(cache.string());
  ASSERT_TRUE(doc.Open((cache / "0123-hopper.jpg").string()));
  doc.ClearCachedImage(cache.string());
  EXPECT_FALSE(fs::exists(cache / "0123-hopper.jpg"));
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[0], kNotACachedFile);
  EXPECT_EQ(prompts.messages[1], "Cached image at " + (cache / "0123-hopper.jpg").string() + " successfully deleted");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vornel::view
