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

// The stored file tests/tool/`name` must hold the document as it is built now.
void ExpectCurrent(CBriotabDoc& doc, const std::string& name) {
  const std::string text = doc.XmlText();
  const std::string path = std::string(VORNEL_SOURCE_DIR) + "/tests/tool/" + name;
  if (std::getenv("VORNEL_UPDATE_GOLDEN") != nullptr) {
    testing::WriteText(path, text);
    return;
  }
  EXPECT_EQ(testing::ReadText(path), text);
}

TEST(RenderFixture, TwoVoiceDocumentIsCurrent) { ExpectCurrent(*testing::TwoVoiceStaffDocument(), "two-voices.btxml"); }

// The lute document's picture lies in an "images" folder beside it, which the tests do not
// have: it shows as a placeholder there.
TEST(RenderFixture, FrenchLuteDocumentIsCurrent) {
  ExpectCurrent(*testing::FrenchLuteDocument("images\\hopper.jpg"), "french-lute.btxml");
}

}  // namespace
}  // namespace vornel
