// The main window and QuellScan run on one engine: on two copies of one machine they list the
// same lines, log the same, record the same changes and leave the same machine behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/quell_scan.h"
#include "forms/main_window_fixture.h"
#include "settings/settings_store.h"
#include "support/cleaned_scene.h"
#include "support/quarantine_paths.h"
#include "testing/sim_console.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;

// The shared scene on Windows 98, with "Auto Clean" and "Move BackDoors Files" on.
void BuildAutoCleanScene(platform::sim::SimMachine& machine) {
  BuildScene(machine);
  machine.SetPlatformId(platform::kPlatformWindows);
  machine.SetClock({2026, 12, 6, 14, 5, 9});
  SaveSettings(machine, {0, 1, 1});
}

// The scene's executables that still run.
std::vector<std::wstring> StillRunning(const platform::sim::SimMachine& machine) {
  std::vector<std::wstring> running;
  for (const SceneFile& file : SceneFiles()) {
    if (std::ranges::any_of(machine.processes(), [&](const platform::sim::SimProcess& process) {
          return process.running && process.exeFile == file.path;
        })) {
      running.push_back(file.path);
    }
  }
  return running;
}

class BothPrograms : public ::testing::Test {
 protected:
  // The main window as the program starts it: the system read, the settings loaded, then a scan.
  std::vector<std::wstring> ScanInTheWindow() {
    main.engine.ReadSystem();
    main.engine.LoadSettings();
    main.form.cmdScan_Click();
    return main.list.lines();
  }
  // QuellScan's lines, without their CR LF.
  std::vector<std::wstring> ScanInTheConsole(const std::vector<std::wstring>& args) {
    platform::sim::SimConsole console;
    RunQuellScan(args, consoleSim, pump, console);
    return console.OutLines();
  }

  platform::sim::SimMachine windowSim;
  platform::sim::SimMachine consoleSim;
  platform::sim::SimMessagePump pump;
  SimulatedMainWindow main{windowSim, pump};
};

TEST_F(BothPrograms, AutoCleanAndScanCleanListLogRecordAndLeaveTheSame) {
  BuildAutoCleanScene(windowSim);
  BuildAutoCleanScene(consoleSim);
  const std::vector<std::wstring> listed = ScanInTheWindow();
  std::vector<std::wstring> printed = ScanInTheConsole({L"scan", L"--clean"});
  ASSERT_FALSE(printed.empty());
  EXPECT_EQ(printed.back(), L"Every finding is dealt with.");
  printed.pop_back();

  EXPECT_EQ(listed, printed);
  EXPECT_TRUE(listed[0].starts_with(L"IT\u00B4S ERASED!  NetBus Pro Found as: ")) << listed[0];
  EXPECT_EQ(LogLines(windowSim), LogLines(consoleSim));
  EXPECT_EQ(windowSim.FileContent(ChangeRecordPath()), consoleSim.FileContent(ChangeRecordPath()));
  // Both left the same: every file, start value and win.ini line of the scene gone, nothing
  // running.
  EXPECT_EQ(Differences(windowSim), Differences(consoleSim));
  EXPECT_EQ(Differences(consoleSim).size(), SceneFiles().size() + 1 + SceneValues().size());
  EXPECT_EQ(consoleSim.FileContent(kWinIni), kCleanedWinIni);
  EXPECT_THAT(StillRunning(windowSim), ElementsAre());
  EXPECT_THAT(StillRunning(consoleSim), ElementsAre());
}

TEST_F(BothPrograms, ACleanMachineGetsTheSameReport) {
  for (platform::sim::SimMachine* machine : {&windowSim, &consoleSim}) {
    machine->SetClock({2026, 12, 6, 14, 5, 9});
    machine->SetTimeSeparator(L".");
  }
  EXPECT_THAT(
      ScanInTheWindow(),
      ElementsAre(L"Last scan: 14.05.09", L"Your computer is clean from known running backdoors!"));
  EXPECT_EQ(ScanInTheConsole({L"scan"}), main.list.lines());
}

}  // namespace
}  // namespace quellspur::testing
