// win.ini's lines go back into the sections they came from, beside the lines they stood between,
// in win.ini's own encoding; where their section or win.ini is gone, the restore refuses.
#include <gtest/gtest.h>

#include "clean/restore.h"
#include "clean/win_ini_rewrite.h"
#include "platform/text.h"
#include "testing/sim_machine.h"

namespace quellspur {
namespace {

const std::wstring kWindows = L"C:\\WINDOWS\\";
const std::wstring kWinIni = kWindows + L"win.ini";
const std::wstring kMillenium = L"C:\\SYSUPD\\MSRUNDLL.EXE";
const std::string kScene =
    "[windows]\r\nload=C:\\SYSUPD\\MSRUNDLL.EXE\r\nrun=C:\\SYSUPD\\MSRUNDLL.EXE /s\r\n"
    "NullPort=None\r\n[mail]\r\nmapi=1\r\n";

class WinIniRestore : public ::testing::Test {
 protected:
  // Cleans win.ini as Millenium's clean-up does, and hands back its entry.
  ChangeEntry Clean(const std::string& bytes) {
    sim.PutFile(kWinIni, bytes);
    EXPECT_TRUE(RewriteWinIni(sim, log, record, L"Millenium", kWindows, kMillenium));
    return record.Read().entries.back();
  }

  RestoreResult Put(const ChangeEntry& entry) { return restore.Entry(entry, {kWindows, {}}); }

  platform::sim::SimMachine sim;
  ActivityLog log{sim};
  ChangeRecord record{sim};
  Restore restore{sim, log, record};
};

TEST_F(WinIniRestore, LinesGoBackIntoTheirSectionBesideTheirNeighboursInEachEncoding) {
  const ChangeEntry entry = Clean(kScene);
  EXPECT_EQ(sim.FileContent(kWinIni), "[windows]\r\nNullPort=None\r\n[mail]\r\nmapi=1\r\n");
  // Sections and lines added above and inside [windows] since.
  sim.PutFile(kWinIni,
              "[fonts]\r\nArial=arial.ttf\r\nTahoma=tahoma.ttf\r\n[windows]\r\nBeep=yes\r\n"
              "NullPort=None\r\n[mail]\r\nmapi=1\r\n");
  const RestoreResult result = Put(entry);
  EXPECT_EQ(result.outcome, RestoreOutcome::Restored) << result.message;
  EXPECT_EQ(sim.FileContent(kWinIni),
            "[fonts]\r\nArial=arial.ttf\r\nTahoma=tahoma.ttf\r\n[windows]\r\n"
            "load=C:\\SYSUPD\\MSRUNDLL.EXE\r\nrun=C:\\SYSUPD\\MSRUNDLL.EXE /s\r\nBeep=yes\r\n"
            "NullPort=None\r\n[mail]\r\nmapi=1\r\n");
  // With the line before it gone, a line goes in before the line that stood after it.
  sim.PutFile(kWinIni, "[windows]\r\nBeep=yes\r\nNullPort=None\r\nmore=1\r\n");
  ChangeEntry withoutBefore = entry;
  for (RemovedLine& line : std::get<WinIniChange>(withoutBefore.change).lines) {
    line.before = L"gone=1";
  }
  EXPECT_EQ(Put(withoutBefore).outcome, RestoreOutcome::Restored);
  EXPECT_EQ(sim.FileContent(kWinIni),
            "[windows]\r\nBeep=yes\r\nload=C:\\SYSUPD\\MSRUNDLL.EXE\r\n"
            "run=C:\\SYSUPD\\MSRUNDLL.EXE /s\r\nNullPort=None\r\nmore=1\r\n");
  sim.PutFile(kWinIni,
              "[fonts]\r\nArial=arial.ttf\r\n[windows]\r\n"
              "load=C:\\SYSUPD\\MSRUNDLL.EXE\r\nrun=C:\\SYSUPD\\MSRUNDLL.EXE /s\r\n");
  // Standing in their section, the lines are in place, and nothing is written.
  EXPECT_EQ(Put(entry).outcome, RestoreOutcome::AlreadyInPlace);

  // UTF-16 and UTF-8 with their marks come back byte for byte.
  const std::wstring wide(kScene.begin(), kScene.end());
  for (const std::string& bytes : {"\xFF\xFE" + ToUtf16Le(wide), "\xEF\xBB\xBF" + kScene}) {
    const ChangeEntry cleaned = Clean(bytes);
    EXPECT_EQ(Put(cleaned).outcome, RestoreOutcome::Restored);
    EXPECT_EQ(sim.FileContent(kWinIni), bytes);
  }
  // A line the encoding can't hold is refused, and win.ini stays as it is.
  const ChangeEntry chinese = Clean("[windows]\r\nload=C:\\SYSUPD\\MSRUNDLL.EXE\r\n");
  sim.PutFile(kWinIni, "[windows]\r\n");
  ChangeEntry other = chinese;
  std::get<WinIniChange>(other.change).lines[0].text += L" \u4E2D";
  EXPECT_EQ(Put(other).outcome, RestoreOutcome::Refused);
  EXPECT_EQ(sim.FileContent(kWinIni), "[windows]\r\n");
}

// Without its section, or without win.ini, a line has nowhere to go: the restore says why and
// writes nothing.
TEST_F(WinIniRestore, RefusesWhenTheSectionOrWinIniIsGone) {
  const ChangeEntry entry = Clean(kScene);
  sim.PutFile(kWinIni, "[mail]\r\nmapi=1\r\n");
  RestoreResult result = Put(entry);
  EXPECT_EQ(result.outcome, RestoreOutcome::Refused);
  EXPECT_NE(result.message.find(L"[windows]"), std::wstring::npos) << result.message;
  EXPECT_EQ(sim.FileContent(kWinIni), "[mail]\r\nmapi=1\r\n");

  sim.RemoveFile(kWinIni);
  result = Put(entry);
  EXPECT_EQ(result.outcome, RestoreOutcome::Refused);
  EXPECT_NE(result.message.find(L"missing"), std::wstring::npos) << result.message;
  EXPECT_FALSE(sim.FileExists(kWinIni));
}

// A version-1 entry kept no section: its load= and run= lines, the ones the clean-up takes out
// of [windows], go back at the end of [windows]; any other line is refused.
TEST_F(WinIniRestore, Version1LinesGoBackIntoWindowsOnlyWhenTheyAreStartLines) {
  sim.PutFile(record.Path(), "Quellspur change record 1\r\n");
  const ChangeEntry entry = Clean(kScene);
  EXPECT_FALSE(std::get<WinIniChange>(entry.change).lines[0].section);
  sim.PutFile(kWinIni, "[fonts]\r\nA=a\r\n[windows]\r\nNullPort=None\r\n\r\n[mail]\r\nmapi=1\r\n");
  EXPECT_EQ(Put(entry).outcome, RestoreOutcome::Restored);
  EXPECT_EQ(sim.FileContent(kWinIni),
            "[fonts]\r\nA=a\r\n[windows]\r\nNullPort=None\r\nload=C:\\SYSUPD\\MSRUNDLL.EXE\r\n"
            "run=C:\\SYSUPD\\MSRUNDLL.EXE /s\r\n\r\n[mail]\r\nmapi=1\r\n");

  const ChangeEntry wallpaper =
      Clean("[Desktop]\r\nWallpaper=C:\\SYSUPD\\MSRUNDLL.EXE.bmp\r\n[windows]\r\n");
  const RestoreResult result = Put(wallpaper);
  EXPECT_EQ(result.outcome, RestoreOutcome::Refused);
  EXPECT_NE(result.message.find(L"without its section"), std::wstring::npos) << result.message;
  EXPECT_EQ(sim.FileContent(kWinIni), "[Desktop]\r\n[windows]\r\n");
}

}  // namespace
}  // namespace quellspur
