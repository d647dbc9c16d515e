#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <utility>

#include "console/quell_scan.h"
#include "console/table_text.h"
#include "forms/main_window_fixture.h"
#include "settings/settings_store.h"
#include "support/administrators_only.h"
#include "support/quarantine_paths.h"
#include "testing/sim_console.h"
#include "version/version.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;
using Call = platform::Call;

const std::wstring kServer = L"C:\\NB\\NBSVR.EXE";
const std::wstring kFoundByWindow =
    L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Activ now, started by: -unknown-";
const std::wstring kFoundInRun =
    L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Start entry in: HKEY_CURRENT_USER Run/NetBus";
// What a clean-up of StartNetBus's finding reports.
const std::vector<std::wstring> kCleanedReport = {L"IT\u00B4S ERASED!  " + kFoundInRun,
                                                  L"IT\u00B4S TERMINATED!  " + kFoundByWindow,
                                                  L"Every finding is dealt with."};

// The exit codes are those the README documents, written out: 0 nothing found (or all dealt
// with), 1 something found (or remains), 2 an error.
class QuellScan : public MachineTest {
 protected:
  // NetBus Pro running with its window and started by a value of the user's Run key.
  std::uint32_t StartNetBus() {
    const std::uint32_t id = sim.StartProcess(kServer, 0);
    sim.PutFile(kServer, "MZ");
    sim.ShowWindow(L"TApplication", L"NetBus Server", id);
    sim.SetRegistryText(kHkcu, kRunKey, L"NetBus", kServer);
    return id;
  }

  // Runs QuellScan with room for only so many characters of output and of errors.
  int Run(std::vector<std::wstring> args, std::size_t outRoom = SIZE_MAX,
          std::size_t errorRoom = SIZE_MAX) {
    console = {};
    console.outRoom = outRoom;
    console.errorRoom = errorRoom;
    return RunQuellScan(args, os, pump, console);
  }

  std::vector<std::wstring> OutLines() const { return console.OutLines(); }

  platform::sim::SimConsole console;
};

TEST_F(QuellScan, ScanReportsAndLogsWhatItFindsAndChangesNothing) {
  EXPECT_EQ(Run({L"scan"}), 0);
  EXPECT_THAT(OutLines(), ElementsAre(L"Last scan: 12:00:00",
                                      L"Your computer is clean from known running backdoors!"));
  EXPECT_FALSE(sim.FileExists(kLogPath));

  const std::uint32_t netbus = StartNetBus();
  EXPECT_EQ(Run({L"scan"}), 1);
  EXPECT_THAT(OutLines(), ElementsAre(kFoundInRun, kFoundByWindow));
  EXPECT_THAT(LogLines(sim),
              ElementsAre("2026-01-01 12:00:00 NetBus Pro Found as: C:\\NB\\NBSVR.EXE "
                          "Start entry in: HKEY_CURRENT_USER Run/NetBus",
                          "2026-01-01 12:00:00 NetBus Pro Found as: C:\\NB\\NBSVR.EXE "
                          "Activ now, started by: -unknown-"));
  EXPECT_TRUE(console.error.empty());
  // Beside a running Quellspur and its settings: no mutex, no setting, nothing cleaned.
  EXPECT_EQ(os.Uses(Call::CreateMutexW), 0);
  EXPECT_FALSE(sim.KeyExists(kHklm, kSettingsKey));
  EXPECT_TRUE(sim.Process(netbus).running);
  EXPECT_EQ(sim.RegistryValues(kHkcu, kRunKey).size(), 1u);
}

TEST_F(QuellScan, WrongArgumentsAreRefusedWithOneLineAndNoScan) {
  const std::vector<std::vector<std::wstring>> wrong = {
      {},
      {L"scna"},
      {L"--scan"},
      {L"scan", L"--bogus"},
      {L"scan", L"clean"},
      {L"scan", L"--format"},
      {L"scan", L"--format", L"xml"},
      {L"scan", L"--format="},
      {L"scan", L"--clean=yes"},
      {L"scan", L"--repeat", L"0"},
      {L"scan", L"--repeat", L"-3"},
      {L"scan", L"--repeat", L"1e3"},
      {L"scan", L"--repeat=1000000"},
      {L"scan", L"--move-files"},
      {L"scan", L"--clean", L"--repeat", L"2"},
  };
  StartNetBus();
  for (const auto& args : wrong) {
    SCOPED_TRACE(::testing::PrintToString(args));
    EXPECT_EQ(Run(args), 2);
    EXPECT_TRUE(console.out.empty());
    EXPECT_TRUE(std::regex_match(console.error, std::wregex(L"QuellScan: [^\r\n]+\r\n")))
        << console.error;
  }
  EXPECT_EQ(os.Uses(Call::FindWindowW), 0);
  EXPECT_FALSE(sim.FileExists(kLogPath));

  EXPECT_EQ(Run({L"--version"}), 0);
  EXPECT_EQ(console.out, L"QuellScan (Orvanta Quellspur) " + kVersionText + L"\r\n");
  EXPECT_EQ(Run({L"--help"}), 0);
  EXPECT_THAT(console.out, ::testing::StartsWith(L"Usage: QuellScan scan"));
  EXPECT_EQ(os.Uses(Call::FindWindowW), 0);
}

// Each command knows only its own options, by their exact names, and the line says which
// argument is wrong.
TEST_F(QuellScan, EachCommandTakesOnlyItsOwnOptions) {
  const std::vector<std::pair<std::vector<std::wstring>, std::wstring>> refused = {
      {{L"SCAN"}, L"unknown command \"SCAN\""},
      {{L"scan", L"--Clean"}, L"unknown option \"--Clean\""},
      {{L"scan", L"--to", L"C:\\A"}, L"unknown option \"--to\""},
      {{L"quarantine", L"--clean"}, L"unknown option \"--clean\""},
      {{L"restore", L"1", L"--format", L"csv"}, L"unknown option \"--format\""},
      {{L"signatures", L"--all"}, L"unknown option \"--all\""},
      {{L"--help", L"--format=csv"}, L"unknown option \"--format\""},
      {{L"startup", L"--clean"}, L"unknown option \"--clean\""},
      {{L"signatures", L"--check"}, L"--check needs a value"},
      {{L"restore", L"--all=yes"}, L"--all takes no value"},
      {{L"quarantine", L"--format=xml"}, L"unknown format \"xml\" (text, csv or json)"},
      {{L"scan", L"--repeat", L"0"}, L"--repeat needs a whole number from 1 to 100000"},
      {{L"restore"}, L"restore needs the ids to restore, or --all"},
  };
  for (const auto& [args, reason] : refused) {
    SCOPED_TRACE(::testing::PrintToString(args));
    EXPECT_EQ(Run(args), 2);
    EXPECT_EQ(console.error,
              L"QuellScan: " + reason + L"; QuellScan --help shows how to use it\r\n");
  }

  for (const wchar_t* help : {L"-h", L"/?"}) {
    EXPECT_EQ(Run({help}), 0);
    EXPECT_THAT(console.out, ::testing::StartsWith(L"Usage: QuellScan scan"));
  }
  EXPECT_EQ(Run({L"quarantine", L"--format", L"json"}), 0);
  EXPECT_EQ(console.error, L"");
  EXPECT_EQ(Run({L"signatures", L"--format=csv"}), 0);
  EXPECT_THAT(console.out, ::testing::StartsWith(L"backdoor,kind,class,caption,"));
}

TEST_F(QuellScan, CleanDealsWithEveryFindingAndSaysWhatRemains) {
  const std::uint32_t netbus = StartNetBus();
  EXPECT_EQ(Run({L"scan", L"--clean"}), 0);
  EXPECT_EQ(OutLines(), kCleanedReport);
  EXPECT_FALSE(sim.Process(netbus).running);
  EXPECT_TRUE(sim.RegistryValues(kHkcu, kRunKey).empty());
  // The stored setting is off, so the file stays where it is.
  EXPECT_TRUE(sim.FileExists(kServer));

  // One that can't be ended remains; --move-files copies its file, which stays in use.
  const std::uint32_t stubborn = StartNetBus();
  sim.Process(stubborn).refusesTermination = true;
  EXPECT_EQ(Run({L"scan", L"--clean", L"--move-files", L"--format=csv"}), 1);
  EXPECT_THAT(OutLines()[1], ::testing::EndsWith(L",remove start entry,done"));
  EXPECT_THAT(OutLines()[2], ::testing::EndsWith(L",terminate,not done"));
  EXPECT_EQ(sim.FileContent(InQuarantine(L"NBSVR.EXE.Backdoor")), "MZ");
  EXPECT_TRUE(sim.FileExists(kServer));

  // With the stored setting on, moving needs no option.
  sim.EndProcess(stubborn, 0);
  StartNetBus();
  sim.SetRegistryText(kHklm, kSettingsKey, L"MoveFiles", L" 1");
  EXPECT_EQ(Run({L"scan", L"--clean"}), 0);
  EXPECT_FALSE(sim.FileExists(kServer));
  EXPECT_EQ(sim.RegistryValues(kHklm, kSettingsKey).size(), 1u);
}

// What a spreadsheet or a log collector reads: every column, names holding the separators, the
// quotes and the line breaks of either format, and characters beyond the basic plane.
TEST_F(QuellScan, CsvAndJsonKeepEveryNameWhole) {
  const std::wstring netbus = std::to_wstring(StartNetBus());
  const std::wstring awkward = L"a,\"b\"\r\n\\c\U0001F600\xD800";
  sim.SetRegistryText(kHklm, kRunKey, awkward, kServer);

  EXPECT_EQ(Run({L"scan", L"--format", L"csv"}), 1);
  EXPECT_THAT(OutLines(),
              ElementsAre(L"backdoor,kind,path,process_id,parent_path,registry_root,registry_key,"
                          L"value_name,registry_view,action,outcome",
                          L"NetBus Pro,start entry,C:\\NB\\NBSVR.EXE,,,HKEY_LOCAL_MACHINE,"
                          L"Software\\Microsoft\\Windows\\CurrentVersion\\Run,\"a,\"\"b\"\"",
                          L"\\c\U0001F600\xD800\",,remove start entry,",
                          L"NetBus Pro,start entry,C:\\NB\\NBSVR.EXE,,,HKEY_CURRENT_USER,"
                          L"Software\\Microsoft\\Windows\\CurrentVersion\\Run,NetBus,,"
                          L"remove start entry,",
                          L"NetBus Pro,process,C:\\NB\\NBSVR.EXE," + netbus +
                              L",-unknown-,,,,,terminate,"));

  EXPECT_EQ(Run({L"scan", L"--format", L"json"}), 1);
  ASSERT_EQ(OutLines().size(), 3u);
  EXPECT_EQ(
      OutLines()[0],
      L"{\"backdoor\":\"NetBus Pro\",\"kind\":\"start entry\",\"path\":\"C:\\\\NB\\\\NBSVR.EXE\","
      L"\"process_id\":null,\"parent_path\":null,\"registry_root\":\"HKEY_LOCAL_MACHINE\","
      L"\"registry_key\":\"Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run\","
      L"\"value_name\":\"a,\\\"b\\\"\\u000d\\u000a\\\\c\U0001F600\\ud800\","
      L"\"registry_view\":null,\"action\":\"remove start entry\",\"outcome\":null}");
  EXPECT_THAT(OutLines()[2], ::testing::HasSubstr(L"\"process_id\":" + netbus +
                                                  L",\"parent_path\":\"-unknown-\""));

  // The text lines are the list's, each on one line.
  Run({L"scan"});
  EXPECT_THAT(OutLines()[0], ::testing::EndsWith(L"Run/a,\"b\"\\x0D\\x0A\\c\U0001F600\xD800"));
}

TEST_F(QuellScan, RepeatTimesTheScansAndReportsOnce) {
  StartNetBus();
  EXPECT_EQ(Run({L"scan", L"--repeat", L"3"}), 1);
  EXPECT_THAT(OutLines(), ElementsAre(kFoundInRun, kFoundByWindow));
  EXPECT_EQ(LogLines(sim).size(), 2u);
  EXPECT_EQ(os.Uses(Call::FindWindowW), 3 * 24);
  EXPECT_TRUE(std::regex_match(
      console.error, std::wregex(L"scan time over 3 scans: min [0-9]+\\.[0-9]{3} ms, "
                                 L"median [0-9]+\\.[0-9]{3} ms, max [0-9]+\\.[0-9]{3} ms\r\n")))
      << console.error;
}

// A field that holds nothing but a separator, a quote or a line end is quoted all the same.
// The setup asks before it writes "Run On Startup" for a folder outside Program Files.
TEST_F(QuellScan, StartupSaysWhetherQuellspurMayStartWithWindowsFromItsFolder) {
  const std::wstring folder = sim.GetProgramFolder();
  EXPECT_EQ(Run({L"startup"}), 1);
  EXPECT_THAT(OutLines(),
              ElementsAre(L"Quellspur does not start with Windows from " + folder +
                          L": it belongs to the account S-1-5-21-0-0-0-1000. Whoever may change "
                          L"it could have their own program started when any user logs on. "
                          L"Install Quellspur with its setup, or move its folder to one that only "
                          L"administrators can change, such as Program Files."));

  sim.KeepAccessLists();
  sim.SetAccessList(folder, AdministratorsOnly());
  EXPECT_EQ(Run({L"startup"}), 0);
  EXPECT_THAT(OutLines(), ElementsAre(L"Quellspur may start with Windows from " + folder + L"."));

  sim.SetAccessList(folder + L"\\Quellspur.exe", {platform::kSidSystem, false, false, {}});
  EXPECT_EQ(Run({L"startup"}), 1);
  EXPECT_THAT(OutLines(), ElementsAre(::testing::HasSubstr(
                              L"from " + folder + L"\\Quellspur.exe: it has no access list")));

  sim.SetPlatformId(1);  // Windows 98 keeps no access lists, and refuses nobody
  EXPECT_EQ(Run({L"startup"}), 0);
  EXPECT_EQ(Run({L"startup", L"--all"}), 2);
  EXPECT_FALSE(sim.FileExists(kLogPath));  // the setup asks it, and takes back only its own files
}

TEST(CsvLine, QuotesAFieldHoldingOnlyACommaAQuoteOrALineEnd) {
  EXPECT_EQ(CsvLineOf({{L"a", L","}, {L"b", L"\""}, {L"c", L"\r"}, {L"d", L"\n"}, {L"e", L"x"}}),
            L"\",\",\"\"\"\",\"\r\",\"\n\",x\r\n");
}

// Another program holds the activity log's lock all along: the whole run waits a second for it,
// not a second per line, and says how many lines it could not write. A lock that goes sooner is
// waited for, and nothing is lost.
TEST_F(QuellScan, ALockedLogCostsTheRunASecondInAllAndItsLostLinesAreTold) {
  StartNetBus();
  sim.SetSteadyClockStep(0);
  sim.HoldFileLock(kLogPath);
  EXPECT_EQ(Run({L"scan", L"--clean"}), 0);
  EXPECT_EQ(sim.SteadyMicroseconds(), 1'000'000u);
  EXPECT_EQ(console.error,
            L"QuellScan: 3 lines could not be written to C:\\Program Files\\Quellspur\\BackLog.txt"
            L"\r\n");
  EXPECT_EQ(sim.FileContent(kLogPath), "");
  EXPECT_EQ(OutLines(), kCleanedReport);

  StartNetBus();
  sim.HoldFileLock(kLogPath, 400'000);
  EXPECT_EQ(Run({L"scan"}), 1);
  EXPECT_EQ(sim.SteadyMicroseconds(), 1'400'000u);
  EXPECT_TRUE(console.error.empty()) << console.error;
  EXPECT_THAT(LogLines(sim), ElementsAre("2026-01-01 12:00:00 " + sim.WideToAnsi(kFoundInRun),
                                         "2026-01-01 12:00:00 " + sim.WideToAnsi(kFoundByWindow)));
}

// Output lost on its way (a full disk, a closed pipe) ends any command with 2 and the reason on
// the error stream, whether the first write failed or a later one; a lost error stream, which
// can tell nobody, still ends with 2.
TEST_F(QuellScan, AFailedOutputWriteEndsWithTwoAndItsReason) {
  sim.KeepAccessLists();  // the quarantine is the administrators': no warning beside the reason
  const std::uint32_t netbus = StartNetBus();
  const std::wstring reason =
      L"QuellScan: the output could not be written: There is not enough space on the disk.\r\n";
  for (const std::vector<std::wstring>& args :
       {std::vector<std::wstring>{L"scan"}, {L"--help"}, {L"--version"}}) {
    SCOPED_TRACE(::testing::PrintToString(args));
    EXPECT_EQ(Run(args, 0), 2);
    EXPECT_EQ(console.out, L"");
    EXPECT_EQ(console.error, reason);
  }
  EXPECT_TRUE(sim.Process(netbus).running);

  // The report goes, the summary after it does not: the clean-up is done all the same.
  const std::vector<std::wstring> report(kCleanedReport.begin(), kCleanedReport.end() - 1);
  EXPECT_EQ(Run({L"scan", L"--clean"}, report[0].size() + report[1].size() + 4), 2);
  EXPECT_EQ(OutLines(), report);
  EXPECT_EQ(console.error, reason);
  EXPECT_FALSE(sim.Process(netbus).running);

  ASSERT_EQ(Run({L"quarantine"}), 0);
  EXPECT_EQ(Run({L"quarantine"}, console.out.size() - 1), 2);
  EXPECT_EQ(console.out, L"");
  EXPECT_EQ(console.error, reason);

  EXPECT_EQ(Run({L"scan", L"--repeat", L"2"}, SIZE_MAX, 0), 2);
  EXPECT_THAT(OutLines(), ElementsAre(L"Last scan: 12:00:00",
                                      L"Your computer is clean from known running backdoors!"));
  EXPECT_EQ(console.error, L"");
}

}  // namespace
}  // namespace quellspur::testing
