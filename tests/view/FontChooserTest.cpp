// The font dialog's effect on the font descriptions, with a scripted dialog.

#include <gtest/gtest.h>

#include "support/MissingService.h"
#include "support/ScriptedPrompts.h"
#include "view/draw/FontChooser.h"

namespace vornel {
namespace {

class ScriptedChooser : public FontChooser {
 public:
  std::optional<FontChoice> answer;
  FontChoice asked;
  std::optional<FontChoice> Choose(const FontChoice& initial, bool) override {
    asked = initial;
    return answer;
  }
};

TEST(ChooseFont, TextFontTakesFaceSizeStyleAndColourOnOk) {
  testing::ScriptedPrompts prompts;
  dfLogFont untouched;
  EXPECT_MISSING_SERVICE(prompts, EXPECT_FALSE(ChooseFont(untouched)), "font chooser");
  EXPECT_EQ(untouched.logFont.lfFaceName, "Arial");
  ScriptedChooser chooser;
  ScopedFontChooser scoped(chooser);
  dfLogFont font;
  font.pointSize.cx = 120;
  EXPECT_FALSE(ChooseFont(font));  // cancelled
  EXPECT_EQ(font.logFont.lfHeight, 16);  // the dialog opened on 120 × 0.135687
  EXPECT_EQ(chooser.asked.face, "Arial");
  chooser.answer = FontChoice{"Times New Roman", 140, 700, true, false, false, 0x0000FF};
  EXPECT_TRUE(ChooseFont(font));
  EXPECT_EQ(font.logFont.lfFaceName, "Times New Roman");
  EXPECT_EQ(font.pointSize.cx, 140);
  EXPECT_EQ(font.logFont.lfWeight, 700);
  EXPECT_EQ(font.logFont.lfItalic, 1);
  EXPECT_EQ(font.color, 0x0000FFu);
}

TEST(ChooseFont, NotationFontIntervalFollowsThePointSize) {
  ScriptedChooser chooser;
  ScopedFontChooser scoped(chooser);
  CNotationFont font;
  const struct {
    int32_t points;
    double interval;
  } cases[] = {{160, 60}, {200, 75}, {125, 46}};
  for (const auto& c : cases) {
    chooser.answer = FontChoice{"VornelNotation", c.points, 400, false, false, false, 0};
    EXPECT_TRUE(ChooseFont(font));
    EXPECT_EQ(font.interval, c.interval) << c.points;
    EXPECT_EQ(font.pointSize.cx, c.points);
  }
}

}  // namespace
}  // namespace vornel
