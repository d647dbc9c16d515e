#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/main_window_fixture.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;

class Report : public MainWindowTest {
 protected:
  void SetUp() override { sim.SetClock({2026, 3, 1, 9, 5, 3}); }

  void AddProcessRow(const std::wstring& name, std::uint32_t id) {
    Finding& row = scanner.findings.emplace_back();
    row.backdoorName = name;
    row.filePath = L"C:\\" + name + L".EXE";
    row.processId = id;
    row.parentPath = L"-unknown-";
  }
  void AddStartRow(const std::wstring& name) {
    Finding& row = scanner.findings.emplace_back();
    row.backdoorName = name;
    row.filePath = L"C:\\" + name + L".EXE";
    row.rootKey = 0x80000001;
    row.subKey = kRunKey;
    row.valueName = L"v";
  }
};

TEST_F(Report, CleanScanGivesTwoLinesAndArmsTheTimerOnlyWithAutoScan) {
  settings.autoCheck = 1;
  sim.SetTimeSeparator(L".");
  form.FindSometing();
  EXPECT_THAT(list.lines(), ElementsAre(L"Last scan: 09.05.03",
                                        L"Your computer is clean from known running backdoors!"));
  EXPECT_TRUE(timer.Enabled());
  EXPECT_FALSE(window.Visible());
  EXPECT_TRUE(LogLines().empty());
  EXPECT_EQ(std::count(journal.entries().begin(), journal.entries().end(), L"Beep"), 0);

  list.Clear();
  timer.SetEnabled(false);
  settings.autoCheck = -1;  // anything but 1 is off
  form.FindSometing();
  EXPECT_FALSE(timer.Enabled());

  // Clicking a clean line changes nothing.
  cmdKill.SetCaption(L"&Kill Process");
  cmdKill.SetEnabled(true);
  list.SetListIndex(1);
  EXPECT_TRUE(cmdKill.Enabled());
}

TEST_F(Report, HitsAreLoggedThenListedThenTheUserIsAlerted) {
  AddStartRow(L"NetBus Pro");
  AddProcessRow(L"NetBus Pro", 40);
  timer.SetEnabled(true);
  settings.autoCheck = 1;

  form.FindSometing();

  EXPECT_THAT(list.lines(),
              ElementsAre(L"NetBus Pro Found as: C:\\NetBus Pro.EXE Start entry in: "
                          L"HKEY_CURRENT_USER Run/v",
                          L"NetBus Pro Found as: C:\\NetBus Pro.EXE Activ now, started by: "
                          L"-unknown-"));
  EXPECT_EQ(std::count(journal.entries().begin(), journal.entries().end(), L"Beep"), 1);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_THAT(LogLines(), ElementsAre("2026-03-01 09:05:03 NetBus Pro Found as: C:\\NetBus Pro.EXE "
                                      "Start entry in: HKEY_CURRENT_USER Run/v",
                                      "2026-03-01 09:05:03 NetBus Pro Found as: C:\\NetBus Pro.EXE "
                                      "Activ now, started by: -unknown-"));
  EXPECT_TRUE(window.Visible());
}

TEST_F(Report, SelectingALineOffersItsAction) {
  AddProcessRow(L"Devil", 8);
  AddStartRow(L"Devil");
  AddProcessRow(L"Coma", 12);
  form.FindSometing();

  list.SetListIndex(0);
  EXPECT_TRUE(cmdKill.Enabled());
  EXPECT_EQ(cmdKill.Caption(), L"&Kill Process");
  list.SetListIndex(1);
  EXPECT_TRUE(cmdKill.Enabled());
  EXPECT_EQ(cmdKill.Caption(), L"&Remove start");

  // A line already dealt with leaves the button disabled with the caption it had.
  scanner.findings[2].processId = 0;
  list.SetListIndex(2);
  EXPECT_FALSE(cmdKill.Enabled());
  EXPECT_EQ(cmdKill.Caption(), L"&Remove start");
}

TEST_F(Report, AutoCleanCleansEveryLineByWhatItHoldsAndThenArmsTheTimer) {
  sim.SetRegistryText(kHkcu, kRunKey, L"v", L"C:\\Millenium.EXE");
  AddStartRow(L"Millenium");
  AddProcessRow(L"Millenium", sim.StartProcess(L"C:\\Millenium.EXE", 0));
  // The window closed between its lookup and the question whose it was: nothing to act on.
  AddProcessRow(L"Millenium", 0);
  sim.PutFile(L"C:\\WINDOWS\\win.ini", "[windows]\r\nrun=-unknown-\r\n");
  settings.autoClean = 1;
  settings.autoCheck = 0;

  form.FindSometing();

  EXPECT_TRUE(list.List(0).starts_with(L"IT\u00B4S ERASED!  Millenium"));
  EXPECT_TRUE(list.List(1).starts_with(L"IT\u00B4S TERMINATED!  Millenium"));
  EXPECT_TRUE(list.List(2).starts_with(L"Millenium Found as: "));
  EXPECT_EQ(sim.FileContent(L"C:\\WINDOWS\\win.ini"), "[windows]\r\nrun=-unknown-\r\n");
  EXPECT_TRUE(sim.RegistryValues(kHkcu, kRunKey).empty());
  EXPECT_TRUE(timer.Enabled());
}

TEST_F(Report, WithoutAutoCleanTheHitsWaitForTheUser) {
  const std::uint32_t id = sim.StartProcess(L"C:\\Bubbel.EXE", 0);
  AddProcessRow(L"Bubbel", id);
  settings.autoClean = -1;
  settings.autoCheck = 1;
  form.FindSometing();
  EXPECT_TRUE(sim.Process(id).running);
  EXPECT_EQ(list.List(0), L"Bubbel Found as: C:\\Bubbel.EXE Activ now, started by: -unknown-");
  EXPECT_FALSE(timer.Enabled());
}

TEST_F(Report, ScanCommandStartsAfreshAndRestoresThePointer) {
  AddProcessRow(L"Coma", 12);
  list.AddItem(L"an old line");
  cmdKill.SetEnabled(true);
  timer.SetEnabled(true);

  form.cmdScan_Click();

  EXPECT_EQ(window.Pointer(), platform::MousePointer::Default);
  EXPECT_FALSE(cmdKill.Enabled());
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(scanner.findings.size(), 0u);
  EXPECT_THAT(list.lines(), ElementsAre(L"Last scan: 09:05:03",
                                        L"Your computer is clean from known running backdoors!"));
}

}  // namespace
}  // namespace quellspur::testing
