#include "app/report_line.h"

#include <gtest/gtest.h>

namespace quellspur {
namespace {

TEST(ReportLine, JoinsItsPiecesWithoutFurtherBlanks) {
  FoundEntry process;
  process.BackdoorName = L"Devil";
  process.FilePath = L"C:\\WINDOWS\\DEVIL.EXE";
  process.ProcessId = 8;
  process.ParentPath = L"-unknown-";
  EXPECT_EQ(ReportLine(process),
            L"Devil Found as: C:\\WINDOWS\\DEVIL.EXE Activ now, started by: -unknown-");
  process.ParentPath = L"C:\\WINDOWS\\EXPLORER.EXE";
  EXPECT_EQ(ReportLine(process),
            L"Devil Found as: C:\\WINDOWS\\DEVIL.EXE Activ now, started by: EXPLORER.EXE");

  FoundEntry start;
  start.BackdoorName = L"NetBus Pro";
  start.FilePath = L"C:\\NB\\NBSVR.EXE";
  start.RootKey = 0x80000002;
  start.SubKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  start.ValueName = L"nbsvr";
  EXPECT_EQ(ReportLine(start),
            L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Start entry in: HKEY_LOCAL_MACHINE Run/nbsvr");
  start.RootKey = 0x80000001;
  start.SubKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
  EXPECT_EQ(ReportLine(start),
            L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Start entry in: HKEY_CURRENT_USER "
            L"RunServices/nbsvr");

  // Any other root counts as HKEY_LOCAL_MACHINE; the process group comes first.
  start.RootKey = 7;
  start.ProcessId = 12;
  start.ParentPath = L"C:\\X\\LOADER.EXE";
  EXPECT_EQ(ReportLine(start),
            L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Activ now, started by: LOADER.EXE Start "
            L"entry in: HKEY_LOCAL_MACHINE RunServices/nbsvr");
}

}  // namespace
}  // namespace quellspur
