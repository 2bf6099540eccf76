// The two-voice staff document that the command-line tests typeset is built here, so that it
// stays a document of the current form: with VORNEL_UPDATE_GOLDEN set it is written to
// tests/tool/two-voices.btxml, otherwise the stored file must equal it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "StaffFixtures.h"
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

}  // namespace
}  // namespace vornel
