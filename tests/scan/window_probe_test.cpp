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

// Every known window as its backdoor shows it, in the order they are looked for.
struct KnownWindow {
  const wchar_t* backdoor;
  const wchar_t* windowClass;
  const wchar_t* caption;
};
constexpr KnownWindow kKnownWindows[] = {
    {L"NetBus ver. 1.2", L"TMainForm", L"NetBus 1.2, by cf"},
    {L"NetBus", L"TMainForm2", L"MainForm2"},
    {L"NetBus Pro", L"TApplication", L"NetBus Server"},
    {L"Master's Paradise", L"TApplication", L"Master's Paradise Agent"},
    {L"GirlFriend", L"TApplication", L"MServ"},
    {L"Deep Throat", L"TApplication", L"System32"},
    {L"NetSpy", L"Tmain", L"SysProtect"},
    {L"Sockets 2.5", L"TApplication", L"MSchv32"},
    {L"PhAse zerO", L"Tx", L"x"},
    {L"BackDoor 2.3", L"ThunderRT6FormDC", L"Yo LaMeR!!!"},
    {L"StealthSpy", L"TelSrvApp", L"TelNet Server"},
    {L"ACiDShivers", L"ThunderRT5Form", L"ACiDShivers"},
    {L"TeLeCoMMaNDo", L"TApplication", L"Windows System"},
    {L"Millenium", L"ThunderRT5Form", L"System Update"},
    {L"Gate Crasher", L"ThunderRT6Main", L"Inet.drv"},
    {L"Bubbel", L"ThunderRT5Main", L"bubbel"},
    {L"Silencer", L"ThunderRT5Main", L"Priority Server"},
    {L"Coma", L"ThunderRT5CommandButton", L"Test Controll"},
    {L"Shadow Phyre", L"ThunderRT5Form", L"Nuke Detector Pro."},
    {L"SubSeven", L"TForm2", L"chat"},
    {L"Executor", L"TStatusBar", L"Welcome to Executer 1. Have a nice day!"},
    {L"Devil", L"ThunderRT5Main", L"wingeno"},
    {L"Devil", L"ThunderRT5Form", L"wingenocide"},
    {L"Devil", L"ThunderRT5Main", L"Kernell32"},
};

TEST_F(WindowProbe, KnowsEachBackdoorByItsExactWindowAndNothingElse) {
  for (const KnownWindow& known : kKnownWindows) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(known.caption)));
    const std::uint32_t id = sim.StartProcess(L"C:\\SERVER.EXE", 0);
    // The same window with a caption one letter longer belongs to some other program.
    const platform::WindowHandle near =
        sim.ShowWindow(known.windowClass, std::wstring(known.caption) + L"s", id);
    scanner.findings.clear();
    scanner.FindByWindow();
    EXPECT_TRUE(scanner.findings.empty());

    const platform::WindowHandle window = sim.ShowWindow(known.windowClass, known.caption, id);
    scanner.FindByWindow();
    ASSERT_EQ(scanner.findings.size(), 1u);
    EXPECT_EQ(scanner.findings[0].backdoorName, known.backdoor);
    EXPECT_EQ(scanner.findings[0].processId, id);
    sim.CloseWindow(window);
    sim.CloseWindow(near);
  }
  // All of them at once are found in their order.
  for (const KnownWindow& known : kKnownWindows) {
    sim.ShowWindow(known.windowClass, known.caption, sim.StartProcess(L"C:\\SERVER.EXE", 0));
  }
  scanner.findings.clear();
  scanner.FindByWindow();
  ASSERT_EQ(scanner.findings.size(), std::size(kKnownWindows));
  for (std::size_t i = 0; i < std::size(kKnownWindows); ++i) {
    EXPECT_EQ(scanner.findings[i].backdoorName, kKnownWindows[i].backdoor) << i;
  }
}

}  // namespace
}  // namespace quellspur::testing
