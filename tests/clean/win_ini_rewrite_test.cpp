#include "clean/win_ini_rewrite.h"

#include <gtest/gtest.h>

#include <cwchar>

#include "platform/text.h"
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

  // win.ini as it was, no backup made, nothing logged or recorded, no temporary file left.
  void ExpectUntouched(const std::string& winIni = kOldWinIni) {
    EXPECT_EQ(sim.FileContent(kWindows + L"win.ini"), winIni);
    EXPECT_FALSE(sim.FileExists(kLog));
    for (int number = 1; number <= 16; ++number) {
      wchar_t temporary[16];
      std::swprintf(temporary, 16, L"ini%X.tmp", number);
      EXPECT_FALSE(sim.FileExists(kWindows + temporary)) << number;
    }
  }

  bool Rewrite(platform::Os& machine, const std::wstring& filePath) {
    return RewriteWinIni(machine, log, record, L"Millenium", kWindows, filePath);
  }

  platform::sim::SimMachine sim;
  platform::FaultInjectingOs os{sim};
  ActivityLog log{sim};
  ChangeRecord record{os};
};

TEST_F(WinIniRewrite, DropsEveryLineNamingTheExecutableAndKeepsTheRestByteForByte) {
  EXPECT_TRUE(Rewrite(sim, L"c:\\Windows\\System\\MsWinds.exe"));

  EXPECT_EQ(sim.FileContent(kWindows + L"win.ini"),
            "[windows]\r\nrun=\r\n[Desktop]\nlast line without end");
  EXPECT_EQ(sim.FileContent(kWindows + L"win.bac"), kOldWinIni);
  EXPECT_EQ(
      sim.FileContent(kLog),
      "2026-12-06 08:00:00 Removing start: load=C:\\WINDOWS\\SYSTEM\\MSWINDS.EXE in win.ini\r\n"
      "2026-12-06 08:00:00 Removing start: Wallpaper=c:\\windows\\system\\mswinds.exe.bmp in "
      "win.ini\r\n");
  EXPECT_FALSE(sim.FileExists(kWindows + L"ini1.tmp"));
  // Recorded by the numbers the lines had, the line ends of every kind counted, each with its
  // section and the kept lines around it.
  const ParsedRecord read = record.Read();
  ASSERT_EQ(read.entries.size(), 1u);
  EXPECT_EQ(read.entries[0].change,
            (decltype(read.entries[0].change){WinIniChange{
                kWindows + L"win.ini",
                {{2, L"load=C:\\WINDOWS\\SYSTEM\\MSWINDS.EXE", L"[windows]", L"[windows]", L"run="},
                 {5, L"Wallpaper=c:\\windows\\system\\mswinds.exe.bmp", L"[Desktop]", L"[Desktop]",
                  L"last line without end"}}}}));
  // A section's header stays, whatever it holds; a line before the first section has none.
  sim.PutFile(kWindows + L"win.ini", "run=C:\\X.EXE\r\n[C:\\X.EXE]\r\nload=C:\\X.EXE");
  EXPECT_TRUE(Rewrite(sim, L"C:\\X.EXE"));
  EXPECT_EQ(sim.FileContent(kWindows + L"win.ini"), "[C:\\X.EXE]\r\n");
  EXPECT_EQ(std::get<WinIniChange>(record.Read().entries[1].change).lines,
            (std::vector<RemovedLine>{
                {1, L"run=C:\\X.EXE", L"", std::nullopt, L"[C:\\X.EXE]"},
                {3, L"load=C:\\X.EXE", L"[C:\\X.EXE]", L"[C:\\X.EXE]", std::nullopt}}));
}

// UTF-16 and UTF-8 after their byte-order marks are rewritten in their own encoding; bytes not
// valid in theirs change nothing, and the line stays: the step is not done.
TEST_F(WinIniRewrite, KeepsEachEncodingOrChangesNothing) {
  const std::wstring text = L"[windows]\r\nload=C:\\MIL\\M\u00DCNZ.EXE\r\n\u4E2D=\U0001F600\r\n";
  const std::wstring kept = L"[windows]\r\n\u4E2D=\U0001F600\r\n";
  std::string utf8Text =
      "[windows]\r\nload=C:\\MIL\\M\xC3\x9CNZ.EXE\r\n\xE4\xB8\xAD=\xF0\x9F\x98\x80\r\n";
  std::string utf8Kept = "[windows]\r\n\xE4\xB8\xAD=\xF0\x9F\x98\x80\r\n";
  const std::pair<std::string, std::string> encodings[] = {
      {"\xFF\xFE" + ToUtf16Le(text), "\xFF\xFE" + ToUtf16Le(kept)},
      {"\xEF\xBB\xBF" + utf8Text, "\xEF\xBB\xBF" + utf8Kept},
  };
  for (const auto& [before, after] : encodings) {
    sim.PutFile(kWindows + L"win.ini", before);
    EXPECT_TRUE(Rewrite(sim, L"C:\\MIL\\M\u00FCnz.exe"));
    EXPECT_EQ(sim.FileContent(kWindows + L"win.ini"), after);
    EXPECT_EQ(sim.FileContent(kWindows + L"win.bac"), before);
    EXPECT_EQ(std::get<WinIniChange>(record.Read().entries.back().change).lines[0].text,
              L"load=C:\\MIL\\M\u00DCNZ.EXE");
  }
  sim.RemoveFile(record.Path());
  sim.RemoveFile(kLog);
  sim.PutFile(kWindows + L"win.bac", "an older backup");
  const std::string invalid[] = {"\xFF\xFE" + ToUtf16Le(text) + "x",
                                 "\xEF\xBB\xBF" + utf8Text + "\xC3(\r\n"};
  for (const std::string& bytes : invalid) {
    sim.PutFile(kWindows + L"win.ini", bytes);
    sim.SetFileAttributesW(kWindows + L"win.ini", platform::kAttributeReadOnly);
    EXPECT_FALSE(Rewrite(sim, L"C:\\MIL\\M\u00FCnz.exe"));
    ExpectUntouched(bytes);
    EXPECT_TRUE(record.Read().entries.empty());
    EXPECT_EQ(sim.FileAttributes(kWindows + L"win.ini"), platform::kAttributeReadOnly);
    EXPECT_EQ(sim.FileContent(kWindows + L"win.bac"), "an older backup");
  }
}

TEST_F(WinIniRewrite,
       ASecondRewriteBacksUpTheFirstResultOverAReadOnlyBackupThatStaysWithoutWinIni) {
  Rewrite(sim, L"C:\\WINDOWS\\SYSTEM\\MSWINDS.EXE");
  const std::string first = sim.FileContent(kWindows + L"win.ini");
  sim.SetFileAttributesW(kWindows + L"win.bac", platform::kAttributeReadOnly);
  Rewrite(sim, L"RUN=");
  EXPECT_EQ(sim.FileContent(kWindows + L"win.bac"), first);
  EXPECT_EQ(sim.FileContent(kWindows + L"win.ini"),
            "[windows]\r\n[Desktop]\nlast line without end");
  sim.RemoveFile(kWindows + L"win.ini");
  EXPECT_TRUE(Rewrite(sim, L"RUN="));  // no win.ini starts nothing
  EXPECT_EQ(sim.FileContent(kWindows + L"win.bac"), first);
}

// The change record's line among them: the new file replaces nothing that it does not hold. A
// win.ini changed since it was read is not replaced either.
TEST_F(WinIniRewrite, AnyFailingStepLeavesWinIniAsItWas) {
  for (Call call : {Call::AppendToFile, Call::CopyFileW, Call::ReadFileAt, Call::GetTempFileNameW,
                    Call::WriteWholeFile, Call::MoveFileExW}) {
    os.FailOn(call, 1);
    EXPECT_FALSE(Rewrite(os, L"C:\\WINDOWS\\SYSTEM\\MSWINDS.EXE")) << platform::CallName(call);
    ExpectUntouched();
    sim.RemoveFile(record.Path());
  }
  // Edited by another program after it was read: the user's edit stays.
  struct EditedMeanwhile : platform::sim::SimMachine {
    bool CopyFileW(const std::wstring& from, const std::wstring& to, bool failIfExists) override {
      const bool copied = SimMachine::CopyFileW(from, to, failIfExists);
      PutFile(from, "[windows]\r\nedited\r\n");
      return copied;
    }
  } edited;
  edited.PutFile(kWindows + L"win.ini", kOldWinIni);
  ActivityLog editedLog{edited};
  ChangeRecord editedRecord{edited};
  EXPECT_FALSE(RewriteWinIni(edited, editedLog, editedRecord, L"Millenium", kWindows, L"RUN="));
  EXPECT_EQ(edited.FileContent(kWindows + L"win.ini"), "[windows]\r\nedited\r\n");
  EXPECT_FALSE(edited.FileExists(kLog));
}

}  // namespace
}  // namespace quellspur
