#include "settings/windows_version.h"

#include <gtest/gtest.h>

#include "platform/fault_injection.h"
#include "platform/sim/sim_machine.h"

namespace quellspur {
namespace {

TEST(WindowsVersion, ReportsThePlatformIdOrZeroWhenTheCallFails) {
  platform::sim::SimMachine sim;
  platform::FaultInjectingOs os{sim};
  EXPECT_EQ(GetWindowsPlatform(sim), 2);
  sim.SetPlatformId(platform::kPlatformWindows);
  EXPECT_EQ(GetWindowsPlatform(sim), 1);
  os.FailOn(platform::Call::GetVersionExA, 1);
  EXPECT_EQ(GetWindowsPlatform(os), 0);
}

}  // namespace
}  // namespace quellspur
