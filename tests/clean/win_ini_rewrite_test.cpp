#include "clean/win_ini_rewrite.h"

#include <gtest/gtest.h>

#include <cwchar>

#include "testing/fault_injection.h"
#include "testing/sim_machine.h"

namespace quellspur {
namespace {

using platform::Call;

const std::wstring kWindows = L"C:\\WINDOWS\\";
const std::wstring kLog = L"C:\\Program Files\\Quellspur\\BackLog.txt";
const std::string kOldWinIni =
    "[windows]\r\nload=C:\\WINDOWS\\SYSTEM\\MSWINDS.EXE\r\nrun=\r\n[Desktop]\n"
    "Wallpaper=c:\\windows\\system\\mswinds.exe.bmp\r\nlast line without end";

class WinIniRewrite : public ::testing::Test {
 protected:
  WinIniRewrite() {
    sim.PutFile(kWindows + L"win.ini", kOldWinIni);
    sim.SetFileAttributesW(kWindows + L"win.ini", platform::kAttributeReadOnly);
    sim.SetClock({2026, 12, 6, 8, 0, 0});
  }

  void ExpectUntouched() {
    EXPECT_EQ(sim.FileContent(kWindows + L"win.ini"), kOldWinIni);
    EXPECT_FALSE(sim.FileExists(kLog));
    for (int number = 1; number <= 16; ++number) {
      wchar_t temporary[16];
      std::swprintf(temporary, 16, L"ini%X.tmp", number);
      EXPECT_FALSE(sim.FileExists(kWindows + temporary)) << number;
    }
  }

  void Rewrite(platform::Os& machine, const std::wstring& filePath) {
    RewriteWinIni(machine, log, record, L"Millenium", kWindows, filePath);
  }

  platform::sim::SimMachine sim;
  platform::FaultInjectingOs os{sim};
  ActivityLog log{sim};
  ChangeRecord record{os};
};

TEST_F(WinIniRewrite, DropsEveryLineNamingTheExecutableInAnyCaseAndKeepsTheOldFile) {
  Rewrite(sim, L"c:\\Windows\\System\\MsWinds.exe");

  EXPECT_EQ(sim.FileContent(kWindows + L"win.ini"),
            "[windows]\r\nrun=\r\n[Desktop]\r\nlast line without end\r\n");
  EXPECT_EQ(sim.FileContent(kWindows + L"win.bac"), kOldWinIni);
  EXPECT_EQ(
      sim.FileContent(kLog),
      "2026-12-06 08:00:00 Removing start: load=C:\\WINDOWS\\SYSTEM\\MSWINDS.EXE in win.ini\r\n"
      "2026-12-06 08:00:00 Removing start: Wallpaper=c:\\windows\\system\\mswinds.exe.bmp in "
      "win.ini\r\n");
  EXPECT_FALSE(sim.FileExists(kWindows + L"ini1.tmp"));
  // Recorded by the numbers the lines had, the line ends of every kind counted.
  const ParsedRecord read = record.Read();
  ASSERT_EQ(read.entries.size(), 1u);
  EXPECT_EQ(read.entries[0].change,
            (decltype(read.entries[0].change){
                WinIniChange{kWindows + L"win.ini",
                             {{2, L"load=C:\\WINDOWS\\SYSTEM\\MSWINDS.EXE"},
                              {5, L"Wallpaper=c:\\windows\\system\\mswinds.exe.bmp"}}}}));
}

TEST_F(WinIniRewrite,
       ASecondRewriteBacksUpTheFirstResultOverAReadOnlyBackupThatStaysWithoutWinIni) {
  Rewrite(sim, L"C:\\WINDOWS\\SYSTEM\\MSWINDS.EXE");
  const std::string first = sim.FileContent(kWindows + L"win.ini");
  sim.SetFileAttributesW(kWindows + L"win.bac", platform::kAttributeReadOnly);
  Rewrite(sim, L"RUN=");
  EXPECT_EQ(sim.FileContent(kWindows + L"win.bac"), first);
  EXPECT_EQ(sim.FileContent(kWindows + L"win.ini"),
            "[windows]\r\n[Desktop]\r\nlast line without end\r\n");
  sim.RemoveFile(kWindows + L"win.ini");
  Rewrite(sim, L"RUN=");
  EXPECT_EQ(sim.FileContent(kWindows + L"win.bac"), first);
}

// The change record's line among them: the new file replaces nothing that it does not hold.
TEST_F(WinIniRewrite, AnyFailingStepLeavesWinIniAsItWas) {
  for (Call call : {Call::AppendToFile, Call::CopyFileW, Call::ReadTextLines,
                    Call::GetTempFileNameW, Call::WriteWholeFile, Call::MoveFileExW}) {
    os.FailOn(call, 1);
    Rewrite(os, L"C:\\WINDOWS\\SYSTEM\\MSWINDS.EXE");
    ExpectUntouched();
  }
  // An empty path would be found in every line.
  Rewrite(sim, L"");
  ExpectUntouched();
}

}  // namespace
}  // namespace quellspur
