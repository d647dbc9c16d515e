// The main window and QuellScan run on one engine: on two copies of one machine they list the
// same lines, log the same, record the same changes and leave the same machine behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/quell_scan.h"
#include "forms/main_window_fixture.h"
#include "settings/settings_store.h"
#include "testing/sim_console.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;

const std::wstring kWinIni = L"C:\\WINDOWS\\win.ini";
const std::wstring kRecord = L"C:\\Program Files\\Quellspur\\BackDoors\\Changes.txt";
const std::wstring kNetBus = L"C:\\NB\\NBSVR.EXE";
const std::wstring kMillenium = L"C:\\MIL\\MSWINDS.EXE";
const std::wstring kBackOrificeServer = L"C:\\WINDOWS\\SYSTEM\\ .exe";
const std::wstring kFiles[] = {kNetBus, kMillenium, L"C:\\MIL\\regersys.ocx"};

// Windows 98 with NetBus Pro, Millenium (with its win.ini line and companion) and Back Orifice
// running, each started at log-on; "Auto Clean" and "Move BackDoors Files" on.
void BuildScene(platform::sim::SimMachine& machine) {
  machine.SetPlatformId(platform::kPlatformWindows);
  machine.SetClock({2026, 12, 6, 14, 5, 9});
  for (const std::wstring& path : kFiles) {
    machine.PutFile(path, "MZ");
  }
  machine.PutFile(kWinIni, "[windows]\r\nload=C:\\MIL\\MSWINDS.EXE\r\n");
  machine.ShowWindow(L"TApplication", L"NetBus Server", machine.StartProcess(kNetBus, 0));
  machine.SetRegistryText(kHkcu, kRunKey, L"NetBus", kNetBus);
  machine.ShowWindow(L"ThunderRT5Form", L"System Update", machine.StartProcess(kMillenium, 0));
  machine.SetRegistryText(kHklm, kRunKey, L"mil", L"MSWINDS.EXE");
  machine.StartProcess(kBackOrificeServer, 0);
  machine.SetRegistryText(kHkcu, kRunKey, L"Startup", L" .EXE");
  SaveSettings(machine, {0, 1, 1});
}

// What a clean-up leaves of the scene, to compare two machines by.
std::vector<std::string> Remains(platform::sim::SimMachine& machine) {
  std::vector<std::string> remains;
  for (const platform::sim::SimProcess& process : machine.processes()) {
    const std::wstring& path = process.exeFile;
    if (process.running && (path == kNetBus || path == kMillenium || path == kBackOrificeServer)) {
      remains.push_back("running " + machine.WideToAnsi(process.exeFile));
    }
  }
  for (const auto& [root, key] : {std::pair(kHkcu, kRunKey), std::pair(kHklm, kRunKey)}) {
    for (const platform::sim::SimValue& value : machine.RegistryValues(root, key)) {
      remains.push_back("value " + machine.WideToAnsi(value.name));
    }
  }
  for (const std::wstring& path : kFiles) {
    if (machine.FileExists(path)) {
      remains.push_back("file " + machine.WideToAnsi(path));
    }
  }
  remains.push_back(machine.FileContent(kWinIni));
  return remains;
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
  BuildScene(windowSim);
  BuildScene(consoleSim);
  const std::vector<std::wstring> listed = ScanInTheWindow();
  std::vector<std::wstring> printed = ScanInTheConsole({L"scan", L"--clean"});
  ASSERT_EQ(printed.size(), 7u);  // two lines for each backdoor, and what remains
  EXPECT_EQ(printed.back(), L"Every finding is dealt with.");
  printed.pop_back();

  EXPECT_EQ(listed, printed);
  EXPECT_TRUE(listed[0].starts_with(L"IT\u00B4S ERASED!  NetBus Pro Found as: "));
  EXPECT_TRUE(listed[1].starts_with(L"IT\u00B4S TERMINATED!  NetBus Pro Found as: "));
  EXPECT_EQ(LogLines(windowSim), LogLines(consoleSim));
  EXPECT_EQ(windowSim.FileContent(kRecord), consoleSim.FileContent(kRecord));
  EXPECT_EQ(Remains(windowSim), Remains(consoleSim));
  EXPECT_THAT(Remains(consoleSim), ElementsAre("[windows]\r\n"));
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
