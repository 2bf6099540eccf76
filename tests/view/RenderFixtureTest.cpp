// The documents that the command-line tests typeset are built here, so that they stay
// documents of the current form: with VORNEL_UPDATE_GOLDEN set they are written to
// tests/tool/, otherwise the stored files must equal them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "StaffFixtures.h"
#include "TabFixtures.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

TEST(RenderFixture, TwoVoiceDocumentIsCurrent) {
  const auto doc = testing::TwoVoiceStaffDocument();
  const std::string text = doc->XmlText();
  const std::string path = std::string(VORNEL_SOURCE_DIR) + "/tests/tool/two-voices.btxml";
  if (std::getenv("VORNEL_UPDATE_GOLDEN") != nullptr) {
    testing::WriteText(path, text);
    return;
  }
  EXPECT_EQ(testing::ReadText(path), text);
}

// The lute document's picture lies in an "images" folder beside it, which the tests do not
// have: it shows as a placeholder there.
TEST(RenderFixture, FrenchLuteDocumentIsCurrent) {
  const auto doc = testing::FrenchLuteDocument("images\\hopper.jpg");
  const std::string text = doc->XmlText();
  const std::string path = std::string(VORNEL_SOURCE_DIR) + "/tests/tool/french-lute.btxml";
  if (std::getenv("VORNEL_UPDATE_GOLDEN") != nullptr) {
    testing::WriteText(path, text);
    return;
  }
  EXPECT_EQ(testing::ReadText(path), text);
}

}  // namespace
}  // namespace vornel
