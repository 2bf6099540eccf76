// The budget a reading charges what it builds to: its limit, what nested readings charge, the
// members that charge their owners, and the weight of a parsed XML text.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/BuildBudget.h"

namespace vornel {
namespace {

TEST(BuildBudget, AFileMayBuild64MegabytesAnd64BytesForEachOfItsBytes) {
  EXPECT_EQ(BuildBudget(0).LimitBytes(), uint64_t(64) << 20);
  EXPECT_EQ(BuildBudget(1000).LimitBytes(), (uint64_t(64) << 20) + 64000);
}

TEST(BuildBudget, AChargeBeyondTheLimitIsRefusedWithTheLimitNamed) {
  BuildBudget budget(12345, uint64_t(3) << 20);
  const ScopedBuildBudget scope(budget);
  ChargeBuilt(uint64_t(2) << 20);
  CreditBuilt(uint64_t(1) << 20);
  ChargeBuilt(uint64_t(2) << 20);  // exactly the limit
  try {
    ChargeBuilt(1);
    FAIL() << "charged beyond the limit";
  } catch (const BuildBudgetExceeded& exceeded) {
    const std::string text = exceeded.what();
    EXPECT_NE(text.find("3 MB"), std::string::npos) << text;
    EXPECT_NE(text.find("12345 bytes"), std::string::npos) << text;
  }
  EXPECT_EQ(budget.Held(), uint64_t(3) << 20);  // the refused charge is not held
  EXPECT_EQ(budget.Peak(), uint64_t(3) << 20);
}

TEST(BuildBudget, WithoutAReadingChargesDoNothing) {
  EXPECT_FALSE(BuildBudgetInstalled());
  ChargeBuilt(uint64_t(1) << 40);
  CreditBuilt(1);
}

TEST(BuildBudget, AnInnerReadingNeverWidensTheOuterOne) {
  BuildBudget outer(0, 100);
  BuildBudget inner(0, 1000);
  const ScopedBuildBudget outerScope(outer);
  {
    const ScopedBuildBudget innerScope(inner);
    ChargeBuilt(60);
    EXPECT_THROW(ChargeBuilt(60), BuildBudgetExceeded);
    EXPECT_EQ(inner.Held(), 60u);  // neither budget took the refused charge
    EXPECT_EQ(outer.Held(), 60u);
  }
  ChargeBuilt(40);
  EXPECT_EQ(outer.Held(), 100u);
  EXPECT_EQ(inner.Held(), 60u);  // no longer installed
}

struct Charged {
  [[no_unique_address]] BuildCharge<10> charge;
  int value = 0;
};

TEST(BuildBudget, AChargingMemberChargesEveryCopyAndCreditsEachAsItGoes) {
  static_assert(sizeof(Charged) == sizeof(int));
  BuildBudget budget(0, 25);
  const ScopedBuildBudget scope(budget);
  {
    Charged a;
    Charged b = a;
    EXPECT_EQ(budget.Held(), 20u);
    EXPECT_THROW(Charged{b}, BuildBudgetExceeded);  // the third would pass 25
    b = a;                                           // an assignment builds nothing
    EXPECT_EQ(budget.Held(), 20u);
  }
  EXPECT_EQ(budget.Held(), 0u);
}

TEST(BuildBudget, AParsedXmlTextWeighsItsTextItsElementsAndItsAttributes) {
  const std::string_view text = R"(<a x="1"><b y="2" z="3"/></a>)";
  EXPECT_EQ(ParsedXmlWeight(text.data(), text.size()), text.size() + 1 + 2 * 120 + 3 * 80);
}

}  // namespace
}  // namespace vornel
