#include <gtest/gtest.h>

#include "model/instrument/CPedal.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::ToHex;

TEST(Pedals, TheLowestActingPedalIsFound) {
  CPedalArray pedals;
  ASSERT_EQ(pedals.size(), 10u);
  pedals[1]->stringMask = 0b0100;  // acts on nothing: action 0
  pedals[3]->stringMask = 0b0110;
  pedals[3]->action = -1;
  pedals[5]->stringMask = 0b0100;
  pedals[5]->action = 2;
  EXPECT_EQ(pedals.FindPedalForString(2), pedals[3]);
  EXPECT_EQ(pedals.FindPedalForString(1), pedals[3]);
  EXPECT_EQ(pedals.FindPedalForString(0), nullptr);
  EXPECT_EQ(pedals.FindPedalForString(40), nullptr);
  EXPECT_EQ(pedals.FindPedalForString(-1), nullptr);

  pedals[5]->persistent = 1;
  pedals[9]->persistent = 1;
  std::vector<const CPedal*> persistent = {pedals[0]};
  pedals.CollectPersistent(persistent);
  EXPECT_EQ(persistent, (std::vector<const CPedal*>{pedals[5], pedals[9]}));
}

TEST(Pedals, RecordWithCaptionFromEightOhFive) {
  CPedal pedal;
  pedal.persistent = 1;
  pedal.action = -2;
  pedal.stringMask = 0x21;
  pedal.caption = "E";
  ArchiveWriter w;
  pedal.Store(w);
  const std::string record = "01 00 00 00 FE FF FF FF 21 00 00 00 96 46 46 00";
  EXPECT_EQ(ToHex(w.Bytes()), record + " FF FE FF 01 45 00");

  const auto old = HexBytes(record);
  ArchiveReader r(old, "8.0");
  CPedal read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.caption, "");
  EXPECT_EQ(read.action, -2);

  ArchiveReader current(w.Bytes(), "8.05");
  read.Load(current);
  EXPECT_EQ(read, pedal);
}

TEST(Pedals, ArrayAlwaysHoldsTen) {
  CPedalArray pedals;
  pedals[9]->caption = "RKR";
  ArchiveWriter w;
  pedals.Store(w);
  EXPECT_EQ(ToHex(w.Bytes()).substr(0, 38), "0A 00 FF FF 00 00 06 00 43 50 65 64 61");
  ArchiveReader r(w.Bytes());
  CPedalArray read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  ASSERT_EQ(read.size(), 10u);
  EXPECT_EQ(read[9]->caption, "RKR");

  // Two entries, one of them empty: padded to ten default pedals.
  ArchiveWriter small;
  small.WriteCount(2);
  small.WriteObject(nullptr);
  small.WriteObject(pedals[9]);
  ArchiveReader r2(small.Bytes());
  CPedalArray padded;
  padded.Load(r2);
  ASSERT_EQ(padded.size(), 10u);
  EXPECT_EQ(padded[0]->color, CPedal::kDefaultColor);
  EXPECT_EQ(padded[1]->caption, "RKR");
}

TEST(Pedals, CopyFromTakesEveryRecord) {
  CPedalArray source;
  source[4]->action = 3;
  source[4]->caption = "ped.5";
  CPedalArray target;
  target.CopyFrom(source);
  EXPECT_EQ(*target[4], *source[4]);
  EXPECT_NE(target[4], source[4]);
}

}  // namespace
}  // namespace vornel
