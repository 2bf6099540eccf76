// The rich texts of the document and of the active section, opened from the score view's
// commands in a scripted rich-text editor.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ViewFixtures.h"
#include "document/CTitlePage.h"
#include "document/DocumentDump.h"
#include "support/ScriptedRichTextEditor.h"

namespace vornel {
namespace {

using testing::SettleAsStored;
using testing::ViewDocument;
using testing::ViewRig;

bool Dispatch(ViewRig& rig, int id) { return rig.view.Commands().Execute(view::CommandEvent{id, std::nullopt, {}}); }

constexpr const char* kEdited = "{\\rtf1\\ansi edited\\par}";

// Each stored text: Cancel changes nothing and takes no undo step; OK keeps the edited text and
// marks the document modified; the section's notes alone are one undo step, which gives back
// the document exactly.
TEST(RichTextCommands, EachTextIsEditedInPlace) {
  struct Case {
    int id;
    std::function<std::string&(CBriotabDoc&)> text;
    bool undoable;
  };
  const std::vector<Case> cases = {
      {33425, [](CBriotabDoc& d) -> std::string& { return d.settings.titlePage.preface.text; }, false},
      {33426, [](CBriotabDoc& d) -> std::string& { return d.settings.titlePage.formattedTitle.text; }, false},
      {33427, [](CBriotabDoc& d) -> std::string& { return d.GetActiveSection()->couplets.text; }, true},
  };
  for (const Case& c : cases) {
    ViewRig rig(ViewDocument(2, 2, 4));
    rig.doc->sections.activeSection = 1;
    c.text(*rig.doc) = "{\\rtf1\\ansi before\\par}";
    SettleAsStored(rig);
    rig.doc->SetModifiedFlag(false);
    testing::ScriptedRichTextEditor editor;
    const std::string before = DumpDocument(*rig.doc);

    ASSERT_TRUE(Dispatch(rig, c.id)) << c.id;
    EXPECT_EQ(editor.seen, std::vector<std::string>{"{\\rtf1\\ansi before\\par}"}) << c.id;
    EXPECT_EQ(DumpDocument(*rig.doc), before) << c.id;
    EXPECT_FALSE(rig.doc->IsModified()) << c.id;
    EXPECT_TRUE(rig.doc->undoStack.empty()) << c.id;

    editor.answer = kEdited;
    ASSERT_TRUE(Dispatch(rig, c.id)) << c.id;
    EXPECT_EQ(c.text(*rig.doc), kEdited) << c.id;
    EXPECT_TRUE(rig.doc->IsModified()) << c.id;
    EXPECT_TRUE(rig.doc->sections.at(0)->couplets.text.empty()) << "only the active section's notes " << c.id;
    ASSERT_EQ(rig.doc->undoStack.size(), c.undoable ? 1u : 0u) << c.id;
    if (c.undoable) {
      rig.doc->OnEditUndo();
      EXPECT_EQ(DumpDocument(*rig.doc), before) << c.id;
    }
    // A text the user emptied is stored empty.
    editor.answer = "";
    ASSERT_TRUE(Dispatch(rig, c.id)) << c.id;
    EXPECT_EQ(c.text(*rig.doc), "") << c.id;
  }
}

TEST(RichTextCommands, SectionNotesAreCheckedWhileTheyHoldText) {
  ViewRig rig(ViewDocument(1, 2, 4));
  EXPECT_EQ(rig.view.Commands().State(33427).checked, std::optional<bool>(false));
  testing::ScriptedRichTextEditor editor;
  editor.answer = kEdited;
  ASSERT_TRUE(Dispatch(rig, 33427));
  EXPECT_EQ(rig.view.Commands().State(33427).checked, std::optional<bool>(true));

  // Without a section the section's commands are off; the document's texts stay available.
  ViewRig empty(std::make_unique<CBriotabDoc>());
  empty.doc->sections.DeleteSection(0);
  for (const int id : {33427, 33501}) EXPECT_FALSE(empty.view.Commands().State(id).enabled) << id;
  for (const int id : {33425, 33426}) EXPECT_TRUE(empty.view.Commands().State(id).enabled) << id;
}

// The table of contents is built from the sections, left-out ones excluded, and opened in the
// editor; the block is never stored, so the document stays as it was.
TEST(RichTextCommands, ContentsAreBuiltAndOpened) {
  ViewRig rig(ViewDocument(3, 2, 4));
  rig.doc->sections.at(0)->Title().text = "Fantasia";
  rig.doc->sections.at(1)->Title().text = "Pavan";
  rig.doc->sections.at(1)->excluded = 1;
  rig.doc->sections.at(2)->Title().text = "Galliard";
  rig.doc->SetModifiedFlag(false);
  const std::string before = DumpDocument(*rig.doc);
  testing::ScriptedRichTextEditor editor;
  editor.answer = kEdited;

  ASSERT_TRUE(Dispatch(rig, 33501));
  ASSERT_EQ(editor.seen.size(), 1u);
  const std::string& contents = editor.seen[0];
  EXPECT_EQ(contents.rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(contents.find("Fantasia"), std::string::npos);
  EXPECT_NE(contents.find("Galliard"), std::string::npos);
  EXPECT_EQ(contents.find("Pavan"), std::string::npos);
  EXPECT_EQ(rig.doc->settings.titlePage.contentsRtf.text, kEdited);
  EXPECT_EQ(DumpDocument(*rig.doc), before);
  EXPECT_FALSE(rig.doc->IsModified());
  EXPECT_TRUE(rig.doc->undoStack.empty());
  EXPECT_TRUE(rig.doc->settings.pageSettings.pageSequence.empty());
}

}  // namespace
}  // namespace vornel
