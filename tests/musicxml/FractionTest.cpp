#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "musicxml/tree/fraction.h"
#include "musicxml/visitors/conversions.h"

namespace vornel::MusicXML2 {
namespace {

std::string Text(fraction f) { return f.toString(); }
std::string Reduced(fraction f) {
  f.reduce();
  return f.toString();
}

TEST(Fraction, ConstructionKeepsTheTermsButNeverADenominatorOfZero) {
  EXPECT_EQ(Text(fraction(3, 0)), "3/1");
  EXPECT_EQ(Text(fraction(0, 5)), "0/5");
  EXPECT_EQ(Text(fraction(-1, 2)), "-1/2");
  EXPECT_EQ(Text(fraction()), "0/1");
}

TEST(Fraction, ArithmeticIsNotReduced) {
  fraction a(1, 4);
  a += fraction(1, 4);
  EXPECT_EQ(Text(a), "2/4");  // equal denominators: numerators added
  fraction b(1, 2);
  b += fraction(1, 3);
  fraction c(1, 3);
  c += fraction(1, 2);
  EXPECT_EQ(Text(b), "5/6");
  EXPECT_EQ(Text(c), "5/6");
  EXPECT_EQ(Text(fraction(1, 2) - fraction(1, 3)), "1/6");
  EXPECT_EQ(Text(fraction(1, 2) - fraction(1, 2)), "0/4");
  fraction d(2, 3);
  d *= fraction(3, 4);
  EXPECT_EQ(Text(d), "6/12");
  // Products wrap as 32-bit values do; a zero product of denominators becomes 1.
  EXPECT_EQ(Text(fraction(1, 65536) - fraction(1, 65536)), "0/1");
  fraction big(INT_MAX, 1);
  big *= fraction(2, 1);
  EXPECT_EQ(Text(big), "-2/1");
}

TEST(Fraction, ReductionKeepsTheSignWhereItIs) {
  EXPECT_EQ(Reduced(fraction(2, 4)), "1/2");
  EXPECT_EQ(Reduced(fraction(0, 4)), "0/1");
  EXPECT_EQ(Reduced(fraction(6, 12)), "1/2");
  EXPECT_EQ(Reduced(fraction(6, -4)), "3/-2");
  EXPECT_EQ(Reduced(fraction(-6, 4)), "-3/2");
  EXPECT_EQ(Reduced(fraction(12, 18)), "2/3");
  EXPECT_EQ(Reduced(fraction(7, 7)), "1/1");
  EXPECT_EQ(Reduced(fraction(5, 1)), "5/1");
  EXPECT_EQ(Reduced(fraction(INT_MIN, INT_MIN)), "-1/-1");
  EXPECT_EQ(Reduced(fraction(INT_MIN, 2)), "-1073741824/1");
}

TEST(Fraction, ComparisonsCompareValues) {
  EXPECT_FALSE(fraction(2, 4) > fraction(1, 2));
  EXPECT_FALSE(fraction(2, 4) < fraction(1, 2));
  EXPECT_TRUE(fraction(1, 3) < fraction(1, 2));
  EXPECT_TRUE(fraction(3, 4) > fraction(2, 3));
  EXPECT_TRUE(fraction(-1, 2) < fraction(0, 1));
}

TEST(ConversionTables, LookupsAreExact) {
  EXPECT_EQ(StartStop::fromString("start"), 1);
  EXPECT_EQ(StartStop::fromString("stop"), 2);
  EXPECT_EQ(StartStop::fromString("continue"), 3);
  EXPECT_EQ(StartStop::fromString(""), 0);
  EXPECT_EQ(StartStop::fromString("Start"), 0);
  EXPECT_EQ(NoteType::fromString("16th"), 16);
  EXPECT_EQ(NoteType::fromString("quarter"), 64);
  EXPECT_EQ(NoteType::fromString("longa"), 1024);
  EXPECT_EQ(NoteType::fromString(" quarter"), 0);
  EXPECT_EQ(TrillStep::table().byFirst().at("unison"), TrillStep::unison);
  EXPECT_EQ(LineType::table().bySecond().at(LineType::wavy), "wavy");
  EXPECT_EQ(YesNo::table().byFirst().size(), 2u);
  EXPECT_EQ(FullCue::table().bySecond().at(FullCue::cue), "cue");
  EXPECT_EQ(TrillStart::table().byFirst().at("below"), 3);
}

TEST(ConversionTables, NoteTypeLengthsStopAtTheWholeNote) {
  const auto length = [](int value) { return NoteType::toFraction(static_cast<NoteType::type>(value)).toString(); };
  EXPECT_EQ(length(1), "1/256");
  EXPECT_EQ(length(64), "64/256");
  EXPECT_EQ(length(256), "256/256");
  EXPECT_EQ(length(512), "0/1");
  EXPECT_EQ(length(1024), "0/1");
  EXPECT_EQ(length(0), "0/1");
  EXPECT_EQ(length(96), "32/256");  // the lowest bit set
}

TEST(ConversionTables, ABimapOfNoPairsIsEmpty) {
  const std::string texts[] = {"a"};
  const int values[] = {1};
  EXPECT_TRUE((bimap<std::string, int>(texts, values, 0).byFirst().empty()));
  EXPECT_TRUE((bimap<std::string, int>(texts, values, -1).bySecond().empty()));
  const std::string twice[] = {"a", "a"};
  const int two[] = {1, 2};
  const bimap<std::string, int> later(twice, two, 2);
  EXPECT_EQ(later.byFirst().at("a"), 2);  // a later pair replaces the earlier
  EXPECT_EQ(later.bySecond().size(), 2u);
}

}  // namespace
}  // namespace vornel::MusicXML2
