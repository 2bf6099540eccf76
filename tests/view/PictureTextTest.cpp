// Picture texts: a file of the corpus drawn at its scale and zoom, a picture whose file is
// missing keeps its path and shows a placeholder, printing reports what it cannot print.

#include <gtest/gtest.h>

#include <string>

#include "TabFixtures.h"
#include "document/CPageDlg.h"
#include "model/text/DIBornament.h"
#include "platform/draw/RecordingDevice.h"
#include "support/ScriptedPrompts.h"
#include "view/draw/DrawContext.h"
#include "view/render/PictureText.h"
#include "view/render/pages/DocumentPages.h"

namespace vornel {
namespace {

const std::string kPng = std::string(VORNEL_CORPUS_DIR) + "/images/pngsuite/basn2c08.png";  // 32 x 32

// The destination of the first 32 x 32 bitmap drawn, "left top right bottom".
std::string BitmapDestination(const std::string& log) {
  const size_t size = log.find(" 32x32 ");
  if (size == std::string::npos) return {};
  const size_t start = log.rfind("StretchBlt ", size);
  if (start == std::string::npos) return {};
  return log.substr(start + 11, size - start - 11);
}

TEST(PictureText, ACorpusPictureAtHalfAndDoubleSize) {
  struct Case {
    uint32_t size;
    int32_t zoom;
    std::string destination;
  };
  for (const Case& c : {Case{50, 100, "10 20 26 36"}, {200, 100, "10 20 74 84"}, {200, 200, "10 20 138 148"}}) {
    DIBornament picture;
    picture.dx = picture.dy = 0;
    picture.text.clear();
    PictureCache pictures;
    ASSERT_TRUE(LoadImageFile(pictures, picture, kPng));
    picture.sizePercent = c.size;
    RecordingDevice dc(96, false);
    const Rect r = DrawPicture(dc, picture, c.zoom, {10, 20});
    EXPECT_EQ(BitmapDestination(dc.Log()), c.destination) << c.size << " " << c.zoom;
    EXPECT_EQ(r, picture.drawnRect);
  }
}

TEST(PictureText, AnOffsetInHundredthsOfAMillimetreMovesThePicture) {
  DIBornament picture;
  picture.text.clear();
  picture.path = kPng;
  picture.dx = 254;  // 2.54 mm: 10 pixels at 96 dpi
  picture.dy = -500;  // above the anchor: held at it
  RecordingDevice dc(96, false);
  DrawPicture(dc, picture, 100, {0, 0});
  EXPECT_EQ(BitmapDestination(dc.Log()), "10 0 42 32");
}

// A picture whose file is missing is not forgotten: the path stays for the next save and a
// framed placeholder names the file.
TEST(PictureText, AMissingPictureKeepsItsPathThroughASave) {
  const auto doc = testing::FrenchLuteDocument("images\\missing-lutenist.png");
  CSystemArray& section = *doc->sections.at(0);
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed(renderer);
  // The page as the score view shows it.
  RecordingDevice dc(96, false);
  DrawPage(*doc, dc, 0);
  EXPECT_NE(dc.Log().find("\"missing-lutenist.png\""), std::string::npos);
  EXPECT_EQ(section.System(0)->Caption().captionPicture.path, "images\\missing-lutenist.png");
  const std::string xml = doc->XmlText();
  EXPECT_NE(xml.find("name=\"missing-lutenist.png\" path=\"images\\\""), std::string::npos);
}

TEST(PictureText, PrintingAMissingPictureSaysSoACaptionAlonePrints) {
  testing::ScriptedPrompts prompts;
  RecordingDevice dc(600, true);
  DIBornament missing;
  missing.path = "/no/such/picture.png";
  EXPECT_FALSE(PrintImage(dc, missing, {0, 0, 600, 400}));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], kPrintImageError);

  DIBornament captionOnly;
  EXPECT_TRUE(PrintImage(dc, captionOnly, {0, 0, 600, 400}));
  EXPECT_NE(dc.Log().find("\"Caption\""), std::string::npos);

  DIBornament printed;
  printed.path = kPng;
  EXPECT_TRUE(PrintImage(dc, printed, {0, 0, 600, 400}));
  EXPECT_EQ(BitmapDestination(dc.Log()), "0 0 600 400");
  EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST(PictureText, ChoosingAFileLoadsIt) {
  testing::ScriptedPrompts prompts;
  PictureCache pictures;
  DIBornament picture;
  prompts.QueueFile(std::nullopt);
  EXPECT_FALSE(BrowseImage(pictures, picture));
  EXPECT_TRUE(picture.path.empty());
  prompts.QueueFile(kPng);
  EXPECT_TRUE(BrowseImage(pictures, picture));
  EXPECT_EQ(picture.path, kPng);
  // A file that is no image is kept as chosen but draws as a placeholder.
  EXPECT_FALSE(LoadImageFile(pictures, picture, std::string(VORNEL_SOURCE_DIR) + "/README.md"));
  EXPECT_EQ(picture.path, std::string(VORNEL_SOURCE_DIR) + "/README.md");
}

}  // namespace
}  // namespace vornel
