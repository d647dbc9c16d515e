#include <gtest/gtest.h>

#include "scan/scan_fixture.h"

namespace quellspur::testing {
namespace {

class WindowProbe : public ScanTest {
 protected:
  void SetUp() override { UseWindows98(); }
};

TEST_F(WindowProbe, RecordsAMatchingWindowWithItsProcessAndParent) {
  const std::uint32_t parent = sim.StartProcess(L"C:\\WINDOWS\\EXPLORER.EXE", 0);
  const std::uint32_t server = sim.StartProcess(L"C:\\WINDOWS\\SYSTEM\\MSERV.EXE", parent);
  sim.ShowWindow(L"TApplication", L"MServ", server);
  sim.SetRegistryText(kHklm, kRunServicesKey, L"mserv", L"C:\\WINDOWS\\SYSTEM\\MSERV.EXE");

  scanner.FindByWindow();

  const Findings& table = scanner.findings;
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].valueName, L"mserv");
  EXPECT_EQ(table[0].processId, 0u);
  EXPECT_EQ(table[1].processId, server);
  EXPECT_EQ(table[1].parentPath, L"C:\\WINDOWS\\EXPLORER.EXE");
  for (const Finding& finding : table) {
    EXPECT_EQ(finding.backdoorName, L"GirlFriend");
    EXPECT_EQ(finding.filePath, L"C:\\WINDOWS\\SYSTEM\\MSERV.EXE");
  }
  EXPECT_TRUE(scanner.currentBackdoorName.empty());
}

TEST_F(WindowProbe, NeedsBothClassAndCaption) {
  const std::uint32_t id = sim.StartProcess(L"C:\\NB.EXE", 0);
  sim.ShowWindow(L"TForm", L"NetBus Server", id);
  sim.ShowWindow(L"TApplication", L"NetBus Server 2", id);
  sim.ShowWindow(L"TMainForm2", L"", id);

  scanner.FindByWindow();

  EXPECT_EQ(scanner.findings.size(), 0u);
  EXPECT_TRUE(scanner.currentBackdoorName.empty());
}

TEST_F(WindowProbe, AnyClassOrCaptionWhenItsTextIsEmpty) {
  const std::uint32_t id = sim.StartProcess(L"C:\\ANY.EXE", 0);
  sim.ShowWindow(L"SomeClass", L"Some caption", id);

  scanner.CheckWindow(L"", L"Some caption");
  scanner.CheckWindow(L"SomeClass", L"");
  scanner.CheckWindow(L"OtherClass", L"");

  ASSERT_EQ(scanner.findings.size(), 2u);
  EXPECT_EQ(scanner.findings[1].processId, id);
}

TEST_F(WindowProbe, OnWindowsNtNoParentIsLookedUp) {
  UseWindowsNt();
  const std::uint32_t parent = sim.StartProcess(L"C:\\WINDOWS\\EXPLORER.EXE", 0);
  const std::uint32_t server = sim.StartProcess(L"C:\\COMA.EXE", parent);
  sim.ShowWindow(L"ThunderRT5CommandButton", L"Test Controll", server);

  EXPECT_EQ(scanner.GetParentProcessId(server), 0u);
  scanner.FindByWindow();

  ASSERT_EQ(scanner.findings.size(), 1u);
  EXPECT_EQ(scanner.findings[0].backdoorName, L"Coma");
  EXPECT_EQ(scanner.findings[0].filePath, L"C:\\COMA.EXE");
  EXPECT_EQ(scanner.findings[0].parentPath, L"-unknown-");
}

}  // namespace
}  // namespace quellspur::testing
