#include "platform/sim/fault_plan.h"

#include <gtest/gtest.h>

namespace quellspur::platform::sim {
namespace {

TEST(FaultPlan, FailsTheNthUseOnceOrFromThenOn) {
  FaultPlan plan;
  plan.FailOn(Call::RegEnumValueA, 3);
  plan.FailOn(Call::ReadFileAt, 2, true);

  EXPECT_FALSE(plan.Fails(Call::RegEnumValueA));
  EXPECT_FALSE(plan.Fails(Call::RegEnumValueA));
  EXPECT_TRUE(plan.Fails(Call::RegEnumValueA));
  EXPECT_FALSE(plan.Fails(Call::RegEnumValueA));

  EXPECT_FALSE(plan.Fails(Call::ReadFileAt));
  EXPECT_TRUE(plan.Fails(Call::ReadFileAt));
  EXPECT_TRUE(plan.Fails(Call::ReadFileAt));
  EXPECT_FALSE(plan.Fails(Call::OpenProcess));

  plan.Reset();
  EXPECT_FALSE(plan.Fails(Call::ReadFileAt));
}

}  // namespace
}  // namespace quellspur::platform::sim
