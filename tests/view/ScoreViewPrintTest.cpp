// The score view's printing run (the same for the printer, the preview and a PDF file): what
// it changes while it runs and puts back, the page a preview opens on and the section it
// leaves active when it closes.

#include <gtest/gtest.h>

#include "ViewFixtures.h"
#include "view/core/ViewPrinting.h"

namespace vornel {
namespace {

using testing::ViewDocument;
using testing::ViewRig;

// Three sections of two pages each, all printed.
std::unique_ptr<CBriotabDoc> ThreeSections() {
  auto doc = ViewDocument(3, 8, 4);
  doc->settings.pageSettings.printAllSections = 1;
  for (size_t k = 0; k < doc->sections.size(); ++k) doc->sections.at(k)->flags = CSystemArray::kPageBreakAfter;
  return doc;
}

std::string PrintedPage(view::ViewPrintJob& job, int32_t page) {
  RecordingDevice printer(300, true);
  job.PrintPage(printer, page);
  return printer.Log();
}

TEST(ScoreViewPrint, TheRunPutsEverythingBack) {
  ViewRig rig(ViewDocument(1, 8, 4));
  CPageDlg& page = rig.doc->settings.pageSettings;
  page.zoom = 150;
  page.proportionalSpacingDialog = 7;
  page.proportionalSpacing = 0;
  rig.view.UpdateScrollSizes();
  rig.window.scroll = {30, 200};
  rig.view.PageDown();
  rig.window.scroll = {30, 200};
  rig.panes.log.clear();
  {
    view::ViewPrintJob job(rig.view, false);
    EXPECT_EQ(page.zoom, 100);
    EXPECT_EQ(rig.window.scroll, (Point{0, 0}));
    EXPECT_EQ(page.proportionalSpacing, 7);
    EXPECT_EQ(rig.panes.log, (std::vector<std::string>{"frame disabled"}));
    ASSERT_EQ(job.PageCount(), 2);
    const std::string first = PrintedPage(job, 0);
    EXPECT_NE(first, PrintedPage(job, 1));
    EXPECT_NE(first.find("Section 1"), std::string::npos);
    // Printed pages carry no caret, selection or panes.
    EXPECT_EQ(rig.panes.log.size(), 1u);
  }
  EXPECT_EQ(page.zoom, 150);
  EXPECT_EQ(rig.window.scroll, (Point{30, 200}));
  EXPECT_EQ(page.proportionalSpacing, 0);
  EXPECT_EQ(rig.panes.log.back(), "frame enabled");
  // The page of the active system again.
  EXPECT_EQ(rig.view.State().pageIndex, 1);
  EXPECT_FALSE(rig.view.Printing());
}

TEST(ScoreViewPrint, PreviewOpensOnTheActiveSectionAndClosesOntoTheSectionShown) {
  ViewRig rig(ThreeSections());
  ASSERT_EQ(rig.doc->SetActiveSection(2), 1);
  {
    view::ViewPrintJob job(rig.view, true);
    ASSERT_EQ(job.PageCount(), 6);
    EXPECT_EQ(job.FirstPage(), 4);
    EXPECT_NE(PrintedPage(job, 4).find("Section 3"), std::string::npos);
    EXPECT_EQ(PrintedPage(job, 3).find("Section 3"), std::string::npos);
    // Closed while showing the second section's second page.
    job.ClosePreviewOn(3);
  }
  EXPECT_EQ(rig.doc->sections.activeSection, 1);
  EXPECT_EQ(rig.view.State().pageIndex, 0);
  EXPECT_EQ(rig.Section().activeSystem, 0);

  // Closed on the active section's own page: it stays, at the page of its active system.
  rig.view.PageDown();
  {
    view::ViewPrintJob job(rig.view, true);
    EXPECT_EQ(job.FirstPage(), 2);
    job.ClosePreviewOn(3);
  }
  EXPECT_EQ(rig.doc->sections.activeSection, 1);
  EXPECT_EQ(rig.view.State().pageIndex, 1);
}

TEST(ScoreViewPrint, PrintCommandsAskTheWindow) {
  ViewRig rig(ViewDocument(1, 4, 4));
  for (const int id : {view::kPrint, view::kQuickPrint, view::kPrintPreview}) {
    ASSERT_TRUE(rig.view.Commands().Execute({id, {}, {}}));
  }
  EXPECT_EQ(rig.window.log, (std::vector<std::string>{"print with dialog", "print", "preview"}));
  ViewRig empty(std::make_unique<CBriotabDoc>());
  EXPECT_FALSE(empty.view.Commands().State(view::kPrintPreview).enabled);
}

// The printer setup gives the document the chosen paper and orientation; a cancelled setup, or
// one that keeps both, leaves the document unmodified.
TEST(ScoreViewPrint, PrintSetupTakesThePrintersPaper) {
  ViewRig rig(ViewDocument(1, 8, 4));
  CPageDlg& page = rig.doc->settings.pageSettings;
  page.paperFormat = 9;
  page.landscape = 0;
  view::CommandRouter commands;
  commands.SetRoute({&rig.view.Commands()});
  EXPECT_TRUE(commands.State(view::kPrintSetup).enabled);

  EXPECT_TRUE(commands.Dispatch(view::kPrintSetup));  // no setup to ask: nothing changes
  rig.window.printSetup = [](CPageDlg&) { return true; };
  commands.Dispatch(view::kPrintSetup);
  EXPECT_FALSE(rig.doc->IsModified());

  rig.window.printSetup = [](CPageDlg& p) {
    p.paperFormat = 8;
    p.landscape = 1;
    return true;
  };
  commands.Dispatch(view::kPrintSetup);
  EXPECT_EQ(page.paperFormat, 8);
  EXPECT_EQ(page.landscape, 1);
  EXPECT_TRUE(rig.doc->IsModified());
}

}  // namespace
}  // namespace vornel
