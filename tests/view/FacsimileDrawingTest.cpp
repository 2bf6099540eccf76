// Facsimile pages: the image chosen from the list, fitted and centred with its caption below;
// a picture that cannot be decoded is reported, one that cannot be found is left out.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "document/CPageDlg.h"
#include "model/CFacsimileListDlg.h"
#include "platform/draw/RecordingDevice.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "view/render/pages/FacsimileDrawing.h"

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

}  // namespace
}  // namespace vornel
