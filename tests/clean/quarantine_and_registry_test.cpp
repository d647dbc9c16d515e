#include <gtest/gtest.h>

#include "clean/file_quarantine.h"
#include "clean/registry_start_removal.h"
#include "platform/sim/sim_machine.h"

namespace quellspur {
namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kLog = L"D:\\TOOLS\\BackLog.txt";

class CleanUpSteps : public ::testing::Test {
 protected:
  CleanUpSteps() {
    sim.SetProgram(L"D:\\TOOLS", L"Quellspur");
    sim.MakeFolder(L"D:\\TOOLS");
    sim.SetClock({2026, 12, 6, 8, 0, 0});
  }

  Finding StartEntry(platform::RegKey root, const std::wstring& name) {
    Finding entry;
    entry.rootKey = static_cast<std::uint32_t>(root);
    entry.subKey = kRunKey;
    entry.valueName = name;
    entry.filePath = L"C:\\A\\PATCH.EXE";
    return entry;
  }

  platform::sim::SimMachine sim;
  ActivityLog log{sim};
};

TEST_F(CleanUpSteps, RemovesOneStartValueAndLogsOnlyWhatWasRemoved) {
  sim.SetRegistryText(kHkeyCurrentUser, kRunKey, L"Patch", L"PATCH.EXE");
  sim.SetRegistryText(kHkeyCurrentUser, kRunKey, L"Other", L"OTHER.EXE");
  sim.SetRegistryText(kHkeyLocalMachine, kRunKey, L"Patch", L"PATCH.EXE");

  EXPECT_TRUE(RemoveRegistryStart(sim, log, StartEntry(kHkeyCurrentUser, L"Patch")));
  // A second finding of the same value: gone already, nothing more to log.
  EXPECT_TRUE(RemoveRegistryStart(sim, log, StartEntry(kHkeyCurrentUser, L"Patch")));
  Finding otherRoot = StartEntry(kHkeyLocalMachine, L"Patch");
  EXPECT_TRUE(RemoveRegistryStart(sim, log, otherRoot));
  otherRoot.subKey = kRunKey + L"Services";
  EXPECT_TRUE(RemoveRegistryStart(sim, log, otherRoot));  // no such key: no such value either
  // A second look before the deletion: a value that starts something else by now stays.
  sim.SetRegistryText(kHkeyCurrentUser, kRunKey, L"Changed", L"C:\\A\\NOTEPAD.EXE");
  EXPECT_FALSE(RemoveRegistryStart(sim, log, StartEntry(kHkeyCurrentUser, L"Changed")));
  // A key this user may not change keeps its value, and the clean-up hears of it.
  sim.SetRegistryText(kHkeyLocalMachine, kRunKey, L"Guarded", L"PATCH.EXE");
  sim.DenyKeyRights(kHkeyLocalMachine, kRunKey, 0x2);
  EXPECT_FALSE(RemoveRegistryStart(sim, log, StartEntry(kHkeyLocalMachine, L"Guarded")));

  const auto user = sim.RegistryValues(kHkeyCurrentUser, kRunKey);
  ASSERT_EQ(user.size(), 2u);
  EXPECT_EQ(user[0].name, L"Other");
  ASSERT_EQ(sim.RegistryValues(kHkeyLocalMachine, kRunKey).size(), 1u);
  const std::string line = "2026-12-06 08:00:00 Removing start in registry: ";
  EXPECT_EQ(
      sim.FileContent(kLog),
      line + "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run,Patch\r\n" +
          line + "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run,Patch\r\n");
  EXPECT_EQ(sim.OpenKeyCount(), 0u);
}

TEST_F(CleanUpSteps, MovesAFileIntoQuarantineEvenWhenProtectedUnderASafeName) {
  const std::wstring source = L"C:\\WINDOWS\\SYSTEM\\WINDLL.DLL";
  sim.PutFile(source, "dll");
  sim.SetFileAttributesW(source, platform::kAttributeReadOnly | platform::kAttributeHidden);
  EXPECT_FALSE(sim.FolderExistsAt(L"D:\\TOOLS\\BackDoors"));

  MoveFile(sim, log, source);

  const std::wstring target = L"D:\\TOOLS\\BackDoors\\WINDLL.DLL.Backdoor";
  EXPECT_FALSE(sim.FileExists(source));
  EXPECT_EQ(sim.FileContent(target), "dll");
  EXPECT_EQ(sim.FileContent(kLog),
            "2026-12-06 08:00:00 Moving: C:\\WINDOWS\\SYSTEM\\WINDLL.DLL "
            "to: D:\\TOOLS\\BackDoors\\WINDLL.DLL.Backdoor\r\n");

  // The folder is there now; a second file of the same name, given relative to the current
  // folder, replaces the first copy.
  sim.SetCurrentDirectory(L"C:\\OTHER");
  sim.PutFile(L"C:\\OTHER\\windll.dll", "newer");
  MoveFile(sim, log, L"windll.dll");
  EXPECT_FALSE(sim.FileExists(L"C:\\OTHER\\windll.dll"));
  EXPECT_EQ(sim.FileContent(target), "newer");
  // Names Windows would not produce stay inside the folder all the same.
  EXPECT_EQ(QuarantinePath(sim, L"C:\\A\\x/../../evil:stream"),
            L"D:\\TOOLS\\BackDoors\\x_.._.._evil_stream.Backdoor");
}

TEST_F(CleanUpSteps, AFileThatCannotLeaveStaysAndIsNotLogged) {
  MoveFile(sim, log, L"C:\\WINDOWS\\MISSING.EXE");
  EXPECT_FALSE(sim.FileExists(L"D:\\TOOLS\\BackDoors\\MISSING.EXE.Backdoor"));

  // A running program's executable is copied but can't be deleted.
  const std::wstring running = L"C:\\WINDOWS\\SERVER.EXE";
  sim.PutFile(running, "exe");
  const std::uint32_t id = sim.StartProcess(running, 0);
  MoveFile(sim, log, running);
  EXPECT_TRUE(sim.FileExists(running));
  EXPECT_EQ(sim.FileAttributes(running), platform::kAttributeArchive);
  EXPECT_TRUE(sim.FileExists(L"D:\\TOOLS\\BackDoors\\SERVER.EXE.Backdoor"));
  EXPECT_FALSE(sim.FileExists(kLog));

  sim.EndProcess(id, 0);
  MoveFile(sim, log, running);
  EXPECT_FALSE(sim.FileExists(running));
  EXPECT_TRUE(sim.FileExists(kLog));
}

}  // namespace
}  // namespace quellspur
