// The way back follows only a record that is the administrators' own: one that others can change
// could send any file or value anywhere, so restore refuses it unless the user says to trust it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "console/quell_scan.h"
#include "scan/scan_fixture.h"
#include "support/cleaned_scene.h"
#include "support/quarantine_paths.h"
#include "testing/sim_console.h"

namespace quellspur::testing {
namespace {

using platform::AccessEntry;
using platform::AccessList;
using platform::kInherited;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr std::uint32_t kAllDown = platform::kObjectInherit | platform::kContainerInherit;
constexpr std::uint32_t kFullControl = 0x1F01FF;
constexpr std::uint32_t kReadAndExecute = 0x1200A9;
const std::wstring kAdministrators = L"S-1-5-32-544";
const std::wstring kSystem = L"S-1-5-18";
const std::wstring kEveryone = L"S-1-1-0";
const std::wstring kUsers = L"S-1-5-32-545";

class RecordTrust : public MachineTest {
 protected:
  // The scene cleaned up, its record written, by a program run elevated or not.
  void CleanAs(bool elevated) {
    BuildScene(sim);
    sim.SetElevated(elevated);
    ASSERT_EQ(Run({L"scan", L"--clean"}), kExitNothingFound);
    cleaned = Differences(sim);
    ASSERT_THAT(cleaned, ::testing::Not(IsEmpty()));
  }

  int Run(std::vector<std::wstring> args) {
    console = {};
    return RunQuellScan(args, os, pump, console);
  }

  AccessList ListOf(const std::wstring& path) {
    AccessList list;
    EXPECT_EQ(sim.GetNamedSecurityInfoW(path, list), platform::kErrorSuccess);
    return list;
  }

  platform::sim::SimConsole console;
  std::vector<std::wstring> cleaned;  // what the clean-up changed
};

TEST_F(RecordTrust, RunElevatedTheFolderIsTheAdministratorsAndRestoreGoesAhead) {
  CleanAs(true);

  // Administrators and SYSTEM may change the folder and what it holds, Everyone may read, and
  // nothing is taken over from Program Files above it.
  const AccessList folder = ListOf(QuarantineFolder());
  EXPECT_EQ(folder.owner, kAdministrators);
  EXPECT_TRUE(folder.isProtected);
  EXPECT_THAT(folder.entries,
              ElementsAre(AccessEntry{true, kAllDown, kFullControl, kAdministrators},
                          AccessEntry{true, kAllDown, kFullControl, kSystem},
                          AccessEntry{true, kAllDown, kReadAndExecute, kEveryone}));
  EXPECT_THAT(ListOf(ChangeRecordPath()).entries,
              ElementsAre(AccessEntry{true, kInherited, kFullControl, kAdministrators},
                          AccessEntry{true, kInherited, kFullControl, kSystem},
                          AccessEntry{true, kInherited, kReadAndExecute, kEveryone}));

  EXPECT_EQ(Run({L"quarantine"}), kExitNothingFound);
  EXPECT_EQ(console.error, L"");
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound) << console.error;
  EXPECT_THAT(Differences(sim), IsEmpty());
}

TEST_F(RecordTrust, NotElevatedTheRecordIsRefusedUntilTheUserTrustsIt) {
  CleanAs(false);
  const std::string record = sim.FileContent(ChangeRecordPath());

  EXPECT_EQ(Run({L"restore", L"--all"}), kExitError);
  EXPECT_EQ(
      console.error,
      L"QuellScan: restore refused: the quarantine folder C:\\Program Files\\Quellspur\\"
      L"BackDoors can be changed by others than the administrators: it belongs to the account "
      L"S-1-5-21-0-0-0-1000. Anyone who can change the record can make restore put any file "
      L"or registry value anywhere. Look through its entries with \"QuellScan quarantine\", "
      L"then run the restore again with --trust-record to restore from it all the same.\r\n");
  EXPECT_EQ(console.out, L"");
  EXPECT_THAT(Differences(sim), ElementsAreArray(cleaned));
  EXPECT_EQ(sim.FileContent(ChangeRecordPath()), record);
  EXPECT_EQ(Run({L"restore", L"1", L"2"}), kExitError);
  EXPECT_THAT(Differences(sim), ElementsAreArray(cleaned));

  // The list is shown all the same, with one line of warning beside it.
  EXPECT_EQ(Run({L"quarantine"}), kExitNothingFound);
  EXPECT_THAT(console.out, HasSubstr(L"NBSVR.EXE.Backdoor"));
  EXPECT_EQ(console.error,
            L"QuellScan: warning: the quarantine folder C:\\Program Files\\Quellspur\\BackDoors "
            L"can be changed by others than the administrators: it belongs to the account "
            L"S-1-5-21-0-0-0-1000; restore refuses it without --trust-record\r\n");
  EXPECT_EQ(Run({L"quarantine", L"--trust-record"}), kExitError);  // a switch of restore only

  EXPECT_EQ(Run({L"restore", L"--all", L"--trust-record"}), kExitNothingFound) << console.error;
  EXPECT_THAT(Differences(sim), IsEmpty());
}

// The record file itself, in the administrators' folder, with one more entry than it inherits.
TEST_F(RecordTrust, EveryEntryThatLetsOthersChangeTheRecordIsRefusedAndNoOther) {
  CleanAs(true);
  const AccessList inherited = ListOf(ChangeRecordPath());
  struct Case {
    const char* what;
    AccessEntry entry;
    const wchar_t* refusal;  // nullptr: restore goes ahead
  };
  const Case cases[] = {
      {"write data", {true, kInherited, 0x2, kUsers}, L"Users may change it"},
      {"append", {true, 0, 0x4, kEveryone}, L"Everyone may change it"},
      {"write attributes", {true, 0, 0x100, kUsers}, L"Users may change it"},
      {"delete what it holds", {true, 0, 0x40, kUsers}, L"Users may change it"},
      {"delete", {true, 0, 0x10000, L"S-1-5-11"}, L"Authenticated Users may change it"},
      {"write list", {true, 0, 0x40000, kUsers}, L"Users may change it"},
      {"write owner", {true, 0, 0x80000, kUsers}, L"Users may change it"},
      {"generic write", {true, 0, 0x40000000, kEveryone}, L"Everyone may change it"},
      {"generic all",
       {true, kInherited, 0x10000000, L"S-1-5-21-1-2-3-1001"},
       L"the account S-1-5-21-1-2-3-1001 may change it"},
      {"read only", {true, 0, kReadAndExecute, kUsers}, nullptr},
      {"a denial", {false, 0, kFullControl, kEveryone}, nullptr},
      {"for what a folder holds only",
       {true, platform::kInheritOnly, kFullControl, kUsers},
       nullptr},
      {"TrustedInstaller's",
       {true, 0, kFullControl, L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"},
       nullptr},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    AccessList list = inherited;
    list.entries.push_back(test.entry);
    sim.SetAccessList(ChangeRecordPath(), list);
    if (test.refusal == nullptr) {
      EXPECT_EQ(Run({L"quarantine"}), kExitNothingFound);
      EXPECT_EQ(console.error, L"");
      continue;
    }
    EXPECT_EQ(Run({L"restore", L"--all"}), kExitError);
    EXPECT_THAT(
        console.error,
        HasSubstr(L"restore refused: the change record " + ChangeRecordPath() +
                  L" can be changed by others than the administrators: " + test.refusal + L". "));
    EXPECT_THAT(Differences(sim), ElementsAreArray(cleaned));
  }
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound) << console.error;
  EXPECT_THAT(Differences(sim), IsEmpty());
}

TEST_F(RecordTrust, AnOwnerOrAMissingOrUnreadableListIsRefusedToo) {
  CleanAs(true);
  AccessList owned = ListOf(ChangeRecordPath());
  owned.owner = kUsers;
  sim.SetAccessList(ChangeRecordPath(), owned);
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitError);
  EXPECT_THAT(console.error, HasSubstr(L"Changes.txt can be changed by others than the "
                                       L"administrators: it belongs to Users. "));

  AccessList none = ListOf(QuarantineFolder());
  none.present = false;
  sim.SetAccessList(QuarantineFolder(), none);
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitError);
  EXPECT_THAT(console.error, HasSubstr(L"BackDoors can be changed by others than the "
                                       L"administrators: it has no access list, which lets "
                                       L"everyone change it. "));

  // What can't be looked at is not taken for the administrators' own.
  os.FailOn(platform::Call::GetNamedSecurityInfoW, 1);
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitError);
  EXPECT_THAT(console.error, HasSubstr(L"BackDoors can be changed by others than the "
                                       L"administrators: its owner and access list could not be "
                                       L"read (error 5). "));
  EXPECT_THAT(Differences(sim), ElementsAreArray(cleaned));
}

// Windows 98 has no access lists: its record is restored as it stands, without a warning.
TEST_F(RecordTrust, Windows98RestoresAsBefore) {
  sim.SetPlatformId(platform::kPlatformWindows);
  CleanAs(false);
  EXPECT_TRUE(sim.FolderExistsAt(QuarantineFolder()));

  EXPECT_EQ(Run({L"quarantine"}), kExitNothingFound);
  EXPECT_EQ(console.error, L"");
  EXPECT_EQ(Run({L"restore", L"--all"}), kExitNothingFound) << console.error;
  EXPECT_THAT(Differences(sim), IsEmpty());
}

}  // namespace
}  // namespace quellspur::testing
