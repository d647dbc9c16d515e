#include "settings/windows_version.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"

namespace quellspur {
namespace {

TEST(WindowsVersion, ReportsThePlatformIdOrZeroWhenTheCallFails) {
  platform::sim::SimMachine sim;
  EXPECT_EQ(GetWindowsPlatform(sim), 2);
  sim.SetPlatformId(platform::kPlatformWindows);
  EXPECT_EQ(GetWindowsPlatform(sim), 1);
  sim.faults().FailOn(platform::sim::Call::GetVersionExA, 1);
  EXPECT_EQ(GetWindowsPlatform(sim), 0);
}

}  // namespace
}  // namespace quellspur
