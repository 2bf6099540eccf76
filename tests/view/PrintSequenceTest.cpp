// The print page sequence: the page blocks of the active section alone, of every section run
// on (blank slots between sections, page breaks and blank pages the sections ask for) and of
// sections on pages of their own; the records a section adds; the preliminary pages; the
// contents in both forms.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "GoldenLog.h"
#include "document/CVornelTabDoc.h"
#include "document/PageSequencing.h"
#include "platform/draw/RecordingDevice.h"
#include "support/Bytes.h"
#include "view/render/pages/DocumentPages.h"
#include "view/render/pages/DocumentSettingsDrawing.h"
#include "view/render/pages/PrintDate.h"
#include "view/render/pages/SectionPages.h"
#include "view/render/pages/TitlePagePrinting.h"

namespace vornel {
namespace {

using Kind = PageSequencing::Kind;

std::unique_ptr<CSystemArray> EmptySection(size_t systems, int32_t flags = 0, int32_t perPage = 8) {
  auto section = std::make_unique<CSystemArray>();
  section->DeleteAllSystems();
  for (size_t s = 0; s < systems; ++s) section->NewSystem(CSystemArray::kAppend);
  section->flags = flags;
  section->stavesPerPage = perPage;
  return section;
}

struct SectionSpec {
  size_t systems;
  int32_t flags = 0;
  int32_t perPage = 8;
};

std::unique_ptr<CVornelTabDoc> Document(const std::vector<SectionSpec>& specs, uint32_t perPage) {
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  for (const SectionSpec& s : specs) doc->AppendSection(EmptySection(s.systems, s.flags, s.perPage));
  doc->sections.DeleteSection(0);
  doc->sections.activeSection = 0;
  CPageDlg& page = doc->settings.pageSettings;
  page.printAllSections = 1;
  page.systemsPerPage = perPage;
  page.blanksBetweenSections = 0;
  return doc;
}

// "kind:block:index" of every entry.
std::string Entries(const PageSequencing& sequence) {
  std::string out;
  for (const auto& e : sequence.entries()) {
    out += std::to_string(e.kind) + ":" + std::to_string(e.block) + ":" + std::to_string(e.index) + " ";
  }
  return out;
}

// Which slots of the print list hold systems ('s') and which are empty ('.').
std::string Slots(const CBriotabDoc& doc) {
  std::string out;
  for (const auto& slot : doc.printSystems) out += slot.section < 0 ? '.' : static_cast<char>('a' + slot.section);
  return out;
}

TEST(PrintSequence, ActiveSectionAloneIsOneBlockAtItsOwnSystemsPerPage) {
  // 9 systems at 4 per page: 3 pages, whatever the document's own systems per page.
  auto doc = Document({{9, 0, 4}}, 8);
  doc->settings.pageSettings.printAllSections = 0;
  doc->settings.titlePage.printTitlepage = 1;  // the preliminaries belong to the whole document
  EXPECT_EQ(BuildPrintPages(*doc, 1), 3);
  EXPECT_EQ(Entries(doc->settings.pageSettings.pageSequence), "6:0:0 6:0:1 6:0:2 ");
  EXPECT_EQ(BuildPrintPages(*doc, 0), 0);
  EXPECT_TRUE(doc->settings.pageSettings.pageSequence.empty());
}

TEST(PrintSequence, RunOnLayoutTable) {
  struct Case {
    const char* name;
    std::vector<SectionSpec> sections;
    int32_t blankLimit;
    const char* slots;
    int32_t pages;
    std::vector<int32_t> firstPages;
    std::vector<int32_t> firstSlots;
  };
  const Case cases[] = {
      {"second section in slot 3 of page 0", {{3}, {3}}, 0, "aaabbb", 2, {0, 0}, {0, 3}},
      {"blank slots between sections up to the limit", {{3}, {3}}, 2, "aaa.bbb.", 2, {0, 1}, {0, 0}},
      {"a page break fills the page", {{3, CSystemArray::kPageBreakAfter}, {2}}, 0, "aaa.bb", 2, {0, 1}, {0, 0}},
      {"a blank page after", {{3, CSystemArray::kBlankPageAfter}, {2}}, 0, "aaa.....bb", 3, {0, 2}, {0, 0}},
      {"a blank page after a page break", {{4, CSystemArray::kBlankPageAfter | CSystemArray::kPageBreakAfter}, {1}},
       0, "aaaa....b", 3, {0, 2}, {0, 0}},
      {"a blank page at the end is printed", {{2}, {2, CSystemArray::kBlankPageAfter}}, 0, "aabb....", 2, {0, 0},
       {0, 2}},
      {"a full last page is not dropped", {{4}, {4}}, 0, "aaaabbbb", 2, {0, 1}, {0, 0}},
      {"one system more than a page", {{5}}, 0, "aaaaa", 2, {0}, {0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto doc = Document(c.sections, 4);
    doc->settings.pageSettings.blanksBetweenSections = c.blankLimit;
    const int32_t pages = BuildPrintPages(*doc, 1);
    EXPECT_EQ(Slots(*doc), c.slots);
    EXPECT_EQ(pages, c.pages);
    for (size_t k = 0; k < c.firstPages.size(); ++k) {
      EXPECT_EQ(doc->sections.at(k)->firstPrintPage, c.firstPages[k]) << k;
      EXPECT_EQ(doc->sections.at(k)->firstPrintSlot, c.firstSlots[k]) << k;
      EXPECT_EQ(doc->pageTable.at(k), c.firstPages[k]) << k;
    }
    // Every entry is a music page, and each page knows the section that starts on it or
    // runs on into it.
    const PageSequencing& sequence = doc->settings.pageSettings.pageSequence;
    for (const auto& e : sequence.entries()) EXPECT_EQ(e.kind, Kind::kMusicPage);
    for (size_t k = 0; k < c.firstPages.size(); ++k) {
      EXPECT_EQ(sequence.FindSectionPage(static_cast<int32_t>(k)), c.firstPages[k] + 1) << k;
    }
  }
}

TEST(PrintSequence, SectionsOnPagesOfTheirOwn) {
  // 5 systems at 4 per page take 2 pages with 3 empty slots; the next section starts on a
  // page of its own at its own systems per page, and a blank page follows when it asks.
  auto doc = Document({{5, 0, 4}, {2, CSystemArray::kBlankPageAfter, 3}}, 8);
  doc->settings.pageSettings.newPageOnSection = 1;
  EXPECT_EQ(BuildPrintPages(*doc, 1), 4);
  EXPECT_EQ(Slots(*doc), "aaaaa...bb.");
  EXPECT_EQ(Entries(doc->settings.pageSettings.pageSequence), "6:0:0 6:0:4 6:1:0 5:1:0 ");
  EXPECT_EQ(doc->sections.at(1)->firstPrintPage, 2);
  EXPECT_EQ((doc->sectionPageCounts), (std::vector<std::pair<int32_t, int32_t>>{{4, 2}, {3, 1}}));
  EXPECT_EQ(doc->pageTable, (std::vector<int32_t>{0, 2}));
}

TEST(PrintSequence, SectionRecordsCarryTheirFirstSystems) {
  // 7 systems at 3 per page: pages from systems 0, 3 and 6.
  auto section = EmptySection(7, 0, 3);
  section->index = 4;
  PageSequencing sequence;
  CPageDlg page;
  EXPECT_EQ(BuildSectionPrintPages(*section, sequence, page), 3);
  EXPECT_EQ(Entries(sequence), "6:4:0 6:4:3 6:4:6 ");
  EXPECT_EQ(sequence.at(2).runningTotal, 6);
  EXPECT_EQ(sequence.at(2).pages, 3);
  // A section without systems still prints a page.
  auto empty = EmptySection(0, 0, 3);
  EXPECT_EQ(BuildSectionPrintPages(*empty, sequence, page), 1);
}

TEST(PrintSequence, SectionPrefaceAndEndTextPages) {
  auto section = EmptySection(2, CSystemArray::kBlankPageAfter, 4);
  section->Comments().text = "Played slowly.";
  section->EndText().text = "Finis";
  PageSequencing sequence;
  CPageDlg page;
  page.printComments = 1;
  page.printEndTextPages = 1;
  EXPECT_EQ(BuildSectionPrintPages(*section, sequence, page), 4);
  EXPECT_EQ(Entries(sequence), "4:0:0 6:0:0 9:0:0 5:0:0 ");
  // Comments printed at the end of the document are no preface.
  page.commentsAtEnd = 1;
  PageSequencing atEnd;
  EXPECT_EQ(BuildSectionPrintPages(*section, atEnd, page), 3);
}

TEST(PrintSequence, PreliminaryPagesComeFirst) {
  auto doc = Document({{3}, {3}}, 4);
  CTitlePage& titlePage = doc->settings.titlePage;
  titlePage.printTitlepage = 1;
  titlePage.printContents = 1;
  titlePage.maxLines = 0;  // counts as 100
  titlePage.imageList.AddImage("a.txt");
  titlePage.imageList.AddImage("b.jpg");
  titlePage.imageList.AddImage("c.PNG");
  EXPECT_EQ(BuildPrintPages(*doc, 1), 6);
  const PageSequencing& sequence = doc->settings.pageSettings.pageSequence;
  EXPECT_EQ(Entries(sequence), "0:0:0 1:0:0 3:0:0 3:0:1 6:0:0 6:0:1 ");
  EXPECT_EQ(sequence.base, 4);
  EXPECT_EQ(sequence.imageCount, 3);
  // Facsimile pages show the first and second image file.
  EXPECT_EQ(NthImageFile(titlePage.imageList, 0), 1u);
  EXPECT_EQ(NthImageFile(titlePage.imageList, 1), 2u);
  EXPECT_EQ(NthImageFile(titlePage.imageList, 2), 3u);
  // Without a printed title page there are no preliminaries.
  titlePage.printTitlepage = 0;
  EXPECT_EQ(BuildPrintPages(*doc, 1), 2);
}

TEST(PrintSequence, CommentsBlockIsPrintedWithThePreliminaries) {
  auto doc = Document({{3}, {3}}, 4);
  doc->settings.titlePage.printTitlepage = 1;
  CPageDlg& page = doc->settings.pageSettings;
  page.printComments = 1;
  page.commentsAtEnd = 1;
  doc->sections.at(1)->Comments().text = "A galliard {after} the pavan";
  EXPECT_EQ(BuildPrintPages(*doc, 1), 4);
  EXPECT_EQ(Entries(page.pageSequence), "0:0:0 8:0:0 6:0:0 6:0:1 ");
  EXPECT_NE(page.preface.text.find("Section 2: New section"), std::string::npos);
  EXPECT_EQ(page.preface.itemCount, 1);
}

TEST(PrintSequence, PlainContentsPagesByMaxLines) {
  CTitlePage titlePage;
  CPageDlg page;
  titlePage.printContents = 1;
  for (const auto& [count, maxLines, pages] : {std::tuple{100, 100, 2}, {99, 100, 1}, {99, 0, 1}, {10, -3, 1}}) {
    PageSequencing sequence;
    titlePage.maxLines = maxLines;
    BuildPreliminaryPages(titlePage, sequence, page, std::vector<std::string>(static_cast<size_t>(count), "x"));
    EXPECT_EQ(static_cast<int32_t>(sequence.size()), pages) << count << " " << maxLines;
  }
}

TEST(PrintSequence, MapContentsPages) {
  PageSequencing sequence;
  sequence.AddPages(Kind::kTitlePage, 0, 1, 1);
  sequence.base = 1;
  sequence.AddPages(Kind::kMusicPage, 0, 4, 4);
  sequence.MapContentsPages({});
  EXPECT_EQ(Entries(sequence), "0:0:0 6:0:0 6:0:1 6:0:2 6:0:3 ");
  // Sections starting on pages 0, 2 and 2: page 1 runs on from section 0, page 3 from 1.
  sequence.MapContentsPages({0, 2, 2});
  EXPECT_EQ(Entries(sequence), "0:0:0 6:0:0 6:0:1 6:1:2 6:1:3 ");
  EXPECT_EQ(sequence.FindSectionPage(0), 1);
  EXPECT_EQ(sequence.FindSectionPage(1), 3);
  EXPECT_EQ(sequence.FindSectionPage(2), 3);  // shares the page section 1 starts on
  EXPECT_EQ(sequence.FindSectionPage(3), 0);
  sequence.RemoveAll();
  EXPECT_EQ(sequence.base, 0);
  EXPECT_EQ(sequence.runningTotal, 0);
}

TEST(PrintSequence, ContentsRtf) {
  const ScopedPrintClock clock([] { return std::time_t{1767268800}; });
  auto doc = Document({{5}, {3}, {4}, {2}}, 4);
  doc->sections.at(0)->Title().text = "Fantasia {1} \\ 2";
  doc->sections.at(1)->Title().text = "Pavan";
  doc->sections.at(2)->Title().text = "Galliard";
  doc->sections.at(2)->excluded = 1;
  doc->sections.at(3)->Title().text = "Almain";
  CTitlePage& titlePage = doc->settings.titlePage;
  titlePage.Text(CTitlePage::kContentsHeader).text = "Contents";
  titlePage.printTitlepage = 1;
  titlePage.printContents = 1;
  titlePage.useRtf = 1;
  titlePage.pageNumbers = 1;
  titlePage.dateStamp = 1;
  doc->settings.pageSettings.paperFormat = 9;
  BuildPrintPages(*doc, 1);
  std::string text = titlePage.contentsRtf.text;
  titlePage.columns = 1;
  BuildContentsRtf(titlePage, ContentsEntries(*doc), doc->settings.pageSettings.pageSequence,
                   doc->settings.pageSettings);
  text += "\n--- in two columns\n" + titlePage.contentsRtf.text;
  ::vornel::testing::ExpectGoldenLog("contents_rtf", text + "\n");
}

}  // namespace
}  // namespace vornel
