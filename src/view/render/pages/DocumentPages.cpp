#include "view/render/pages/DocumentPages.h"

#include "view/facsimile/FacsimileCommands.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "document/CBriotabDoc.h"
#include "layout/richtext/RtfPages.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "model/score/StaveRenderer.h"
#include "platform/UserPrompts.h"
#include "platform/draw/MulDiv.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/draw/TextFaces.h"
#include "view/draw/DrawContext.h"
#include "view/facsimile/FacsimileCommands.h"
#include "view/render/PictureText.h"
#include "view/render/pages/ClefRecords.h"
#include "view/render/pages/DocumentSettingsDrawing.h"
#include "view/render/pages/PageFitting.h"
#include "view/render/pages/PageFrame.h"
#include "view/render/pages/SectionPages.h"
#include "view/render/pages/TitlePagePrinting.h"
#include "view/render/pages/TrackTextDrawing.h"

namespace vornel {

namespace {

int32_t ScreenZoom(const CPageDlg& page) { return page.zoom > 0 ? std::min(page.zoom, 100000) : 100; }

int32_t CeilDiv(int64_t a, int64_t b) { return static_cast<int32_t>((a + b - 1) / b); }

// The resolution printed pages are measured at before they are drawn.
constexpr int32_t kMeasuringDpi = 600;

// Web pictures are drawn from the cache of downloaded images (fetched once when missing).
FacsimileResolver ResolverOf(CBriotabDoc& doc) {
  return [&doc](std::string& path) { return view::ResolvePageImage(doc, path); };
}

// The clef changes the definitions recorded belong to an earlier drawing.
void ForgetClefRecords(CBriotabDoc& doc) {
  for (const auto& section : doc.sections.items()) {
    if (section != nullptr) vornel::ForgetClefRecords(*section);
  }
}

// A music page of the run-on list: the slots from its first.
std::vector<PageSlot> RunOnSlots(CBriotabDoc& doc, int32_t musicPage, int32_t slotsPerPage, bool headings) {
  const int64_t perPage = std::max(slotsPerPage, 1);
  std::vector<PageSlot> slots;
  for (int64_t i = musicPage * perPage; i < (musicPage + 1) * perPage; ++i) {
    if (i < 0 || i >= static_cast<int64_t>(doc.printSystems.size())) break;
    const CBriotabDoc::PrintSlot& slot = doc.printSystems[static_cast<size_t>(i)];
    if (slot.section < 0 || static_cast<size_t>(slot.section) >= doc.sections.size()) {
      slots.push_back({});
      continue;
    }
    slots.push_back({doc.sections.at(static_cast<size_t>(slot.section)), static_cast<size_t>(slot.system),
                     headings && slot.system == 0});
  }
  return slots;
}

// A music page of a section on pages of its own.
std::vector<PageSlot> SectionSlots(CSystemArray& section, int32_t first, int32_t count, bool headings) {
  std::vector<PageSlot> slots;
  for (int64_t s = std::max(first, 0); s < int64_t{first} + count && s < static_cast<int64_t>(section.systems.size());
       ++s) {
    slots.push_back({&section, static_cast<size_t>(s), headings && s == 0});
  }
  return slots;
}

// How many systems of each section fit on its printed pages, measured as printed; the run-on
// list takes the fewest of the sections it runs through.
int32_t FitPrintedSections(CBriotabDoc& doc) {
  CPageDlg& page = doc.settings.pageSettings;
  RecordingDevice measuring(kMeasuringDpi, true, PangoTextEngine::Shared());
  measuring.SetRecording(false);
  PageDrawSettings settings = DrawSettingsOf(page, 100, false);
  settings.resolveImagePath = ResolverOf(doc);
  const DrawContext context(measuring, settings, &PicturesOf(doc));
  const Rect savedPaper = page.pageRect;
  page.pageRect = PaperRect(page, measuring);
  const Rect printable = ComputePageFrame(page, measuring, 0);
  const int32_t runOn = static_cast<int32_t>(std::max<uint32_t>(page.systemsPerPage, 1));
  int32_t fewest = runOn;
  for (const auto& section : doc.sections.items()) {
    if (section == nullptr) continue;
    if (page.newPageOnSection != 0 || (page.printAllSections == 0 && section.get() == doc.GetActiveSection())) {
      FitSystemsOfSection(*section, measuring, page, printable);
    } else {
      // Every page of the run may hold the tallest system of any section.
      const std::vector<int64_t> rooms = MeasureSystemRooms(*section, measuring, page, printable);
      const int64_t tallest = rooms.empty() ? 0 : *std::max_element(rooms.begin(), rooms.end());
      fewest = std::min(fewest, FitSystemsPerPage(std::vector<int64_t>(static_cast<size_t>(runOn), tallest),
                                                  printable.Height(), GapBetweenSystems(measuring, page), runOn));
    }
  }
  page.pageRect = savedPaper;
  return fewest;
}

void DrawMusicPage(CBriotabDoc& doc, DeviceContext& dc, int32_t pageIndex, const PageSequencing::stPageSequence& entry) {
  CPageDlg& page = doc.settings.pageSettings;
  const bool headings = page.skipTitles == 0;
  std::vector<PageSlot> slots;
  // A music page's entry counts the systems of a full page.
  const int32_t perPage = std::max(entry.pages, 1);
  if (page.newPageOnSection == 0) {
    slots = RunOnSlots(doc, entry.index, perPage, headings);
  } else if (entry.block >= 0 && static_cast<size_t>(entry.block) < doc.sections.size()) {
    slots = SectionSlots(*doc.sections.at(static_cast<size_t>(entry.block)), entry.index, perPage,
                         headings);
  }
  DrawPageSlots(dc, page, pageIndex, slots, perPage);
  DrawPageHeader(doc.settings, dc, entry.position - page.pageSequence.base, page.printableRect);
}

void DrawSequencePage(CBriotabDoc& doc, DeviceContext& dc, int32_t pageIndex) {
  CPageDlg& page = doc.settings.pageSettings;
  const PageSequencing::stPageSequence& entry = page.pageSequence.at(static_cast<size_t>(pageIndex + doc.sequenceOffset));
  const auto section = [&doc, &entry]() -> CSystemArray& { return *doc.sections.at(static_cast<size_t>(entry.block)); };
  const RtfPage paper = RtfPage::FromPageSettings(page);
  switch (entry.kind) {
    case PageSequencing::kBlankPage:
      break;
    case PageSequencing::kTitlePage:
      DrawTitlePage(doc.settings, dc);
      break;
    case PageSequencing::kContentsPage:
    case PageSequencing::kDocumentPreface:
    case PageSequencing::kFacsimilePage:
      DrawPrintStatement(doc.settings, dc, entry, ContentsEntries(doc), ResolverOf(doc));
      break;
    case PageSequencing::kCommentsPage:
      page.preface.printInfo.currentPage = entry.index + 1;
      Print(page.preface, dc, paper);
      break;
    case PageSequencing::kSectionPreface: {
      CSystemArray& s = section();
      CRTFPreface plain;
      CRTFPreface& block = s.rtfComments.text.empty() ? plain : s.rtfComments;
      if (&block == &plain) plain.text = SectionPrefaceText(s);
      block.printInfo.currentPage = entry.index + 1;
      Print(block, dc, paper);
      break;
    }
    case PageSequencing::kEndTextPage: {
      const Rect printable = DrawPageFrame(page, dc, pageIndex);
      DrawAt(section().EndText(), dc, 100, printable.left, printable.top);
      break;
    }
    default:
      DrawMusicPage(doc, dc, pageIndex, entry);
      break;
  }
}

}  // namespace

Rect PaperRect(const CPageDlg& page, const DeviceContext& dc) {
  const Size paper = page.PaperSizeTenths();
  const int32_t zoom = dc.IsPrinting() ? 100 : ScreenZoom(page);
  return {0, 0, MulDiv(MulDiv(paper.cx, dc.LogPixelsX(), 254), zoom, 100),
          MulDiv(MulDiv(paper.cy, dc.LogPixelsY(), 254), zoom, 100)};
}

std::vector<std::string> ContentsEntries(const CBriotabDoc& doc) {
  std::vector<std::string> entries;
  for (size_t i = 0; i < doc.sections.size(); ++i) {
    entries.push_back(doc.sections.at(i) != nullptr ? doc.sections.GetSectionLabel(i) : std::string());
  }
  return entries;
}

int32_t BuildPrintPages(CBriotabDoc& doc, int printing) {
  CPageDlg& page = doc.settings.pageSettings;
  PageSequencing& sequence = page.pageSequence;
  doc.pageTable.clear();
  doc.sectionPageCounts.clear();
  sequence.RemoveAll();
  doc.printSystems.clear();
  doc.sequenceOffset = 0;
  ForgetClefRecords(doc);
  // Pages laid out for the screen or for the paper are laid out again for the other.
  for (const auto& section : doc.sections.items()) {
    if (section != nullptr) section->pageStarts.clear();
  }
  if (printing == 0 || doc.sections.empty()) return 0;

  const int32_t fewest = FitPrintedSections(doc);
  if (page.printAllSections == 0) {
    // The active section alone, laid out as printed; its pages are drawn as on screen.
    CSystemArray& section = *doc.GetActiveSection();
    for (size_t p = 0; p < section.PageCount(); ++p) {
      sequence.AddPages(PageSequencing::kMusicPage, section.index, 1,
                        static_cast<int32_t>(std::min<size_t>(SlotsOfPage(section, p), INT32_MAX)), 1,
                        static_cast<int32_t>(std::min<size_t>(p, INT32_MAX)));
    }
    return static_cast<int32_t>(sequence.size());
  }

  const std::vector<std::string> entries = ContentsEntries(doc);
  CountPreliminaryPages(doc.settings, sequence, entries, doc.sections);
  sequence.base = static_cast<int32_t>(sequence.size());
  const bool perSection = page.newPageOnSection != 0;
  const int32_t runOnPerPage = fewest;
  const int64_t blankLimit = std::max(page.blanksBetweenSections, 0);
  int64_t needed = 0;  // run on: the slots up to the last system or the last blank page asked for
  int32_t pagesSoFar = 0;
  for (size_t k = 0; k < doc.sections.size(); ++k) {
    CSystemArray* section = doc.sections.at(k);
    if (section == nullptr) continue;
    const int64_t R = static_cast<int64_t>(doc.printSystems.size());
    const int32_t S = perSection ? section->SystemsOnAPage() : runOnPerPage;
    if (perSection) {
      section->firstPrintPage = pagesSoFar;
      section->firstPrintSlot = 0;
    } else {
      section->firstPrintPage = static_cast<int32_t>(R / S);
      section->firstPrintSlot = static_cast<int32_t>(R % S);
      doc.pageTable.push_back(section->firstPrintPage);
    }
    for (size_t s = 0; s < section->systems.size(); ++s) {
      doc.printSystems.push_back({static_cast<int32_t>(k), static_cast<int32_t>(s)});
    }
    const int64_t length = static_cast<int64_t>(doc.printSystems.size());
    const int64_t n = length - R;
    if (!perSection) {
      if (n > 0) needed = length;
      const int64_t free = (S - length % S) % S;
      int64_t blanks = std::min(free, blankLimit);
      if ((section->flags & CSystemArray::kBlankPageAfter) != 0) {
        blanks = free + S;
        needed = length + blanks;
      } else if ((section->flags & CSystemArray::kPageBreakAfter) != 0) {
        blanks = free;
      }
      doc.printSystems.insert(doc.printSystems.end(), static_cast<size_t>(blanks), CBriotabDoc::PrintSlot{});
    } else {
      const int64_t free = (S - n % S) % S;
      doc.printSystems.insert(doc.printSystems.end(), static_cast<size_t>(free), CBriotabDoc::PrintSlot{});
      doc.sectionPageCounts.emplace_back(S, static_cast<int32_t>(std::min<size_t>(section->PageCount(), INT32_MAX)));
      doc.pageTable.push_back(pagesSoFar);
      pagesSoFar += BuildSectionPrintPages(*section, sequence, page);
    }
  }
  if (!perSection) {
    const int32_t pages = std::max(1, CeilDiv(needed, runOnPerPage));
    sequence.AddPages(PageSequencing::kMusicPage, 0, pages, runOnPerPage);
    sequence.MapContentsPages(doc.pageTable);
  }
  // The contents now know the page of every section.
  CTitlePage& titlePage = doc.settings.titlePage;
  if (titlePage.printTitlepage != 0 && titlePage.printContents != 0 && titlePage.useRtf != 0) {
    BuildContentsRtf(titlePage, entries, sequence, page);
  }
  return static_cast<int32_t>(sequence.size());
}

namespace {

// What drawing a page of `doc` on `dc` hands the renderers, for as long as it lives.
class PageDrawing {
 public:
  PageDrawing(CBriotabDoc& doc, DeviceContext& dc)
      : settings_(Settings(doc, dc)), context_(dc, settings_, &PicturesOf(doc)) {
    CPageDlg& page = doc.settings.pageSettings;
    if (dc.IsPrinting() || page.pageRect.IsEmpty()) page.pageRect = PaperRect(page, dc);
  }

 private:
  static PageDrawSettings Settings(CBriotabDoc& doc, const DeviceContext& dc) {
    CPageDlg& page = doc.settings.pageSettings;
    PageDrawSettings settings = DrawSettingsOf(page, dc.IsPrinting() ? 100 : ScreenZoom(page), !dc.IsPrinting());
    settings.resolveImagePath = ResolverOf(doc);
    return settings;
  }

  PageDrawSettings settings_;
  DrawContext context_;
};

// Measures the active section's systems on a device of its own (the page drawn leaves no trace
// of the measuring) until page `pageIndex` is known or `budget` systems were measured.
void FitActiveSection(CBriotabDoc& doc, DeviceContext& dc, int32_t pageIndex, size_t budget) {
  CPageDlg& page = doc.settings.pageSettings;
  const Rect printable = ComputePageFrame(page, dc, pageIndex);
  const std::unique_ptr<DeviceContext> measuring = CreateMeasuringDevice(&dc);
  FitSystemsThroughPage(*doc.GetActiveSection(), *measuring, page, printable,
                        static_cast<size_t>(std::max(pageIndex, 0)), budget);
}

}  // namespace

bool ContinuePageLayout(CBriotabDoc& doc, DeviceContext& dc, size_t budget) {
  if (doc.sections.empty() || dc.IsPrinting()) return true;
  const PageDrawing drawing(doc, dc);
  try {
    if (PagesLaidOut(*doc.GetActiveSection())) return true;
    FitActiveSection(doc, dc, INT32_MAX, budget);
    return PagesLaidOut(*doc.GetActiveSection());
  } catch (const std::exception&) {
    return true;
  }
}

void DrawPage(CBriotabDoc& doc, DeviceContext& dc, int32_t pageIndex) {
  CPageDlg& page = doc.settings.pageSettings;
  const bool printing = dc.IsPrinting();
  const PageDrawing drawing(doc, dc);
  const InkSourceScope ink(dc, InkSource::kPageText);
  try {
    if (!printing || page.printAllSections == 0) {
      CSystemArray& section = *doc.GetActiveSection();
      // The systems up to the page are measured first; those after it may wait.
      if (!PagesLaidOut(section)) FitActiveSection(doc, dc, pageIndex, SIZE_MAX);
      const size_t at = static_cast<size_t>(std::max(pageIndex, 0));
      DrawSystems(section, dc, page, pageIndex, section.FirstSystemOfPage(at), SlotsOfPage(section, at), pageIndex == 0);
      DrawPageNumber(page, dc, pageIndex + 1);
      DrawPageText(page, dc, section.pageRect);
      return;
    }
    DrawSequencePage(doc, dc, pageIndex);
  } catch (const std::exception&) {
    Prompts().ShowMessage(kPrintingError, MessageKind::kError);
  }
}

Rect DrawTitlePageView(CBriotabDoc& doc, DeviceContext& dc) {
  CPageDlg& page = doc.settings.pageSettings;
  const bool printing = dc.IsPrinting();
  PageDrawSettings settings = DrawSettingsOf(page, printing ? 100 : ScreenZoom(page), !printing);
  settings.resolveImagePath = ResolverOf(doc);
  const DrawContext context(dc, settings, &PicturesOf(doc));
  page.pageRect = PaperRect(page, dc);
  return DrawTitlePage(doc.settings, dc);
}

Size GetPageSize(const CBriotabDoc& doc) {
  const Rect& r = doc.GetActiveSection()->pageRect;
  return {r.Width(), r.Height()};
}

void RecomputeSystemsPerPage(CBriotabDoc& doc, DeviceContext& dc) {
  CPageDlg& page = doc.settings.pageSettings;
  const Rect saved = page.pageRect;
  page.pageRect = PaperRect(page, dc);
  const Rect printable = ComputePageFrame(page, dc, 0);
  page.pageRect = saved;
  ComputeSystemsPerPage(*doc.GetActiveSection(), dc, page, printable);
  page.newPageOnSection = 1;
}

}  // namespace vornel
