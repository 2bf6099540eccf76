// testcard OUT.png|OUT.pdf [--zoom Z] [--dpi D]: the drawing layer's test card as an image
// or a PDF page.

#include <cstdio>
#include <string>

#include "ToolCommand.h"
#include "platform/draw/CairoDevice.h"
#include "platform/text/AsciiCase.h"
#include "view/draw/TestCard.h"

namespace vornel::tool {

namespace {

int TestCard(const CommandArguments& args) {
  std::string out;
  int32_t zoom = 100;
  int32_t dpi = 96;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--zoom") {
      if (!ReadNumberOption(args, i, 10, 800, zoom)) {
        std::fprintf(stderr, "--zoom takes a percentage from 10 to 800\n");
        return 2;
      }
    } else if (args[i] == "--dpi") {
      if (!ReadNumberOption(args, i, 24, 1200, dpi)) {
        std::fprintf(stderr, "--dpi takes a resolution from 24 to 1200\n");
        return 2;
      }
    } else if (out.empty()) {
      out = args[i];
    } else {
      out.clear();
      break;
    }
  }
  const bool png = EndsWithNoCase(out, ".png");
  const bool pdf = EndsWithNoCase(out, ".pdf");
  if (!png && !pdf) return PrintUsage("testcard");
  const Size size = TestCardSize(dpi, zoom);
  std::string error;
  bool written = false;
  if (png) {
    ImageDevice device(size.cx, size.cy, dpi);
    DrawTestCard(device, zoom);
    written = device.WritePng(out, &error);
  } else {
    PdfDevice device(size.cx, size.cy, dpi, false);
    DrawTestCard(device, zoom);
    written = device.Finish(out, &error);
  }
  if (!written) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return 0;
}

const ToolCommand registration("testcard", "testcard OUT.png|OUT.pdf [--zoom Z] [--dpi D]",
                               "draw the drawing layer's test card", TestCard);

}  // namespace

}  // namespace vornel::tool
