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

TEST_F(Report, AScanStartsAfreshAndACleanReportArmsTheTimerOnlyWithAutoScan) {
  AddProcessRow(L"Coma", 12);
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

}  // namespace
}  // namespace quellspur::testing
