// The keyboard console without windows: the piano's picture (recording log) and its hit test,
// the console's buttons on the active view's commands, and the output pane's fixed lists.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/draw/RecordingDevice.h"
#include "platform/io/FileIO.h"
#include "shell/console/ConsoleTable.h"
#include "shell/console/PianoKeyboard.h"
#include "view/commands/CommandTable.h"

namespace vornel::console {
namespace {

TEST(Piano, KeysGiveTheirPitches) {
  struct Case {
    int x;
    int y;
    int pitch;  // -1: no key
  };
  const Case cases[] = {
      {7, 80, 29},    // x' = 0 low on the keys: F of the first octave
      {27, 30, 30},   // x' = 20 high: the first black key, F sharp
      {27, 70, 29},   // the same x low: still on the F
      {30, 70, 31},   // x' = 23: G
      {22, 30, 30},   // the black key's first pixel (x' = 15)
      {21, 30, 29},   // one to its left: F
      {39, 30, 30},   // x' = 32: its last pixel
      {40, 30, 31},   // x' = 33: G
      {121, 50, 37},  // x' = 114 high: C sharp, over the C (36)
      {121, 80, 36},
      {6, 80, -1},    // left of the keys
      {7, 21, -1},    // above the click rectangle
      {7, 95, -1},    // below it
      {805, 80, -1},  // right of it
      {804, 80, 88},  // the last pixel: E of the fifth octave (4 x 12 + 11 + 6 + 23)
  };
  for (const Case& c : cases) {
    const std::optional<uint8_t> pitch = PianoKeyAt(c.x, c.y);
    if (c.pitch < 0) {
      EXPECT_FALSE(pitch) << c.x << "," << c.y;
    } else {
      ASSERT_TRUE(pitch) << c.x << "," << c.y;
      EXPECT_EQ(*pitch, c.pitch) << c.x << "," << c.y;
    }
  }
}

TEST(Piano, EveryOctaveBoundaryGoesFromEToTheNextF) {
  // An octave is seven white keys of 23 pixels: the pixel before 161 k is the E of octave
  // k - 1, the pixel at 161 k the F of octave k; near the end of an octave no key sounds an
  // octave too high.
  for (int k = 1; k <= 4; ++k) {
    const int x = kKeyboardOrigin.x + k * kOctaveWidth;
    EXPECT_EQ(*PianoKeyAt(x - 1, 80), 12 * (k - 1) + 11 + 6 + 23) << k;
    EXPECT_EQ(*PianoKeyAt(x - 2, 80), 12 * (k - 1) + 11 + 6 + 23) << k;
    EXPECT_EQ(*PianoKeyAt(x, 80), 12 * k + 29) << k;
    EXPECT_EQ(*PianoKeyAt(x + 1, 80), 12 * k + 29) << k;
    // And the first black key of each octave lies 15 pixels into it.
    EXPECT_EQ(*PianoKeyAt(x + 15, 30), 12 * k + 30) << k;
  }
}

TEST(Piano, ThePictureIsFiveOctavesOfKeysFromF) {
  RecordingDevice dc;
  DrawPianoKeyboard(dc);
  const std::string path = std::string(VORNEL_SOURCE_DIR) + "/tests/shell/golden/piano.log";
  if (std::getenv("VORNEL_UPDATE_GOLDEN") != nullptr) WriteFileAtomically(path, dc.Log());
  const auto golden = ReadFileBytes(path, 1 << 20);
  ASSERT_TRUE(golden);
  EXPECT_EQ(dc.Log(), std::string(golden->begin(), golden->end()));
}

TEST(KeyboardConsole, ButtonsRunOnTheViewAndDoNothingWithoutOne) {
  std::vector<int> ran;
  bool overwrite = true;
  view::CommandTable viewCommands;
  viewCommands.AddRange(kFirstConsoleCommand, kLastConsoleCommand, [&](const view::CommandEvent& e) { ran.push_back(e.id); });
  viewCommands.Add(kOverwriteMode, [&](const view::CommandEvent& e) { ran.push_back(e.id); }, {}, [&] { return overwrite; });
  for (const ConsoleCommand& button : ConsoleButtons()) {
    EXPECT_FALSE(RunConsoleCommand(nullptr, button.id));
    EXPECT_FALSE(ConsoleCheckState(nullptr, button.id));
  }
  EXPECT_TRUE(RunConsoleCommand(&viewCommands, 32784));
  EXPECT_TRUE(RunConsoleCommand(&viewCommands, kOverwriteMode));
  EXPECT_FALSE(RunConsoleCommand(&viewCommands, 32799));
  EXPECT_EQ(ran, (std::vector<int>{32784, kOverwriteMode}));
  EXPECT_EQ(ConsoleCheckState(&viewCommands, kOverwriteMode), true);
  overwrite = false;
  EXPECT_EQ(ConsoleCheckState(&viewCommands, kOverwriteMode), false);
  // Only overwrite mode and auto-advance show a mark; the view's range gives none for the other.
  EXPECT_EQ(ConsoleCheckState(&viewCommands, kCursorAutoAdvance), std::nullopt);
  EXPECT_EQ(ConsoleCheckState(&viewCommands, 32784), std::nullopt);
  EXPECT_EQ(ConsoleButtons().size(), 14u);
  EXPECT_EQ(ConsoleCommandLabel(32787), "Insert static space across the system");
  EXPECT_EQ(ConsoleCommandLabel(32788), "");
}

TEST(OutputPane, ThreeListsWithTheirFixedLines) {
  const auto lists = OutputLists();
  ASSERT_EQ(lists.size(), 3u);
  const char* names[] = {"Build", "Debug", "Find"};
  for (size_t i = 0; i < lists.size(); ++i) {
    EXPECT_EQ(lists[i].id, static_cast<int>(i) + 2);
    EXPECT_EQ(lists[i].name, names[i]);
    ASSERT_EQ(lists[i].lines.size(), 3u);
    EXPECT_EQ(lists[i].lines[0], std::string(names[i]) + " output is being displayed here.");
    EXPECT_EQ(lists[i].lines[1], "The output is being displayed in rows of a list view");
    EXPECT_EQ(lists[i].lines[2], "but you can change the way it is displayed as you wish...");
  }
}

}  // namespace
}  // namespace vornel::console
