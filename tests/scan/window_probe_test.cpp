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

  backdoors.FindByWindow();

  const FoundTable& table = backdoors.foundTable;
  ASSERT_EQ(table.LastIndex(), 2u);
  EXPECT_EQ(table[1].ValueName, L"mserv");
  EXPECT_EQ(table[1].ProcessId, 0u);
  EXPECT_EQ(table[2].ProcessId, server);
  EXPECT_EQ(table[2].ParentPath, L"C:\\WINDOWS\\EXPLORER.EXE");
  for (std::size_t row : {1u, 2u}) {
    EXPECT_EQ(table[row].BackdoorName, L"GirlFriend");
    EXPECT_EQ(table[row].FilePath, L"C:\\WINDOWS\\SYSTEM\\MSERV.EXE");
  }
  EXPECT_TRUE(backdoors.currentBackdoorName.empty());
}

TEST_F(WindowProbe, NeedsBothClassAndCaption) {
  const std::uint32_t id = sim.StartProcess(L"C:\\NB.EXE", 0);
  sim.ShowWindow(L"TForm", L"NetBus Server", id);
  sim.ShowWindow(L"TApplication", L"NetBus Server 2", id);
  sim.ShowWindow(L"TMainForm2", L"", id);

  backdoors.FindByWindow();

  EXPECT_EQ(backdoors.foundTable.LastIndex(), 0u);
  EXPECT_TRUE(backdoors.currentBackdoorName.empty());
}

TEST_F(WindowProbe, AnyClassOrCaptionWhenItsTextIsEmpty) {
  const std::uint32_t id = sim.StartProcess(L"C:\\ANY.EXE", 0);
  sim.ShowWindow(L"SomeClass", L"Some caption", id);

  backdoors.CheckWindow(L"", L"Some caption");
  backdoors.CheckWindow(L"SomeClass", L"");
  backdoors.CheckWindow(L"OtherClass", L"");

  ASSERT_EQ(backdoors.foundTable.LastIndex(), 2u);
  EXPECT_EQ(backdoors.foundTable[2].ProcessId, id);
}

TEST_F(WindowProbe, OnWindowsNtNoParentIsLookedUp) {
  UseWindowsNt();
  const std::uint32_t parent = sim.StartProcess(L"C:\\WINDOWS\\EXPLORER.EXE", 0);
  const std::uint32_t server = sim.StartProcess(L"C:\\COMA.EXE", parent);
  sim.ShowWindow(L"ThunderRT5CommandButton", L"Test Controll", server);

  EXPECT_EQ(backdoors.GetParentProcessId(server), 0u);
  backdoors.FindByWindow();

  ASSERT_EQ(backdoors.foundTable.LastIndex(), 1u);
  EXPECT_EQ(backdoors.foundTable[1].BackdoorName, L"Coma");
  EXPECT_EQ(backdoors.foundTable[1].FilePath, L"C:\\COMA.EXE");
  EXPECT_EQ(backdoors.foundTable[1].ParentPath, L"-unknown-");
}

}  // namespace
}  // namespace quellspur::testing
