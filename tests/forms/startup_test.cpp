#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "forms/frm_about.h"
#include "forms/main_window_fixture.h"
#include "forms/quellspur_app.h"
#include "scan/scan_fixture.h"
#include "settings/settings_store.h"
#include "testing/sim_toolkit.h"
#include "version/version.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::Field;

class StartUp : public MachineTest {
 protected:
  std::uint32_t StartBackdoor() {
    const std::uint32_t id = sim.StartProcess(L"C:\\WINDOWS\\SYSTEM\\NBSVR.EXE", 0);
    sim.ShowWindow(L"TApplication", L"NetBus Server", id);
    return id;
  }
  // Starts the program from the command line and confirms its splash.
  void StartAndConfirm(
      const std::wstring& commandLine = L"\"C:\\Program Files\\Quellspur\\Quellspur.exe\"") {
    sim.SetCommandLine(commandLine);
    app.Form_Load();
    splash()->SimButtonNamed(L"cmdOk").Click();
  }
  platform::sim::SimForm* main() { return toolkit.FormNamed(L"frmStat"); }
  platform::sim::SimForm* splash() { return toolkit.FormNamed(L"frmSplash"); }
  platform::sim::SimListBox& list() { return main()->SimListBoxNamed(L"List"); }
  platform::sim::SimTimer& timer() { return main()->SimTimerNamed(L"Timer1"); }
  platform::sim::SimTrayWindow& tray() { return *toolkit.tray(); }
  long JournalCount(const std::wstring& entry) {
    return std::count(journal.entries().begin(), journal.entries().end(), entry);
  }

  platform::sim::Journal journal;
  platform::sim::SimToolkit toolkit{journal};
  QuellspurApp app{sim, toolkit};
};

TEST_F(StartUp, TheSplashWaitsForItsOkWithTheMainWindowHiddenUnlessTheSessionEnds) {
  sim.SetWindowsDirectory(L"C:\\" + std::wstring(300, L'w'));
  app.Form_Load();
  ASSERT_NE(splash(), nullptr);
  EXPECT_TRUE(splash()->Visible());
  EXPECT_EQ(splash()->SimLabelNamed(L"lblVersion").Caption(), kVersionText);
  EXPECT_EQ(splash()->window().left(), 1024 * 15 / 2 - splash()->Width() / 2);
  EXPECT_EQ(main()->Caption(), L"Orvanta Quellspur " + kVersionText);
  EXPECT_FALSE(main()->Visible());
  EXPECT_EQ(app.engine().windowsFolder(), L"C:\\" + std::wstring(300, L'w') + L"\\");
  EXPECT_EQ(app.engine().windowsPlatform(), WindowsPlatform::Nt);
  EXPECT_EQ(toolkit.tray(), nullptr);

  splash()->AskToClose(platform::CloseReason::User);  // Alt+F4
  ASSERT_NE(splash(), nullptr);
  EXPECT_TRUE(splash()->Visible());
  EXPECT_FALSE(toolkit.ended());

  splash()->AskToClose(platform::CloseReason::EndOfSession);
  EXPECT_EQ(splash(), nullptr);
  EXPECT_EQ(main(), nullptr);
  EXPECT_TRUE(toolkit.ended());
}

// A second copy says so and ends before it makes a window of its own or reads anything.
TEST_F(StartUp, ASecondCopySaysSoAndEndsWithoutAWindow) {
  sim.TakeMutex(L"Orvanta.Quellspur.Instance");
  SaveSettings(sim, {1, 1, 1});
  const std::uint32_t netbus = StartBackdoor();
  app.Form_Load();
  const auto& shown = toolkit.simDesktop().shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, L"Quellspur are alredy running.");
  EXPECT_EQ(shown[0].caption, L"Quellspur");
  EXPECT_EQ(shown[0].style, platform::kMbOkExclamation);
  EXPECT_EQ(splash(), nullptr);
  EXPECT_EQ(main(), nullptr);
  EXPECT_EQ(toolkit.tray(), nullptr);
  EXPECT_TRUE(toolkit.ended());
  EXPECT_TRUE(sim.Process(netbus).running);
  EXPECT_FALSE(sim.FileExists(kLogPath));
}

// A command line, and whether it keeps the window hidden.
using CommandLine = std::pair<std::wstring, bool>;
class BootSwitch : public StartUp, public ::testing::WithParamInterface<CommandLine> {};

TEST_P(BootSwitch, OnlyASwitchAfterTheProgramsNameKeepsTheWindowHidden) {
  SaveSettings(sim, {0, 0, 0});
  StartBackdoor();
  StartAndConfirm(GetParam().first);
  EXPECT_EQ(main()->Visible(), !GetParam().second);
  EXPECT_EQ(list().ListCount(), 0);  // without Auto Scan nothing is scanned
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, BootSwitch,
    ::testing::Values(CommandLine{L"\"C:\\Program Files\\Quellspur\\Quellspur.exe\" /boot", true},
                      CommandLine{L"Quellspur.exe /boot", true},
                      CommandLine{L"Quellspur.exe /BOOT", false},
                      CommandLine{L"C:/boot/Quellspur.exe", false},
                      CommandLine{L"\"C:\\Tools /boot\\Quellspur.exe\"", false}));

TEST_F(StartUp, TheFirstStartShowsTheOptionsAndScansNothing) {
  StartBackdoor();
  StartAndConfirm(L"Quellspur.exe /boot");
  EXPECT_TRUE(main()->Visible());
  ASSERT_NE(toolkit.FormNamed(L"frmOpti"), nullptr);
  EXPECT_EQ(toolkit.FormNamed(L"frmOpti")->SimCheckBoxNamed(L"chkCheck").Value(), 1);
  EXPECT_EQ(list().ListCount(), 0);
}

TEST_F(StartUp, BootOnACleanMachineStaysInTheTrayAndTheTimerRescansUntilAFinding) {
  SaveSettings(sim, {1, 0, 0});
  StartAndConfirm(L"Quellspur.exe /boot");
  EXPECT_FALSE(main()->Visible());
  EXPECT_EQ(list().ListCount(), 2);
  EXPECT_EQ(splash(), nullptr);
  ASSERT_NE(toolkit.tray(), nullptr);
  // The notification area shows the program's icon with its tip.
  ASSERT_EQ(toolkit.trayIcons().size(), 1u);
  const std::string& tip = toolkit.trayIcons()[0].tip;
  EXPECT_EQ(tip.substr(0, tip.find('\0')), "Orvanta Quellspur");
  EXPECT_EQ(toolkit.trayIcons()[0].icon, main()->IconHandle());
  ASSERT_TRUE(timer().Enabled());
  EXPECT_EQ(timer().Interval(), 20000);

  sim.SetClock({2026, 12, 6, 9, 0, 20});
  timer().Elapse();
  EXPECT_EQ(list().List(0), L"Last scan: 09:00:20");
  EXPECT_TRUE(timer().Enabled());
  EXPECT_FALSE(main()->Visible());

  const std::uint32_t netbus = StartBackdoor();
  timer().Elapse();
  EXPECT_TRUE(list().List(0).starts_with(L"NetBus Pro Found as: "));
  EXPECT_TRUE(main()->Visible());
  EXPECT_FALSE(timer().Enabled());
  timer().Elapse();  // off: no scan
  EXPECT_TRUE(list().List(0).starts_with(L"NetBus Pro Found as: "));

  // Switching Auto Scan off does not stop a running timer; the next clean report leaves it off.
  main()->SimButtonNamed(L"cmdHide").Click();
  EXPECT_TRUE(timer().Enabled());
  app.settings().autoCheck = 0;
  sim.EndProcess(netbus, 0);
  timer().Elapse();
  EXPECT_EQ(list().ListCount(), 2);
  EXPECT_FALSE(timer().Enabled());
}

TEST_F(StartUp, CloseBoxAndHideKeepItInTheTrayWhileTheTaskListEndsIt) {
  SaveSettings(sim, {1, 0, 0});
  StartAndConfirm();
  timer().SetEnabled(false);
  main()->AskToClose(platform::CloseReason::User);
  EXPECT_NE(main(), nullptr);
  EXPECT_FALSE(main()->Visible());
  EXPECT_TRUE(timer().Enabled());

  app.settings().autoCheck = 0;
  timer().SetEnabled(false);
  main()->Show();
  main()->SimButtonNamed(L"cmdHide").Click();
  EXPECT_FALSE(main()->Visible());
  EXPECT_FALSE(timer().Enabled());

  // The task list ends it.
  main()->AskToClose(platform::CloseReason::OtherProgram);
  EXPECT_EQ(JournalCount(L"Shell_NotifyIconA 2"), 1);
  EXPECT_EQ(main(), nullptr);
  EXPECT_TRUE(toolkit.ended());
}

TEST_F(StartUp, ASecondOkDuringTheStartUpScanIsIgnored) {
  SaveSettings(sim, {1, 0, 0});
  StartBackdoor();
  // Looking through the start values gives the window system its turn every 16 values, once the
  // interval has passed.
  sim.SetRegistryText(kHkcu, kRunKey, L"NetBus", L"NBSVR.EXE");
  for (int other = 1; other < 16; ++other) {
    sim.SetRegistryText(kHkcu, kRunKey, L"Tool " + std::to_wstring(other), L"TOOL.EXE");
  }
  sim.SetCommandLine(L"Quellspur.exe /boot");
  app.Form_Load();
  platform::sim::SimButton& ok = splash()->SimButtonNamed(L"cmdOk");
  int clicks = 0;
  toolkit.simPump().OnTurn([&] {
    if (clicks++ == 0) {
      ok.Click();
    }
  });
  ok.Click();
  toolkit.simPump().OnTurn(nullptr);
  EXPECT_GT(clicks, 0);
  EXPECT_EQ(JournalCount(L"Shell_NotifyIconA 0"), 1);
  // The start value and the process, once; a finding shows the window despite the switch.
  ASSERT_EQ(list().ListCount(), 2);
  EXPECT_TRUE(list().List(1).starts_with(L"NetBus Pro Found as: "));
  EXPECT_TRUE(main()->Visible());
  EXPECT_FALSE(timer().Enabled());
}

TEST_F(StartUp, TheTrayIconOpensTheMenuAndTheWindow) {
  SaveSettings(sim, {0, 0, 0});
  StartAndConfirm(L"Quellspur.exe /boot");

  tray().Notify(0x201);  // a left click does nothing
  tray().Notify(0x202);
  EXPECT_FALSE(main()->Visible());
  tray().Notify(0x206);  // a double click with either button shows the window in front
  EXPECT_TRUE(main()->Visible());
  EXPECT_EQ(journal.entries().back(), L"frmStat.BringToFront");

  main()->Hide();
  tray().ChooseFromMenu(1);
  tray().Notify(0x204);
  EXPECT_THAT(tray().lastMenu, ElementsAre(Field(&platform::PopupItem::caption, L"Open Quellspur"),
                                           Field(&platform::PopupItem::caption, L"Options"),
                                           Field(&platform::PopupItem::caption, L"Quarantine..."),
                                           Field(&platform::PopupItem::caption, L"-"),
                                           Field(&platform::PopupItem::caption, L"Exit")));
  EXPECT_EQ(tray().lastDefault, 0);
  ASSERT_NE(toolkit.FormNamed(L"frmOpti"), nullptr);
  tray().ChooseFromMenu(0);
  tray().Notify(0x204);
  EXPECT_TRUE(main()->Visible());

  app.m_frmSysTray_MenuClick(3, L"");  // the separator's empty key does nothing
  EXPECT_FALSE(toolkit.ended());
  tray().ChooseFromMenu(4);
  tray().Notify(0x204);
  EXPECT_TRUE(toolkit.ended());
  EXPECT_EQ(toolkit.tray(), nullptr);
  EXPECT_EQ(main(), nullptr);
}

TEST_F(StartUp, TheAboutBoxOpensCentredEachTimeAndExitRemovesTheIconAndEnds) {
  SaveSettings(sim, {0, 0, 0});
  StartAndConfirm();
  for (int opening = 0; opening < 2; ++opening) {
    main()->SimMenuItemNamed(L"mnuHelpAbout").Click();
    platform::sim::SimForm* about = toolkit.FormNamed(L"frmAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->Visible());
    EXPECT_EQ(about->Caption(), L"About Quellspur");
    EXPECT_EQ(about->window().left(), 1024 * 15 / 2 - about->Width() / 2);
    EXPECT_EQ(about->window().top(), 768 * 15 / 2 - about->Height() / 2);
    EXPECT_EQ(about->SimLabelNamed(L"lblVersion").Caption(), kVersionText);
    EXPECT_EQ(about->SimLabelNamed(L"lbDescript").Caption(),
              L"Se the readme file for information.\n\rIf you experience any problems feel free "
              L"to send a e-mail to: support@orvanta.example, subject \"Quellspur " +
                  kVersionText + L"\".");
    EXPECT_EQ(about->SimLabelNamed(L"lbWarning").Caption(), kAboutNotice);
    about->SimButtonNamed(L"cmdOk").Click();
    EXPECT_EQ(toolkit.FormNamed(L"frmAbout"), nullptr);
  }
  main()->SimMenuItemNamed(L"mnuFileExit").Click();
  EXPECT_EQ(JournalCount(L"Shell_NotifyIconA 2"), 1);
  EXPECT_TRUE(toolkit.ended());
}

// Another program holds the activity log's lock while the start-up scan finds and cleans NetBus:
// the window never waits for it (the simulated clock moves only while something waits), and its
// timer writes every line, once and in order, when the lock goes. Lines still kept at the end get
// a last wait, once the window is gone.
TEST_F(StartUp, ALockedLogNeverHoldsTheWindowAndEveryLineArrivesOnceTheLockGoes) {
  const std::wstring server = L"C:\\WINDOWS\\SYSTEM\\NBSVR.EXE";
  SaveSettings(sim, {1, 1, 1});
  const std::uint32_t netbus = StartBackdoor();
  sim.PutFile(server, "MZ");
  sim.SetRegistryText(kHkcu, kRunKey, L"NetBus", server);
  sim.SetSteadyClockStep(0);
  sim.HoldFileLock(kLogPath);
  StartAndConfirm();
  EXPECT_EQ(sim.SteadyMicroseconds(), 0u);
  EXPECT_FALSE(sim.Process(netbus).running);
  EXPECT_FALSE(sim.FileExists(server));
  EXPECT_EQ(sim.FileContent(kLogPath), "");
  platform::sim::SimTimer& logTimer = main()->SimTimerNamed(L"tmrLog");
  toolkit.LetTimePass(1500);
  EXPECT_EQ(sim.FileContent(kLogPath), "");
  EXPECT_TRUE(logTimer.Enabled());

  sim.ReleaseFileLock(kLogPath);
  toolkit.LetTimePass(500);
  const std::string found =
      "2026-01-01 12:00:00 NetBus Pro Found as: C:\\WINDOWS\\SYSTEM\\NBSVR.EXE ";
  EXPECT_THAT(LogLines(sim),
              ElementsAre(found + "Start entry in: HKEY_CURRENT_USER Run/NetBus",
                          found + "Activ now, started by: -unknown-",
                          "2026-01-01 12:00:00 Removing start in registry: HKEY_CURRENT_USER\\" +
                              sim.WideToAnsi(kRunKey) + ",NetBus",
                          "2026-01-01 12:00:00 Moving: C:\\WINDOWS\\SYSTEM\\NBSVR.EXE to: "
                          "C:\\Program Files\\Quellspur\\BackDoors\\NBSVR.EXE.Backdoor"));
  EXPECT_FALSE(logTimer.Enabled());
  EXPECT_EQ(sim.SteadyMicroseconds(), 0u);

  sim.HoldFileLock(kLogPath);
  StartBackdoor();
  main()->SimButtonNamed(L"cmdScan").Click();
  EXPECT_EQ(LogLines(sim).size(), 4u);
  sim.HoldFileLock(kLogPath, 600'000);
  main()->SimMenuItemNamed(L"mnuFileExit").Click();
  EXPECT_TRUE(toolkit.ended());
  EXPECT_EQ(sim.SteadyMicroseconds(), 600'000u);
  ASSERT_EQ(LogLines(sim).size(), 5u);
  EXPECT_EQ(LogLines(sim)[4], found + "Activ now, started by: -unknown-");
}

}  // namespace
}  // namespace quellspur::testing
