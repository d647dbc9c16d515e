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
    FoundEntry& row = backdoors.foundTable[backdoors.foundTable.Append()];
    row.BackdoorName = name;
    row.FilePath = L"C:\\" + name + L".EXE";
    row.ProcessId = id;
    row.ParentPath = L"-unknown-";
  }
  void AddStartRow(const std::wstring& name) {
    FoundEntry& row = backdoors.foundTable[backdoors.foundTable.Append()];
    row.BackdoorName = name;
    row.FilePath = L"C:\\" + name + L".EXE";
    row.RootKey = 0x80000001;
    row.SubKey = kRunKey;
    row.ValueName = L"v";
  }
};

TEST_F(Report, CleanScanGivesTwoLinesAndArmsTheTimerOnlyWithAutoScan) {
  settings.AutoCheck = 1;
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
  settings.AutoCheck = -1;  // anything but 1 is off
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
  settings.AutoCheck = 1;
  sim.RecordAppendsIn(journal);
  journal.Clear();

  form.FindSometing();

  const std::wstring start =
      L"NetBus Pro Found as: C:\\NetBus Pro.EXE Start entry in: HKEY_CURRENT_USER Run/v";
  const std::wstring process =
      L"NetBus Pro Found as: C:\\NetBus Pro.EXE Activ now, started by: -unknown-";
  EXPECT_THAT(journal.entries(),
              ElementsAre(L"Append BackLog.txt", L"List.AddItem " + start + L" at 0",
                          L"Append BackLog.txt", L"List.AddItem " + process + L" at 1", L"Beep",
                          L"frmStat.Show", L"Timer1.Enabled=0"));
  EXPECT_THAT(LogLines(), ElementsAre("2026-03-01 09:05:03 NetBus Pro Found as: C:\\NetBus Pro.EXE "
                                      "Start entry in: HKEY_CURRENT_USER Run/v",
                                      "2026-03-01 09:05:03 NetBus Pro Found as: C:\\NetBus Pro.EXE "
                                      "Activ now, started by: -unknown-"));
  EXPECT_TRUE(window.Visible());
  EXPECT_TRUE(cleanUp.runs.empty());
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
  backdoors.foundTable[3].ProcessId = 0;
  list.SetListIndex(2);
  EXPECT_FALSE(cmdKill.Enabled());
  EXPECT_EQ(cmdKill.Caption(), L"&Remove start");
}

TEST_F(Report, AutoCleanCleansEveryLineInOrderAndThenArmsTheTimer) {
  AddStartRow(L"Millenium");
  AddProcessRow(L"Millenium", 16);
  AddProcessRow(L"Bubbel", 20);
  settings.AutoClean = 1;
  settings.AutoCheck = 0;

  form.FindSometing();

  EXPECT_THAT(cleanUp.runs,
              ElementsAre(L"0 &Remove start", L"1 &Kill Process", L"2 &Kill Process"));
  EXPECT_TRUE(timer.Enabled());
}

TEST_F(Report, WithoutAutoCleanTheHitsWaitForTheUser) {
  AddProcessRow(L"Bubbel", 20);
  settings.AutoClean = -1;
  settings.AutoCheck = 1;
  form.FindSometing();
  EXPECT_TRUE(cleanUp.runs.empty());
  EXPECT_FALSE(timer.Enabled());
}

TEST_F(Report, ScanCommandStartsAfreshAndRestoresThePointer) {
  AddProcessRow(L"Coma", 12);
  list.AddItem(L"an old line");
  cmdKill.SetEnabled(true);
  timer.SetEnabled(true);
  journal.Clear();

  form.cmdScan_Click();

  const auto& entries = journal.entries();
  ASSERT_GE(entries.size(), 6u);
  EXPECT_THAT(std::vector<std::wstring>(entries.begin(), entries.begin() + 4),
              ElementsAre(L"Timer1.Enabled=0", L"frmStat.MousePointer=11", L"cmdKill.Enabled=0",
                          L"List.Clear"));
  EXPECT_EQ(entries.back(), L"frmStat.MousePointer=0");
  EXPECT_EQ(backdoors.foundTable.LastIndex(), 0u);
  EXPECT_THAT(list.lines(), ElementsAre(L"Last scan: 09:05:03",
                                        L"Your computer is clean from known running backdoors!"));
}

}  // namespace
}  // namespace quellspur::testing
