// The facsimile commands headless: names resolved beside the document, the ".pdf" rule, web
// addresses, removal with its question, the list dialog and the image-list import.

#include <gtest/gtest.h>

#include "document/CVornelTabDoc.h"
#include "document/DocumentEnvironment.h"
#include "document/dialogs/DocumentInformation.h"
#include "document/dialogs/TitlePageSettings.h"
#include "layout/dialogs/SectionDialogs.h"
#include "model/score/CSystemArray.h"
#include "platform/draw/RecordingDevice.h"
#include "support/Bytes.h"
#include "support/RecordingFramePanes.h"
#include "support/MissingService.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"
#include "view/core/ViewIds.h"
#include "view/facsimile/FacsimileCommands.h"
#include "view/render/pages/DocumentPages.h"

namespace vornel::view {
namespace {

class ScriptedFacsimileWindows : public FacsimileWindows {
 public:
  ScriptedFacsimileWindows() : scope_(*this) {}
  bool EditFacsimileList(CFacsimileListDlg& list) override {
    log.push_back("dialog " + std::to_string(list.size()));
    if (dialogAdds.empty()) return false;
    list.AddImage(dialogAdds);
    return true;
  }
  bool ShowInViewer(CBriotabDoc&, const std::string& path) override {
    log.push_back("show " + path);
    return true;
  }
  std::string FetchWebImage(const std::string& url, bool printing) override {
    log.push_back(std::string(printing ? "fetch printing " : "fetch ") + url);
    return fetched;
  }
  bool RunViewerCommand(CBriotabDoc&, int id) override {
    log.push_back("viewer " + std::to_string(id));
    return true;
  }
  std::vector<std::string> log;
  std::string dialogAdds;  // empty: the dialog is cancelled
  std::string fetched;

 private:
  ScopedFacsimileWindows scope_;
};

struct Fixture {
  Fixture() {
    doc.OnNewDocument();
    table.SetGuard(ReportCommandFailures);
    RegisterFacsimileCommands(table, doc);
  }
  CFacsimileListDlg& List() { return doc.GetActiveSection()->facsimiles; }
  CVornelTabDoc doc;
  CommandTable table;
  testing::ScriptedPrompts prompts;
  testing::RecordingFramePanes panes;
  testing::RecordingLauncher launcher;
  ScriptedFacsimileWindows windows;
  testing::TempDir dir;
};

TEST(FacsimileCommands, TheTableCarriesTheDocumentsIds) {
  Fixture f;
  EXPECT_EQ(f.table.Ids(), (std::vector<int>{32948, 33022, 33023, 33024, 33025, 33026, 33027, 33056, 33061, 33117, 33118,
                                             33838, 34120}));
  // The viewer's commands go to the installed windows.
  f.table.Execute({33024, {}, {}});
  EXPECT_EQ(f.windows.log, std::vector<std::string>{"viewer 33024"});
}

TEST(FacsimileCommands, ShowTellsPdfByItsLowerCaseExtensionAndFindsFilesBesideTheDocument) {
  Fixture f;
  f.doc.SetPathName(f.dir.File("piece.btxml"));
  testing::WriteText(f.dir.File("f1.jpg"), "x");
  ShowFacsimileFile(f.doc, "C:\\Scans\\notes.pdf");
  EXPECT_EQ(f.launcher.opened, (std::vector<std::string>{"C:\\Scans\\notes.pdf"}));
  // ".PDF" takes the image route: nothing by that name exists, so the message.
  ShowFacsimileFile(f.doc, "notes.PDF");
  EXPECT_EQ(f.launcher.opened.size(), 1u);
  EXPECT_EQ(f.prompts.messages, (std::vector<std::string>{kCannotLocateFacsimile}));
  // A relative name missing here but present beside the document's file.
  ShowFacsimileFile(f.doc, "f1.jpg");
  EXPECT_EQ(f.windows.log, (std::vector<std::string>{"show " + f.dir.File("f1.jpg")}));
}

TEST(FacsimileCommands, WebAddressesAreFetchedOnlyForImageNames) {
  Fixture f;
  f.windows.fetched = f.dir.File("cached.jpg");
  std::string name = "http://host/dir/p1.JPG";
  EXPECT_TRUE(ResolveFacsimile(f.doc, name, false));
  EXPECT_EQ(name, f.dir.File("cached.jpg"));
  // ".jpeg" is no image name: the browser, but not while printing.
  name = "http://host/dir/p1.jpeg";
  EXPECT_FALSE(ResolveFacsimile(f.doc, name, true));
  EXPECT_TRUE(f.launcher.opened.empty());
  ShowFacsimileFile(f.doc, "http://host/page.html");
  EXPECT_EQ(f.launcher.opened, (std::vector<std::string>{"http://host/page.html"}));
  EXPECT_EQ(f.prompts.messages, (std::vector<std::string>{kCannotLocateFacsimile}));
  f.windows.fetched.clear();
  name = "http://host/dir/p2.png";
  EXPECT_FALSE(ResolveFacsimile(f.doc, name, false));
  EXPECT_EQ(name, "http://host/dir/p2.png");
}

// A web facsimile among the preliminary pages is drawn from the downloaded file; drawing never
// opens the browser or asks for anything.
TEST(FacsimileCommands, WebFacsimilesDrawOnPages) {
  Fixture f;
  f.windows.fetched = std::string(VORNEL_CORPUS_DIR) + "/images/various/hopper.jpg";
  CTitlePage& titlePage = f.doc.settings.titlePage;
  titlePage.printTitlepage = 1;
  titlePage.imageList.AddImage("http://host/dir/p1.jpg");
  f.doc.settings.pageSettings.printFacsimiles = 1;
  f.doc.settings.pageSettings.printAllSections = 1;
  ASSERT_GE(BuildPrintPages(f.doc, 1), 2);
  RecordingDevice dc(150, true);
  dc.SetExtent({1240, 1754});
  DrawPage(f.doc, dc, 1);
  EXPECT_EQ(f.windows.log, (std::vector<std::string>{"fetch printing http://host/dir/p1.jpg"}));
  EXPECT_NE(dc.Log().find("128x128"), std::string::npos) << dc.Log();
  EXPECT_TRUE(f.launcher.opened.empty());
}

TEST(FacsimileCommands, RemovingAsksAndMarksTheDocumentModified) {
  Fixture f;
  AddFacsimileFile(f.doc, "a.jpg");
  f.doc.SetModifiedFlag(false);
  f.prompts.QueueAnswer(Answer::kNo);
  RemoveFacsimile(f.doc, 0);
  EXPECT_EQ(f.List().size(), 1u);
  EXPECT_FALSE(f.doc.IsModified());
  f.prompts.QueueAnswer(Answer::kYes);
  RemoveFacsimile(f.doc, 0);
  EXPECT_EQ(f.prompts.questions, (std::vector<std::string>(2, "OK to remove this facsimile: a.jpg")));
  EXPECT_EQ(f.List().size(), 0u);
  EXPECT_EQ(f.List().captions.size(), 0u);
  EXPECT_TRUE(f.doc.IsModified());
  EXPECT_EQ(f.panes.log.back(), "facsimiles 0");
  EXPECT_THROW(RemoveFacsimile(f.doc, 0), std::out_of_range);
}

TEST(FacsimileCommands, DialogAndUrlCommandsRefreshThePane) {
  Fixture f;
  // The list command refreshes whatever the dialog returned; AddFacsimile only after OK.
  // The document is modified once the list changed.
  f.table.Execute(CommandEvent{kAddFacsimileImageCommand, std::nullopt, ""});
  EXPECT_EQ(f.panes.log, (std::vector<std::string>{"facsimiles 0"}));
  AddFacsimile(f.doc);
  EXPECT_EQ(f.panes.log.size(), 1u);
  EXPECT_FALSE(f.doc.IsModified());
  f.windows.dialogAdds = "b.png";
  AddFacsimile(f.doc);
  EXPECT_EQ(f.panes.log.back(), "facsimiles 1");
  EXPECT_TRUE(f.doc.IsModified());
  f.prompts.QueueText(std::nullopt);
  f.table.Execute(CommandEvent{kFacsimileUrlCommand, std::nullopt, ""});
  EXPECT_EQ(f.List().size(), 1u);
  f.prompts.QueueText("http://host/f2.jpg");
  f.table.Execute(CommandEvent{kFacsimileUrlCommand, std::nullopt, ""});
  EXPECT_EQ(f.List().imagePaths, (std::vector<std::string>{"b.png", "http://host/f2.jpg"}));
  EXPECT_EQ(f.List().captions, (std::vector<std::string>{"", ""}));
  EXPECT_EQ(f.prompts.textPrompts.back(), std::string(kAddImageUrlPrompt) + "|");
}

// Section properties that press "Facsimile list", then end with OK or Cancel.
class ListButtonSectionDialogs : public SectionDialogs {
 public:
  explicit ListButtonSectionDialogs(bool ok) : ok_(ok), scope_(*this) {}
  bool EditSection(CSectionDlg& dialog) override {
    dialog.facsimiles.Run();
    return ok_;
  }

 private:
  bool ok_;
  ScopedSectionDialogs scope_;
};

// Installing the facsimile windows gives the section and document dialogs their list dialog;
// a list changes only when the list dialog and the dialog around it both end with OK.
TEST(FacsimileCommands, FacsimileListButtonsOfTheSectionAndDocumentDialogs) {
  struct Case {
    const char* listDialogAdds;  // empty: the list dialog is cancelled
    bool ok;                     // the dialog around it
    size_t added;
  };
  for (const Case& c : {Case{"b.png", true, 1}, Case{"", true, 0}, Case{"b.png", false, 0}}) {
    SCOPED_TRACE(std::string(c.listDialogAdds) + (c.ok ? " OK" : " Cancel"));
    Fixture f;
    AddFacsimileFile(f.doc, "a.jpg");
    f.windows.dialogAdds = c.listDialogAdds;
    {
      ListButtonSectionDialogs dialogs(c.ok);
      EXPECT_EQ(EditSectionProperties(*f.doc.GetActiveSection()), c.ok ? 1 : 0);
    }
    EXPECT_EQ(f.List().size(), 1 + c.added);

    CFacsimileListDlg& images = f.doc.settings.titlePage.imageList;
    CTitlePageDlg titlePage;
    titlePage.Load(f.doc.settings.titlePage);
    titlePage.facsimiles.Run();
    if (c.ok) {
      EXPECT_TRUE(titlePage.Store(f.doc.settings.titlePage));
    }
    EXPECT_EQ(images.size(), c.added);

    DocumentInformationFields information;
    information.Load(f.doc.settings);
    information.facsimiles.Run();
    if (c.ok) information.Store(f.doc.settings);
    EXPECT_EQ(images.size(), 2 * c.added);
    // Each list dialog saw the list it edits.
    EXPECT_EQ(f.windows.log, (std::vector<std::string>{"dialog 1", "dialog 0", c.added ? "dialog 1" : "dialog 0"}));
  }
  // Without windows every button says so and changes nothing.
  testing::ScriptedPrompts prompts;
  FacsimileListEdit edit;
  EXPECT_MISSING_SERVICE(prompts, EXPECT_FALSE(edit.Run()), "facsimile list dialog");
  EXPECT_FALSE(edit.Edited());
}

TEST(FacsimileCommands, ImageListAddsSectionsSkipsShortLinesAndRenumbers) {
  Fixture f;
  const size_t before = f.doc.sections.size();
  const std::string longName(3000, 'n');
  testing::WriteText(f.dir.File("list.txt"),
                     "Anon\tPlate 1\tFantasia\tfrom a manuscript\ta.jpg;b.jpg \r\n"
                     "\n"
                     "too\tfew\tfields\n"
                     "ignored\tLute\tPlate 2\tPavan\t\t" + longName + ".jpg\n");
  f.doc.SetModifiedFlag(false);
  f.prompts.QueueFile(f.dir.File("list.txt"));
  f.table.Execute(CommandEvent{kImportImageListCommand, std::nullopt, ""});
  ASSERT_EQ(f.doc.sections.size(), before + 2);
  const CSystemArray& first = *f.doc.sections.items()[before];
  EXPECT_EQ(first.Title().text, "Fantasia");
  EXPECT_EQ(first.Author().text, "Anon");
  EXPECT_EQ(first.Comments().text, "from a manuscript");
  EXPECT_EQ(first.facsimiles.imagePaths, (std::vector<std::string>{"a.jpg", "b.jpg"}));
  EXPECT_EQ(first.facsimiles.captions, (std::vector<std::string>{"Plate 1", "Plate 1"}));
  // Only the last five fields count; no line is too long.
  const CSystemArray& second = *f.doc.sections.items()[before + 1];
  EXPECT_EQ(second.Author().text, "Lute");
  EXPECT_EQ(second.Title().text, "Pavan");
  EXPECT_EQ(second.facsimiles.imagePaths, (std::vector<std::string>{longName + ".jpg"}));
  for (size_t i = 0; i < f.doc.sections.size(); ++i) EXPECT_EQ(f.doc.sections.items()[i]->index, int32_t(i));
  EXPECT_TRUE(f.doc.IsModified());
  ASSERT_EQ(f.prompts.messages.size(), 1u);
  EXPECT_NE(f.prompts.messages[0].find("2 line(s)"), std::string::npos);
}

TEST(FacsimileCommands, TheImageListPrefixGoesBeforeEachName) {
  Fixture f;
  vornel::Environment().imageListPrefix = "http://www.example.org/facsimiles/";
  testing::WriteText(f.dir.File("list.txt"), "A\tC\tT\tX\tp1.jpg\n");
  ImportImageList(f.doc, f.dir.File("list.txt"));
  vornel::Environment().imageListPrefix.clear();
  EXPECT_EQ(f.doc.sections.items().back()->facsimiles.imagePaths,
            (std::vector<std::string>{"http://www.example.org/facsimiles/p1.jpg"}));
}

TEST(FacsimileCommands, PrintAndPreviewReachTheViewerOnlyWhileItIsTheActiveView) {
  std::vector<std::string> log;
  bool hasImage = true;
  CommandTable viewer;
  RegisterImageViewerCommands(
      viewer, [&hasImage] { return hasImage; }, [&log] { log.push_back("viewer print"); },
      [&log] { log.push_back("viewer preview"); });
  CommandTable score;
  for (const int id : {kPrint, kPrintPreview, kQuickPrint}) {
    score.Add(id, [&log, id](const CommandEvent&) { log.push_back("score " + std::to_string(id)); });
  }
  CommandRouter router;
  // The tab routes the viewer's table first while the viewer is active, nothing in its place otherwise.
  router.SetRoute({&viewer, &score});
  EXPECT_TRUE(router.Dispatch(kPrint));
  EXPECT_TRUE(router.Dispatch(kPrintPreview));
  EXPECT_TRUE(router.Dispatch(kQuickPrint));  // not the viewer's: the score still prints
  EXPECT_EQ(log, (std::vector<std::string>{"viewer print", "viewer preview", "score 57608"}));
  // An empty viewer has nothing to print: shown disabled, not handed to the score.
  hasImage = false;
  EXPECT_FALSE(router.State(kPrint).enabled);
  EXPECT_FALSE(router.Dispatch(kPrintPreview));
  log.clear();
  router.SetRoute({nullptr, &score});
  EXPECT_TRUE(router.Dispatch(kPrint));
  EXPECT_TRUE(router.Dispatch(kPrintPreview));
  EXPECT_EQ(log, (std::vector<std::string>{"score 57607", "score 57609"}));
}

}  // namespace
}  // namespace vornel::view
