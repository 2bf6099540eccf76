// rtf IN.rtf OUT.rtf|OUT.html|OUT.log|OUT.png|OUT.pdf [--width MM] [--zoom Z] [--landscape]:
// reads a rich text and writes it back as RTF, converts it to an HTML fragment, or lays it out
// on A4 pages as printing does: a recording log of every page, one PNG of the pages one under
// the other, or a PDF printed page by page as a preface block (the page count printed is the
// block's CountPages). --width sets the width of the text column in
// millimetres, --zoom scales the log and the PNG.

#include <algorithm>
#include <cstdio>
#include <string>

#include "ToolCommand.h"
#include "layout/richtext/RtfPages.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/io/FileIO.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfToHtml.h"
#include "platform/rtf/RtfWriter.h"
#include "platform/text/AsciiCase.h"

namespace vornel::tool {

namespace {

constexpr size_t kMaxInput = size_t(1) << 30;
constexpr int32_t kScreenDpi = 96;
constexpr int32_t kPdfDpi = 720;
constexpr int32_t kPageGap = 16;  // pixels between pages of the PNG

bool Write(const std::string& path, std::string_view bytes) {
  std::string error;
  if (WriteFileAtomically(path, bytes, &error)) return true;
  std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), error.c_str());
  return false;
}

// The paper with the text column narrowed or widened to `widthMm`, kept at the same left edge.
RtfPage Paper(bool landscape, int32_t widthMm) {
  RtfPage page = RtfPage::A4(landscape);
  if (widthMm > 0) {
    const Rect printed = RtfPrintedRect(page);
    const int32_t column = widthMm * 1440 * 10 / 254;
    page.widthTwips += column - printed.Width();
  }
  return page;
}

int Rtf(const CommandArguments& args) {
  std::string in;
  std::string out;
  int32_t widthMm = 0;
  int32_t zoom = 100;
  bool landscape = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--width") {
      if (!ReadNumberOption(args, i, 10, 2000, widthMm)) {
        std::fprintf(stderr, "--width takes millimetres from 10 to 2000\n");
        return 2;
      }
    } else if (args[i] == "--zoom") {
      if (!ReadNumberOption(args, i, 10, 800, zoom)) {
        std::fprintf(stderr, "--zoom takes a percentage from 10 to 800\n");
        return 2;
      }
    } else if (args[i] == "--landscape") {
      landscape = true;
    } else if (in.empty()) {
      in = args[i];
    } else if (out.empty()) {
      out = args[i];
    } else {
      return PrintUsage("rtf");
    }
  }
  const auto kind = [&](const char* ext) { return EndsWithNoCase(out, ext); };
  if (in.empty() || !(kind(".rtf") || kind(".html") || kind(".log") || kind(".png") || kind(".pdf"))) {
    return PrintUsage("rtf");
  }
  const auto bytes = ReadFileBytes(in, kMaxInput);
  if (!bytes) {
    std::fprintf(stderr, "cannot read %s\n", in.c_str());
    return 1;
  }
  const std::string rtf(bytes->begin(), bytes->end());

  if (kind(".rtf")) {
    const RtfReadResult read = ReadRtf(rtf);
    if (read.stopped) std::fprintf(stderr, "%s\n", std::string(RichTextCache::kReadError).c_str());
    return Write(out, WriteRtf(read.document)) ? 0 : 1;
  }
  if (kind(".html")) {
    CRTF_HTMLConverter converter;
    return Write(out, ConvertRtfToHtml(converter, rtf)) ? 0 : 1;
  }

  const RtfPage paper = Paper(landscape, widthMm);
  if (kind(".pdf")) {
    // Printed as a preface block is: its pages counted, then each printed in turn.
    CRTFPreface block;
    block.text = rtf;
    const int32_t count = CountPages(block, paper, PangoTextEngine::Shared());
    PdfDevice pdf(TwipsToDevice(paper.widthTwips, kPdfDpi), TwipsToDevice(paper.heightTwips, kPdfDpi), kPdfDpi, true);
    for (int32_t page = 1; page <= std::max(1, count); ++page) {
      if (page > 1) pdf.NextPage();
      block.printInfo.currentPage = page;
      Print(block, pdf, paper);
    }
    std::string error;
    if (!pdf.Finish(out, &error)) {
      std::fprintf(stderr, "cannot write %s: %s\n", out.c_str(), error.c_str());
      return 1;
    }
    std::printf("pages: %d\n", count);
    return 0;
  }
  if (kind(".log")) {
    const RtfPages pages(rtf, paper, FixedTextEngine::Shared());
    RecordingDevice device(kScreenDpi * zoom / 100);
    std::string log;
    for (int32_t page = 1; page <= pages.Count(); ++page) {
      log += "page " + std::to_string(page) + "\n";
      device.ClearLog();
      pages.DrawPage(device, page);
      log += device.Log();
    }
    std::printf("pages: %d\n", pages.Count());
    return Write(out, log) ? 0 : 1;
  }

  // PNG: the pages one under the other on a grey ground.
  const int32_t dpi = kScreenDpi * zoom / 100;
  const RtfPages pages(rtf, paper, PangoTextEngine::Shared());
  const int32_t count = std::max(1, pages.Count());
  const int32_t pageWidth = TwipsToDevice(paper.widthTwips, dpi);
  const int32_t pageHeight = TwipsToDevice(paper.heightTwips, dpi);
  const int64_t height = int64_t(pageHeight + kPageGap) * count + kPageGap;
  if (!DeviceBitmap::ValidSize(pageWidth + 2 * kPageGap, height)) {
    std::fprintf(stderr, "the pages are too large for one image\n");
    return 1;
  }
  ImageDevice image(pageWidth + 2 * kPageGap, static_cast<int32_t>(height), dpi, RGB(160, 160, 160));
  for (int32_t page = 1; page <= count; ++page) {
    const int32_t top = kPageGap + (page - 1) * (pageHeight + kPageGap);
    image.SetViewportOrg(kPageGap, top);
    image.FillSolidRect(Rect{0, 0, pageWidth, pageHeight}, RGB(255, 255, 255));
    pages.DrawPage(image, page);
  }
  std::string error;
  if (!image.WritePng(out, &error)) {
    std::fprintf(stderr, "cannot write %s: %s\n", out.c_str(), error.c_str());
    return 1;
  }
  std::printf("pages: %d\n", pages.Count());
  return 0;
}

const ToolCommand registration("rtf", "rtf IN.rtf OUT.rtf|OUT.html|OUT.log|OUT.png|OUT.pdf [--width MM] [--zoom Z] [--landscape]",
                               "write a rich text back, convert it to HTML or lay it out on A4 pages", Rtf);

}  // namespace

}  // namespace vornel::tool
