// Facsimile pages: the image chosen from the list, fitted and centred with its caption below;
// a picture that cannot be decoded is reported, one that cannot be found is left out.

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <vector>

#include <filesystem>
#include <string>

#include "document/CPageDlg.h"
#include "model/text/CFacsimileListDlg.h"
#include "platform/draw/RecordingDevice.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "view/render/pages/FacsimileDrawing.h"
#include "view/render/pages/TrackTextDrawing.h"

namespace vornel {
namespace {

const std::string kImages = std::string(VORNEL_CORPUS_DIR) + "/images/various/";

bool Exists(std::string& path) { return std::filesystem::exists(path); }

TEST(FacsimileDrawing, FitsTheImageAndItsCaption) {
  testing::ScriptedPrompts prompts;
  const std::string bad = (std::filesystem::temp_directory_path() / "facsimile-test-bad.png").string();
  testing::WriteText(bad, "not an image at all");

  CFacsimileListDlg list;
  list.AddImage("notes.txt");
  list.AddImage(kImages + "hopper.jpg");  // 128 x 128
  list.AddImage(kImages + "flower.jpg");  // 480 x 360
  list.AddImage(bad);
  list.AddImage(kImages + "missing.png");
  list.captions[1] = "{\\rtf1\\ansi\\deff0\\pard\\qc Plate 1\\par}";
  CPageDlg page;
  RecordingDevice dc(150, true);
  dc.SetExtent({1240, 1754});
  // Drawn without a context that carries the screen the view measured on: 96 dpi stands for it.

  // The first image file from the index: the small one at its size in print (128 pixels of
  // the screen are 200 at 150 dpi), centred, its caption in a box of its size below.
  DrawFacsimile(list, 0, dc, page, Exists);
  EXPECT_NE(dc.Log().find("StretchBlt 520 777 720 977 128x128 0 0 128 128"), std::string::npos) << dc.Log();
  EXPECT_NE(dc.Log().find("Plate 1"), std::string::npos);

  // One too large for the page fills its width less four times the page's left edge, in
  // proportion.
  dc.ClearLog();
  page.printableRect.left = 20;
  dc.SetExtent({600, 800});
  DrawFacsimile(list, 2, dc, page, Exists);
  EXPECT_NE(dc.Log().find("StretchBlt 40 205 560 595 480x360"), std::string::npos) << dc.Log();

  // An image that cannot be decoded is reported with its path; one that cannot be found, or
  // a list without images from there on, draws nothing.
  dc.ClearLog();
  DrawFacsimile(list, 3, dc, page, Exists);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], "Error printing image: " + bad);
  DrawFacsimile(list, 4, dc, page, Exists);
  DrawFacsimile(list, 5, dc, page, Exists);
  EXPECT_EQ(dc.Log().find("StretchBlt"), std::string::npos);
  EXPECT_EQ(prompts.messages.size(), 1u);
  std::filesystem::remove(bad);
}

// A grey JPEG of `side` x `side` pixels: black left half, white right half.
void WriteHalfAndHalfJpeg(const std::string& path, int side) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr error{};
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_compress(&cinfo);
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = static_cast<JDIMENSION>(side);
  cinfo.image_height = static_cast<JDIMENSION>(side);
  cinfo.input_components = 1;
  cinfo.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 50, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(size_t(side), 0);
  std::fill(row.begin() + side / 2, row.end(), JSAMPLE(255));
  JSAMPROW line = row.data();
  while (cinfo.next_scanline < cinfo.image_height) jpeg_write_scanlines(&cinfo, &line, 1);
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::fclose(file);
}

TEST(FacsimileDrawing, ALargeScanIsReadReducedToThePrintedSize) {
  // 8192 x 8192 is where pictures start to be read in parts.
  const std::string path = (std::filesystem::temp_directory_path() / "facsimile-test-large.jpg").string();
  WriteHalfAndHalfJpeg(path, 8192);
  CFacsimileListDlg list;
  list.AddImage(path);
  CPageDlg page;
  page.printableRect.left = 20;
  RecordingDevice dc(150, true);
  dc.SetExtent({1240, 1754});
  DrawFacsimile(list, 0, dc, page, Exists);
  std::filesystem::remove(path);

  // Fitted to 1160 pixels: a quarter of the scan (2048) is the smallest reduction that keeps
  // a picture pixel per device pixel.
  const std::string& log = dc.Log();
  EXPECT_NE(log.find("StretchBlt 40 297 1200 1457 2048x2048 0 0 2048 2048"), std::string::npos) << log;
}

}  // namespace
}  // namespace vornel
