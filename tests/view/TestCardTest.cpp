// The test card drawn into an image and into a PDF page looks the same once the PDF is
// rasterised by another program (pdftoppm), and the PDF embeds its fonts.

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/draw/CairoDevice.h"
#include "support/Bytes.h"
#include "view/draw/TestCard.h"

namespace vornel {
namespace {

bool HaveProgram(const char* name) {
  const std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  pclose(pipe);
  return out;
}

DeviceBitmap ReadPng(const std::string& path) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  DeviceBitmap bitmap;
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    bitmap = DeviceBitmap(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const uint32_t p = reinterpret_cast<const uint32_t*>(data + y * stride)[x];
        bitmap.SetPixel(x, y, ColourFromPixel(p));
      }
    }
  }
  cairo_surface_destroy(surface);
  return bitmap;
}

int Difference(COLORREF a, COLORREF b) {
  const int dr = std::abs(GetRValue(a) - GetRValue(b));
  const int dg = std::abs(GetGValue(a) - GetGValue(b));
  const int db = std::abs(GetBValue(a) - GetBValue(b));
  return std::max(dr, std::max(dg, db));
}

TEST(TestCard, ImageAndRasterisedPdfAgree) {
  if (!HaveProgram("pdftoppm") || !HaveProgram("pdffonts")) GTEST_SKIP() << "poppler-utils are not installed";
  testing::TempDir dir;
  constexpr int32_t kDpi = 96;
  constexpr int32_t kZoom = 100;
  const Size size = TestCardSize(kDpi, kZoom);

  ImageDevice image(size.cx, size.cy, kDpi, 0xFFFFFF, false);
  DrawTestCard(image, kZoom);
  const DeviceBitmap drawn = image.ToBitmap();

  PdfDevice pdf(size.cx, size.cy, kDpi, false);
  DrawTestCard(pdf, kZoom);
  const std::string pdfPath = dir.File("card.pdf");
  ASSERT_TRUE(pdf.Finish(pdfPath));
  const std::string stem = dir.File("rasterised");
  ASSERT_EQ(std::system(("pdftoppm -r 96 -png -singlefile '" + pdfPath + "' '" + stem + "'").c_str()), 0);
  const DeviceBitmap rasterised = ReadPng(stem + ".png");
  ASSERT_EQ(rasterised.Width(), drawn.Width());
  ASSERT_EQ(rasterised.Height(), drawn.Height());

  // Antialiasing differs between the two rasterisers along every edge; what may not differ
  // is where things are. A pixel counts as different when no pixel next to it in the other
  // picture comes close to it.
  int64_t different = 0;
  int64_t inked = 0;
  for (int32_t y = 0; y < drawn.Height(); ++y) {
    for (int32_t x = 0; x < drawn.Width(); ++x) {
      const COLORREF a = drawn.GetPixel(x, y);
      if (a != 0xFFFFFF) ++inked;
      int best = 255;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) best = std::min(best, Difference(a, rasterised.GetPixel(x + dx, y + dy)));
      }
      if (best > 96) ++different;
    }
  }
  ASSERT_GT(inked, 20000);
  EXPECT_LT(different, inked / 200) << different << " of " << inked << " inked pixels differ";
  RecordProperty("different_pixels", static_cast<int>(different));

  // Every font of the page is embedded, the music font among them.
  const std::string fonts = Output("pdffonts '" + pdfPath + "'");
  EXPECT_NE(fonts.find("Bravura"), std::string::npos) << fonts;
  size_t rows = 0;
  size_t start = fonts.find('\n', fonts.find("----"));
  for (size_t end; start != std::string::npos && (end = fonts.find('\n', start + 1)) != std::string::npos;
       start = end) {
    const std::string row = fonts.substr(start + 1, end - start - 1);
    if (row.empty()) continue;
    ++rows;
    EXPECT_NE(row.find(" yes "), std::string::npos) << "not embedded: " << row;
  }
  EXPECT_GE(rows, 3u);
}

TEST(TestCard, SizeFollowsResolutionAndZoom) {
  EXPECT_EQ(TestCardSize(96, 100), (Size{800, 1130}));
  EXPECT_EQ(TestCardSize(192, 100), (Size{1600, 2260}));
  EXPECT_EQ(TestCardSize(96, 150), (Size{1200, 1695}));
  EXPECT_EQ(TestCardSize(96, 0), (Size{800, 1130}));
}

}  // namespace
}  // namespace vornel
