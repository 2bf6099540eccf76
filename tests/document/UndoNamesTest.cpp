// The undo and redo lists name their entries after the action that took each snapshot; an undo
// moves its entry's name to the redo list and a redo back, and the names stay with their
// entries when the stacks are trimmed or emptied.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"

namespace vornel {
namespace {

using Names = std::vector<std::string>;

void Snapshot(CBriotabDoc& doc, const std::string& name) {
  const CBriotabDoc::ActionName action(doc, name);
  doc.SaveSnapshot();
}

TEST(UndoNames, EntriesKeepTheNameOfWhatMadeThem) {
  CVornelTabDoc doc;
  doc.OnNewDocument();
  Snapshot(doc, "Add a new section");
  Snapshot(doc, "Copy voice");
  {
    // An action inside another names its snapshots; the outer name comes back afterwards.
    const CBriotabDoc::ActionName outer(doc, "Paste section");
    Snapshot(doc, "Split chord");
    doc.SaveSnapshot();
  }
  doc.SaveSnapshot();  // no action running: no name
  EXPECT_EQ(doc.UndoNames(), (Names{"", "Paste section", "Split chord", "Copy voice", "Add a new section"}));

  doc.OnEditUndo();
  doc.OnEditUndo();
  EXPECT_EQ(doc.UndoNames(), (Names{"Split chord", "Copy voice", "Add a new section"}));
  EXPECT_EQ(doc.RedoNames(), (Names{"Paste section", ""}));
  doc.OnEditRedo();
  EXPECT_EQ(doc.UndoNames(), (Names{"Paste section", "Split chord", "Copy voice", "Add a new section"}));
  EXPECT_EQ(doc.RedoNames(), (Names{""}));
}

TEST(UndoNames, TrimmedAndEmptiedStacksKeepNamesWithTheirEntries) {
  CVornelTabDoc doc;
  doc.OnNewDocument();
  doc.undoStack.limit = 2;
  Snapshot(doc, "one");
  Snapshot(doc, "two");
  Snapshot(doc, "three");
  EXPECT_EQ(doc.UndoNames(), (Names{"three", "two"}));
  doc.undoStack.clear();
  EXPECT_EQ(doc.UndoNames(), Names{});
  Snapshot(doc, "four");
  EXPECT_EQ(doc.UndoNames(), Names{"four"});
  doc.undoStack.limit = 0;
  Snapshot(doc, "five");
  EXPECT_EQ(doc.UndoNames(), Names{"four"});
}

}  // namespace
}  // namespace vornel
