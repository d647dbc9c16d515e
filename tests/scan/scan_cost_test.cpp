// What one whole scan costs the machine, counted in calls rather than timed: each start key is read
// once for five backdoors, Windows 98's process list once, and turns come only every 10 ms.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/sha256.h"
#include "scan/scan_driver.h"
#include "scan/scan_fixture.h"
#include "scan/signature_table.h"

namespace quellspur::testing {
namespace {

constexpr int kValuesPerKey = 1000;
constexpr int kOtherProcesses = 100;
const std::wstring kWowRun = L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
// Backdoor i shows the window of signature i and is started by a value amid the others of start
// key i, HKEY_CURRENT_USER's for the last and HKEY_LOCAL_MACHINE's for the others. Windows 98 has
// no 32-bit view, so it searches only the first, second and last.
const std::wstring kStartKeys[] = {kRunServicesKey, kRunKey, kWowRun + L"Services", kWowRun,
                                   kRunKey};

// Windows NT on a 64-bit machine or Windows 98; the steady clock stopped or moving 1 ms a reading.
using Machine = std::tuple<std::uint32_t, std::uint64_t>;
class ScanCost : public ScanTest, public ::testing::WithParamInterface<Machine> {};

TEST_P(ScanCost, ReadsEachStartKeyAndTheProcessListOnceAndYieldsByElapsedTime) {
  const auto [platformId, clockStep] = GetParam();
  const bool nt = platformId == platform::kPlatformNt;
  if (nt) {
    sim.UseWow64();
  }
  UsePlatform(sim, scanner, platformId);
  sim.SetSteadyClockStep(clockStep);
  std::wstring path;
  std::uint32_t server = 0;
  for (std::size_t i = 0; i < std::size(kStartKeys); ++i) {
    // Each start value names its server in other letters; the others a tool whose name is as long.
    const std::wstring number = std::to_wstring(i);
    path = L"C:\\BD\\SERV\u00C9R" + number + L".EXE";
    server = sim.StartProcess(path, 0);
    sim.ShowWindow(std::wstring(kWindowSignatures[i].windowClass),
                   std::wstring(kWindowSignatures[i].windowCaption), server);
    for (int value = 0; value < kValuesPerKey; ++value) {
      sim.SetRegistryText(i == 4 ? kHkcu : kHklm, kStartKeys[i], std::to_wstring(value),
                          value == kValuesPerKey / 2 ? L"c:\\bd\\serv\u00E9r" + number + L".exe"
                                                     : L"C:\\APP\\TOOL\u00C9R" + number + L".EXE");
    }
  }
  for (int other = 0; other < kOtherProcesses; ++other) {
    sim.StartProcess(L"C:\\APP\\TOOL" + std::to_wstring(other) + L".EXE", 0);
  }
  const int keys = nt ? 5 : 3;
  // The clock is read as the scan starts, after each process Windows 98 lists (the shell, this
  // program, backdoors, others), and after every 16th value only: a value is read in microseconds.
  const int mostReadings = 1 + keys * kValuesPerKey / 16 + (nt ? 0 : 2 + 5 + kOtherProcesses);

  RunScan(scanner, [&] {
    EXPECT_EQ(os.Uses(platform::Call::RegOpenKeyExW), keys);
    EXPECT_EQ(os.Uses(platform::Call::RegEnumValueW), keys * (kValuesPerKey + 1));
    EXPECT_EQ(os.Uses(platform::Call::CreateToolhelp32Snapshot), nt ? 0 : 1);
    // Names are compared by the system only where their lengths and ASCII letters agree: for
    // each window found, the one value that starts it, never a tool's or another server's.
    EXPECT_EQ(os.Uses(platform::Call::CompareStringOrdinal), keys);
    // The window system gets a turn once 10 ms have passed since the last, so also while the
    // thousands of values are read.
    const int readings = os.Uses(platform::Call::SteadyMicroseconds);
    EXPECT_LE(readings, mostReadings);
    EXPECT_GE(readings, keys * kValuesPerKey / 16);
    EXPECT_EQ(pump.turns(), static_cast<int>((readings - 1) * clockStep / 10'000));
    // Auto Clean's second look, right after the scan, sees the machine as it is by then.
    sim.EndProcess(server, 0);
    sim.DeleteKeyTree(kHkcu, kRunKey);
    EXPECT_EQ(scanner.GetProcessPath(server), kUnknownPath);
    EXPECT_FALSE(scanner.FindStartEntries(std::wstring(kWindowSignatures[4].backdoorName), path));
  });
  EXPECT_EQ(scanner.findings().size(), std::size(kStartKeys) + keys);  // each window, each value
}

INSTANTIATE_TEST_SUITE_P(WholeScans, ScanCost,
                         ::testing::Combine(::testing::Values(platform::kPlatformNt,
                                                              platform::kPlatformWindows),
                                            ::testing::Values(0u, 1000u)));

// What hash signatures add to a scan on Windows NT: one walk of the process list, and a stamp of
// each running executable and each file a start value names; a file is hashed the first time and
// again only once it changed, however many signatures there are. A repeated scan opens only the
// processes it has not met, so a process that starts later is still found.
TEST_F(ScanTest, TenThousandHashSignaturesCostOneStampPerFileAndOneHashPerNewFile) {
  UseWindowsNt();
  std::string lines = "Quellspur signatures 1\n";
  for (int i = 0; i < 10000; ++i) {
    lines += platform::Sha256Hex(std::to_string(i)) + ":*:Listed " + std::to_string(i) + "\n";
  }
  auto parsed = ParseSignatureFile(lines);
  ASSERT_TRUE(std::holds_alternative<AddedSignatures>(parsed));
  scanner.UseSignatures(SignatureSet(std::get<AddedSignatures>(parsed)));
  std::vector<std::uint32_t> tools;
  for (int other = 0; other < kOtherProcesses; ++other) {
    const std::wstring path = L"C:\\APP\\TOOL" + std::to_wstring(other) + L".EXE";
    sim.PutFile(path, "MZ tool " + std::to_string(other));
    tools.push_back(sim.StartProcess(path, 0));
    sim.SetRegistryText(kHkcu, kRunKey, std::to_wstring(other), path);
  }
  const int processes = kOtherProcesses + 2;  // and the shell and this program
  const int stamps = processes - 1 + kOtherProcesses;

  RunScan(scanner, [] {});
  EXPECT_EQ(os.Uses(platform::Call::CreateToolhelp32Snapshot), 1);
  EXPECT_EQ(os.Uses(platform::Call::GetFileAttributesExW), stamps);
  EXPECT_EQ(os.Uses(platform::Call::FileSha256), kOtherProcesses + 1);
  const int opened = os.Uses(platform::Call::OpenProcess);
  RunScan(scanner, [] {});
  EXPECT_EQ(os.Uses(platform::Call::OpenProcess), opened);
  EXPECT_EQ(os.Uses(platform::Call::GetFileAttributesExW), stamps + kOtherProcesses);
  EXPECT_EQ(os.Uses(platform::Call::FileSha256), kOtherProcesses + 1);
  EXPECT_TRUE(scanner.findings().empty());

  // One tool ends and a listed file starts.
  sim.EndProcess(tools.front(), 0);
  sim.PutFile(L"C:\\APP\\LISTED.EXE", "7");
  sim.StartProcess(L"C:\\APP\\LISTED.EXE", 0);
  RunScan(scanner, [] {});
  ASSERT_EQ(scanner.findings().size(), 1u);
  EXPECT_EQ(scanner.findings()[0].backdoorName, L"Listed 7");
  EXPECT_TRUE(scanner.findings()[0].HasProcess());
}

}  // namespace
}  // namespace quellspur::testing
