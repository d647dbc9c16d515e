#include "clean/activity_log.h"

#include <gtest/gtest.h>

#include "testing/sim_machine.h"

namespace quellspur {
namespace {

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

  EXPECT_EQ(sim.FileContent(L"C:\\Program Files\\Quellspur\\BackLog.txt"),
            "2026-03-01 14:05:09 Moving: C:\\A.EXE to: C:\\Q\\A.EXE.Backdoor\r\n"
            "2026-11-30 00:00:00 \r\n"
            "2026-11-30 00:00:00 caf\xe9 C:\\q\\\\u0108at.exe \\u0416uk\x80\r\n"
            "2026-11-30 00.00.00 Removing start: run=C:\\X.EXE\\x0D\\x0A2026-03-01 09:05:03 "
            "forged\\x09tab\\x7F in win.ini\r\n");
  EXPECT_EQ(EscapeForLog(sim, L"C:\\x0D \\u0108 plain \u00e9"), L"C:\\x0D \\u0108 plain \u00e9");
}

}  // namespace
}  // namespace quellspur
