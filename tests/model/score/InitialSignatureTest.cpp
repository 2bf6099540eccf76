// The initial time signature that opens every line of a section's first system.

#include <gtest/gtest.h>

#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"

namespace vornel {
namespace {

TEST(InitialSignatureTest, EveryLineOfTheFirstSystemOpensWithTheSectionsSignature) {
  CSystemArray section;
  section.numerator = 6;
  section.denominator = 8;
  section.AddInstrument(std::make_unique<CInstrumentDlg>(*section.Definition(0)));
  section.Definition(1)->shortSignatures = 1;
  section.Definition(1)->tabInstrument.signatureSize = 70;
  section.InsertInitialTimeSignature();
  for (size_t line = 0; line < 2; ++line) {
    SCOPED_TRACE(line);
    const nChordArray& voice = section.System(0)->Line(line)->Voice(0);
    ASSERT_EQ(voice.size(), 1u);
    EXPECT_EQ(voice.at(0)->status, 18);
    const CMetaEvent* signature = voice.at(0)->metaEvents.Find(CMetaEvent::kTimeSignature);
    ASSERT_NE(signature, nullptr);
    EXPECT_EQ(signature->cx, 6);
    EXPECT_EQ(signature->cy, 8);
    EXPECT_EQ(signature->text, "true");
    EXPECT_EQ(signature->value, line == 0 ? (30u << 16 | 1u) : (20u << 16 | 5u));
    EXPECT_TRUE(section.System(1)->Line(line)->Voice(0).empty());
  }
}

}  // namespace
}  // namespace vornel
