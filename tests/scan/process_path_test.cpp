#include <gtest/gtest.h>

#include "scan/scan_fixture.h"

namespace quellspur::testing {
namespace {

using ProcessPath = ScanTest;

TEST_F(ProcessPath, OnWindowsNtAsksTheProcessItself) {
  UseWindowsNt();
  const std::uint32_t server = sim.StartProcess(L"PATCH.EXE", 0);
  sim.Process(server).modulePath = L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE";
  const std::uint32_t guarded = sim.StartProcess(L"GUARD.EXE", 0);
  sim.Process(guarded).refusesOpen = true;
  const std::uint32_t deep = sim.StartProcess(L"DEEP.EXE", 0);
  sim.Process(deep).modulePath = L"C:\\" + std::wstring(300, L'd') + L"\\DEEP.EXE";

  EXPECT_EQ(scanner.GetProcessPath(server), L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE");
  EXPECT_EQ(scanner.GetProcessPath(0), L"-unknown-");
  EXPECT_EQ(scanner.GetProcessPath(guarded), L"-unknown-");
  EXPECT_EQ(scanner.GetProcessPath(4242), L"-unknown-");
  // A longer path is cut to the 250-character buffer, less its terminating zero.
  EXPECT_EQ(scanner.GetProcessPath(deep), L"C:\\" + std::wstring(246, L'd'));
  EXPECT_EQ(sim.OpenHandleCount(), 0u);
}

TEST_F(ProcessPath, OnWindowsNtAnEndedProcessStillHeldHasNoPath) {
  UseWindowsNt();
  const std::uint32_t ended = sim.StartProcess(L"C:\\PATCH.EXE", 0);
  sim.EndProcess(ended, 200);
  sim.Process(ended).outsideHolders = 1;
  EXPECT_EQ(scanner.GetProcessPath(ended), L"");

  sim.Process(ended).outsideHolders = 0;
  EXPECT_EQ(scanner.GetProcessPath(ended), L"-unknown-");
  EXPECT_EQ(sim.OpenHandleCount(), 0u);
}

TEST_F(ProcessPath, OnWindows98ReadsTheProcessList) {
  UseWindows98();
  const std::uint32_t first = sim.StartProcess(L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE", 0);
  const std::uint32_t second = sim.StartProcess(L"C:\\WINDOWS\\RUNDLL.EXE", first);
  sim.Process(second).modulePath = L"never asked";

  EXPECT_EQ(scanner.GetProcessPath(first), L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE");
  EXPECT_EQ(scanner.GetProcessPath(second), L"C:\\WINDOWS\\RUNDLL.EXE");
  EXPECT_EQ(scanner.GetProcessPath(4242), L"-unknown-");
  EXPECT_EQ(sim.OpenHandleCount(), 0u);

  os.FailOn(platform::Call::CreateToolhelp32Snapshot, 1);
  EXPECT_EQ(scanner.GetProcessPath(first), L"-unknown-");
  os.FailOn(platform::Call::Process32Next, 1);
  EXPECT_EQ(scanner.GetProcessPath(first), L"-unknown-");  // the walk broke off before it
  EXPECT_EQ(sim.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace quellspur::testing
