#include <gtest/gtest.h>

#include "scan/scan_fixture.h"

namespace quellspur::testing {
namespace {

using WindowProbe = ScanTest;

// Every known window as its backdoor shows it.
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
  UseWindows98();
  for (const KnownWindow& known : kKnownWindows) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(known.caption)));
    const std::uint32_t id = sim.StartProcess(L"C:\\SERVER.EXE", 0);
    // Its caption one letter longer, or on another class, belongs to some other program.
    const platform::WindowHandle longer =
        sim.ShowWindow(known.windowClass, std::wstring(known.caption) + L"s", id);
    const platform::WindowHandle otherClass = sim.ShowWindow(L"Other", known.caption, id);
    scanner.FindByWindow();
    EXPECT_TRUE(scanner.TakeFindings().empty());

    const platform::WindowHandle window = sim.ShowWindow(known.windowClass, known.caption, id);
    scanner.FindByWindow();
    const Findings found = scanner.TakeFindings();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].backdoorName, known.backdoor);
    EXPECT_EQ(found[0].processId, id);
    sim.CloseWindow(window);
    sim.CloseWindow(longer);
    sim.CloseWindow(otherClass);
  }
}

}  // namespace
}  // namespace quellspur::testing
