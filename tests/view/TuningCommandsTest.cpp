// The active instrument's tuning commands on a new document: the tuning dialog's result
// reaches the definition (undoably), and a retuned course takes its new pitch; the same pitch
// is "No changes ...".

#include <gtest/gtest.h>

#include "document/CVornelTabDoc.h"
#include "model/score/CSystemArray.h"
#include "model/score/SectionEditor.h"
#include "model/dialogs/TuningDialogs.h"
#include "support/ScriptedPrompts.h"
#include "view/settings/TuningCommands.h"

namespace vornel::view {
namespace {

const nTuning& ActiveTuning(CVornelTabDoc& doc) {
  CSystemArray& section = *doc.GetActiveSection();
  return section.definitions.at(section.ActiveInstrumentIndex())->tabInstrument.tuning;
}

TEST(TuningCommands, InstrumentTuningTakesTheDialogsTuning) {
  CVornelTabDoc doc;
  doc.OnNewDocument();
  struct Editor : SectionEditor {
    bool EditTuning(nTuning& tuning) override {
      tuning.SetTuning("EBGDAE");
      return true;
    }
  } editor;
  ScopedSectionEditor scoped(editor);
  ASSERT_TRUE(EditActiveTuning(doc));
  EXPECT_EQ(ActiveTuning(doc).GetTuningText(), "EBGDAE");
  EXPECT_TRUE(doc.IsModified());
  EXPECT_TRUE(doc.CanUndo());
}

TEST(TuningCommands, ChangeCourseTuningRetunesOneCourse) {
  testing::ScriptedPrompts prompts;
  CVornelTabDoc doc;
  doc.OnNewDocument();
  CBourdonTuningDlg choice;
  choice.Load(ActiveTuning(doc));
  const int count = ActiveTuning(doc).stringCount;
  choice.SelectCourse(ActiveTuning(doc), count - 1);
  EXPECT_FALSE(ChangeCourseTuning(doc, choice));  // the pitch it already has
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"No changes ..."});
  choice.SetPitch(choice.newPitch - 2);
  ASSERT_TRUE(ChangeCourseTuning(doc, choice));
  const CourseRecord& course = ActiveTuning(doc).courses[static_cast<size_t>(count - 1)];
  EXPECT_EQ(course.pitch + kCoursePitchOffset, choice.newPitch);
  EXPECT_EQ(ActiveTuning(doc).stringCount, count);
}

}  // namespace
}  // namespace vornel::view
