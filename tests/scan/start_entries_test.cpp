#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scan/report_line.h"
#include "scan/scan_fixture.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;

const std::wstring kPatch = L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE";
const std::wstring kNetBusPro = L"NetBus Pro";

class StartEntries : public ScanTest {
 protected:
  std::vector<std::wstring> ValueNames() const {
    std::vector<std::wstring> names;
    for (const Finding& finding : scanner.findings()) {
      names.push_back(finding.valueName);
    }
    return names;
  }
  // Where each row's start entry is, as the report names it; a row that reads otherwise whole.
  std::vector<std::wstring> Entries() const {
    const std::wstring lead = L"NetBus Pro Found as: " + kPatch + L" Start entry in: ";
    std::vector<std::wstring> entries;
    for (const Finding& finding : scanner.findings()) {
      const std::wstring line = ReportLine(finding);
      entries.push_back(line.starts_with(lead) ? line.substr(lead.size()) : line);
    }
    return entries;
  }
};

// A start command, and whether it starts PATCH.EXE.
using MatchCase = std::pair<std::wstring, bool>;

class MatchingRule : public ScanTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(MatchingRule, DecidesOnTheFileNameOfTheCommand) {
  sim.SetRegistryText(kHklm, kRunKey, L"Entry", GetParam().first);
  EXPECT_EQ(scanner.FindStartEntries(kNetBusPro, kPatch), GetParam().second);
  EXPECT_EQ(scanner.findings().size(), GetParam().second ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(CommandsForPatchExe, MatchingRule,
                         ::testing::Values(MatchCase{L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE", true},
                                           MatchCase{L"c:\\other\\folder\\patch.exe", true},
                                           MatchCase{L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE /x", true},
                                           MatchCase{L"PATCH.EXE", true},
                                           MatchCase{L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE -x", false},
                                           MatchCase{L"\"C:\\WINDOWS\\SYSTEM\\PATCH.EXE\"", false},
                                           MatchCase{L"C:\\WINDOWS\\PATCH.EXE /f C:\\TEMP", false},
                                           MatchCase{L"  patch.exe  ", true},
                                           MatchCase{L"PATCH.EXE\t", false},
                                           MatchCase{L"C:\\WINDOWS\\SYSTEM\\PATCH.EX", false}));

TEST_F(StartEntries, SearchesThreeKeysInOrderEvenThoseTheUserMayNotChange) {
  sim.SetRegistryText(kHkcu, kRunKey, L"User start", L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE");
  sim.SetRegistryText(kHkcu, kRunKey, L"Between", L"C:\\WINDOWS\\NOTEPAD.EXE");
  sim.SetRegistryText(kHkcu, kRunKey, L"User again", L"C:\\PATCH.EXE");
  sim.SetRegistryText(kHklm, kRunKey, L"Machine start", L"PATCH.EXE");
  sim.SetRegistryText(kHklm, kRunServicesKey, L"Service start", L"patch.exe /nomsg");
  // The same name under HKEY_CURRENT_USER's RunServices is never looked at.
  sim.SetRegistryText(kHkcu, kRunServicesKey, L"Ignored", L"PATCH.EXE");

  EXPECT_TRUE(scanner.FindStartEntries(kNetBusPro, kPatch));
  EXPECT_THAT(Entries(), ElementsAre(L"HKEY_LOCAL_MACHINE RunServices/Service start",
                                     L"HKEY_LOCAL_MACHINE Run/Machine start",
                                     L"HKEY_CURRENT_USER Run/User start",
                                     L"HKEY_CURRENT_USER Run/User again"));

  // A user who may read HKEY_LOCAL_MACHINE's start keys but not change them sees them all the same.
  scanner.TakeFindings();
  sim.DenyKeyRights(kHklm, kRunServicesKey, 0x2);
  sim.DenyKeyRights(kHklm, kRunKey, 0x2);
  EXPECT_TRUE(scanner.FindStartEntries(kNetBusPro, kPatch));
  EXPECT_EQ(scanner.findings().size(), 4u);
}

TEST_F(StartEntries, TakesDataUpToItsFirstZeroAndReadsEveryValueWholeHoweverLong) {
  sim.SetRegistryValue(kHklm, kRunKey, L"Padded", platform::kRegSz,
                       ToUtf16Le({L"PATCH.EXE\0C:\\OTHER.EXE", 23}));
  sim.SetRegistryValue(kHklm, kRunKey, L"Number", platform::kRegDword,
                       std::string("\x01\0\0\0", 4));
  // Data of another type is 8-bit text: 400 bytes with no zero byte still fit and count as a whole
  // command.
  std::string exact = std::string(391, ' ') + "PATCH.EXE";
  ASSERT_EQ(exact.size(), 400u);
  sim.SetRegistryValue(kHklm, kRunKey, L"Exact", platform::kRegBinary, exact);
  sim.SetRegistryText(kHklm, kRunKey, std::wstring(99, L'n'), L"PATCH.EXE");
  sim.SetRegistryText(kHklm, kRunKey, L"\u0108", L"C:\\\u0108\\PATCH.EXE");
  // Longer than the usual buffers: read again whole, and the walk goes on behind them.
  sim.SetRegistryText(kHklm, kRunKey, L"Long", std::wstring(5000, L' ') + L"PATCH.EXE");
  sim.SetRegistryText(kHklm, kRunKey, L"After", L"PATCH.EXE");
  sim.SetRegistryText(kHkcu, kRunKey, std::wstring(300, L'n'), L"PATCH.EXE");
  sim.SetRegistryText(kHkcu, kRunKey, L"After too", L"PATCH.EXE");
  for (int other = 0; other < 5000; ++other) {
    sim.SetRegistryText(kHkcu, kRunKey, L"Other " + std::to_wstring(other), L"NOTEPAD.EXE");
  }
  sim.SetRegistryText(kHkcu, kRunKey, L"Last", L"PATCH.EXE");

  EXPECT_TRUE(scanner.FindStartEntries(kNetBusPro, kPatch));
  EXPECT_THAT(ValueNames(),
              ElementsAre(L"Padded", L"Exact", std::wstring(99, L'n'), L"\u0108", L"Long", L"After",
                          std::wstring(300, L'n'), L"After too", L"Last"));
}

// 64-bit Windows keeps the machine's start keys in two views, searched 64-bit first, each finding
// noting its view for the removal; the user's key is one for both. Windows 98 has no views.
TEST_F(StartEntries, OnWow64BothViewsOfTheMachinesKeysAreSearched) {
  sim.UseWow64();
  const std::wstring wow64Run = L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
  sim.SetRegistryText(kHklm, wow64Run, L"wow", L"PATCH.EXE");
  sim.SetRegistryText(kHklm, kRunKey, L"native", L"PATCH.EXE");
  sim.SetRegistryText(kHkcu, kRunKey, L"user", L"PATCH.EXE");
  UseWindowsNt();
  EXPECT_TRUE(scanner.FindStartEntries(kNetBusPro, kPatch));
  EXPECT_THAT(ValueNames(), ElementsAre(L"native", L"wow", L"user"));
  EXPECT_EQ(scanner.findings()[0].view, platform::kKeyWow64_64Key);
  EXPECT_EQ(scanner.findings()[1].view, platform::kKeyWow64_32Key);

  scanner.TakeFindings();
  UseWindows98();
  EXPECT_TRUE(scanner.FindStartEntries(kNetBusPro, kPatch));
  EXPECT_THAT(ValueNames(), ElementsAre(L"wow", L"user"));
}

// A path that could not be read names no file, and so no value that names none either.
TEST_F(StartEntries, AnUnreadablePathMatchesNothing) {
  sim.SetRegistryText(kHklm, kRunKey, L"Empty", L"");
  sim.SetRegistryText(kHklm, kRunKey, L"Blank", L"   ");
  sim.SetRegistryText(kHklm, kRunKey, L"Folder", L"C:\\WINDOWS\\");
  sim.SetRegistryText(kHklm, kRunKey, L"Program", L"C:\\WINDOWS\\PATCH.EXE");
  sim.SetRegistryText(kHkcu, kRunKey, L"Odd", L"-UNKNOWN- /boot");

  for (const std::wstring& path : {std::wstring(), std::wstring(L"-unknown-"),
                                   std::wstring(L"C:\\WINDOWS\\"), std::wstring(L"C:\\  ")}) {
    EXPECT_FALSE(scanner.FindStartEntries(kNetBusPro, path));
  }
  EXPECT_FALSE(
      scanner.FindStartEntries(kNetBusPro, std::wstring(5000, L'\\') + std::wstring(5000, L'x')));
  EXPECT_TRUE(scanner.findings().empty());
}

}  // namespace
}  // namespace quellspur::testing
