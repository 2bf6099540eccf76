#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "document/CBriotabDoc.h"
#include "document/DocumentEnvironment.h"
#include "document/DocumentFixtures.h"
#include "model/instrument/CInstrumentDlg.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::ScriptedPrompts;

std::unique_ptr<CSystemArray> Titled(const std::string& title) {
  auto section = std::make_unique<CSystemArray>();
  section->Title().text = title;
  return section;
}

// A document of sections with these titles, the first active.
std::unique_ptr<CBriotabDoc> DocumentOf(std::initializer_list<const char*> titles) {
  auto doc = std::make_unique<CBriotabDoc>();
  for (const char* title : titles) doc->sections.push_back(Titled(title));
  doc->sections.activeSection = 0;
  doc->sections.Renumber();
  return doc;
}

std::vector<std::string> Titles(const CSectionArray& list) {
  std::vector<std::string> titles;
  for (const auto& section : list.items()) titles.push_back(section->Title().text);
  return titles;
}

std::string ActiveTitle(const CBriotabDoc& doc) { return doc.GetActiveSection()->Title().text; }

// Records what the views are told.
struct RecordingView : DocumentObserver {
  std::vector<int> hints;
  std::vector<std::string> sectionLines;
  void OnUpdate(const CBriotabDoc&, int hint, const CStaveArray*) override { hints.push_back(hint); }
  void OnSectionListChanged(const std::vector<std::string>& lines, int32_t) override { sectionLines = lines; }
};

class SectionBufferTest : public ::testing::Test {
 protected:
  void SetUp() override { CBriotabDoc().ClearSectionBuffer(); }
  void TearDown() override {
    CBriotabDoc().ClearSectionBuffer();
    Environment().sectionBuffer.limit = 12;
  }
};

TEST(UndoStacks, DepthComesFromTheUndoOptionAndRedoKeepsHalf) {
  const int32_t saved = Environment().undoDepth;
  for (const auto& [depth, redo] : {std::pair{24, 12}, {13, 6}, {0, 0}}) {
    Environment().undoDepth = depth;
    const CBriotabDoc doc;
    EXPECT_EQ(doc.undoStack.limit, depth);
    EXPECT_EQ(doc.redoStack.limit, redo);
  }
  Environment().undoDepth = saved;

  // The 25th snapshot pushes the oldest out; the newest stands first.
  auto doc = DocumentOf({"s"});
  const std::vector<std::string> names = {"s1",  "s2",  "s3",  "s4",  "s5",  "s6",  "s7",  "s8",  "s9",
                                           "s10", "s11", "s12", "s13", "s14", "s15", "s16", "s17", "s18",
                                           "s19", "s20", "s21", "s22", "s23", "s24", "s25"};
  for (const std::string& name : names) {
    doc->GetActiveSection()->Title().text = name;
    ASSERT_EQ(doc->SaveSnapshot(), 1);
  }
  ASSERT_EQ(doc->undoStack.size(), 24u);
  EXPECT_EQ(doc->undoStack.at(0)->Title().text, "s25");
  EXPECT_EQ(doc->undoStack.at(23)->Title().text, "s2");
  for (int i = 0; i < 13; ++i) doc->SaveSnapshot(false);
  EXPECT_EQ(doc->redoStack.size(), 12u);

  // Snapshots are copies: changing the section afterwards leaves them as they were.
  doc->GetActiveSection()->Title().text = "changed";
  EXPECT_EQ(doc->undoStack.at(0)->Title().text, "s25");
  EXPECT_NE(doc->undoStack.at(0), doc->GetActiveSection());
}

TEST(Undo, UndoAndRedoMoveSnapshotsBetweenTheStacks) {
  auto doc = DocumentOf({"before"});
  RecordingView view;
  doc->AddObserver(&view);
  doc->SaveSnapshot();
  doc->GetActiveSection()->Title().text = "after";
  doc->SetModifiedFlag(true);

  doc->OnEditUndo();
  EXPECT_EQ(ActiveTitle(*doc), "before");
  EXPECT_TRUE(doc->undoStack.empty());
  ASSERT_EQ(doc->redoStack.size(), 1u);
  EXPECT_EQ(doc->redoStack.at(0)->Title().text, "after");
  // Back as it was made: not modified.
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(view.hints, std::vector<int>{kHintRepaintAll});
  EXPECT_EQ(view.sectionLines, std::vector<std::string>{"1. before"});

  doc->SetModifiedFlag(false);
  doc->OnEditRedo();
  EXPECT_EQ(ActiveTitle(*doc), "after");
  EXPECT_TRUE(doc->redoStack.empty());
  ASSERT_EQ(doc->undoStack.size(), 1u);
  EXPECT_EQ(doc->undoStack.at(0)->Title().text, "before");
  EXPECT_TRUE(doc->IsModified());

  // Empty stacks do nothing.
  doc->OnEditRedo();
  EXPECT_EQ(ActiveTitle(*doc), "after");
  doc->RemoveObserver(&view);
}

TEST(Undo, ThePlaceOfTheCursorSurvivesWhereTheSnapshotHasIt) {
  auto doc = DocumentOf({"a"});
  CSystemArray& section = *doc->GetActiveSection();
  doc->SaveSnapshot();
  section.activeSystem = 3;
  section.System(3)->Line(0)->GetCurrentStave()->cursorColumn = 5;
  section.System(3)->Line(0)->GetCurrentStave()->cursorRow = 2;
  doc->OnEditUndo();
  const CSystemArray& restored = *doc->GetActiveSection();
  EXPECT_EQ(restored.activeSystem, 3);
  EXPECT_EQ(restored.System(3)->Line(0)->GetCurrentStave()->cursorColumn, 5);
  EXPECT_EQ(restored.System(3)->Line(0)->GetCurrentStave()->cursorRow, 2);

  // A snapshot with fewer systems keeps its own active system; the cursor goes there.
  while (doc->GetActiveSection()->systems.size() > 2) {
    doc->GetActiveSection()->systems.erase(doc->GetActiveSection()->systems.size() - 1);
  }
  doc->GetActiveSection()->activeSystem = 1;
  doc->SaveSnapshot();
  doc->GetActiveSection()->NewSystem(CSystemArray::kAppend);
  doc->GetActiveSection()->activeSystem = 2;
  doc->GetActiveSection()->System(2)->Line(0)->GetCurrentStave()->cursorColumn = 9;
  doc->OnEditUndo();
  EXPECT_EQ(doc->GetActiveSection()->activeSystem, 1);
  EXPECT_EQ(doc->GetActiveSection()->System(1)->Line(0)->GetCurrentStave()->cursorColumn, 9);
}

TEST(Undo, OrnamentRowsKeepTheirTypeAndKind) {
  auto doc = DocumentOf({"a"});
  CSystemArray& section = *doc->GetActiveSection();
  section.AddInstrument(std::make_unique<CInstrumentDlg>());
  COrnamentTable& table = section.definitions.at(0)->ornaments.table;
  ASSERT_GT(table.size(), 2u);
  // Types and kinds as a document read from its text may hold them: not what the row's place
  // would give.
  table.at(0)->type = -1;
  table.at(1)->type = 1;
  table.at(1)->kind = 7;
  doc->SaveSnapshot();
  doc->GetActiveSection()->Title().text = "b";
  doc->OnEditUndo();
  const COrnamentTable& restored = doc->GetActiveSection()->definitions.at(0)->ornaments.table;
  EXPECT_EQ(restored.at(0)->type, -1);
  EXPECT_EQ(restored.at(1)->type, 1);
  EXPECT_EQ(restored.at(1)->kind, 7);
}

// A snapshot is an exact copy: an edit undone gives back the section as it stood, also where
// it holds what opening a file would reshape (the name left to the tuning, a bar line alone in
// a voice, chord status bits that re-barring recomputes), and what bar cutting computed.
TEST(Undo, AnUndoneEditGivesBackTheSectionExactly) {
  ScriptedPrompts prompts;
  auto rich = testing::RichDocument();
  for (const bool fromXml : {false, true}) {
    SCOPED_TRACE(fromXml ? "read from XML" : "built in memory");
    std::unique_ptr<CBriotabDoc> read = fromXml ? testing::ThroughXml(*rich) : nullptr;
    CBriotabDoc& doc = fromXml ? *read : *rich;
    CSystemArray& section = *doc.GetActiveSection();
    section.Definition(1)->nameText.text.clear();
    ASSERT_FALSE(section.Definition(1)->tabInstrument.name.empty());
    section.System(0)->Line(1)->secondVoice.push_back(std::make_unique<nChord>(nChord::kBarLine));
    nChordArray& lute = section.System(0)->Line(0)->firstVoice;
    lute.at(0)->status |= 0x0C;
    lute.at(1)->time = 777;
    section.System(0)->Line(0)->selectedVoice = 1;
    section.definitions.at(0)->ornaments.table.at(1)->type = 1;
    const std::string before = DumpDocument(doc);

    doc.SaveSnapshot();
    lute.erase(0);
    section.Definition(0)->nameText.text = "edited";
    doc.OnEditUndo();
    EXPECT_TRUE(DumpDocument(doc) == before);
    const CSystemArray& restored = *doc.GetActiveSection();
    EXPECT_EQ(restored.System(0)->Line(0)->firstVoice.at(1)->time, 777u);
    EXPECT_EQ(restored.System(0)->Line(0)->selectedVoice, 1);
    EXPECT_EQ(restored.definitions.at(0)->ornaments.table.at(1)->type, 1);
  }
}

TEST(Undo, ChangingTheActiveSectionEmptiesBothStacks) {
  auto doc = DocumentOf({"first", "second"});
  doc->SaveSnapshot();
  doc->GetActiveSection()->Title().text = "first, edited";
  doc->OnEditUndo();
  doc->SaveSnapshot();
  ASSERT_TRUE(doc->CanRedo());
  ASSERT_TRUE(doc->CanUndo());

  RecordingView view;
  doc->AddObserver(&view);
  EXPECT_EQ(doc->SetActiveSection(0), 0);  // already active
  EXPECT_EQ(doc->SetActiveSection(2), 0);  // past the list
  EXPECT_EQ(doc->SetActiveSection(1), 1);
  EXPECT_EQ(view.hints, std::vector<int>{kHintSectionChanged});
  EXPECT_FALSE(doc->CanUndo());
  EXPECT_FALSE(doc->CanRedo());
  // A redo can no longer put the first section's copy in place of the second.
  doc->OnEditRedo();
  EXPECT_EQ(Titles(doc->sections), (std::vector<std::string>{"first", "second"}));
  doc->RemoveObserver(&view);
}

TEST(Sections, AppendedSectionsAreNumberedAndMadeActive) {
  CBriotabDoc doc;
  RecordingView view;
  doc.AddObserver(&view);
  CSystemArray* first = doc.AppendNewSection();
  EXPECT_EQ(first->index, 0);
  EXPECT_EQ(doc.sections.activeSection, 0);  // an empty list had no active section
  EXPECT_EQ(first->systems.size(), CSystemArray::kNewSystemCount);
  EXPECT_EQ(first->definitions.size(), 1u);

  doc.SaveSnapshot();
  CSystemArray* second = doc.AppendSection(Titled("imported"));
  EXPECT_EQ(second->index, 1);
  EXPECT_EQ(ActiveTitle(doc), "imported");
  EXPECT_FALSE(doc.CanUndo());  // the snapshot belonged to the first section
  EXPECT_EQ(view.hints, (std::vector<int>{kHintSectionChanged, kHintSectionChanged}));
  doc.RemoveObserver(&view);
}

TEST_F(SectionBufferTest, CopiesArePastedAfterTheActiveSectionInTheirOrder) {
  ScriptedPrompts prompts;
  auto doc = DocumentOf({"A", "B", "C", "D"});
  EXPECT_FALSE(CBriotabDoc::CanPasteSection());
  for (const int index : {0, 1, 2}) {
    doc->SetActiveSection(index);
    doc->OnCopySection();
    EXPECT_EQ(CBriotabDoc::CanPasteAllSections(), index >= 1);
  }
  doc->SetActiveSection(3);
  doc->SaveSnapshot();
  prompts.QueueAnswer(Answer::kNo);
  doc->OnPasteSections();
  EXPECT_EQ(prompts.questions, std::vector<std::string>{"Reformat data to match this document?"});
  EXPECT_EQ(Titles(doc->sections), (std::vector<std::string>{"A", "B", "C", "D", "A", "B", "C"}));
  EXPECT_EQ(doc->sections.activeSection, 4);
  EXPECT_EQ(doc->sections.at(6)->index, 6);
  EXPECT_FALSE(CBriotabDoc::CanPasteSection());
  EXPECT_TRUE(doc->IsModified());
  // One undo takes the whole paste back.
  ASSERT_TRUE(doc->CanUndo());
  doc->OnEditUndo();
  EXPECT_EQ(Titles(doc->sections), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(doc->sections.activeSection, 3);
}

TEST_F(SectionBufferTest, ARangeCopySetsHowManyCopiesAreKept) {
  ScriptedPrompts prompts;
  auto doc = DocumentOf({"A", "B", "C", "D"});
  doc->CopySectionRange(2, 4);
  CUndoSectionArray& buffer = Environment().sectionBuffer;
  EXPECT_EQ(Titles(buffer), (std::vector<std::string>{"D", "C", "B"}));
  EXPECT_EQ(buffer.limit, 3);
  for (int i = 0; i < 4; ++i) doc->OnCopySection();
  EXPECT_EQ(buffer.size(), 3u);
  EXPECT_TRUE(prompts.messages.empty());

  doc->CopySectionRange(5, 9);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"No sections available to copy"});
  EXPECT_EQ(buffer.size(), 3u);
  doc->ClearSectionBuffer();
  EXPECT_TRUE(buffer.empty());
  EXPECT_EQ(buffer.activeSection, -1);
}

TEST_F(SectionBufferTest, ReformattedSectionsTakeTheTargetsFontsLayoutAndInstruments) {
  ScriptedPrompts prompts;
  auto source = DocumentOf({"pasted"});
  source->OnCopySection();
  auto target = DocumentOf({"model"});
  CSystemArray& model = *target->GetActiveSection();
  model.stavesPerPage = 3;
  model.Title().font.logFont.lfFaceName = "Garamond";
  model.Definition(0)->nameText.text = "Theorbo";
  prompts.QueueAnswer(Answer::kYes);
  target->OnPasteSections();
  const CSystemArray& pasted = *target->GetActiveSection();
  EXPECT_EQ(pasted.Title().text, "pasted");
  EXPECT_EQ(pasted.stavesPerPage, 3);
  EXPECT_EQ(pasted.Title().font.logFont.lfFaceName, "Garamond");
  EXPECT_EQ(pasted.Definition(0)->nameText.text, "Theorbo");
}

}  // namespace
}  // namespace vornel
