#include "scan/windows_platform.h"

#include <gtest/gtest.h>

#include "scan/scan_driver.h"
#include "scan/scan_fixture.h"

namespace quellspur::testing {
namespace {

using WindowsFamily = ScanTest;

TEST_F(WindowsFamily, ComesFromThePlatformIdOrIsUnknownWhenTheVersionCallFails) {
  EXPECT_EQ(GetWindowsPlatform(sim), WindowsPlatform::Nt);
  sim.SetPlatformId(platform::kPlatformWindows);
  EXPECT_EQ(GetWindowsPlatform(sim), WindowsPlatform::Windows9x);
  os.FailOn(platform::Call::GetVersionExW, 1);
  EXPECT_EQ(GetWindowsPlatform(os), WindowsPlatform::Unknown);
}

// Only Windows NT is told apart: on a family the version call did not name, the scan still looks
// through the process list for "Back Orifice", as on Windows 98.
TEST_F(WindowsFamily, AnUnknownFamilyIsScannedAsWindows98) {
  sim.StartProcess(L"C:\\WINDOWS\\SYSTEM\\ .exe", 0);
  sim.SetRegistryText(kHkcu, kRunKey, L"Startup", L" .EXE");
  os.FailOn(platform::Call::GetVersionExW, 1);
  scanner.SetWindowsPlatform(GetWindowsPlatform(os));

  RunScan(scanner, [] {});

  ASSERT_EQ(scanner.findings().size(), 2u);
  EXPECT_EQ(scanner.findings()[0].backdoorName, kBackOrifice);
  EXPECT_EQ(scanner.findings()[1].filePath, L"C:\\WINDOWS\\SYSTEM\\ .exe");

  scanner.SetWindowsPlatform(WindowsPlatform::Nt);
  RunScan(scanner, [] {});
  EXPECT_TRUE(scanner.findings().empty());
}

}  // namespace
}  // namespace quellspur::testing
