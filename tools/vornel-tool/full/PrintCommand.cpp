// print DOC OUT.pdf [--pages A-B]: prints a document to PDF through the score view's own
// printing run, as the editor's print command does (zoom 100 and the top left while it runs,
// the print sequence built, one page after another, everything put back at the end). Like
// "render", it prints the whole document: "Print all sections" is switched on first; the
// other print options are the document's own. The PDF is written to a temporary file first and renamed
// into place, so a failure leaves nothing behind.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "document/CVornelTabDoc.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/text/AsciiCase.h"
#include "view/core/CBriotabView.h"
#include "view/core/HeadlessViewWindow.h"
#include "view/core/ViewPrinting.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/DocumentPages.h"

namespace vornel::tool {

namespace {

constexpr int32_t kPrintDpi = 96;

int Print(const CommandArguments& args) {
  std::vector<std::string> positional;
  int32_t first = 0;
  int32_t last = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--pages") {
      if (i + 1 >= args.size() || !ScanPageRange(args[++i], first, last)) return PrintUsage("print");
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return PrintUsage("print");
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2 || !EndsWithNoCase(positional[1], ".pdf")) return PrintUsage("print");
  const std::string& path = positional[0];
  const std::string& out = positional[1];

  if (!std::filesystem::exists(path)) {
    std::fprintf(stderr, "vornel-tool print: %s does not exist\n", path.c_str());
    return 1;
  }
  std::unique_ptr<CVornelTabDoc> doc = OpenDocument(path);
  if (doc == nullptr || doc->sections.empty()) {
    std::fprintf(stderr, "vornel-tool print: %s cannot be read\n", path.c_str());
    return 1;
  }
  doc->settings.pageSettings.printAllSections = 1;
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed(renderer);
  view::HeadlessViewWindow window;
  view::CBriotabView view(*doc, window);
  view.OnInitialUpdate();

  view::ViewPrintJob job(view, false);
  const int32_t pages = job.PageCount();
  if (first == 0) {
    first = 1;
    last = pages;
  } else if (last > pages) {
    std::fprintf(stderr, "vornel-tool print: %s has no page %d (it has %d)\n", path.c_str(), last, pages);
    return 1;
  }
  RecordingDevice like(kPrintDpi, true);
  const Rect paper = PaperRect(doc->settings.pageSettings, like);
  PdfDevice device(paper.Width(), paper.Height(), kPrintDpi, true);
  for (int32_t p = first; p <= last; ++p) {
    if (p != first) device.NextPage();
    job.PrintPage(device, p - 1);
  }
  job.End();
  std::string error;
  if (!device.Finish(out, &error)) {
    std::fprintf(stderr, "vornel-tool print: %s cannot be written%s%s\n", out.c_str(), error.empty() ? "" : ": ",
                 error.c_str());
    return 1;
  }
  return 0;
}

const ToolCommand registration("print", "print DOC OUT.pdf [--pages A-B]",
                               "print a document to PDF through the score view's printing run", Print);

}  // namespace

}  // namespace vornel::tool
