// render DOC OUT.pdf|OUT.png|OUT.log [--section N] [--pages A-B] [--zoom Z] [--dpi D] [--screen]
// [--frames] [--collisions]: typesets a document without a window: every page of its print sequence (title
// page, contents, preface, facsimiles, the music of every section), or with --section the pages
// of one section; --pages picks pages of those. PNG output is one file per page (OUT.png, or
// OUT-001.png and on for several pages), PDF one document, the log the recording device's calls
// page by page. Without --screen the pages are drawn as printed; with it as the window draws
// them (markers, highlight band, header background), and with --frames too each meta-event's
// frame and the line to its anchor, where hit testing finds it. Everything is written to temporary
// files first and renamed into place only when all of it was written, so a failure leaves
// nothing behind. With --collisions the pages are also checked for ink drawn over other ink
// (measured with the fonts the PNG and PDF use): each pair is printed under its page, with
// the count at the end; OUT may then be left out.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "document/CVornelTabDoc.h"
#include "document/CPageDlg.h"
#include "model/score/CSystemArray.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/InkCollisions.h"
#include "platform/draw/MulDiv.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/draw/TextFaces.h"
#include "platform/io/FileIO.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/NumberText.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/DocumentPages.h"

namespace vornel::tool {

namespace {

enum class Output { kPdf, kPng, kLog };

struct RenderOptions {
  std::string document;
  std::string out;
  Output kind = Output::kPdf;
  int32_t section = 0;  // from 1; 0 the active section
  int32_t firstPage = 0;  // from 1; 0 all pages
  int32_t lastPage = 0;
  int32_t zoom = 100;
  int32_t dpi = 96;
  bool screen = false;
  bool frames = false;
  bool collisions = false;
};

bool ScanPages(const std::string& text, RenderOptions& o) { return ScanPageRange(text, o.firstPage, o.lastPage); }

// False for a command line the usage line must answer.
bool ParseOptions(const CommandArguments& args, RenderOptions& o) {
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--section") {
      if (!hasValue || !ScanNumber(args[++i], 1, 100000, o.section)) return false;
    } else if (a == "--pages") {
      if (!hasValue || !ScanPages(args[++i], o)) return false;
    } else if (a == "--zoom") {
      if (!hasValue || !ScanNumber(args[++i], 10, 800, o.zoom)) return false;
    } else if (a == "--dpi") {
      if (!hasValue || !ScanNumber(args[++i], 24, 1200, o.dpi)) return false;
    } else if (a == "--screen") {
      o.screen = true;
    } else if (a == "--frames") {
      o.frames = true;
    } else if (a == "--collisions") {
      o.collisions = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return false;
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() == 1 && o.collisions) {
    o.document = positional[0];
    return true;
  }
  if (positional.size() != 2) return false;
  o.document = positional[0];
  o.out = positional[1];
  if (EndsWithNoCase(o.out, ".pdf")) {
    o.kind = Output::kPdf;
  } else if (EndsWithNoCase(o.out, ".png")) {
    o.kind = Output::kPng;
  } else if (EndsWithNoCase(o.out, ".log")) {
    o.kind = Output::kLog;
  } else {
    return false;
  }
  return true;
}

// "OUT.png" for one page, "OUT-001.png" ... for several.
std::string PngName(const std::string& out, size_t page, size_t pages) {
  if (pages == 1) return out;
  char number[16];
  std::snprintf(number, sizeof number, "-%03zu", page + 1);
  return out.substr(0, out.size() - 4) + number + out.substr(out.size() - 4);
}

// Temporary files beside their targets, renamed into place together or removed together.
class PendingFiles {
 public:
  ~PendingFiles() {
    std::error_code ignored;
    for (const auto& [temporary, target] : files_) std::filesystem::remove(temporary, ignored);
  }
  std::string Add(const std::string& target) {
    std::string temporary = target + ".part-" + std::to_string(::getpid());
    files_.push_back({temporary, target});
    return temporary;
  }
  bool Commit(std::string& failed) {
    std::vector<std::string> done;
    for (const auto& [temporary, target] : files_) {
      std::error_code error;
      std::filesystem::rename(temporary, target, error);
      if (error) {
        failed = target;
        std::error_code ignored;
        for (const std::string& d : done) std::filesystem::remove(d, ignored);
        return false;
      }
      done.push_back(target);
    }
    files_.clear();
    return true;
  }

 private:
  std::vector<std::pair<std::string, std::string>> files_;
};

int Render(const CommandArguments& args) {
  RenderOptions o;
  if (!ParseOptions(args, o)) return PrintUsage("render");

  if (!std::filesystem::exists(o.document)) {
    std::fprintf(stderr, "vornel-tool render: %s does not exist\n", o.document.c_str());
    return 1;
  }
  std::unique_ptr<CVornelTabDoc> doc = OpenDocument(o.document);
  if (doc == nullptr) {
    std::fprintf(stderr, "vornel-tool render: %s cannot be read\n", o.document.c_str());
    return 1;
  }
  const int32_t sectionCount = static_cast<int32_t>(doc->sections.size());
  const int32_t sectionIndex = o.section != 0 ? o.section - 1 : std::max(doc->sections.activeSection, 0);
  if (sectionIndex >= sectionCount || doc->sections.at(static_cast<size_t>(sectionIndex)) == nullptr) {
    std::fprintf(stderr, "vornel-tool render: %s has no section %d (it has %d)\n", o.document.c_str(),
                 sectionIndex + 1, sectionCount);
    return 1;
  }
  doc->sections.activeSection = sectionIndex;

  // Printed pages are drawn at zoom 100: the zoom then enlarges the resolution instead. A
  // section alone is printed as the window shows it; without one, the whole document.
  const bool printing = !o.screen;
  const int32_t dpi = printing ? MulDiv(o.dpi, o.zoom, 100) : o.dpi;
  CPageDlg& page = doc->settings.pageSettings;
  page.zoom = printing ? 100 : o.zoom;
  page.printAllSections = printing && o.section == 0 ? 1 : 0;
  page.showMetaEventFrames = o.screen && o.frames ? 1 : 0;
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed(renderer);

  // On screen the page stands in the view with a margin around it.
  RecordingDevice like(dpi, printing);
  Size size;
  if (printing) {
    const Rect paper = PaperRect(page, like);
    size = {paper.Width(), paper.Height()};
  } else {
    page.pageRect = PaperRect(page, like);
    const int32_t margin = MulDiv(100, dpi, 254);
    size = {page.pageRect.Width() + 2 * margin, page.pageRect.Height() + 3 * margin};
    page.viewClientRect = {0, 0, size.cx, size.cy};
  }

  const int32_t pageCount = BuildPrintPages(*doc, 1);
  struct PrintEnd {
    CVornelTabDoc& doc;
    ~PrintEnd() { BuildPrintPages(doc, 0); }
  } printEnd{*doc};
  int32_t first = 0;
  int32_t last = pageCount - 1;
  if (o.firstPage != 0) {
    if (o.lastPage > pageCount) {
      std::fprintf(stderr, "vornel-tool render: %s has no page %d (it has %d)\n", o.document.c_str(), o.lastPage,
                   pageCount);
      return 1;
    }
    first = o.firstPage - 1;
    last = o.lastPage - 1;
  }
  const size_t count = static_cast<size_t>(last - first + 1);

  if (o.collisions) {
    // Measured with the real fonts, as the PNG and PDF draw them; 0.3 mm is the tolerance.
    RecordingDevice device(dpi, printing, PangoTextEngine::Shared());
    device.SetRecording(false);
    device.SetExtent(size);
    InkCollisions ink;
    device.SetInkObserver(&ink);
    const double tolerance = 0.3 * dpi / 25.4;
    size_t total = 0;
    for (int32_t p = first; p <= last; ++p) {
      ink.Clear();
      DrawPage(*doc, device, p);
      const auto found = ink.Find(tolerance, size.cx, size.cy);
      if (found.empty()) continue;
      std::printf("page %d\n", p + 1);
      for (const auto& collision : found) std::printf("  %s\n", InkCollisions::Describe(collision, dpi).c_str());
      total += found.size();
    }
    std::printf("%zu collision%s\n", total, total == 1 ? "" : "s");
    if (o.out.empty()) return 0;
  }

  PendingFiles pending;
  std::string error;
  bool written = true;
  std::string failedTarget = o.out;
  switch (o.kind) {
    case Output::kLog: {
      RecordingDevice device(dpi, printing);
      device.SetExtent(size);
      std::string log;
      for (int32_t p = first; p <= last; ++p) {
        device.ClearLog();
        DrawPage(*doc, device, p);
        log += "page " + std::to_string(p + 1) + "\n" + device.Log();
      }
      written = WriteFileAtomically(pending.Add(o.out), log, &error);
      break;
    }
    case Output::kPdf: {
      PdfDevice device(size.cx, size.cy, dpi, printing);
      for (int32_t p = first; p <= last; ++p) {
        if (p != first) device.NextPage();
        DrawPage(*doc, device, p);
      }
      written = device.Finish(pending.Add(o.out), &error);
      break;
    }
    case Output::kPng: {
      for (int32_t p = first; p <= last && written; ++p) {
        ImageDevice device(size.cx, size.cy, dpi, 0xFFFFFF, printing);
        DrawPage(*doc, device, p);
        failedTarget = PngName(o.out, static_cast<size_t>(p - first), count);
        written = device.WritePng(pending.Add(failedTarget), &error);
      }
      break;
    }
  }
  if (written) written = pending.Commit(failedTarget);
  if (!written) {
    std::fprintf(stderr, "vornel-tool render: %s cannot be written%s%s\n", failedTarget.c_str(),
                 error.empty() ? "" : ": ", error.c_str());
    return 1;
  }
  return 0;
}

const ToolCommand registration(
    "render",
    "render DOC OUT.pdf|OUT.png|OUT.log [--section N] [--pages A-B] [--zoom Z] [--dpi D] [--screen] [--frames] "
    "[--collisions]",
    "typeset a document (or one section with --section) as pages", Render);

}  // namespace

}  // namespace vornel::tool
