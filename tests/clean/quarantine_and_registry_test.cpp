#include <gtest/gtest.h>

#include <algorithm>

#include "clean/file_quarantine.h"
#include "clean/registry_start_removal.h"
#include "platform/sha256.h"
#include "support/quarantine_paths.h"
#include "testing/fault_injection.h"
#include "testing/sim_machine.h"

namespace quellspur {
namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::Sha256Hex;

const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kProgram = L"D:\\TOOLS";
const std::wstring kLog = L"D:\\TOOLS\\BackLog.txt";
const std::wstring kTime = L"2026-12-06 08:00:00 +00:00";

class CleanUpSteps : public ::testing::Test {
 protected:
  CleanUpSteps() {
    sim.SetProgram(L"D:\\TOOLS", L"Quellspur");
    sim.MakeFolder(L"D:\\TOOLS");
    sim.SetClock({2026, 12, 6, 8, 0, 0});
  }

  Finding StartEntry(platform::RegKey root, const std::wstring& name, std::uint32_t view = 0) {
    return {L"NetBus", L"C:\\A\\PATCH.EXE", 0, L"", static_cast<std::uint32_t>(root), kRunKey, name,
            view};
  }

  void Move(const std::wstring& path) { MoveFile(os, log, record, L"SubSeven", path); }

  // Each file move of the record: the original and the copy's name.
  std::vector<std::pair<std::wstring, std::wstring>> RecordedMoves() {
    std::vector<std::pair<std::wstring, std::wstring>> moves;
    for (const ChangeEntry& entry : record.Read().entries) {
      if (const auto* file = std::get_if<FileChange>(&entry.change)) {
        moves.emplace_back(file->originalPath, file->copyName);
      }
    }
    return moves;
  }

  platform::sim::SimMachine sim;
  platform::FaultInjectingOs os{sim};
  ActivityLog log{sim};
  ChangeRecord record{os};
};

TEST_F(CleanUpSteps, RemovesOneStartValueAndLogsOnlyWhatWasRemoved) {
  sim.SetRegistryText(kHkeyCurrentUser, kRunKey, L"Patch", L"PATCH.EXE");
  sim.SetRegistryText(kHkeyCurrentUser, kRunKey, L"Other", L"OTHER.EXE");
  sim.SetRegistryText(kHkeyLocalMachine, kRunKey, L"Patch", L"PATCH.EXE");

  EXPECT_TRUE(RemoveRegistryStart(sim, log, record, StartEntry(kHkeyCurrentUser, L"Patch")));
  // A second finding of the same value: gone already, nothing more to log.
  EXPECT_TRUE(RemoveRegistryStart(sim, log, record, StartEntry(kHkeyCurrentUser, L"Patch")));
  Finding otherRoot = StartEntry(kHkeyLocalMachine, L"Patch");
  EXPECT_TRUE(RemoveRegistryStart(sim, log, record, otherRoot));
  otherRoot.subKey = kRunKey + L"Services";
  EXPECT_TRUE(RemoveRegistryStart(sim, log, record, otherRoot));  // no such key nor value
  // A second look before the deletion: a value that starts something else by now stays.
  sim.SetRegistryText(kHkeyCurrentUser, kRunKey, L"Changed", L"C:\\A\\NOTEPAD.EXE");
  EXPECT_FALSE(RemoveRegistryStart(sim, log, record, StartEntry(kHkeyCurrentUser, L"Changed")));
  // A key this user may not change keeps its value, and the clean-up hears of it.
  sim.SetRegistryText(kHkeyLocalMachine, kRunKey, L"Guarded", L"PATCH.EXE");
  sim.DenyKeyRights(kHkeyLocalMachine, kRunKey, 0x2);
  EXPECT_FALSE(RemoveRegistryStart(sim, log, record, StartEntry(kHkeyLocalMachine, L"Guarded")));

  const auto user = sim.RegistryValues(kHkeyCurrentUser, kRunKey);
  ASSERT_EQ(user.size(), 2u);
  EXPECT_EQ(user[0].name, L"Other");
  ASSERT_EQ(sim.RegistryValues(kHkeyLocalMachine, kRunKey).size(), 1u);
  const std::string line = "2026-12-06 08:00:00 Removing start in registry: ";
  EXPECT_EQ(
      sim.FileContent(kLog),
      line + "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run,Patch\r\n" +
          line + "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run,Patch\r\n");
  EXPECT_EQ(record.Read().entries.size(), 2u);
  EXPECT_EQ(sim.OpenKeyCount(), 0u);
}

// An added signature finds a file by the path a value starts, quoted as most are today; the second
// look holds the value to that path, not just to its file name.
TEST_F(CleanUpSteps, AnAddedSignaturesValueThatQuotesItsPathIsRemoved) {
  sim.SetRegistryText(kHkeyCurrentUser, kRunKey, L"Quoted", L" \"C:\\A\\Up Date.exe\" --silent");
  Finding added = StartEntry(kHkeyCurrentUser, L"Quoted");
  added.addedSignature = true;
  added.filePath = L"C:\\B\\Up Date.exe";
  EXPECT_FALSE(RemoveRegistryStart(sim, log, record, added));
  added.filePath = L"c:\\a\\UP DATE.EXE";
  EXPECT_TRUE(RemoveRegistryStart(sim, log, record, added));
  EXPECT_TRUE(sim.RegistryValues(kHkeyCurrentUser, kRunKey).empty());
  EXPECT_EQ(record.Read().entries.size(), 1u);
}

// The record keeps a removed value whole, beyond the usual buffer too, with its view and type.
TEST_F(CleanUpSteps, ARemovedValueIsRecordedWholeWithItsView) {
  sim.UseWow64();
  const std::string binary("C:\\A\\PATCH.EXE\0\x01\xff", 17);
  sim.SetRegistryValue(kHkeyLocalMachine, kRunKey, L"bin", platform::kRegBinary, binary);
  const std::string longText =
      platform::StringData(L"C:\\A\\PATCH.EXE /" + std::wstring(300, L'x'));  // 634 bytes
  const std::wstring runKey32 = L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
  sim.SetRegistryValue(kHkeyLocalMachine, runKey32, L"long", platform::kRegSz, longText);

  EXPECT_TRUE(RemoveRegistryStart(
      sim, log, record, StartEntry(kHkeyLocalMachine, L"bin", platform::kKeyWow64_64Key)));
  EXPECT_TRUE(RemoveRegistryStart(
      sim, log, record, StartEntry(kHkeyLocalMachine, L"long", platform::kKeyWow64_32Key)));

  EXPECT_TRUE(sim.RegistryValues(kHkeyLocalMachine, kRunKey).empty());
  EXPECT_TRUE(sim.RegistryValues(kHkeyLocalMachine, runKey32).empty());
  EXPECT_EQ(
      record.Read().entries,
      (std::vector<ChangeEntry>{{2, kTime, L"NetBus",
                                 RegistryChange{kHkeyLocalMachine, platform::kKeyWow64_64Key,
                                                kRunKey, L"bin", platform::kRegBinary, binary}},
                                {3, kTime, L"NetBus",
                                 RegistryChange{kHkeyLocalMachine, platform::kKeyWow64_32Key,
                                                kRunKey, L"long", platform::kRegSz, longText}}}));
}

// Two different files of one name: each keeps a whole copy that the record names.
TEST_F(CleanUpSteps, SameNamedFilesEachKeepAWholeCopyThatTheRecordNames) {
  const std::wstring first = L"C:\\A\\SERVER.EXE";
  sim.PutFile(first, "first");
  sim.SetFileAttributesW(first, platform::kAttributeReadOnly | platform::kAttributeHidden);
  sim.PutFile(L"C:\\B\\server.exe", "second");
  EXPECT_FALSE(sim.FolderExistsAt(testing::QuarantineFolder(kProgram)));

  Move(first);
  Move(L"C:\\B\\server.exe");

  EXPECT_FALSE(sim.FileExists(first));
  EXPECT_FALSE(sim.FileExists(L"C:\\B\\server.exe"));
  EXPECT_EQ(sim.FileContent(testing::InQuarantine(L"SERVER.EXE.Backdoor", kProgram)), "first");
  EXPECT_EQ(sim.FileContent(testing::InQuarantine(L"server.exe.2.Backdoor", kProgram)), "second");
  EXPECT_EQ(
      record.Read().entries,
      (std::vector<ChangeEntry>{
          {2, kTime, L"SubSeven", FileChange{first, L"SERVER.EXE.Backdoor", 5, Sha256Hex("first")}},
          {3, kTime, L"SubSeven",
           FileChange{L"C:\\B\\server.exe", L"server.exe.2.Backdoor", 6, Sha256Hex("second")}}}));
  const std::string to = " to: " + sim.WideToAnsi(testing::QuarantineFolder(kProgram)) + "\\";
  EXPECT_EQ(sim.FileContent(kLog),
            "2026-12-06 08:00:00 Moving: C:\\A\\SERVER.EXE" + to + "SERVER.EXE.Backdoor\r\n" +
                "2026-12-06 08:00:00 Moving: C:\\B\\server.exe" + to + "server.exe.2.Backdoor\r\n");
  // Names Windows would not produce stay inside the folder all the same.
  EXPECT_EQ(QuarantineName(L"C:\\A\\x/../../evil:stream", 3), L"x_.._.._evil_stream.3.Backdoor");
}

// A running executable is copied but stays; once it has ended it moves into that copy of its own,
// and only it: another file of its name, the same path with other bytes, or a file whose earlier
// move was put back, each get a new copy.
TEST_F(CleanUpSteps, OnlyTheSameFileMovesIntoACopyLeftByAFailedDelete) {
  Move(L"C:\\WINDOWS\\MISSING.EXE");
  EXPECT_FALSE(sim.FileExists(record.Path()));

  const std::wstring running = L"C:\\WINDOWS\\SERVER.EXE";
  sim.PutFile(running, "exe");
  const std::uint32_t id = sim.StartProcess(running, 0);
  Move(running);
  EXPECT_EQ(sim.FileContent(running), "exe");
  EXPECT_EQ(sim.FileContent(testing::InQuarantine(L"SERVER.EXE.Backdoor", kProgram)), "exe");
  EXPECT_FALSE(sim.FileExists(kLog));

  sim.PutFile(L"C:\\OTHER\\SERVER.EXE", "other");
  Move(L"C:\\OTHER\\SERVER.EXE");
  sim.EndProcess(id, 0);
  Move(running);
  EXPECT_FALSE(sim.FileExists(running));
  sim.PutFile(running, "exe, changed");
  Move(running);
  ASSERT_TRUE(record.Append({0, {}, L"SubSeven", Restored{2}}));  // as if put back
  sim.PutFile(running, "exe");
  Move(running);

  const std::pair<std::wstring, std::string> copies[] = {{L"SERVER.EXE.Backdoor", "exe"},
                                                         {L"SERVER.EXE.2.Backdoor", "other"},
                                                         {L"SERVER.EXE.3.Backdoor", "exe, changed"},
                                                         {L"SERVER.EXE.4.Backdoor", "exe"}};
  for (const auto& [name, bytes] : copies) {
    EXPECT_EQ(sim.FileContent(testing::InQuarantine(name, kProgram)), bytes);
  }
  EXPECT_EQ(RecordedMoves(), (std::vector<std::pair<std::wstring, std::wstring>>{
                                 {running, L"SERVER.EXE.Backdoor"},
                                 {L"C:\\OTHER\\SERVER.EXE", L"SERVER.EXE.2.Backdoor"},
                                 {running, L"SERVER.EXE.3.Backdoor"},
                                 {running, L"SERVER.EXE.4.Backdoor"}}));
  EXPECT_EQ(std::ranges::count(sim.FileContent(kLog), '\n'), 4);  // a line for each move done
}

// Nothing changes that the record could not take first.
TEST_F(CleanUpSteps, WhatTheRecordCannotHoldIsNotChanged) {
  sim.PutFile(L"C:\\A\\PATCH.EXE", "exe");
  sim.SetRegistryText(kHkeyCurrentUser, kRunKey, L"Patch", L"PATCH.EXE");
  os.FailOn(platform::Call::AppendToFile, 2, true);  // the version line, and no entry after it

  Move(L"C:\\A\\PATCH.EXE");
  EXPECT_FALSE(RemoveRegistryStart(os, log, record, StartEntry(kHkeyCurrentUser, L"Patch")));

  EXPECT_EQ(sim.FileContent(L"C:\\A\\PATCH.EXE"), "exe");
  EXPECT_FALSE(sim.FileExists(testing::InQuarantine(L"PATCH.EXE.Backdoor", kProgram)));
  EXPECT_EQ(sim.RegistryValues(kHkeyCurrentUser, kRunKey).size(), 1u);
  EXPECT_EQ(sim.FileContent(record.Path()), "Quellspur change record 2\r\n");
  EXPECT_FALSE(sim.FileExists(kLog));
}

}  // namespace
}  // namespace quellspur
