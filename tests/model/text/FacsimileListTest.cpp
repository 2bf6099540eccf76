#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/text/CFacsimileListDlg.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "support/XmlText.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::PrintXml;
using testing::ToHex;

CFacsimileListDlg ListOf(const std::vector<std::string>& paths) {
  CFacsimileListDlg list;
  for (const std::string& path : paths) list.AddImage(path);
  return list;
}

TEST(FacsimileList, ImageFilesAreToldByTheirExtension) {
  const CFacsimileListDlg list = ListOf({"a.txt", "b.JPG", "c.png", "d.jpeg", "e.tiff", "f.Tif", "gif", "h.bmp"});
  EXPECT_EQ(list.CountImageFiles(), 4u);
  EXPECT_EQ(list.FindImageFile(0), 1u);
  EXPECT_EQ(list.FindImageFile(3), 5u);
  EXPECT_EQ(list.FindImageFile(6), 7u);
  EXPECT_EQ(list.FindImageFile(8), 8u);
  EXPECT_EQ(list.FindImageFile(100), 8u);

  const CFacsimileListDlg none = ListOf({"notes.txt", "scan.jpeg"});
  EXPECT_EQ(none.CountImageFiles(), 0u);
  EXPECT_EQ(none.FindImageFile(0), 2u);
}

TEST(FacsimileList, NamesIndexesAndRemoval) {
  CFacsimileListDlg list = ListOf({"C:\\Scans\\f1r.jpg", "http://host/dir/p1.jpg", "plain.png", "a/b\\c.gif"});
  EXPECT_EQ(list.GetImageName(0), "f1r.jpg");
  EXPECT_EQ(list.GetImageName(1), "p1.jpg");
  EXPECT_EQ(list.GetImageName(2), "plain.png");
  EXPECT_EQ(list.GetImageName(3), "c.gif");
  EXPECT_THROW(list.GetImagePath(4), std::out_of_range);
  list.captions[1] = "{\\rtf1 two}";
  list.RemoveImage(0);
  EXPECT_EQ(list.GetImagePath(0), "http://host/dir/p1.jpg");
  EXPECT_EQ(list.captions, (std::vector<std::string>{"{\\rtf1 two}", "", ""}));
  EXPECT_THROW(list.RemoveImage(3), std::out_of_range);
}

TEST(FacsimileXml, LocalAndWebEntriesRoundTrip) {
  CFacsimileListDlg list = ListOf({"C:\\Scans\\f12r.jpg", "http://host/dir/p1.jpg", "/home/u/scan.png", "rel.jpg"});
  list.captions[1] = "{\\rtf1 Folio 1} é";
  tinyxml2::XMLDocument doc;
  const tinyxml2::XMLElement* element = list.WriteXml(doc);
  EXPECT_EQ(PrintXml(element),
            "<facsimiles nb-images=\"4\">"
            "<image path=\"C:\\Scans\\\" name=\"f12r.jpg\" location=\"disk\"/>"
            "<image path=\"http://host/dir/\" name=\"p1.jpg\" location=\"web\">{\\rtf1 Folio 1} é</image>"
            "<image path=\"/home/u/\" name=\"scan.png\" location=\"disk\"/>"
            "<image path=\"\" name=\"rel.jpg\" location=\"disk\"/></facsimiles>");

  tinyxml2::XMLDocument parsed;
  parsed.Parse((PrintXml(element) + "<next/>").c_str());
  CFacsimileListDlg read = ListOf({"kept.png"});
  EXPECT_STREQ(read.ReadXml(parsed.FirstChildElement())->Name(), "next");
  // Appended after what was there; web, local and relative paths come back as written.
  EXPECT_EQ(read.imagePaths, (std::vector<std::string>{"kept.png", "C:\\Scans\\f12r.jpg", "http://host/dir/p1.jpg",
                                                       "/home/u/scan.png", "rel.jpg"}));
  EXPECT_EQ(read.captions, (std::vector<std::string>{"", "", "{\\rtf1 Folio 1} é", "", ""}));
}

TEST(FacsimileXml, ReadingNormalisesFoldersAndFollowsTheCount) {
  tinyxml2::XMLDocument doc;
  const std::string oldPrefix(kOldImageFolderPrefix);
  doc.Parse(("<facsimiles nb-images=\"5\">"
             "<image path=\"C:\\Scans\\\\\" name=\"a.jpg\"/>"
             "<other path=\"http:\\/\\/host\\/\" name=\"b.jpg\">cap</other>"
             "<image path=\"" + oldPrefix + "\" name=\"c.jpg\"/>"
             "</facsimiles>").c_str());
  CFacsimileListDlg list;
  list.ReadXml(doc.FirstChildElement());
  EXPECT_EQ(list.imagePaths, (std::vector<std::string>{"C:\\Scans\\a.jpg", "http://host/b.jpg",
                                                       std::string(kImageFolderPrefix) + "c.jpg"}));
  EXPECT_EQ(list.captions[1], "cap");

  doc.Parse("<facsimiles nb-images=\"1\"><image name=\"1.jpg\"/><image name=\"2.jpg\"/></facsimiles>");
  CFacsimileListDlg one;
  one.ReadXml(doc.FirstChildElement());
  EXPECT_EQ(one.imagePaths, (std::vector<std::string>{"1.jpg"}));

  testing::ScriptedPrompts prompts;
  doc.Parse("<images/>");
  EXPECT_THROW(one.ReadXml(doc.FirstChildElement()), XmlTagMismatch);
  EXPECT_EQ(prompts.messages.at(0), "Mismatch error on tag: <images> should be <facsimiles>");
}

// Two paths "a.jpg" and "http://h/b.png", then the captions "" and "c".
constexpr const char* kPaths =
    "02 00 FF FE FF 05 61 00 2E 00 6A 00 70 00 67 00"
    " FF FE FF 0E 68 00 74 00 74 00 70 00 3A 00 2F 00 2F 00 68 00 2F 00 62 00 2E 00 70 00 6E 00 67 00";
constexpr const char* kCaptions = " 02 00 FF FE FF 00 FF FE FF 01 63 00";

TEST(FacsimileRecord, PathsThenCaptionsAsStringArrays) {
  CFacsimileListDlg list = ListOf({"a.jpg", "http://h/b.png"});
  list.captions[1] = "c";
  ArchiveWriter w;
  list.Store(w);
  EXPECT_EQ(ToHex(w.Bytes()), ToHex(HexBytes(std::string(kPaths) + kCaptions)));
}

TEST(FacsimileRecord, CaptionsFromNineSixSevenFive) {
  struct Case {
    const char* version;
    bool hasCaptions;
  };
  // "9.16" sorts below "9.6.7.5".
  for (const Case c : {Case{"9.6.7.0", false}, Case{"9.16", false}, Case{"9.6.7.5", true}, Case{"9.8.1.0", true}}) {
    const auto bytes = HexBytes(std::string(kPaths) + (c.hasCaptions ? kCaptions : ""));
    ArchiveReader r(bytes, c.version);
    CFacsimileListDlg list = ListOf({"replaced.png"});
    list.Load(r);
    EXPECT_TRUE(r.AtEnd()) << c.version;
    EXPECT_EQ(list.imagePaths, (std::vector<std::string>{"a.jpg", "http://h/b.png"}));
    EXPECT_EQ(list.captions, (std::vector<std::string>{"", c.hasCaptions ? "c" : ""})) << c.version;
  }
}

TEST(FacsimileRecord, CaptionsAlwaysMatchThePaths) {
  // Three captions for two paths are cut; captions without any path are dropped.
  const auto extra = HexBytes(std::string(kPaths) + " 03 00 FF FE FF 01 31 00 FF FE FF 01 32 00 FF FE FF 01 33 00");
  ArchiveReader r(extra);
  CFacsimileListDlg list;
  list.Load(r);
  EXPECT_EQ(list.captions, (std::vector<std::string>{"1", "2"}));
  const auto orphans = HexBytes("00 00 01 00 FF FE FF 01 31 00");
  ArchiveReader r2(orphans);
  list.Load(r2);
  EXPECT_TRUE(list.imagePaths.empty());
  EXPECT_TRUE(list.captions.empty());

  // The old collections address is rewritten on loading.
  CFacsimileListDlg old = ListOf({std::string(kOldCollectionsPrefix) + "x/p.jpg"});
  ArchiveWriter w;
  old.Store(w);
  ArchiveReader r3(w.Bytes());
  list.Load(r3);
  EXPECT_EQ(list.imagePaths.at(0), std::string(kWebRoot) + "x/p.jpg");

  // A count beyond the data is refused before anything is allocated.
  const auto huge = HexBytes("FF FF 00 00 00 10");
  ArchiveReader r4(huge);
  EXPECT_THROW(list.Load(r4), ArchiveError);
}

struct LayoutCase {
  const char* name;
  int32_t width, height;
  FacsimileDevice device;
  Rect image;
  friend std::ostream& operator<<(std::ostream& os, const LayoutCase& c) { return os << c.name; }
};

class FacsimileGeometry : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(FacsimileGeometry, FitsTheImageCentredWithTheCaptionBelow) {
  const LayoutCase& c = GetParam();
  const auto layout = LayoutFacsimile(c.width, c.height, c.device);
  ASSERT_TRUE(layout.has_value());
  EXPECT_EQ(layout->image, c.image);
  const Rect& image = layout->image;
  EXPECT_EQ(layout->caption, (Rect{image.left, image.bottom, image.right, image.bottom + image.Height()}));
  // The picture keeps its proportions in inches, to within a pixel of rounding.
  const double sourceAspect = static_cast<double>(c.width) / c.device.screenDpiX / (static_cast<double>(c.height) / c.device.screenDpiY);
  const double drawnAspect = static_cast<double>(image.Width()) / c.device.logPixelsX /
                             (static_cast<double>(image.Height()) / c.device.logPixelsY);
  EXPECT_NEAR(drawnAspect / sourceAspect, 1.0, 2.0 / std::min(image.Width(), image.Height()));
}

// A 600 dpi printer page of 4800 × 6600 pixels; images were seen on a 96 dpi screen.
constexpr FacsimileDevice kPrinter{4800, 6600, 600, 600, 96, 96, 0};
constexpr FacsimileDevice kPrinterWithMargin{4800, 6600, 600, 600, 96, 96, 50};

INSTANTIATE_TEST_SUITE_P(
    Pages, FacsimileGeometry,
    ::testing::Values(
        // 480 × 640 screen pixels are 3000 × 4000 printer pixels: natural size, centred.
        LayoutCase{"small", 480, 640, kPrinter, {900, 1300, 3900, 5300}},
        // A wide image fills the width.
        LayoutCase{"wide", 2000, 500, kPrinter, {0, 2700, 4800, 3900}},
        // A tall image fills the height.
        LayoutCase{"tall", 1000, 4000, kPrinter, {1575, 0, 3225, 6600}},
        // The page margin comes off the bound side, the other side follows.
        LayoutCase{"wideMargin", 2000, 500, kPrinterWithMargin, {100, 2725, 4700, 3875}},
        LayoutCase{"tallMargin", 1000, 4000, kPrinterWithMargin, {1600, 100, 3200, 6500}},
        // Different horizontal and vertical resolutions keep the proportions in inches.
        LayoutCase{"anisotropic", 3000, 1000, {4800, 3300, 600, 300, 96, 96, 0}, {0, 1250, 4800, 2050}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FacsimileGeometry, NothingToDrawForDegenerateInput) {
  EXPECT_FALSE(LayoutFacsimile(0, 100, kPrinter));
  EXPECT_FALSE(LayoutFacsimile(100, -1, kPrinter));
  EXPECT_FALSE(LayoutFacsimile(100, 100, FacsimileDevice{4800, 6600, 0, 600, 96, 96, 0}));
  EXPECT_FALSE(LayoutFacsimile(100, 100, FacsimileDevice{4800, 6600, 600, 600, 96, 0, 0}));
  EXPECT_FALSE(LayoutFacsimile(2000, 500, FacsimileDevice{4800, 6600, 600, 600, 96, 96, 2000}));
  // A huge image from a hostile file is fitted without overflow.
  const auto huge = LayoutFacsimile(2147483647, 1000000, kPrinter);
  ASSERT_TRUE(huge.has_value());
  EXPECT_EQ(huge->image.Width(), 4800);
}

}  // namespace
}  // namespace vornel
