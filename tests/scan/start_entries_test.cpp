#include <gtest/gtest.h>

#include "platform/text.h"
#include "scan/scan_fixture.h"

namespace quellspur::testing {
namespace {

const std::wstring kPatch = L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE";

class StartEntries : public ScanTest {
 protected:
  void SetUp() override { scanner.currentBackdoorName = L"NetBus Pro"; }
};

struct MatchCase {
  const wchar_t* data;
  bool matches;
};

void PrintTo(const MatchCase& match, std::ostream* out) {
  *out << ::testing::PrintToString(std::wstring(match.data))
       << (match.matches ? " matches" : " no");
}

class MatchingRule : public ScanTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(MatchingRule, DecidesOnTheFileNameOfTheCommand) {
  sim.SetRegistryText(kHklm, kRunKey, L"Entry", GetParam().data);
  EXPECT_EQ(scanner.SearchRunKey(kHklm, kRunKey, kPatch), GetParam().matches);
  EXPECT_EQ(scanner.findings.size(), GetParam().matches ? 1u : 0u);
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

TEST_F(StartEntries, SearchesAllThreeKeysInOrderAndFillsStartEntryRows) {
  sim.SetRegistryText(kHkcu, kRunKey, L"User start", L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE");
  sim.SetRegistryText(kHklm, kRunServicesKey, L"Service start", L"patch.exe /nomsg");
  sim.SetRegistryText(kHklm, kRunKey, L"Other", L"C:\\WINDOWS\\NOTEPAD.EXE");
  // The same name under HKEY_CURRENT_USER's RunServices is never looked at.
  sim.SetRegistryText(kHkcu, kRunServicesKey, L"Ignored", L"PATCH.EXE");

  EXPECT_TRUE(scanner.FindStartEntries(kPatch));

  const Findings& table = scanner.findings;
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].rootKey, 0x80000002u);
  EXPECT_EQ(table[0].subKey, kRunServicesKey);
  EXPECT_EQ(table[0].valueName, L"Service start");
  EXPECT_EQ(table[1].rootKey, 0x80000001u);
  EXPECT_EQ(table[1].subKey, kRunKey);
  EXPECT_EQ(table[1].valueName, L"User start");
  for (const Finding& finding : table) {
    EXPECT_EQ(finding.filePath, kPatch);  // the hit's path, not the command
    EXPECT_EQ(finding.backdoorName, L"NetBus Pro");
    EXPECT_EQ(finding.processId, 0u);
    EXPECT_TRUE(finding.parentPath.empty());
  }
  EXPECT_EQ(sim.OpenKeyCount(), 0u);
}

TEST_F(StartEntries, GivesOneRowPerMatchingValueInListOrder) {
  sim.SetRegistryText(kHklm, kRunKey, L"First", L"PATCH.EXE");
  sim.SetRegistryText(kHklm, kRunKey, L"Between", L"EXPLORER.EXE");
  sim.SetRegistryText(kHklm, kRunKey, L"Second", L"C:\\PATCH.EXE");

  EXPECT_TRUE(scanner.SearchRunKey(kHklm, kRunKey, kPatch));
  ASSERT_EQ(scanner.findings.size(), 2u);
  EXPECT_EQ(scanner.findings[0].valueName, L"First");
  EXPECT_EQ(scanner.findings[1].valueName, L"Second");
  // One turn of the message loop after each value read, the last (failed) read included.
  EXPECT_EQ(pump.turns(), 3);
}

TEST_F(StartEntries, StopsAtTheFirstValueThatDoesNotFitTheBuffers) {
  // 200 bytes with no zero byte still fit and count as a whole command.
  std::string exact = std::string(191, ' ') + "PATCH.EXE";
  ASSERT_EQ(exact.size(), 200u);
  sim.SetRegistryValue(kHklm, kRunKey, L"Exact", platform::kRegBinary, exact);
  sim.SetRegistryText(kHklm, kRunKey, std::wstring(99, L'n'), L"PATCH.EXE");
  sim.SetRegistryText(kHklm, kRunKey, L"TooLong", std::wstring(200, L' ') + L"x");  // 202 bytes
  sim.SetRegistryText(kHklm, kRunKey, L"Hidden", L"PATCH.EXE");

  sim.SetRegistryText(kHkcu, kRunKey, std::wstring(100, L'n'), L"PATCH.EXE");
  sim.SetRegistryText(kHkcu, kRunKey, L"Hidden too", L"PATCH.EXE");

  EXPECT_TRUE(scanner.FindStartEntries(kPatch));
  ASSERT_EQ(scanner.findings.size(), 2u);
  EXPECT_EQ(scanner.findings[0].valueName, L"Exact");
  EXPECT_EQ(scanner.findings[1].valueName, std::wstring(99, L'n'));
  EXPECT_EQ(sim.OpenKeyCount(), 0u);
}

TEST_F(StartEntries, CutsTheCommandAtItsFirstZeroByte) {
  sim.SetRegistryValue(kHklm, kRunKey, L"Padded", platform::kRegSz,
                       std::string("PATCH.EXE\0C:\\OTHER.EXE", 23));
  sim.SetRegistryValue(kHklm, kRunKey, L"Number", platform::kRegDword,
                       std::string("\x01\0\0\0", 4));
  EXPECT_TRUE(scanner.SearchRunKey(kHklm, kRunKey, kPatch));
  EXPECT_EQ(scanner.findings.size(), 1u);
  EXPECT_FALSE(scanner.SearchRunKey(kHklm, kRunKey, L"C:\\OTHER.EXE"));
}

TEST_F(StartEntries, KeysThatCannotBeOpenedWithWriteRightsAreSkipped) {
  // A user without rights on HKEY_LOCAL_MACHINE's start keys.
  sim.SetRegistryText(kHklm, kRunServicesKey, L"Service", L"PATCH.EXE");
  sim.SetRegistryText(kHklm, kRunKey, L"Machine", L"PATCH.EXE");
  sim.DenyKeyRights(kHklm, kRunServicesKey, 0x2);
  sim.DenyKeyRights(kHklm, kRunKey, 0x2);
  sim.SetRegistryText(kHkcu, kRunKey, L"User", L"PATCH.EXE");

  EXPECT_TRUE(scanner.FindStartEntries(kPatch));
  ASSERT_EQ(scanner.findings.size(), 1u);
  EXPECT_EQ(scanner.findings[0].valueName, L"User");
}

TEST_F(StartEntries, MissingKeysAndAFailingWalkFindNothingAndCloseTheKey) {
  EXPECT_FALSE(scanner.FindStartEntries(kPatch));

  sim.SetRegistryText(kHklm, kRunKey, L"Before", L"EXPLORER.EXE");
  sim.SetRegistryText(kHklm, kRunKey, L"After", L"PATCH.EXE");
  os.FailOn(platform::Call::RegEnumValueA, 2);
  EXPECT_FALSE(scanner.SearchRunKey(kHklm, kRunKey, kPatch));
  EXPECT_EQ(sim.OpenKeyCount(), 0u);
}

TEST_F(StartEntries, UnreadablePathsAreMatchedAsText) {
  sim.SetRegistryText(kHklm, kRunKey, L"Empty", L"");
  sim.SetRegistryText(kHklm, kRunKey, L"Folder", L"C:\\WINDOWS\\");
  sim.SetRegistryText(kHklm, kRunKey, L"Program", L"C:\\WINDOWS\\PATCH.EXE");
  sim.SetRegistryText(kHkcu, kRunKey, L"Odd", L"-UNKNOWN- /boot");

  EXPECT_TRUE(scanner.FindStartEntries(L""));
  ASSERT_EQ(scanner.findings.size(), 2u);
  EXPECT_EQ(scanner.findings[0].valueName, L"Empty");
  EXPECT_EQ(scanner.findings[1].valueName, L"Folder");

  scanner.findings.clear();
  EXPECT_TRUE(scanner.FindStartEntries(L"-unknown-"));
  ASSERT_EQ(scanner.findings.size(), 1u);
  EXPECT_EQ(scanner.findings[0].valueName, L"Odd");

  scanner.findings.clear();
  EXPECT_FALSE(scanner.FindStartEntries(std::wstring(5000, L'\\') + std::wstring(5000, L'x')));
}

}  // namespace
}  // namespace quellspur::testing
