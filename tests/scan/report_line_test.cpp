#include "scan/report_line.h"

#include <gtest/gtest.h>

namespace quellspur {
namespace {

TEST(ReportLine, JoinsItsPiecesWithoutFurtherBlanks) {
  Finding process;
  process.backdoorName = L"Devil";
  process.filePath = L"C:\\WINDOWS\\DEVIL.EXE";
  process.processId = 8;
  process.parentPath = L"-unknown-";
  EXPECT_EQ(ReportLine(process),
            L"Devil Found as: C:\\WINDOWS\\DEVIL.EXE Activ now, started by: -unknown-");
  process.parentPath = L"C:\\WINDOWS\\EXPLORER.EXE";
  EXPECT_EQ(ReportLine(process),
            L"Devil Found as: C:\\WINDOWS\\DEVIL.EXE Activ now, started by: EXPLORER.EXE");

  Finding start;
  start.backdoorName = L"NetBus Pro";
  start.filePath = L"C:\\NB\\NBSVR.EXE";
  start.rootKey = 0x80000002;
  start.subKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  start.valueName = L"nbsvr";
  EXPECT_EQ(ReportLine(start),
            L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Start entry in: HKEY_LOCAL_MACHINE Run/nbsvr");
  start.rootKey = 0x80000001;
  start.subKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
  EXPECT_EQ(ReportLine(start),
            L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Start entry in: HKEY_CURRENT_USER "
            L"RunServices/nbsvr");

  // Any other root counts as HKEY_LOCAL_MACHINE; the process group comes first.
  start.rootKey = 7;
  start.processId = 12;
  start.parentPath = L"C:\\X\\LOADER.EXE";
  EXPECT_EQ(ReportLine(start),
            L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Activ now, started by: LOADER.EXE Start "
            L"entry in: HKEY_LOCAL_MACHINE RunServices/nbsvr");
}

}  // namespace
}  // namespace quellspur
