#include "layout/dialogs/SmallDialogs.h"

#include <gtest/gtest.h>

namespace vornel {
namespace {

std::vector<std::pair<int, int>> Pairs(const std::vector<ChordOperation>& list) {
  std::vector<std::pair<int, int>> pairs;
  for (const ChordOperation& op : list) pairs.emplace_back(op.code, op.operand);
  return pairs;
}

TEST(BarRangeDialogTest, OpeningAndReleasingTheSliders) {
  CBarRangeDlg d;
  d.barCount = 25;
  d.Open();
  EXPECT_EQ(d.end, 25);
  EXPECT_EQ(d.TickFrequency(), 2);
  d.begin = 25;
  d.ReleaseBegin();
  EXPECT_EQ(d.begin, 24);
  d.end = 10;
  d.ReleaseEnd();
  EXPECT_EQ(d.end, 25);
  d.begin = 3;
  d.end = 2;
  d.ReleaseEnd();
  EXPECT_EQ(d.end, 4);
}

TEST(OperationDialogTest, ListEndsAtTheFirstDoNothingAndPreserveComesFirst) {
  COperationDlg d;
  d.count = 4;
  d.ChooseOperation(1, ChordOperation::kClone);
  EXPECT_TRUE(d.BuildList().empty());
  d.ChooseOperation(0, ChordOperation::kShift);
  d.rows[0].operand = 2;
  d.rows[0].preserve = true;
  EXPECT_EQ(Pairs(d.BuildList()), (std::vector<std::pair<int, int>>{{17, 1}, {7, 2}, {1, 0}}));
}

TEST(OperationDialogTest, OperandRangesFollowTheOperation) {
  struct Case {
    int operation, minimum, maximum;
  };
  for (const Case& c : {Case{0, 0, 0}, Case{5, 0, 0}, Case{1, 0, 12}, Case{8, 0, 12}, Case{3, -12, 12},
                        Case{6, -4, 4}, Case{7, -4, 4}, Case{11, -3, 3}, Case{12, 0, 7}, Case{15, 0, 7}}) {
    COperationDlg d;
    d.count = 4;
    d.ChooseOperation(2, c.operation);
    EXPECT_EQ(d.rows[2].minimum, c.minimum) << c.operation;
    EXPECT_EQ(d.rows[2].maximum, c.maximum) << c.operation;
  }
  COperationDlg d;
  d.ChooseOperation(0, 11);
  d.ChooseOperation(0, 16);
  EXPECT_EQ(d.rows[0].minimum, -3);
}

TEST(OperationDialogTest, StackAndResolveThenClearAll) {
  COperationDlg d;
  d.ChooseOperation(0, ChordOperation::kTransposeSemitones);
  d.rows[0].operand = -5;
  d.StackAndResolve();
  EXPECT_EQ(d.rows[0].operation, 0);
  EXPECT_EQ(d.rows[0].maximum, 0);
  d.ChooseOperation(0, ChordOperation::kFlip);
  d.ChooseOperation(1, ChordOperation::kMirror);
  EXPECT_EQ(Pairs(d.Finish()), (std::vector<std::pair<int, int>>{{3, -5}, {4, 0}, {5, 0}}));
  d.rows[2].preserve = true;
  d.ClearAll();
  for (const auto& row : d.rows) {
    EXPECT_EQ(row.operation, 0);
    EXPECT_FALSE(row.preserve);
  }
  EXPECT_EQ(Pairs(d.Finish()), (std::vector<std::pair<int, int>>{{3, -5}}));
}

TEST(OctaveDialogTest, NameMatchesTheLimitFromTheStart) {
  COctaveDlg d;
  EXPECT_EQ(d.NoteName(), "C5");
  d.limitPitch = 61;
  EXPECT_EQ(d.NoteName(), "C#5");
  d.limitPitch = 127;
  EXPECT_EQ(d.NoteName(), "G10");
  d.limitPitch = 11;
  EXPECT_EQ(d.Validate(), "\"Limit pitch\" must be between 12 and 127.");
}

TEST(ChordEffectDialogTest, Words) {
  struct Case {
    int32_t word;
    int type;
    bool up;
    int division, steps, alignment;
    bool visible;
  };
  const Case cases[] = {
      {0, 0, false, 0, 0, 0, true},
      {0x0402 | (3 << 4) | (2 << 2), 4, true, 2, 3, 0, true},
      {0x1000 | 0x2000 | 0x0301, 3, false, 0, 0, 1, false},
      {0x0170, 1, false, 0, 7, 0, true},
  };
  for (const Case& c : cases) {
    CChordEffectDlg d;
    d.From(c.word);
    EXPECT_EQ(d.type, c.type) << std::hex << c.word;
    EXPECT_EQ(d.up, c.up) << std::hex << c.word;
    EXPECT_EQ(d.division, c.division) << std::hex << c.word;
    EXPECT_EQ(d.steps, c.steps) << std::hex << c.word;
    EXPECT_EQ(d.alignment, c.alignment) << std::hex << c.word;
    EXPECT_EQ(d.visible, c.visible) << std::hex << c.word;
  }
  // OK on an untouched chord keeps it left-aligned and visible.
  CChordEffectDlg untouched;
  untouched.From(0x0500);
  EXPECT_EQ(untouched.Word(), 0x0501);
  CChordEffectDlg d;
  d.From(0x1000 | 0x2000 | 0x0302 | (5 << 4));
  EXPECT_EQ(d.Word(), 0x1000 | 0x2000 | 0x0302 | (5 << 4));
  d.steps = 8;
  EXPECT_EQ(d.Validate(), "\"Steps\" must be between 0 and 7.");
}

}  // namespace
}  // namespace vornel
