// The quarantine window of the tray program: what the clean-ups recorded, newest first, and the
// way back from it, as the user sees it in the window and finds it on the machine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "forms/quellspur_app.h"
#include "scan/scan_fixture.h"
#include "settings/settings_store.h"
#include "support/cleaned_scene.h"
#include "support/quarantine_paths.h"
#include "testing/sim_toolkit.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class QuarantineWindow : public MachineTest {
 protected:
  // The program started with the scene running and Auto Clean on: its first scan cleans it all.
  void StartAndCleanAt(const platform::LocalTime& time) {
    BuildScene(sim);
    sim.SetRegistryText(kHklm, kSettingsKey, L"AutoCheck", L" 1");
    sim.SetRegistryText(kHklm, kSettingsKey, L"AutoClean", L" 1");
    sim.SetClock(time);
    app.Form_Load();
    toolkit.FormNamed(L"frmSplash")->SimButtonNamed(L"cmdOk").Click();
  }
  // NetBus is back, and the main window's scan cleans it again.
  void NetBusAgainAt(const platform::LocalTime& time) {
    sim.SetClock(time);
    sim.PutFile(L"C:\\NB\\NBSVR.EXE", "netbus, installed again");
    sim.ShowWindow(L"TApplication", L"NetBus Server", sim.StartProcess(L"C:\\NB\\NBSVR.EXE", 0));
    app.frmStat().cmdScan_Click();
  }
  platform::sim::SimForm& window() { return *toolkit.FormNamed(L"frmQuarantine"); }
  platform::sim::SimColumnList& list() { return window().SimColumnListNamed(L"lstChanges"); }
  platform::sim::SimButton& button(const std::wstring& name) {
    return window().SimButtonNamed(name);
  }
  platform::sim::SimDesktop& desktop() { return toolkit.simDesktop(); }
  // The rows whose cells hold the text.
  std::vector<int> RowsWith(const std::wstring& text) {
    std::vector<int> found;
    const std::vector<std::wstring> rows = list().Rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
      if (rows[row].find(text) != std::wstring::npos) {
        found.push_back(static_cast<int>(row));
      }
    }
    return found;
  }
  void Select(const std::wstring& text) {
    for (const int row : RowsWith(text)) {
      list().SetSelected(row, true);
    }
  }
  std::wstring LastMessage() {
    return desktop().shown().empty() ? L"" : desktop().shown().back().text;
  }

  platform::sim::Journal journal;
  platform::sim::SimToolkit toolkit{journal};
  QuellspurApp app{sim, toolkit};
};

TEST_F(QuarantineWindow, ListsEveryChangeNewestFirstWithTheCopiesNoRecordNamesLast) {
  StartAndCleanAt({2026, 1, 1, 12, 0, 0});
  NetBusAgainAt({2026, 1, 1, 13, 30, 5});
  sim.PutFile(InQuarantine(L"OLD.EXE.Backdoor"), "from an earlier version");
  app.mnuFileQuar_Click();

  ASSERT_TRUE(window().Visible());
  EXPECT_EQ(window().Caption(), L"Quarantine");
  const std::vector<std::wstring> rows = list().Rows();
  ASSERT_EQ(rows.size(), 10u);  // eight changes, the second NetBus file, the old copy
  EXPECT_THAT(rows[0], StartsWith(L"2026-01-01 13:30:05 +00:00 | NetBus Pro | "));
  EXPECT_EQ(rows[0],
            L"2026-01-01 13:30:05 +00:00 | NetBus Pro | file moved into quarantine | "
            L"C:\\NB\\NBSVR.EXE | quarantined");
  EXPECT_THAT(rows[1], StartsWith(L"2026-01-01 12:00:00 +00:00 | "));
  EXPECT_THAT(rows, ::testing::Contains(L"2026-01-01 12:00:00 +00:00 | Millenium | win.ini lines "
                                        L"taken out | C:\\WINDOWS\\win.ini, lines 2, 4 | removed"));
  EXPECT_THAT(rows, ::testing::Contains(
                        L"2026-01-01 12:00:00 +00:00 | Millenium | start value removed | "
                        L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run, "
                        L"mil | removed"));
  EXPECT_EQ(rows[9], L" |  | copy without a record | OLD.EXE.Backdoor | unrecorded");
  EXPECT_EQ(window().SimLabelNamed(L"lblStatus").Caption(), L"");

  // The time's header turns the order round; another column sorts by its text.
  list().ClickHeader(FrmQuarantine::kTime);
  EXPECT_THAT(list().Rows()[0], StartsWith(L" |  | copy without a record"));
  EXPECT_THAT(list().Rows()[9], StartsWith(L"2026-01-01 13:30:05 +00:00 | NetBus Pro | "));
  // Turned round again, it is the first listing, the changes of the same second included.
  list().ClickHeader(FrmQuarantine::kTime);
  EXPECT_EQ(list().Rows(), rows);
  list().ClickHeader(FrmQuarantine::kBackdoor);
  EXPECT_THAT(list().Rows()[0], HasSubstr(L" |  | copy without a record"));
  EXPECT_THAT(list().Rows()[1], HasSubstr(L" | Millenium |"));
  EXPECT_THAT(list().Rows()[9], HasSubstr(L" | NetBus Pro |"));

  // A second request, from the tray menu's item after Options, brings the one window forward.
  platform::sim::SimForm* const open = &window();
  toolkit.tray()->ChooseFromMenu(2);
  toolkit.tray()->Notify(0x204);  // the right button
  EXPECT_EQ(toolkit.tray()->lastMenu[2].caption, L"Quarantine...");
  EXPECT_EQ(toolkit.FormNamed(L"frmQuarantine"), open);
  EXPECT_EQ(journal.entries().back(), L"frmQuarantine.BringToFront");
}

TEST_F(QuarantineWindow, RestoresTheSelectedChangesAndSaysPerChangeWhatHappened) {
  StartAndCleanAt({2026, 1, 1, 12, 0, 0});
  sim.PutFile(L"C:\\NB\\NBSVR.EXE", "the user's new program");
  app.mnuFileQuar_Click();
  EXPECT_FALSE(button(L"cmdRestore").Enabled());
  EXPECT_FALSE(button(L"cmdRestoreTo").Enabled());
  Select(L"C:\\NB\\NBSVR.EXE |");
  Select(L"C:\\MIL\\MSWINDS.EXE |");
  Select(L", mil |");
  ASSERT_TRUE(button(L"cmdRestore").Enabled());

  desktop().AnswerNextMessageBox(platform::kIdNo);
  button(L"cmdRestore").Click();
  EXPECT_EQ(LastMessage(), L"Restore 3 changes that the clean-up made, newest first?");
  EXPECT_FALSE(sim.FileExists(L"C:\\MIL\\MSWINDS.EXE"));

  button(L"cmdRestore").Click();
  EXPECT_EQ(sim.FileContent(L"C:\\MIL\\MSWINDS.EXE"), "millenium");
  EXPECT_EQ(sim.FileContent(L"C:\\NB\\NBSVR.EXE"), "the user's new program");
  EXPECT_TRUE(ValuePresent(sim, SceneValues()[3]));
  EXPECT_EQ(desktop().shown().back().style, platform::kMbOkExclamation);
  EXPECT_THAT(LastMessage(), StartsWith(L"Restored 2 of 3 changes:\n"));
  EXPECT_THAT(LastMessage(), HasSubstr(L"\nNetBus Pro: not restored: C:\\NB\\NBSVR.EXE exists "
                                       L"already"));
  EXPECT_THAT(LastMessage(), HasSubstr(L"\nMillenium: restored C:\\MIL\\MSWINDS.EXE"));

  // The list is read again: the states, and nothing selected.
  EXPECT_THAT(list().Rows()[RowsWith(L"C:\\MIL\\MSWINDS.EXE |")[0]],
              ::testing::EndsWith(L"| restored"));
  EXPECT_THAT(list().Rows()[RowsWith(L", mil |")[0]], ::testing::EndsWith(L"| restored"));
  EXPECT_THAT(list().Rows()[RowsWith(L"C:\\NB\\NBSVR.EXE |")[0]],
              ::testing::EndsWith(L"| quarantined"));
  EXPECT_FALSE(button(L"cmdRestore").Enabled());
  Select(L"C:\\MIL\\MSWINDS.EXE |");
  EXPECT_FALSE(button(L"cmdRestore").Enabled());  // restored before
}

// While the question waits, the timer's scan cleans NetBus again and the window reads the record
// anew: the restore still puts back what was chosen.
TEST_F(QuarantineWindow, ACleanUpWhileTheQuestionWaitsChangesNotWhatIsRestored) {
  StartAndCleanAt({2026, 1, 1, 12, 0, 0});
  app.mnuFileQuar_Click();
  Select(L"C:\\MIL\\MSWINDS.EXE |");
  desktop().WhileNextMessageBoxWaits([this] { NetBusAgainAt({2026, 1, 1, 12, 30, 0}); });
  button(L"cmdRestore").Click();
  EXPECT_EQ(sim.FileContent(L"C:\\MIL\\MSWINDS.EXE"), "millenium");
  EXPECT_THAT(LastMessage(), StartsWith(L"Restored 1 of 1 change:\n"));
  ASSERT_EQ(list().RowCount(), 9);
  EXPECT_THAT(list().Rows()[0], StartsWith(L"2026-01-01 12:30:00 +00:00 | NetBus Pro"));
}

TEST_F(QuarantineWindow, ARecordOthersMayChangeIsNamedInTheQuestionAndNoMeansNothingMoves) {
  sim.SetElevated(false);
  StartAndCleanAt({2026, 1, 1, 12, 0, 0});
  app.mnuFileQuar_Click();
  Select(L"C:\\MIL\\MSWINDS.EXE |");
  desktop().AnswerNextMessageBox(platform::kIdNo);
  button(L"cmdRestore").Click();
  EXPECT_EQ(desktop().shown().back().style, platform::kMbYesNoQuestion);
  EXPECT_THAT(LastMessage(), StartsWith(L"Restore 1 change that the clean-up made, newest first?"
                                        L"\n\nWarning: the quarantine folder C:\\Program Files\\"
                                        L"Quellspur\\BackDoors can be changed by others than the "
                                        L"administrators"));
  EXPECT_FALSE(sim.FileExists(L"C:\\MIL\\MSWINDS.EXE"));
  button(L"cmdRestore").Click();
  EXPECT_EQ(sim.FileContent(L"C:\\MIL\\MSWINDS.EXE"), "millenium");
}

TEST_F(QuarantineWindow, ACopyWithoutARecordGoesWhereTheSaveDialogSays) {
  StartAndCleanAt({2026, 1, 1, 12, 0, 0});
  sim.PutFile(InQuarantine(L"OLD.EXE.Backdoor"), "from an earlier version");
  sim.PutFile(L"C:\\OLD\\TAKEN.EXE", "taken");
  app.mnuFileQuar_Click();
  Select(L"OLD.EXE.Backdoor");
  EXPECT_FALSE(button(L"cmdRestore").Enabled());
  ASSERT_TRUE(button(L"cmdRestoreTo").Enabled());

  button(L"cmdRestoreTo").Click();  // cancelled
  desktop().AnswerNextSaveDialog(L"C:\\OLD\\TAKEN.EXE");
  button(L"cmdRestoreTo").Click();
  EXPECT_EQ(LastMessage(), L"OLD.EXE.Backdoor: not restored: C:\\OLD\\TAKEN.EXE exists already");
  Select(L"OLD.EXE.Backdoor");
  desktop().AnswerNextSaveDialog(L"C:\\OLD\\OLD.EXE");
  button(L"cmdRestoreTo").Click();
  EXPECT_THAT(desktop().offeredNames(), ElementsAre(L"OLD.EXE", L"OLD.EXE", L"OLD.EXE"));
  EXPECT_EQ(sim.FileContent(L"C:\\OLD\\OLD.EXE"), "from an earlier version");
  EXPECT_EQ(sim.FileContent(L"C:\\OLD\\TAKEN.EXE"), "taken");
  EXPECT_THAT(RowsWith(L"OLD.EXE.Backdoor"), IsEmpty());
}

TEST_F(QuarantineWindow, AnOpenWindowShowsWhatACleanUpRecordsAndWhichLinesItCouldNotRead) {
  StartAndCleanAt({2026, 1, 1, 12, 0, 0});
  std::string record = sim.FileContent(ChangeRecordPath());
  sim.PutFile(ChangeRecordPath(), record + "\x01\xfe garbage\r\n");
  app.mnuFileQuar_Click();
  ASSERT_EQ(list().RowCount(), 8);
  EXPECT_EQ(window().SimLabelNamed(L"lblStatus").Caption(),
            L"1 line of the change record could not be read and is not listed; see "
            L"C:\\Program Files\\Quellspur\\BackDoors\\Changes.txt");

  NetBusAgainAt({2026, 1, 2, 9, 0, 0});
  EXPECT_EQ(list().RowCount(), 9);
  EXPECT_THAT(list().Rows()[0], StartsWith(L"2026-01-02 09:00:00 +00:00 | NetBus Pro"));

  // Closed, it is left alone by the next scan, and opens afresh.
  button(L"cmdClose").Click();
  EXPECT_EQ(toolkit.FormNamed(L"frmQuarantine"), nullptr);
  app.frmStat().cmdScan_Click();
  app.mnuFileQuar_Click();
  EXPECT_EQ(list().RowCount(), 9);
}

}  // namespace
}  // namespace quellspur::testing
