#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "forms/main_window_fixture.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;

// A machine with several backdoors running at once.
class WholeScan : public MainWindowTest {
 protected:
  void SetUp() override {
    sim.SetClock({2026, 12, 6, 14, 5, 9});
    const std::uint32_t loader = sim.StartProcess(L"C:\\WINDOWS\\LOADER.EXE", 0);
    sim.PutFile(L"C:\\WINDOWS\\LOADER.EXE", "MZ");

    const std::uint32_t devil = sim.StartProcess(L"C:\\WINDOWS\\SYSTEM\\KERNEL.EXE", loader);
    sim.PutFile(L"C:\\WINDOWS\\SYSTEM\\KERNEL.EXE", "MZ");
    sim.ShowWindow(L"ThunderRT5Form", L"wingenocide", devil);
    sim.ShowWindow(L"ThunderRT5Main", L"wingeno", devil);

    netbus_ = sim.StartProcess(L"C:\\NB\\NBSVR.EXE", loader);
    sim.PutFile(L"C:\\NB\\NBSVR.EXE", "MZ");
    sim.ShowWindow(L"TApplication", L"NetBus Server", netbus_);
    sim.SetRegistryText(kHkcu, kRunKey, L"NetBus", L"C:\\NB\\NBSVR.EXE");
    sim.SetRegistryText(kHklm, kRunServicesKey, L"nbsvr", L"nbsvr.exe /noadd");

    // Back Orifice, known by the blank before its ".exe" and by its size.
    sim.StartProcess(L"C:\\WINDOWS\\SYSTEM\\ .exe", loader);
    sim.SetRegistryText(kHkcu, kRunKey, L"Startup", L" .EXE");
    sim.StartProcess(L"C:\\WINDOWS\\SYSTEM\\WINDLL32.EXE", 0);
    sim.PutFile(L"C:\\WINDOWS\\SYSTEM\\WINDLL32.EXE", Image(124999, "windll32.exe"));
    sim.SetRegistryText(kHklm, kRunKey, L"Win32", L"WINDLL32.EXE");
  }

  std::uint32_t netbus_ = 0;
};

TEST_F(WholeScan, OnWindows98ListsEveryFindingInTableOrder) {
  UseWindows98();
  form.cmdScan_Click();

  const std::wstring loader = L" Activ now, started by: LOADER.EXE";
  ASSERT_THAT(
      list.lines(),
      ElementsAre(
          L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Start entry in: HKEY_LOCAL_MACHINE "
          L"RunServices/nbsvr",
          L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE Start entry in: HKEY_CURRENT_USER Run/NetBus",
          L"NetBus Pro Found as: C:\\NB\\NBSVR.EXE" + loader,
          L"Devil Found as: C:\\WINDOWS\\SYSTEM\\KERNEL.EXE" + loader,
          L"Devil Found as: C:\\WINDOWS\\SYSTEM\\KERNEL.EXE" + loader,
          L"Back Orifice Found as: C:\\WINDOWS\\SYSTEM\\ .exe Start entry in: "
          L"HKEY_CURRENT_USER Run/Startup",
          L"Back Orifice Found as: C:\\WINDOWS\\SYSTEM\\ .exe" + loader,
          L"Back Orifice Found as: C:\\WINDOWS\\SYSTEM\\WINDLL32.EXE Start entry in: "
          L"HKEY_LOCAL_MACHINE Run/Win32",
          L"Back Orifice Found as: C:\\WINDOWS\\SYSTEM\\WINDLL32.EXE Activ now, started by: "
          L"-unknown-"));

  const std::vector<std::string> logLines = LogLines();
  ASSERT_EQ(logLines.size(), 9u);
  for (std::size_t i = 0; i < logLines.size(); ++i) {
    EXPECT_EQ(logLines[i], "2026-12-06 14:05:09 " + sim.WideToAnsi(list.lines()[i]));
  }
  // The user is alerted and left to choose: nothing is cleaned without Auto Clean.
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(std::count(journal.entries().begin(), journal.entries().end(), L"Beep"), 1);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_TRUE(sim.Process(netbus_).running);
}

TEST_F(WholeScan, SelectingALineOffersItsAction) {
  UseWindowsNt();
  form.cmdScan_Click();
  list.SetListIndex(2);
  EXPECT_TRUE(cmdKill.Enabled());
  EXPECT_EQ(cmdKill.Caption(), L"&Kill Process");
  list.SetListIndex(0);
  EXPECT_TRUE(cmdKill.Enabled());
  EXPECT_EQ(cmdKill.Caption(), L"&Remove start");

  // A line already dealt with leaves the button disabled with the caption it had.
  cmdKill.Click();
  list.SetListIndex(0);
  EXPECT_FALSE(cmdKill.Enabled());
  EXPECT_EQ(cmdKill.Caption(), L"&Remove start");
}

TEST_F(WholeScan, OnWindowsNtOnlyWindowsAreFoundAndNoParent) {
  UseWindowsNt();
  form.cmdScan_Click();

  ASSERT_EQ(list.ListCount(), 5);
  for (int line : {2, 3, 4}) {
    EXPECT_TRUE(list.List(line).ends_with(L" Activ now, started by: -unknown-")) << line;
  }
  EXPECT_EQ(list.List(4),
            L"Devil Found as: C:\\WINDOWS\\SYSTEM\\KERNEL.EXE Activ now, started "
            L"by: -unknown-");
}

using CleanMachine = MainWindowTest;

// The list keeps the main window's size: a longer line is scrolled to, never cut off.
TEST_F(CleanMachine, ALineWiderThanTheListCanBeScrolledToItsEnd) {
  const std::wstring path = L"C:\\Program Files\\A folder with a long name\\NBSVR.EXE";
  sim.PutFile(path, "MZ");
  sim.ShowWindow(L"TApplication", L"NetBus Server", sim.StartProcess(path, 0));
  sim.SetRegistryText(kHkcu, kRunKey, L"NetBus Startup Value", path);
  const int listWidth = MainWindowDesign().controls[0].width;
  settings.autoClean = 1;

  form.cmdScan_Click();
  ASSERT_EQ(list.ListCount(), 2);
  EXPECT_TRUE(list.List(0).ends_with(L"Run/NetBus Startup Value"));
  EXPECT_GT(list.ScrollWidth(), listWidth);

  form.cmdScan_Click();  // nothing left: the two short lines fit
  ASSERT_EQ(list.ListCount(), 2);
  EXPECT_LT(list.ScrollWidth(), listWidth);
}

TEST_F(CleanMachine, AScanStartsAfreshAndACleanReportArmsTheTimerOnlyWithAutoScan) {
  sim.SetClock({2026, 3, 1, 9, 5, 3});
  // What an earlier scan left.
  engine.findings().emplace_back().processId = 12;
  list.AddItem(L"an old line");
  cmdKill.SetEnabled(true);
  timer.SetEnabled(true);
  settings.autoCheck = -1;  // anything but 1 is off

  form.cmdScan_Click();

  EXPECT_THAT(list.lines(), ElementsAre(L"Last scan: 09:05:03",
                                        L"Your computer is clean from known running backdoors!"));
  EXPECT_FALSE(cmdKill.Enabled());
  EXPECT_FALSE(timer.Enabled());
  EXPECT_FALSE(window.Visible());
  EXPECT_TRUE(LogLines().empty());
  EXPECT_EQ(std::count(journal.entries().begin(), journal.entries().end(), L"Beep"), 0);

  // Clicking a clean line changes nothing.
  cmdKill.SetEnabled(true);
  list.SetListIndex(1);
  EXPECT_TRUE(cmdKill.Enabled());

  settings.autoCheck = 1;
  sim.SetTimeSeparator(L".");
  form.cmdScan_Click();
  EXPECT_EQ(list.List(0), L"Last scan: 09.05.03");
  EXPECT_TRUE(timer.Enabled());
}

}  // namespace
}  // namespace quellspur::testing
