// The stave's cursor and frame geometry: the moves of the cursor, the range of steps it
// reaches, the stave's size and the steps under it.

#include <gtest/gtest.h>

#include "model/instrument/CClef.h"
#include "model/instrument/DrawnColumns.h"
#include "model/voice/nChordArray.h"
#include "model/voice/nChord.h"

namespace vornel {
namespace {

CClef LaidOutStaff() {
  CClef stave;
  stave.type = CClef::kStaff;
  stave.clefId = CClef::kGClef;
  stave.spaceBelow = 2;
  stave.SetFrameGeometry({100, 200, 500, 800}, 10, 1, 40, 254, 100);
  return stave;
}

TEST(StaveCursor, MoveCursorTable) {
  struct Case {
    int code;
    int32_t column;
    int32_t row;
    int moved;
    int32_t columnAfter;
    int32_t rowAfter;
  };
  // 400 pixels of 40-pixel columns: 11 columns; 17 rows on a staff; lowest line 2.
  const Case cases[] = {
      {0, 3, 5, 1, 4, 5},   {7, 3, 5, 1, 4, 5},   {0, 11, 5, 0, 11, 5},  {1, 3, 5, 0, 3, 5},
      {2, 3, 5, 0, 3, 5},   {3, 3, 5, 1, 11, 5},  {4, 3, 5, 1, 0, 5},    {5, 3, 5, 1, 2, 5},
      {5, 0, 5, 0, 0, 5},   {6, 3, 5, 1, 3, 4},   {6, 3, 2, 0, 3, 2},    {8, 3, 5, 1, 3, 6},
      {8, 3, 16, 0, 3, 16}, {9, 3, 5, 0, 3, 5},
  };
  for (const Case& c : cases) {
    CClef stave = LaidOutStaff();
    stave.cursorColumn = c.column;
    stave.cursorRow = c.row;
    EXPECT_EQ(stave.MoveCursor(c.code, 2), c.moved) << c.code;
    EXPECT_EQ(stave.cursorColumn, c.columnAfter) << c.code;
    EXPECT_EQ(stave.cursorRow, c.rowAfter) << c.code;
  }
}

TEST(StaveCursor, StepsUnderTheCursorAndTheirRange) {
  CClef stave = LaidOutStaff();
  stave.cursorRow = 0;
  EXPECT_EQ(stave.GetCursorStep(), 28 + 17);  // row 0 is the top line's step
  stave.cursorRow = 8;
  EXPECT_EQ(stave.GetCursorStep(), 28 + 9);   // row 8 the bottom line's
  stave.stepOffset = 2;
  EXPECT_EQ(stave.GetCursorStep(), 35);
  EXPECT_EQ(stave.GetCursorStepAt(CClef::kFClef, 0), 16 + 9);
  EXPECT_EQ(stave.GetCursorStepAt(9, 0), 9);  // clefs past 4 have reference 0
  const CClef::StepRange range = stave.GetStepRange();
  EXPECT_EQ(range.low, 26);
  EXPECT_EQ(range.high, 26 + 17 + 12);
}

TEST(StaveCursor, StaffSizeAndFrame) {
  CClef stave = LaidOutStaff();
  // 254 dots per inch: 4 mm is 40 pixels; five lines of 10 and two units below.
  EXPECT_EQ(stave.GetStaffSize(254), (Size{400, 50 + 80}));
  EXPECT_EQ(stave.area, (Rect{100, 201, 500, 201 + 130 - 10}));
  EXPECT_EQ(stave.columnCount, 11);
  EXPECT_EQ(stave.rowCount, 17);
  stave.cursorColumn = 2;
  stave.cursorRow = 3;
  EXPECT_EQ(stave.GetCursorPoint(), (Point{180, 216}));
  // A zero column width counts as one pixel.
  stave.SetFrameGeometry({100, 200, 500, 800}, 10, 1, 0, 254, 100);
  EXPECT_EQ(stave.columnCount, 401);
}


// The caret and clicks follow the columns where the drawing put them: here the third element
// (after a bar line's half column) and those after it stand 20 pixels right of the grid.
TEST(StaveCursor, DrawnColumnsMoveTheCaretAndClicks) {
  CClef stave = LaidOutStaff();  // columns of 40 from x = 100
  nChordArray voice;
  for (int i = 0; i < 4; ++i) voice.push_back(std::make_unique<nChord>(i == 1 ? nChord::kBarLine : nChord::kChord));
  stave.Drawn().voicePositions[1] = {100, 140, 200, 240, 500};

  struct Case {
    int64_t column;
    int64_t shift;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 0}, Case{2, 20}, Case{3, 20}, Case{7, 20}}) {
    EXPECT_EQ(DrawnColumnShift(stave, 1, voice, c.column), c.shift) << c.column;
  }
  struct Click {
    int64_t x;
    int64_t column;
  };
  // A click goes to the column whose place is the nearest; left of the first column by more
  // than half the gap to the next the grid decides (-1); past the last element the columns go
  // on in column widths from it.
  for (const Click& c : {Click{79, -1}, Click{80, 0}, Click{119, 0}, Click{120, 1}, Click{169, 1}, Click{170, 2},
                         Click{219, 2}, Click{220, 3}, Click{259, 3}, Click{260, 4}, Click{300, 5}}) {
    EXPECT_EQ(DrawnColumnAt(stave, 1, voice, c.x), c.column) << c.x;
  }

  // The first voice was not drawn, and a voice drawn at another length keeps the grid.
  EXPECT_EQ(DrawnColumnShift(stave, 0, voice, 2), 0);
  voice.push_back(std::make_unique<nChord>(nChord::kChord));
  EXPECT_EQ(DrawnColumnShift(stave, 1, voice, 2), 0);
  EXPECT_EQ(DrawnColumnAt(stave, 1, voice, 205), -1);
}

}  // namespace
}  // namespace vornel
