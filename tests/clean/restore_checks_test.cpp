// Which record entries a restore may act on: every path, copy name, start key and win.ini a
// clean-up can have recorded passes, and nothing that could lead elsewhere does.
#include <gtest/gtest.h>

#include "clean/restore_checks.h"
#include "platform/registry.h"

namespace quellspur {
namespace {

TEST(RestoreChecks, PathsACleanUpRecordsPassAndNoOtherDoes) {
  for (const std::wstring path :
       {L"C:\\BO\\ .EXE", L"c:\\windows\\system\\Patch.exe", L"C:\\PROGRA~1\\NETBUS\\NBSVR.EXE",
        L"C:\\Windows\\System32\\x.exe", L"C:\\Windows\\SysWOW64\\x.exe",
        L"D:\\\u0108at\\N\u00e9tbus, \u00c9.exe", L"C:\\a.b\\CONSOLE.exe", L"C:\\COM10.exe"}) {
    EXPECT_EQ(PathRefusal(path), std::nullopt) << ::testing::PrintToString(path);
  }
  for (const std::wstring path : {L"",
                                  L"x.exe",
                                  L"C:x.exe",
                                  L"C:/x.exe",
                                  L"C:\\a/x.exe",
                                  L"\\x.exe",
                                  L"\\\\server\\share\\x.exe",
                                  L"\\\\?\\C:\\x.exe",
                                  L"\\\\.\\C:\\x.exe",
                                  L"1:\\x.exe",
                                  L"C:\\a\\..\\x.exe",
                                  L"C:\\.\\x.exe",
                                  L"C:\\a\\\\x.exe",
                                  L"C:\\a\\",
                                  L"C:\\x.exe:stream",
                                  L"C:\\x.exe::$DATA",
                                  L"C:\\x.exe.",
                                  L"C:\\x.exe ",
                                  L"C:\\x?.exe",
                                  L"C:\\x\t.exe",
                                  L"C:\\NUL",
                                  L"C:\\a\\nul.txt",
                                  L"C:\\CON .txt",
                                  L"C:\\lpt1.dll",
                                  L"C:\\COM\u00b9.exe",
                                  L"C:\\conin$"}) {
    EXPECT_NE(PathRefusal(path), std::nullopt) << ::testing::PrintToString(path);
  }
}

TEST(RestoreChecks, ACopyNameIsTheOneTheCleanUpGivesThatFilesCopies) {
  const RestorePlaces places{L"C:\\WINDOWS\\", {}};
  const auto refusal = [&](const std::wstring& path, const std::wstring& copyName) {
    return EntryRefusal({0, {}, L"x", FileChange{path, copyName, 1, {}}}, places);
  };
  EXPECT_EQ(refusal(L"C:\\NB\\NBSVR.EXE", L"NBSVR.EXE.Backdoor"), std::nullopt);
  EXPECT_EQ(refusal(L"C:\\NB\\NBSVR.EXE", L"nbsvr.exe.12.BACKDOOR"), std::nullopt);
  EXPECT_EQ(refusal(L"C:\\BO\\ .EXE", L" .EXE.2.Backdoor"), std::nullopt);
  for (const std::wstring copyName :
       {L"OTHER.EXE.Backdoor", L"NBSVR.EXE", L"NBSVR.EXE.1.Backdoor", L"NBSVR.EXE.02.Backdoor",
        L"NBSVR.EXE.x.Backdoor", L"NBSVR.EXE..Backdoor", L"..\\NBSVR.EXE.Backdoor",
        L"sub\\NBSVR.EXE.Backdoor", L"NBSVR.EXE.Backdoor:s", L"NUL.Backdoor", L".Backdoor"}) {
    EXPECT_NE(refusal(L"C:\\NB\\NBSVR.EXE", copyName), std::nullopt)
        << ::testing::PrintToString(copyName);
  }
  EXPECT_NE(CopyNameRefusal(L"COM1.Backdoor"), std::nullopt);
  EXPECT_EQ(CopyNameRefusal(L"OLD.EXE.backdoor"), std::nullopt);
}

TEST(RestoreChecks, OnlyTheStartKeysInTheirViewsAndTheWindowsFoldersWinIni) {
  const std::wstring run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const RestorePlaces oneView{L"C:\\WINDOWS\\", StartKeyPlaces(false)};
  const RestorePlaces twoViews{L"C:\\WINDOWS\\", StartKeyPlaces(true)};
  const auto value = [&](platform::RegKey root, std::uint32_t view, const std::wstring& key) {
    return ChangeEntry{
        0, {}, L"x", RegistryChange{static_cast<std::uint32_t>(root), view, key, L"v", 1, "d"}};
  };
  const ChangeEntry machine64 = value(platform::kHkeyLocalMachine, platform::kKeyWow64_64Key, run);
  const ChangeEntry machine = value(platform::kHkeyLocalMachine, 0, run + L"Services");
  const ChangeEntry user = value(platform::kHkeyCurrentUser, 0,
                                 L"SOFTWARE\\Microsoft\\Windows\\"
                                 L"CurrentVersion\\run");
  EXPECT_EQ(EntryRefusal(machine64, twoViews), std::nullopt);
  EXPECT_NE(EntryRefusal(machine64, oneView), std::nullopt);
  EXPECT_EQ(EntryRefusal(machine, oneView), std::nullopt);
  EXPECT_NE(EntryRefusal(machine, twoViews), std::nullopt);
  EXPECT_EQ(EntryRefusal(user, oneView), std::nullopt);
  EXPECT_EQ(EntryRefusal(user, twoViews), std::nullopt);
  EXPECT_NE(EntryRefusal(value(platform::kHkeyCurrentUser, 0, run + L"\\x"), oneView),
            std::nullopt);
  EXPECT_NE(EntryRefusal(value(platform::kHkeyCurrentUser, 0, run + L"Once"), oneView),
            std::nullopt);

  const auto winIni = [&](const std::wstring& path) {
    return EntryRefusal({0, {}, L"x", WinIniChange{path, {{1, L"load=x", {}, {}, {}}}}}, oneView);
  };
  EXPECT_EQ(winIni(L"c:\\windows\\WIN.INI"), std::nullopt);
  EXPECT_NE(winIni(L"C:\\WINDOWS\\system.ini"), std::nullopt);
  EXPECT_NE(winIni(L"C:\\WINDOWS\\..\\WINDOWS\\win.ini"), std::nullopt);
  EXPECT_EQ(EntryRefusal({0, {}, L"x", Restored{3}}, oneView), std::nullopt);
}

}  // namespace
}  // namespace quellspur
