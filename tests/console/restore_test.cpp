// The way back: what a clean-up changed comes back from its record, byte for byte, and a restore
// never overwrites what stands in its way.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clean/change_record.h"
#include "clean/restore.h"
#include "console/quell_scan.h"
#include "forms/main_window_fixture.h"
#include "platform/sha256.h"
#include "support/cleaned_scene.h"
#include "support/quarantine_paths.h"
#include "testing/sim_console.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// Every file the machine holds in the folder whose name ends as a restore's temporary files do.
std::vector<std::wstring> TemporaryFiles(platform::sim::SimMachine& sim,
                                         const std::wstring& folder) {
  std::vector<std::wstring> names;
  sim.ListFiles(folder, names);
  std::erase_if(names, [](const std::wstring& name) {
    return !UpperCase(name).ends_with(UpperCase(Restore::TemporaryName(L"")));
  });
  return names;
}

// The number of restored marks the record holds for each change entry, by id.
std::map<std::uint64_t, int> MarksPerEntry(platform::sim::SimMachine& sim) {
  const ParsedRecord record = ChangeRecord(sim).Read();
  std::map<std::uint64_t, int> marks;
  for (const ChangeEntry& entry : record.entries) {
    if (const auto* mark = std::get_if<Restored>(&entry.change)) {
      ++marks[mark->id];
    } else {
      marks.try_emplace(entry.id, 0);
    }
  }
  return marks;
}

// How many lines of the activity log hold the text.
long LogLinesWith(platform::sim::SimMachine& sim, const std::string& text) {
  return std::ranges::count_if(
      LogLines(sim), [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

class RestoreTest : public MachineTest {
 protected:
  void SetUp() override { BuildScene(sim); }

  int Run(std::vector<std::wstring> args) {
    console = {};
    return RunQuellScan(args, os, pump, console);
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
  const std::vector<std::wstring> rows = console.OutLines();
  EXPECT_EQ(std::ranges::count_if(
                rows, [](const std::wstring& row) { return row.find(L",restored,") != row.npos; }),
            8);
  EXPECT_EQ(rows.size(), 9u);  // the header and the eight entries, each restored
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound);
  EXPECT_EQ(console.out, L"Nothing to restore.\r\n");
  EXPECT_EQ(LogLinesWith(sim, " Restoring: "), 9);  // four files, three values, two win.ini lines
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
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitError);
  EXPECT_THAT(console.error, HasSubstr(L"the record could not be read"));
  EXPECT_EQ(Differences(sim).size(), 8u);

  os.Reset();
  os.FailOn(platform::Call::GetFileLength, 2, true, platform::kErrorAccessDenied);
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound) << console.error;
  EXPECT_THAT(Differences(sim), ElementsAre());
}

// Lines added to the record by hand, each naming something no clean-up makes: none is acted on,
// each is listed and reported with its reason, and the real entries still come back.
TEST_F(RestoreTest, HandMadeLinesAreRefusedWithTheirReasonAndNothingIsMovedOrWritten) {
  ASSERT_EQ(Run({L"scan", L"--clean"}), kExitNothingFound);
  const std::string precious = "the user's data";
  sim.PutFile(L"C:\\data\\precious.txt", precious);
  sim.PutFile(InQuarantine(L"evil.dll.Backdoor"), "planted");
  sim.PutFile(L"C:\\notes.txt", "notes\r\n");
  const std::string planted = platform::Sha256Hex("planted");
  const std::wstring ifeo =
      L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\notepad.exe";
  const auto line = [](decltype(ChangeEntry::change) change) {
    return ChangeEntry{0, {}, L"x", change};
  };
  // Each with its reason; restore_checks_test holds every other kind of path and name.
  const std::vector<std::pair<ChangeEntry, std::wstring>> hostile = {
      {line(FileChange{L"C:\\ELSEWHERE\\precious.txt", L"..\\..\\..\\data\\precious.txt",
                       precious.size(), platform::Sha256Hex(precious)}),
       L"is no plain file name in the quarantine folder"},
      {line(
           FileChange{L"\\\\?\\C:\\WINDOWS\\system32\\evil.dll", L"evil.dll.Backdoor", 7, planted}),
       L"is not an absolute local path"},
      {line(FileChange{L"C:\\WINDOWS\\system32\\..\\system32\\evil.dll", L"evil.dll.Backdoor", 7,
                       planted}),
       L"holds a \".\" or \"..\" folder"},
      {line(RegistryChange{kHklm, 0, ifeo, L"Debugger", platform::kRegSz,
                           platform::StringData(L"C:\\evil.exe")}),
       L"which is no start key the scan reads on this machine"},
      {line(WinIniChange{L"C:\\notes.txt", {{1, L"load=C:\\evil.exe", {}, {}, {}}}}),
       L"is not the Windows folder's C:\\WINDOWS\\win.ini"},
  };
  ChangeRecord record(sim);
  for (const auto& [entry, reason] : hostile) {
    ASSERT_TRUE(record.Append(entry));
  }
  const std::size_t firstHostileId = 10;  // the version line and the clean-up's eight lines before

  ASSERT_EQ(Run({L"quarantine"}), kExitNothingFound);
  const std::wstring listing = console.out;
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitError);
  for (std::size_t index = 0; index < hostile.size(); ++index) {
    const std::wstring id = std::to_wstring(firstHostileId + index);
    SCOPED_TRACE(::testing::PrintToString(id));
    EXPECT_THAT(listing, HasSubstr(L"\r\n" + id + L"  refused  "));
    EXPECT_THAT(listing, HasSubstr(hostile[index].second));
    EXPECT_THAT(console.error, HasSubstr(L"QuellScan: cannot restore " + id + L": refused: "));
    EXPECT_THAT(console.error, HasSubstr(hostile[index].second));
  }
  EXPECT_EQ(sim.FileContent(L"C:\\data\\precious.txt"), precious);
  EXPECT_FALSE(sim.FileExists(L"C:\\ELSEWHERE\\precious.txt"));
  EXPECT_FALSE(sim.FileExists(L"C:\\WINDOWS\\system32\\evil.dll"));
  EXPECT_EQ(sim.FileContent(InQuarantine(L"evil.dll.Backdoor")), "planted");
  EXPECT_TRUE(sim.RegistryValues(kHklm, ifeo).empty());
  EXPECT_EQ(sim.FileContent(L"C:\\notes.txt"), "notes\r\n");
  // What the clean-up did make came back all the same.
  EXPECT_THAT(Differences(sim), ElementsAre());
  EXPECT_EQ(TemporaryFiles(sim, L"C:\\NB"), std::vector<std::wstring>());
}

// On 64-bit Windows the clean-up records the machine's start values with their registry view, and
// a restore takes them back there.
TEST_F(RestoreTest, OnSixtyFourBitWindowsEveryEntryOfTheCleanUpIsAccepted) {
  sim.UseWow64();
  // The scene's settings are in the 64-bit view, which a 32-bit program does not read.
  ASSERT_EQ(Run({L"scan", L"--clean", L"--move-files"}), kExitNothingFound);
  ASSERT_EQ(Differences(sim).size(), 8u);
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound) << console.error;
  EXPECT_THAT(Differences(sim), ElementsAre());
}

// A restore of all exits 0 only when every entry is back. What stands in place as recorded
// counts, gets its mark and loses its copy; a missing copy makes it exit 2, naming the entry.
TEST_F(RestoreTest, AllExitsZeroOnlyWhenEveryEntryIsBack) {
  ASSERT_EQ(Run({L"scan", L"--clean"}), kExitNothingFound);
  sim.PutFile(L"C:\\NB\\NBSVR.EXE", std::string("netbus\0\xff", 8));  // put back by hand
  sim.RemoveFile(InQuarantine(L"keyhook.dll.Backdoor"));

  EXPECT_EQ(Run({L"restore", L"--all"}), kExitError);
  EXPECT_THAT(console.out, HasSubstr(L"C:\\NB\\NBSVR.EXE is in place"));
  EXPECT_THAT(console.error, HasSubstr(L"keyhook.dll.Backdoor is missing"));
  EXPECT_FALSE(sim.FileExists(InQuarantine(L"NBSVR.EXE.Backdoor")));
  EXPECT_EQ(Run({L"quarantine"}), kExitNothingFound);
  EXPECT_THAT(console.out, HasSubstr(L"restored  2026-01-01 12:00:00 +00:00  NetBus Pro  file "
                                     L"C:\\NB\\NBSVR.EXE as"));
  EXPECT_THAT(console.out, HasSubstr(L"no copy  2026-01-01 12:00:00 +00:00  NetBus Pro  file "
                                     L"C:\\NB\\keyhook.dll"));
  // The entry in place is not asked for again; the one without a copy is, every time.
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitError);
  EXPECT_THAT(console.out, Not(HasSubstr(L"NBSVR.EXE")));
  EXPECT_THAT(console.error, HasSubstr(L"keyhook.dll.Backdoor is missing"));
  sim.PutFile(L"C:\\NB\\keyhook.dll", "hook");
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound) << console.error;
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound);
  EXPECT_EQ(console.out, L"Nothing to restore.\r\n");
  for (const auto& [id, marks] : MarksPerEntry(sim)) {
    EXPECT_EQ(marks, 1) << "entry " << id;
  }
}

// A copy that does not arrive whole is never taken for the file, and the quarantine copy, the only
// good one, stays; nothing is left beside the file's place.
TEST_F(RestoreTest, ACopyThatArrivesDamagedIsNeitherReportedNorKept) {
  ASSERT_EQ(Run({L"scan", L"--clean"}), kExitNothingFound);
  sim.DamageCopies(true);
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitError);
  EXPECT_THAT(console.error, HasSubstr(L"did not arrive whole"));
  for (const wchar_t* path : {L"C:\\NB\\NBSVR.EXE", L"C:\\NB\\keyhook.dll", L"C:\\MIL\\MSWINDS.EXE",
                              L"C:\\MIL\\regersys.ocx"}) {
    EXPECT_FALSE(sim.FileExists(path)) << ::testing::PrintToString(std::wstring(path));
  }
  EXPECT_EQ(sim.FileContent(InQuarantine(L"NBSVR.EXE.Backdoor")), std::string("netbus\0\xff", 8));
  EXPECT_EQ(TemporaryFiles(sim, L"C:\\NB"), std::vector<std::wstring>());
  Run({L"quarantine"});
  EXPECT_THAT(console.out, HasSubstr(L"quarantined  2026-01-01 12:00:00 +00:00  NetBus Pro  file "
                                     L"C:\\NB\\NBSVR.EXE as"));
  EXPECT_EQ(LogLinesWith(sim, "Restoring: C:\\"), 0);

  sim.DamageCopies(false);
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound) << console.error;
  EXPECT_THAT(Differences(sim), ElementsAre());
}

// A copy restored to a place the user names never replaces what stands there; what a killed
// restore left beside it goes. (The copy is put there by hand, so the folder is the user's.)
TEST_F(RestoreTest, ACopyRestoredToAPlaceNamedNeverOverwritesWhatStandsThere) {
  sim.PutFile(InQuarantine(L"OLD.EXE.Backdoor"), "from an earlier version");
  sim.PutFile(L"C:\\OLD\\OLD.EXE", "the user's own");
  sim.PutFile(Restore::TemporaryName(L"C:\\OLD\\OLD.EXE"), "from an ear");  // a killed restore's
  EXPECT_EQ(Run({L"restore", L"OLD.EXE.Backdoor", L"--to", L"C:\\OLD\\OLD.EXE", L"--trust-record"}),
            kExitError);
  EXPECT_THAT(console.error, HasSubstr(L"C:\\OLD\\OLD.EXE exists already"));
  EXPECT_EQ(sim.FileContent(L"C:\\OLD\\OLD.EXE"), "the user's own");
  EXPECT_EQ(sim.FileContent(InQuarantine(L"OLD.EXE.Backdoor")), "from an earlier version");
  EXPECT_EQ(TemporaryFiles(sim, L"C:\\OLD"), std::vector<std::wstring>());
  EXPECT_EQ(Run({L"restore", L"OLD.EXE.Backdoor", L"--to", L"OLD.EXE", L"--trust-record"}),
            kExitError);
  EXPECT_THAT(console.error, HasSubstr(L"is not an absolute local path"));
}

// A file quarantined twice, by two clean-ups: undone newest first, it ends as it was before the
// latest, and the older copy, which has no place left, stays in quarantine.
TEST_F(RestoreTest, AllGoesNewestFirst) {
  ASSERT_EQ(Run({L"scan", L"--clean"}), kExitNothingFound);
  sim.PutFile(L"C:\\NB\\NBSVR.EXE", "netbus, installed again");
  sim.ShowWindow(L"TApplication", L"NetBus Server", sim.StartProcess(L"C:\\NB\\NBSVR.EXE", 0));
  ASSERT_EQ(Run({L"scan", L"--clean"}), kExitNothingFound);
  ASSERT_EQ(sim.FileContent(InQuarantine(L"NBSVR.EXE.2.Backdoor")), "netbus, installed again");

  EXPECT_EQ(Run({L"restore", L"--all"}), kExitError);
  EXPECT_EQ(sim.FileContent(L"C:\\NB\\NBSVR.EXE"), "netbus, installed again");
  EXPECT_EQ(sim.FileContent(InQuarantine(L"NBSVR.EXE.Backdoor")), std::string("netbus\0\xff", 8));
  EXPECT_THAT(console.error, HasSubstr(L"C:\\NB\\NBSVR.EXE exists already"));
}

// Runs the command on copies of `start` that stop dead after 1, 2, ... calls, until it runs to
// its end; after each stop, a restore of all must bring back the scene and pass `check`. Gives the
// number of stops.
template <typename Check>
int RestoreAfterEachStop(const platform::sim::SimMachine& start,
                         const std::vector<std::wstring>& args, Check check) {
  platform::sim::SimMessagePump pump;
  platform::sim::SimConsole console;
  for (int calls = 1;; ++calls) {
    platform::sim::SimMachine sim = start;
    platform::FaultInjectingOs dying(sim);
    dying.StopDeadAfter(calls);
    RunQuellScan(args, dying, pump, console);
    if (!dying.StoppedDead()) {
      return calls - 1;
    }
    SCOPED_TRACE("after " + std::to_string(calls) + " calls");
    console = {};
    EXPECT_EQ(RunQuellScan({L"restore", L"--all"}, sim, pump, console), kExitNothingFound)
        << console.error;
    EXPECT_THAT(Differences(sim), ElementsAre());
    check(sim);
    if (::testing::Test::HasFailure()) {
      return calls;
    }
  }
}

// A clean-up stopped after any of its calls: the record brings back everything it changed.
TEST(RestoreAfterACrash, EveryChangeMadeBeforeTheCrashComesBack) {
  platform::sim::SimMachine scene;
  BuildScene(scene);
  const int crashes =
      RestoreAfterEachStop(scene, {L"scan", L"--clean"}, [](platform::sim::SimMachine&) {});
  EXPECT_GT(crashes, 100);
  std::printf("crash sweep: %d crash points, everything restored after each\n", crashes);
}

// A restore of all stopped after any of its calls is finished by the next: every entry back and
// marked once, every copy gone, no temporary file left beside a file's place.
TEST(RestoreAfterACrash, ARestoreStoppedAnywhereIsFinishedByTheNext) {
  platform::sim::SimMachine cleaned;
  BuildScene(cleaned);
  platform::sim::SimMessagePump pump;
  platform::sim::SimConsole console;
  ASSERT_EQ(RunQuellScan({L"scan", L"--clean"}, cleaned, pump, console), kExitNothingFound);
  const int crashes =
      RestoreAfterEachStop(cleaned, {L"restore", L"--all"}, [](platform::sim::SimMachine& sim) {
        std::vector<std::wstring> left;
        sim.ListFiles(QuarantineFolder(), left);
        EXPECT_THAT(left, ElementsAre(L"Changes.txt"));
        for (const SceneFile& file : SceneFiles()) {
          EXPECT_THAT(TemporaryFiles(sim, file.path.substr(0, file.path.rfind(L'\\'))),
                      ElementsAre());
        }
        for (const auto& [id, marks] : MarksPerEntry(sim)) {
          EXPECT_EQ(marks, 1) << "entry " << id;
        }
      });
  EXPECT_GT(crashes, 50);
  std::printf("restore crash sweep: %d crash points, all finished by the next restore\n", crashes);
}

}  // namespace
}  // namespace quellspur::testing
