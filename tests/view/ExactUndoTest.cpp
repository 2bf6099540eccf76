// An undo gives back exactly what was there: a document saved before an edit and saved again
// after the edit and one undo has the same bytes, for typed keys and the score's commands on
// documents as they come from their files, drawn as the window draws them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "LongTabSection.h"
#include "ViewFixtures.h"
#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "layout/dialogs/SectionDialogs.h"
#include "model/undo/CUndoSectionArray.h"
#include "model/undo/SystemsSnapshot.h"
#include "support/Bytes.h"
#include "view/entry/KeyScript.h"

namespace vornel::testing {
namespace {

struct Edit {
  const char* name;
  const char* script;  // keys and commands as `vornel-tool keys` reads them
};

constexpr Edit kEdits[] = {
    {"typed note", "char a\n"},
    {"typed digit", "key Right\nchar 3\n"},
    {"note deleted", "key Delete\n"},
    {"chord deleted", "key Ctrl+Delete\n"},
    {"chord inserted", "cmd 32786\n"},
    {"static space", "cmd 32787\n"},
    {"format system", "cmd 32784\n"},
    {"clean section", "cmd 33171\n"},
    {"last bar down", "cmd 33007\n"},
    {"notes up a string", "key Ctrl+Up\n"},
};

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

TEST(ExactUndo, SavedBytesAfterAnEditAndOneUndoAreTheBytesSavedBefore) {
  TempDir temp;
  std::vector<std::string> documents;
  for (const char* file : {"tests/tool/french-lute.btxml", "tests/tool/two-voices.btxml",
                           "data/Templates/Baroque guitar.bttx", "tests/tool/lachrimae.btb"}) {
    documents.push_back(std::string(VORNEL_SOURCE_DIR) + "/" + file);
  }
  // Fonts as older files store them: the face "TabDefault", which a file's reader replaces, a
  // zoom of the last drawing and a parent size, which only the XML form keeps.
  std::string fonts = ReadText(documents.front());
  fonts = Replaced(fonts, "typeface=\"Vornelfg\"", "typeface=\"TabDefault\"");
  fonts = Replaced(fonts, "zoom=\"100\"", "zoom=\"150\"");
  fonts = Replaced(fonts, "parent.cx=\"0\"", "parent.cx=\"600\"");
  documents.push_back(temp.File("fonts.btxml"));
  WriteText(documents.back(), fonts);
  for (const std::string& file : documents) {
    for (const Edit& edit : kEdits) {
      OpenedDocument opened = OpenDocumentFile(file);
      ASSERT_NE(opened.document, nullptr) << opened.message;
      CVornelTabDoc& doc = *opened.document;
      ViewRig rig(std::move(opened.document));
      // As the editor shows it, at 120%, the cursor on the second column.
      rig.view.SetZoomKeepingPosition(120);
      rig.Draw();
      rig.view.OnSetFocus();
      ASSERT_TRUE(view::ReplayKeyScript(rig.view, "key Right\n"));
      rig.doc->undoStack.clear();
      const std::string before = temp.File("before.btxml");
      const std::string after = temp.File("after.btxml");
      ASSERT_TRUE(SaveDocumentFile(doc, before));
      ASSERT_TRUE(view::ReplayKeyScript(rig.view, edit.script)) << edit.name;
      rig.Draw();
      if (rig.doc->undoStack.empty()) continue;  // nothing to do here, nothing to undo
      rig.doc->OnEditUndo();
      rig.Draw();
      ASSERT_TRUE(SaveDocumentFile(doc, after));
      EXPECT_EQ(FirstDifference(ReadText(before), ReadText(after)), "") << file << ": " << edit.name;
    }
  }
}

TEST(ExactUndo, AnActionThatChangesNothingLeavesNoUndoStepAndNoModifiedMark) {
  // An empty line: nothing to delete, move or split; a '+' is no note.
  for (const char* script : {"key Delete\n", "key Backspace\n", "char +\n", "char <\n", "cmd 33333\n", "cmd 32785\n"}) {
    OpenedDocument opened = OpenDocumentFile(std::string(VORNEL_SOURCE_DIR) + "/tests/tool/two-voices.btxml");
    ASSERT_NE(opened.document, nullptr) << opened.message;
    ViewRig rig(std::move(opened.document));
    rig.view.OnSetFocus();
    ASSERT_TRUE(view::ReplayKeyScript(rig.view, "key End\nkey Right\nkey Right\n"));
    rig.doc->SetModifiedFlag(false);
    const std::string before = DumpDocument(*rig.doc);
    ASSERT_TRUE(view::ReplayKeyScript(rig.view, script)) << script;
    EXPECT_EQ(FirstDifference(DumpDocument(*rig.doc), before), "") << script;
    EXPECT_TRUE(rig.doc->undoStack.empty()) << script;
    EXPECT_FALSE(rig.doc->IsModified()) << script;
  }
}

TEST(ExactUndo, UndoingBackToWhatWasSavedClearsTheModifiedMark) {
  OpenedDocument opened = OpenDocumentFile(std::string(VORNEL_SOURCE_DIR) + "/tests/tool/french-lute.btxml");
  ASSERT_NE(opened.document, nullptr) << opened.message;
  ViewRig rig(std::move(opened.document));
  CBriotabDoc& doc = *rig.doc;
  rig.view.OnSetFocus();
  EXPECT_FALSE(doc.IsModified());
  ASSERT_TRUE(view::ReplayKeyScript(rig.view, "char a\nchar c\n"));
  EXPECT_TRUE(doc.IsModified());
  doc.OnEditUndo();
  EXPECT_TRUE(doc.IsModified());
  doc.OnEditUndo();
  EXPECT_FALSE(doc.IsModified());
  doc.OnEditRedo();
  EXPECT_TRUE(doc.IsModified());
  // Saved here: this is the state that is not modified now.
  doc.SetModifiedFlag(false);
  doc.OnEditUndo();
  EXPECT_TRUE(doc.IsModified());
  doc.OnEditRedo();
  EXPECT_FALSE(doc.IsModified());
  // A change that no undo entry holds leaves the mark for good.
  doc.SetModifiedFlag(true);
  doc.OnEditUndo();
  doc.OnEditRedo();
  EXPECT_TRUE(doc.IsModified());
}

// "Page formatting" answering for every section.
struct EverySectionFormatting : SectionDialogs {
  bool ReformatPage(CReformatPageDlg& d) override {
    d.reformatStaves = true;
    d.reformatAllSections = true;
    d.stavesPerPage = 5;
    d.titleAlignment = d.authorAlignment = d.commentsAlignment = 0;
    return true;
  }
};

TEST(ExactUndo, AnEditOfEverySectionIsUndoneWholeByOneUndoAndRedoneByOneRedo) {
  TempDir temp;
  // Three sections, the second active.
  const std::string start = temp.File("three.btxml");
  {
    OpenedDocument opened = OpenDocumentFile(std::string(VORNEL_SOURCE_DIR) + "/tests/tool/french-lute.btxml");
    ASSERT_NE(opened.document, nullptr) << opened.message;
    for (const char* title : {"Galliard", "Pavan"}) {
      opened.document->AppendSection(CopySection(*opened.document->sections.at(0)))->Title().text = title;
    }
    opened.document->sections.activeSection = 1;
    ASSERT_TRUE(SaveDocumentFile(*opened.document, start));
  }
  struct Case {
    const char* name;
    std::function<void(ViewRig&)> run;
  };
  const auto command = [](int id) {
    return [id](ViewRig& rig) { ASSERT_TRUE(rig.view.Commands().Execute(view::CommandEvent{id, std::nullopt, {}})); };
  };
  const Case cases[] = {
      {"page formatting of every section", command(33412)},
      {"staves per page of every section",
       [&](ViewRig& rig) {
         rig.prompts.QueueNumber(3);
         command(33047)(rig);
       }},
      {"key analysis of every section",
       [&](ViewRig& rig) {
         rig.prompts.QueueAnswer(Answer::kYes);
         command(33804)(rig);
       }},
      {"paste of every section",
       [](ViewRig& rig) {
         rig.doc->CopySectionRange(1, 3);
         rig.prompts.QueueAnswer(Answer::kNo);
         rig.doc->OnPasteSections();
       }},
  };
  EverySectionFormatting formatting;
  ScopedSectionDialogs installed(formatting);
  for (const Case& c : cases) {
    OpenedDocument opened = OpenDocumentFile(start);
    ASSERT_NE(opened.document, nullptr) << opened.message;
    CVornelTabDoc& doc = *opened.document;
    ViewRig rig(std::move(opened.document));
    const std::string before = temp.File("before.btxml");
    const std::string edited = temp.File("edited.btxml");
    const std::string after = temp.File("after.btxml");
    ASSERT_TRUE(SaveDocumentFile(doc, before));
    c.run(rig);
    ASSERT_TRUE(SaveDocumentFile(doc, edited));
    ASSERT_NE(ReadText(before), ReadText(edited)) << c.name;
    ASSERT_EQ(doc.undoStack.size(), 1u) << c.name;
    doc.OnEditUndo();
    ASSERT_TRUE(SaveDocumentFile(doc, after));
    EXPECT_EQ(FirstDifference(ReadText(before), ReadText(after)), "") << c.name;
    EXPECT_EQ(doc.sections.activeSection, 1) << c.name;
    doc.OnEditRedo();
    ASSERT_TRUE(SaveDocumentFile(doc, after));
    EXPECT_EQ(FirstDifference(ReadText(edited), ReadText(after)), "") << c.name;
  }
}

// A section of a TAB import of 600 chords (some thirty systems, several pages) drawn as the
// window draws it, the cursor on the second chord of a system in its middle.
struct LongSectionRig : ViewRig {
  LongSectionRig() : ViewRig(LongSectionDocument(600)) {
    view.GoToSystem(static_cast<int>(Section().systems.size() / 2));
    Draw();
    view.OnSetFocus();
    // The cursor stays where a fret is typed: each step says where it goes next.
    view.State().autoAdvance = false;
    Run("key Right\n");
    doc->undoStack.clear();
    doc->SetModifiedFlag(false);
  }
  void Run(const std::string& script) {
    ASSERT_TRUE(view::ReplayKeyScript(view, script)) << script;
    Draw();
  }
};

TEST(ExactUndo, EditsInTheMiddleOfALongSectionAreUndoneAndRedoneExactly) {
  LongSectionRig rig;
  CBriotabDoc& doc = *rig.doc;
  ASSERT_GT(rig.Section().PageCount(), 2u);
  struct Step {
    const char* script;
    bool pageOnly;  // the entry holds the systems of the cursor's page alone
  };
  const Step steps[] = {
      {"char c\n", true},                   // a fret typed over the cursor's
      {"key Down\nchar e\n", true},        // a fret on another course
      {"key Delete\n", true},               // that note deleted
      {"key Right\nkey Ctrl+Delete\n", false},  // a chord deleted: the whole section's entry
      {"key Right\nkey Right\nchar a\n", true},  // a fret after it, bound to the copy the undo brings
      {"key Left\nkey Ctrl+Delete\n", false},  // a chord deleted
      {"char b\n", true},
  };
  std::vector<std::string> states = {DumpDocument(doc)};
  for (const Step& step : steps) {
    rig.Run(step.script);
    ASSERT_FALSE(doc.undoStack.empty()) << step.script;
    const SystemsSnapshot* held = doc.undoStack.at(0)->systemsOnly.get();
    EXPECT_EQ(held != nullptr, step.pageOnly) << step.script;
    if (held != nullptr) {
      const CSystemArray& section = rig.Section();
      const size_t page = section.PageOfSystem(static_cast<size_t>(section.activeSystem));
      EXPECT_EQ(held->first, section.FirstSystemOfPage(page)) << step.script;
      EXPECT_EQ(held->systems.size(), section.SystemsOnPage(page)) << step.script;
    }
    states.push_back(DumpDocument(doc));
    ASSERT_TRUE(states.back() != states[states.size() - 2]) << "nothing changed: " << step.script;
  }
  for (size_t i = states.size() - 1; i-- > 0;) {
    doc.OnEditUndo();
    EXPECT_EQ(FirstDifference(DumpDocument(doc), states[i]), "") << "undo back to " << i;
    rig.Draw();
    EXPECT_EQ(FirstDifference(DumpDocument(doc), states[i]), "") << "drawn after the undo back to " << i;
  }
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_FALSE(doc.IsModified());
  for (size_t i = 1; i < states.size(); ++i) {
    doc.OnEditRedo();
    rig.Draw();
    EXPECT_EQ(FirstDifference(DumpDocument(doc), states[i]), "") << "redo to " << i;
  }
  EXPECT_FALSE(doc.CanRedo());
}

TEST(ExactUndo, TypedFretsKeepTheUndoDepthAndHalfOfItForRedo) {
  LongSectionRig rig;
  CBriotabDoc& doc = *rig.doc;
  ASSERT_EQ(doc.undoStack.limit, 24);
  std::vector<std::string> states = {DumpDocument(doc)};
  for (int i = 0; i < 26; ++i) {
    // A fret other than the one there: a key that changes nothing leaves no entry.
    for (int letter = 0; letter < 6 && DumpDocument(doc) == states.back(); ++letter) {
      rig.Run(std::string("char ") + static_cast<char>('a' + (i + letter) % 6) + "\n");
    }
    ASSERT_NE(DumpDocument(doc), states.back()) << i;
    rig.Run("key Right\n");
    states.push_back(DumpDocument(doc));
  }
  // The 25th entry pushed the oldest out.
  EXPECT_EQ(doc.undoStack.size(), 24u);
  for (int i = 0; i < 24; ++i) doc.OnEditUndo();
  EXPECT_EQ(FirstDifference(DumpDocument(doc), states[2]), "");
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_EQ(doc.redoStack.size(), 12u);
  // The redo entries kept are the newest undone: back to the 14th note.
  for (int i = 0; i < 12; ++i) doc.OnEditRedo();
  EXPECT_EQ(FirstDifference(DumpDocument(doc), states[14]), "");
  EXPECT_FALSE(doc.CanRedo());
}

}  // namespace
}  // namespace vornel::testing
