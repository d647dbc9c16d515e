#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/main_window_fixture.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;

// A machine with several backdoors running at once.
class WholeScan : public MainWindowTest {
 protected:
  void SetUp() override {
    sim.SetClock({2026, 12, 6, 14, 5, 9});
    loader_ = sim.StartProcess(L"C:\\WINDOWS\\LOADER.EXE", 0);
    sim.PutFile(L"C:\\WINDOWS\\LOADER.EXE", "MZ");

    devil_ = sim.StartProcess(L"C:\\WINDOWS\\SYSTEM\\KERNEL.EXE", loader_);
    sim.PutFile(L"C:\\WINDOWS\\SYSTEM\\KERNEL.EXE", "MZ");
    sim.ShowWindow(L"ThunderRT5Form", L"wingenocide", devil_);
    sim.ShowWindow(L"ThunderRT5Main", L"wingeno", devil_);

    netbus_ = sim.StartProcess(L"C:\\NB\\NBSVR.EXE", loader_);
    sim.PutFile(L"C:\\NB\\NBSVR.EXE", "MZ");
    sim.ShowWindow(L"TApplication", L"NetBus Server", netbus_);
    sim.SetRegistryText(kHkcu, kRunKey, L"NetBus", L"C:\\NB\\NBSVR.EXE");
    sim.SetRegistryText(kHklm, kRunServicesKey, L"nbsvr", L"nbsvr.exe /noadd");

    byName_ = sim.StartProcess(L"C:\\WINDOWS\\SYSTEM\\ .EXE", loader_);
    bySize_ = sim.StartProcess(L"C:\\WINDOWS\\SYSTEM\\WINDLL32.EXE", 0);
    sim.PutFile(L"C:\\WINDOWS\\SYSTEM\\WINDLL32.EXE", Image(124999, "windll32.exe"));
    sim.SetRegistryText(kHklm, kRunKey, L"Win32", L"WINDLL32.EXE");
  }

  std::uint32_t loader_ = 0, devil_ = 0, netbus_ = 0, byName_ = 0, bySize_ = 0;
};

TEST_F(WholeScan, OnWindows98ListsEveryFindingInTableOrder) {
  UseWindows98();
  form.cmdScan_Click();

  const std::wstring loader = L" Activ now, started by: LOADER.EXE";
  EXPECT_THAT(
      list.lines(),
      ElementsAre(
          L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Start entry in: HKEY_LOCAL_MACHINE "
          L"RunServices/nbsvr",
          L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Start entry in: HKEY_CURRENT_USER Run/NetBus",
          L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE" + loader,
          L"Devil Found as: C:\\WINDOWS\\SYSTEM\\KERNEL.EXE" + loader,
          L"Devil Found as: C:\\WINDOWS\\SYSTEM\\KERNEL.EXE" + loader,
          L"Back Orifice Found as: C:\\WINDOWS\\SYSTEM\\ .EXE" + loader,
          L"Back Orifice Found as: C:\\WINDOWS\\SYSTEM\\WINDLL32.EXE Start entry in: "
          L"HKEY_LOCAL_MACHINE Run/Win32",
          L"Back Orifice Found as: C:\\WINDOWS\\SYSTEM\\WINDLL32.EXE Activ now, started by: "
          L"-unknown-"));
  EXPECT_EQ(scanner.findings[2].processId, netbus_);
  EXPECT_EQ(scanner.findings[3].processId, devil_);
  EXPECT_EQ(scanner.findings[5].processId, byName_);
  EXPECT_EQ(scanner.findings[7].processId, bySize_);

  const std::vector<std::string> logLines = LogLines();
  ASSERT_EQ(logLines.size(), 8u);
  for (std::size_t i = 0; i < logLines.size(); ++i) {
    EXPECT_EQ(logLines[i], "2026-12-06 14:05:09 " + sim.WideToAnsi(list.lines()[i]));
  }
  EXPECT_TRUE(window.Visible());
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(sim.OpenHandleCount(), 0u);
  EXPECT_EQ(sim.OpenKeyCount(), 0u);
}

TEST_F(WholeScan, OnWindowsNtOnlyWindowsAreFoundAndNoParent) {
  UseWindowsNt();
  form.cmdScan_Click();

  ASSERT_EQ(list.ListCount(), 5);
  for (int line : {2, 3, 4}) {
    EXPECT_TRUE(list.List(line).ends_with(L" Activ now, started by: -unknown-")) << line;
  }
  EXPECT_EQ(list.List(4),
            L"Devil Found as: C:\\WINDOWS\\SYSTEM\\KERNEL.EXE Activ now, started "
            L"by: -unknown-");
}

TEST_F(WholeScan, AFaultInTheWindowProbeKeepsItsRowsAndTheScanGoesOn) {
  UseWindows98();
  // The fourth window lookup runs out of memory: the NetBus rows stay, the "Devil" windows are
  // never looked for, and the process probe and the report still run.
  os.ThrowOn(platform::Call::FindWindowA, 4);
  form.cmdScan_Click();

  ASSERT_EQ(list.ListCount(), 6);
  EXPECT_TRUE(list.List(2).starts_with(L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Activ now"));
  EXPECT_TRUE(list.List(3).starts_with(L"Back Orifice Found as: C:\\WINDOWS\\SYSTEM\\ .EXE"));
  EXPECT_TRUE(scanner.currentBackdoorName.empty());
}

TEST_F(WholeScan, AFaultInTheProcessProbeKeepsTheRowsBeforeIt) {
  UseWindows98();
  // The size server's file can no longer be measured, after the name rule has found its copy.
  sim.RemoveFile(L"C:\\WINDOWS\\SYSTEM\\WINDLL32.EXE");
  form.cmdScan_Click();

  ASSERT_EQ(list.ListCount(), 6);
  EXPECT_TRUE(list.List(5).starts_with(L"Back Orifice Found as: C:\\WINDOWS\\SYSTEM\\ .EXE"));
  EXPECT_EQ(sim.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace quellspur::testing
