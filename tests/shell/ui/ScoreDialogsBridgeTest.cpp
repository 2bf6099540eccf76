// The score commands' dialogs in the editor answer with the program's own dialogs: the number
// prompt for a global tuning shift, the small editing dialogs for the octave and bar range.

#include <gtest/gtest.h>
#include <wx/toplevel.h>

#include "layout/dialogs/SmallDialogs.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/app/Profile.h"
#include "model/instrument/CTabInstrument.h"
#include "shell/ui/ScoreDialogsBridge.h"
#include "view/ui/charts/ChordChartDialog.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

struct CountingSmallDialogs : SmallDialogs {
  int octaves = 0;
  int ranges = 0;
  bool Octave(COctaveDlg& dialog) override {
    ++octaves;
    dialog.limitPitch = 48;
    return true;
  }
  bool BarRange(CBarRangeDlg& dialog) override {
    ++ranges;
    dialog.end = dialog.begin;
    return false;
  }
};

TEST(ScoreDialogsBridge, AnswersComeFromTheProgramsDialogs) {
  testing::ScriptedPrompts prompts;
  CountingSmallDialogs small;
  ScopedSmallDialogs installed(small);
  WindowScoreDialogs dialogs;

  int shift = 0;
  prompts.QueueNumber(-5);
  EXPECT_TRUE(dialogs.ChooseGlobalTuningShift(shift));
  EXPECT_EQ(shift, -5);
  prompts.QueueNumber(std::nullopt);
  EXPECT_FALSE(dialogs.ChooseGlobalTuningShift(shift));
  EXPECT_EQ(shift, -5);

  COctaveDlg octave;
  EXPECT_TRUE(dialogs.ChooseOctaveLimit(octave));
  EXPECT_EQ(octave.limitPitch, 48);
  CBarRangeDlg range;
  EXPECT_FALSE(dialogs.ChooseBarRange(range));
  EXPECT_EQ(small.octaves, 1);
  EXPECT_EQ(small.ranges, 1);
}

// The texture answers are the application's: its "Use texture" switch, its file prompt.
TEST(ScoreDialogsBridge, TextureAnswersAreTheApplications) {
  testing::ScriptedPrompts prompts;
  MemoryProfile profile;
  CVornelTabApp app(profile);
  WindowScoreDialogs dialogs(&app);
  EXPECT_FALSE(dialogs.TextureOn());
  app.options.useTexture = 1;
  EXPECT_TRUE(dialogs.TextureOn());
  prompts.QueueFile(std::nullopt);
  EXPECT_FALSE(dialogs.ChooseTextureBitmap());
  EXPECT_EQ(prompts.filePrompts.size(), 1u);
  // Without the application there is nothing to choose or show.
  WindowScoreDialogs alone;
  EXPECT_FALSE(alone.TextureOn());
  EXPECT_FALSE(alone.ChooseTextureBitmap());
  EXPECT_EQ(prompts.filePrompts.size(), 1u);
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

// "Chord chart" shows the alfabeto chart as a window of its own, and hides it the next time.
TEST(ScoreDialogsBridge, ChordChartWindowIsShownThenHidden) {
  testing::ScriptedPrompts prompts;
  CTabInstrument line;
  line.name = "Guitar";
  WindowScoreDialogs dialogs;
  const auto chartWindow = []() -> wxWindow* {
    for (wxWindow* window : wxTopLevelWindows) {
      if (dynamic_cast<ChordChartDialog*>(window) != nullptr) return window;
    }
    return nullptr;
  };
  ASSERT_TRUE(dialogs.ToggleChordChart(line));
  wxWindow* window = chartWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->IsShown());
  ASSERT_TRUE(dialogs.ToggleChordChart(line));
  EXPECT_FALSE(window->IsShown());
  EXPECT_EQ(line.name, "Guitar");
}

}  // namespace
}  // namespace vornel
