#include "clean/activity_log.h"

#include <gtest/gtest.h>

#include "testing/sim_machine.h"

namespace quellspur {
namespace {

const std::wstring kLogPath = L"C:\\Program Files\\Quellspur\\BackLog.txt";

TEST(ActivityLog, AppendsOneDatedLinePerMessageKeepsEachOnItsOwnLineAndNoLookAlikes) {
  platform::sim::SimMachine sim;
  ActivityLog log{sim};
  sim.SetClock({2026, 3, 1, 14, 5, 9});
  log.WriteLog(L"Moving: C:\\A.EXE to: C:\\Q\\A.EXE.Backdoor");
  sim.SetClock({2026, 11, 30, 0, 0, 0});
  log.WriteLog(L"");
  // Characters outside the code page are escaped, never replaced by "C", "?" or the like.
  log.WriteLog(L"caf\u00e9 C:\\q\\\u0108at.exe \u0416uk\u20ac");
  sim.SetTimeSeparator(L".");
  log.WriteLog(L"Removing start: run=C:\\X.EXE\r\n2026-03-01 09:05:03 forged\ttab\x7f in win.ini");

  EXPECT_EQ(sim.FileContent(kLogPath),
            "2026-03-01 14:05:09 Moving: C:\\A.EXE to: C:\\Q\\A.EXE.Backdoor\r\n"
            "2026-11-30 00:00:00 \r\n"
            "2026-11-30 00:00:00 caf\xe9 C:\\q\\\\u0108at.exe \\u0416uk\x80\r\n"
            "2026-11-30 00.00.00 Removing start: run=C:\\X.EXE\\x0D\\x0A2026-03-01 09:05:03 "
            "forged\\x09tab\\x7F in win.ini\r\n");
  EXPECT_EQ(EscapeForLog(sim, L"C:\\x0D \\u0108 plain \u00e9"), L"C:\\x0D \\u0108 plain \u00e9");
}

// Another program holds the log's lock: the main window's log waits not at all, keeps its lines
// with their own times, and writes each once, in order, when asked after the lock has gone or with
// the next line.
TEST(ActivityLog, ALockedLogKeepsItsLinesInOrderWithoutWaitingAndWritesEachOnce) {
  platform::sim::SimMachine sim;
  sim.SetSteadyClockStep(0);  // the clock moves only while something waits
  ActivityLog log{sim};
  int told = 0;
  log.OnLinesKept([&] { ++told; });
  log.WriteLog(L"one");
  sim.HoldFileLock(kLogPath);
  sim.SetClock({2026, 1, 1, 12, 0, 1});
  log.WriteLog(L"two");
  sim.SetClock({2026, 1, 1, 12, 0, 2});
  log.WriteLog(L"three");
  EXPECT_FALSE(log.WriteKeptLines());
  EXPECT_EQ(sim.FileContent(kLogPath), "2026-01-01 12:00:00 one\r\n");
  EXPECT_EQ(log.KeptLineCount(), 2);
  EXPECT_EQ(told, 3);
  EXPECT_EQ(sim.SteadyMicroseconds(), 0u);

  sim.ReleaseFileLock(kLogPath);
  EXPECT_TRUE(log.WriteKeptLines());
  EXPECT_TRUE(log.WriteKeptLines());
  sim.HoldFileLock(kLogPath);
  log.WriteLog(L"four");
  sim.ReleaseFileLock(kLogPath);
  log.WriteLog(L"five");
  EXPECT_EQ(sim.FileContent(kLogPath),
            "2026-01-01 12:00:00 one\r\n"
            "2026-01-01 12:00:01 two\r\n"
            "2026-01-01 12:00:02 three\r\n"
            "2026-01-01 12:00:02 four\r\n"
            "2026-01-01 12:00:02 five\r\n");
  EXPECT_EQ(log.KeptLineCount(), 0);
  EXPECT_EQ(told, 4);
}

// QuellScan's log may wait a second for the lock over its whole run, however many lines it
// writes; a lock that goes within what is left is waited for, and the last try may wait longer.
TEST(ActivityLog, TheWaitForALockIsBoundedOverAllLinesTogether) {
  platform::sim::SimMachine sim;
  sim.SetSteadyClockStep(0);
  ActivityLog log{sim, 1000};
  sim.HoldFileLock(kLogPath, 300'000);
  log.WriteLog(L"after 0.3 s");
  EXPECT_EQ(sim.SteadyMicroseconds(), 300'000u);
  EXPECT_EQ(log.KeptLineCount(), 0);

  sim.HoldFileLock(kLogPath);
  for (int line = 0; line < 5; ++line) {
    log.WriteLog(L"kept");
  }
  EXPECT_FALSE(log.WriteKeptLines());
  EXPECT_EQ(sim.SteadyMicroseconds(), 1'000'000u);
  EXPECT_EQ(log.KeptLineCount(), 5);

  sim.HoldFileLock(kLogPath, 2'000'000);
  EXPECT_FALSE(log.WriteKeptLinesAtEnd(1500));
  EXPECT_EQ(sim.SteadyMicroseconds(), 2'500'000u);
  sim.HoldFileLock(kLogPath, 400'000);
  EXPECT_TRUE(log.WriteKeptLinesAtEnd(500));
  EXPECT_EQ(sim.SteadyMicroseconds(), 2'900'000u);
  std::string expected = "2026-01-01 12:00:00 after 0.3 s\r\n";
  for (int line = 0; line < 5; ++line) {
    expected += "2026-01-01 12:00:00 kept\r\n";
  }
  EXPECT_EQ(sim.FileContent(kLogPath), expected);
}

}  // namespace
}  // namespace quellspur
