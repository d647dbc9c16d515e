// The way back: what a clean-up changed comes back from its record, byte for byte, and a restore
// never overwrites what stands in its way.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "console/quell_scan.h"
#include "forms/main_window_fixture.h"
#include "support/cleaned_scene.h"
#include "support/quarantine_paths.h"
#include "testing/sim_console.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class RestoreTest : public MachineTest {
 protected:
  void SetUp() override { BuildScene(sim); }

  int Run(std::vector<std::wstring> args) { return Run(os, std::move(args)); }
  int Run(platform::Os& on, std::vector<std::wstring> args) {
    console = {};
    return RunQuellScan(args, on, pump, console);
  }

  platform::sim::SimConsole console;
};

TEST_F(RestoreTest, EverythingACleanUpChangedComesBackByteForByte) {
  ASSERT_EQ(Run({L"scan", L"--clean"}), kExitNothingFound);
  EXPECT_EQ(Differences(sim).size(), 8u);  // four files, win.ini, three values

  ASSERT_EQ(Run({L"quarantine"}), kExitNothingFound);
  EXPECT_THAT(console.out, HasSubstr(L"quarantined  2026-01-01 12:00:00 +00:00  NetBus Pro  file "
                                     L"C:\\NB\\NBSVR.EXE as NBSVR.EXE.Backdoor, 8 bytes"));
  EXPECT_THAT(
      console.out,
      HasSubstr(L"removed  2026-01-01 12:00:00 +00:00  Millenium  win.ini C:\\WINDOWS\\win.ini, "
                L"line 2: load=C:\\MIL\\MSWINDS.EXE, line 4: x=C:\\MIL\\MSWINDS.EXE"));

  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound) << console.error;
  EXPECT_THAT(Differences(sim), ElementsAre());
  EXPECT_TRUE(console.error.empty()) << console.error;
  // The copies are gone once their files are back, and the list says so.
  std::vector<std::wstring> left;
  sim.ListFiles(QuarantineFolder(), left);
  EXPECT_THAT(left, ElementsAre(L"Changes.txt"));
  Run({L"quarantine", L"--format", L"csv"});
  std::size_t restored = 0;
  for (std::size_t at = 0; (at = console.out.find(L",restored,", at)) != std::wstring::npos; ++at) {
    ++restored;
  }
  EXPECT_EQ(restored, 8u);
  EXPECT_EQ(console.out.find(L",quarantined,"), std::wstring::npos);
  EXPECT_EQ(console.out.find(L",removed,"), std::wstring::npos);
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound);
  EXPECT_EQ(console.out, L"Nothing to restore.\r\n");
  const auto log = LogLines(sim);
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& line) { return line.find(" Restoring: ") == 19; }),
            9);  // four files, three values, two win.ini lines
}

TEST_F(RestoreTest, NeverOverwritesAndRefusesAnAlteredCopy) {
  ASSERT_EQ(Run({L"scan", L"--clean"}), kExitNothingFound);
  sim.PutFile(L"C:\\NB\\NBSVR.EXE", "the user's new program");
  sim.SetRegistryText(kHkcu, kRunKey, L"NetBus", L"C:\\OTHER.EXE");
  sim.PutFile(InQuarantine(L"keyhook.dll.Backdoor"), "altered");

  EXPECT_EQ(Run({L"restore", L"--all"}), kExitError);
  EXPECT_EQ(sim.FileContent(L"C:\\NB\\NBSVR.EXE"), "the user's new program");
  EXPECT_FALSE(sim.FileExists(L"C:\\NB\\keyhook.dll"));
  EXPECT_EQ(sim.FileContent(InQuarantine(L"NBSVR.EXE.Backdoor")), std::string("netbus\0\xff", 8));
  EXPECT_THAT(console.error, HasSubstr(L"C:\\NB\\NBSVR.EXE exists already"));
  EXPECT_THAT(console.error, HasSubstr(L"no longer matches the record"));
  EXPECT_THAT(console.error, HasSubstr(L"Run,NetBus exists already with other data"));
  // The rest came back.
  EXPECT_EQ(sim.FileContent(L"C:\\MIL\\MSWINDS.EXE"), "millenium");
  EXPECT_EQ(sim.FileContent(kWinIni), kSceneWinIni);
  EXPECT_EQ(Run({L"restore", L"99"}), kExitError);
  EXPECT_THAT(console.error, HasSubstr(L"nothing in quarantine has the id 99"));
}

TEST_F(RestoreTest, DamagedLinesAreSkippedAndUnrecordedCopiesGoWhereTheUserSays) {
  ASSERT_EQ(Run({L"scan", L"--clean"}), kExitNothingFound);
  const std::wstring record = ChangeRecordPath();
  std::string bytes = sim.FileContent(record);
  const std::size_t third = bytes.find("\r\n", bytes.find("\r\n", bytes.find("\r\n") + 2) + 2);
  bytes.insert(third + 2, "\x01\xfe garbage\twith\ttabs\r\n");
  sim.PutFile(record, bytes + "2026-01-01 12:00:00\tfile\tcut by a cr");
  sim.PutFile(InQuarantine(L"OLD.EXE.Backdoor"), "from an earlier version");

  EXPECT_EQ(Run({L"quarantine", L"--format", L"json"}), kExitNothingFound);
  EXPECT_THAT(console.error, HasSubstr(L"Changes.txt line 4: "));
  EXPECT_THAT(console.error, HasSubstr(L"Changes.txt line 11: "));
  EXPECT_THAT(console.out, HasSubstr(L"{\"id\":\"OLD.EXE.Backdoor\",\"state\":\"unrecorded\""));

  EXPECT_EQ(Run({L"restore", L"OLD.EXE.Backdoor"}), kExitError);
  EXPECT_EQ(Run({L"restore", L"old.exe.backdoor", L"--to", L"C:\\OLD\\OLD.EXE"}), kExitNothingFound)
      << console.error;
  EXPECT_EQ(sim.FileContent(L"C:\\OLD\\OLD.EXE"), "from an earlier version");
  EXPECT_FALSE(sim.FileExists(InQuarantine(L"OLD.EXE.Backdoor")));
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound) << console.error;
  EXPECT_THAT(Differences(sim), ElementsAre());
}

// What Windows can't show is not taken for missing: an unreadable record is reported, and copies
// that can't be looked at are tried, and come back.
TEST_F(RestoreTest, WhatCannotBeLookedAtIsNotTakenForMissing) {
  ASSERT_EQ(Run({L"scan", L"--clean"}), kExitNothingFound);
  os.FailOn(platform::Call::GetFileLength, 1, false, platform::kErrorSharingViolation);
  Run({L"restore", L"--all"});
  EXPECT_THAT(console.error, HasSubstr(L"the record could not be read"));
  EXPECT_EQ(Differences(sim).size(), 8u);

  os.Reset();
  os.FailOn(platform::Call::GetFileLength, 2, true, platform::kErrorAccessDenied);
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound) << console.error;
  EXPECT_THAT(Differences(sim), ElementsAre());
}

// The machine stops dead after each call of a clean-up in turn: from what it left, the record
// brings back everything that was changed.
TEST(RestoreAfterACrash, EveryChangeMadeBeforeTheCrashComesBack) {
  int crashes = 0;
  for (int calls = 1;; ++calls) {
    platform::sim::SimMachine sim;
    BuildScene(sim);
    platform::FaultInjectingOs dying(sim);
    platform::sim::SimMessagePump pump;
    platform::sim::SimConsole console;
    dying.StopDeadAfter(calls);
    RunQuellScan({L"scan", L"--clean"}, dying, pump, console);
    if (!dying.StoppedDead()) {
      break;  // the clean-up ran to its end
    }
    ++crashes;
    const int restored = RunQuellScan({L"restore", L"--all"}, sim, pump, console);
    ASSERT_EQ(restored, kExitNothingFound) << "after " << calls << " calls: " << console.error;
    ASSERT_THAT(Differences(sim), ElementsAre()) << "after " << calls << " calls";
  }
  EXPECT_GT(crashes, 100);
  std::printf("crash sweep: %d crash points, everything restored after each\n", crashes);
}

}  // namespace
}  // namespace quellspur::testing
