// File > New headless: the template list, the untitled document it makes and the steps after
// it; the new-document wizard when the templates folder holds no template.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FakeDocumentWindows.h"
#include "document/CVornelTabDoc.h"
#include "document/DocumentEnvironment.h"
#include "layout/dialogs/SectionDialogs.h"
#include "layout/wizard/CDocumentWizard.h"
#include "model/score/CSystemArray.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/app/Profile.h"
#include "shell/commands/ApplicationCommands.h"
#include "shell/commands/CommandIds.h"
#include "shell/files/TemplateList.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

// Chooses the entry named `choice`; an empty choice cancels.
class ScriptedTemplateList : public TemplateListDialogs {
 public:
  std::string choice;
  std::vector<std::string> offered;
  std::string caption;
  int runs = 0;
  bool Run(CTemplateList& list) override {
    ++runs;
    offered = list.entries;
    caption = list.caption;
    if (choice.empty()) return false;
    const auto found = std::find(list.entries.begin(), list.entries.end(), choice);
    list.Take(found == list.entries.end() ? -1 : static_cast<int>(found - list.entries.begin()));
    return true;
  }
};

class ScriptedWizard : public DocumentWizardRunner {
 public:
  bool finish = false;
  std::function<void(CDocumentWizard&)> change;
  int runs = 0;
  bool Run(CDocumentWizard& wizard) override {
    ++runs;
    if (change) change(wizard);
    return finish;
  }
};

// The section properties step, cancelled.
struct CancelledSectionDialog : SectionDialogs {
  bool EditSection(CSectionDlg&) override { return false; }
};

struct NewDocumentFixture : ::testing::Test {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  MemoryProfile profile;
  CVornelTabApp app{profile};
  testing::FakeWindows windows{app};
  view::CommandTable table;
  ScriptedTemplateList lists;
  ScopedTemplateListDialogs scopedLists{lists};
  ScriptedWizard wizard;
  ScopedWizardRunner scopedWizard{wizard};
  CancelledSectionDialog sectionDialog;
  ScopedSectionDialogs scopedSectionDialog{sectionDialog};

  NewDocumentFixture() {
    app.dataFolder = dir.path() + "/";
    AddApplicationCommands(table, app, windows);
  }
};

TEST_F(NewDocumentFixture, BaroqueGuitarTemplateGivesAnUntitledDocumentWithOneReentrantLine) {
  app.options.templatesFolder = std::string(VORNEL_SOURCE_DIR) + "/data/Templates/";
  lists.choice = "Baroque guitar.bttx";
  EXPECT_TRUE(table.Execute({commands::kNew, {}, {}}));
  EXPECT_EQ(lists.caption, CTemplateList::kCaption);
  EXPECT_NE(std::find(lists.offered.begin(), lists.offered.end(), "Theorbo in A.bttx"), lists.offered.end());
  ASSERT_EQ(windows.documents.size(), 1u);
  CVornelTabDoc& doc = *windows.documents[0];
  EXPECT_EQ(doc.GetTitle(), "VornelTab1");
  EXPECT_TRUE(doc.GetPathName().empty());
  EXPECT_FALSE(doc.IsModified());  // both later steps were cancelled
  ASSERT_EQ(doc.sections.size(), 1u);
  const CSystemArray& section = *doc.GetActiveSection();
  ASSERT_EQ(section.definitions.size(), 1u);
  const CInstrumentDlg& guitar = *section.definitions.at(0);
  EXPECT_EQ(guitar.nameText.text, "Baroque guitar");
  const nTuning& tuning = guitar.tabInstrument.tuning;
  ASSERT_EQ(tuning.stringCount, 5);
  EXPECT_EQ(tuning.lines, 5);
  std::vector<int> pitches;
  for (int course = 0; course < 5; ++course) pitches.push_back(tuning.courses[static_cast<size_t>(course)].pitch + kCoursePitchOffset);
  // e' b g d' a: the fourth and fifth courses above the third.
  EXPECT_EQ(pitches, (std::vector<int>{64, 59, 55, 62, 57}));
  EXPECT_EQ(section.systems.at(0)->lines.size(), 1u);
  EXPECT_EQ(wizard.runs, 0);
}

TEST_F(NewDocumentFixture, CancelInTheListMakesNothing) {
  app.options.templatesFolder = std::string(VORNEL_SOURCE_DIR) + "/data/Templates/";
  lists.choice.clear();
  table.Execute({commands::kNew, {}, {}});
  EXPECT_EQ(lists.runs, 1);
  EXPECT_TRUE(windows.documents.empty());
}

TEST_F(NewDocumentFixture, WithoutTemplatesTheWizardMakesTheDocument) {
  app.options.templatesFolder = dir.path() + "/";
  testing::WriteText(dir.File("notes.txt"), "not a template");
  table.Execute({commands::kNew, {}, {}});
  EXPECT_EQ(lists.runs, 0);
  EXPECT_EQ(wizard.runs, 1);
  EXPECT_TRUE(windows.documents.empty());  // cancelled

  wizard.finish = true;
  wizard.change = [](CDocumentWizard& w) {
    w.documentPage.title = "Lessons";
    w.sectionPage.fields.numerator = 3;
  };
  table.Execute({commands::kNew, {}, {}});
  ASSERT_EQ(windows.documents.size(), 1u);
  CVornelTabDoc& doc = *windows.documents[0];
  EXPECT_EQ(doc.settings.Text(CDocumentSettings::kTitle).text, "Lessons");
  EXPECT_EQ(doc.GetActiveSection()->numerator, 3);
  EXPECT_TRUE(doc.GetPathName().empty());
}

}  // namespace
}  // namespace vornel
