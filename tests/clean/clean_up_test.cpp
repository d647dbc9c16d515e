#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/main_window_fixture.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;

const std::wstring kQuarantine = L"C:\\Program Files\\Quellspur\\BackDoors\\";

class CleanUpTest : public MainWindowTest {
 protected:
  CleanUpTest() {
    UseWindowsNt();
    sim.SetClock({2026, 12, 6, 8, 0, 0});
    parent_ = sim.StartProcess(L"C:\\WINDOWS\\EXPLORER.EXE", 0);
  }

  // A running backdoor with its window and executable, and optionally a start entry.
  std::uint32_t Run(const std::wstring& path, const std::wstring& windowClass,
                    const std::wstring& caption) {
    sim.PutFile(path, "MZ");
    const std::uint32_t id = sim.StartProcess(path, parent_);
    sim.ShowWindow(windowClass, caption, id);
    return id;
  }

  void Scan() { form.cmdScan_Click(); }
  void CleanLine(int line) {
    list.SetListIndex(line);
    form.cmdKill_Click();
  }
  std::wstring Line(int line) { return list.List(line); }

  std::uint32_t parent_ = 0;
};

TEST_F(CleanUpTest, KillsARunningBackdoorAndMarksItsLine) {
  const std::uint32_t id = Run(L"C:\\COMA\\COMA.EXE", L"ThunderRT5CommandButton", L"Test Controll");
  Scan();
  const std::wstring before = Line(0);

  CleanLine(0);

  EXPECT_FALSE(sim.Process(id).running);
  EXPECT_EQ(sim.Process(id).exitCode, 200u);
  EXPECT_EQ(Line(0), L"IT\u00B4S TERMINATED!  " + before);
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_FALSE(cmdKill.Enabled());
  EXPECT_EQ(scanner.findings[0].processId, 0u);
  EXPECT_EQ(scanner.findings[0].filePath, L"C:\\COMA\\COMA.EXE");
  EXPECT_EQ(window.Pointer(), platform::MousePointer::Default);
  EXPECT_EQ(sim.OpenHandleCount(), 0u);

  list.SetListIndex(0);
  EXPECT_FALSE(cmdKill.Enabled());
}

TEST_F(CleanUpTest, ASurvivorLeavesLineRowAndButtonAsTheyWere) {
  const std::uint32_t stubborn = Run(L"C:\\A\\BUBBEL.EXE", L"ThunderRT5Main", L"bubbel");
  sim.Process(stubborn).refusesTermination = true;
  const std::uint32_t guarded = Run(L"C:\\A\\SILENCER.EXE", L"ThunderRT5Main", L"Priority Server");
  Scan();
  const std::vector<std::wstring> lines = list.lines();
  settings.moveFiles = 1;

  CleanLine(0);
  // One that can't even be opened is still listed by the system, so it is not gone either.
  sim.Process(guarded).refusesOpen = true;
  CleanLine(1);

  EXPECT_EQ(list.lines(), lines);
  EXPECT_TRUE(cmdKill.Enabled());
  EXPECT_EQ(scanner.findings[0].processId, stubborn);
  EXPECT_TRUE(sim.Process(guarded).running);
  EXPECT_TRUE(sim.FileExists(L"C:\\A\\BUBBEL.EXE"));
  EXPECT_FALSE(sim.FileExists(kLogPath) &&
               sim.FileContent(kLogPath).find("Moving") != std::string::npos);
  EXPECT_EQ(window.Pointer(), platform::MousePointer::Default);
}

TEST_F(CleanUpTest, AnIdTakenOverByAnotherProgramIsLeftAlone) {
  const std::uint32_t id = Run(L"C:\\A\\DEVIL.EXE", L"ThunderRT5Main", L"wingeno");
  Scan();
  // The backdoor ended and its id went to an innocent program since the scan.
  sim.Process(id).modulePath = L"C:\\WINDOWS\\NOTEPAD.EXE";
  const std::wstring before = Line(0);

  CleanLine(0);

  EXPECT_TRUE(sim.Process(id).running);
  EXPECT_EQ(Line(0), before);
  EXPECT_TRUE(cmdKill.Enabled());
}

TEST_F(CleanUpTest, NeverTerminatesItself) {
  sim.ShowWindow(L"TForm2", L"chat", sim.GetCurrentProcessId());
  Scan();
  CleanLine(0);
  EXPECT_TRUE(sim.Process(sim.GetCurrentProcessId()).running);
  EXPECT_TRUE(cmdKill.Enabled());
}

TEST_F(CleanUpTest, AProcessGoneBeforeTheClickCountsAsTerminated) {
  const std::uint32_t id = Run(L"C:\\A\\PATCH.EXE", L"TApplication", L"NetBus Server");
  sim.PutFile(L"C:\\A\\keyhook.dll", "hook");
  Scan();
  sim.EndProcess(id, 0);
  settings.moveFiles = 1;

  CleanLine(0);

  EXPECT_TRUE(Line(0).starts_with(L"IT\u00B4S TERMINATED!  NetBus Pro Found as: C:\\A\\PATCH.EXE"));
  EXPECT_TRUE(sim.FileExists(kQuarantine + L"PATCH.EXE.Backdoor"));
  EXPECT_TRUE(sim.FileExists(kQuarantine + L"keyhook.dll.Backdoor"));
}

TEST_F(CleanUpTest, AnEndedProcessStillHeldByAnotherProgramCountsAsGone) {
  sim.PutFile(L"C:\\WINDOWS\\win.ini", "[windows]\r\nload=C:\\MIL\\MSWINDS.EXE\r\n");
  const std::uint32_t id = Run(L"C:\\MIL\\MSWINDS.EXE", L"ThunderRT5Form", L"System Update");
  sim.PutFile(L"C:\\MIL\\regersys.ocx", "ocx");
  sim.Process(id).outsideHolders = 1;  // the program that started it keeps its handle
  Scan();
  settings.moveFiles = 1;

  CleanLine(0);

  EXPECT_EQ(sim.Process(id).exitCode, 200u);
  EXPECT_TRUE(Line(0).starts_with(L"IT\u00B4S TERMINATED!  Millenium Found as: C:\\MIL\\"));
  EXPECT_TRUE(sim.FileExists(kQuarantine + L"MSWINDS.EXE.Backdoor"));
  EXPECT_TRUE(sim.FileExists(kQuarantine + L"regersys.ocx.Backdoor"));
  EXPECT_EQ(sim.FileContent(L"C:\\WINDOWS\\win.ini"), "[windows]\r\n");
}

TEST_F(CleanUpTest, RemovesAStartEntryWithoutTouchingTheProcess) {
  const std::uint32_t id = Run(L"C:\\NB\\NBSVR.EXE", L"TApplication", L"NetBus Server");
  sim.SetRegistryText(kHkcu, kRunKey, L"nb", L"C:\\NB\\NBSVR.EXE");
  Scan();
  const std::wstring before = Line(0);

  CleanLine(0);

  EXPECT_EQ(Line(0), L"IT\u00B4S ERASED!  " + before);
  EXPECT_TRUE(sim.RegistryValues(kHkcu, kRunKey).empty());
  EXPECT_TRUE(sim.Process(id).running);
  EXPECT_EQ(scanner.findings[0].rootKey, 0u);
  EXPECT_FALSE(cmdKill.Enabled());
}

TEST_F(CleanUpTest, AutoCleanRemovesTheStartThenKillsAndMovesEverything) {
  UseWindows98();
  const std::uint32_t id =
      Run(L"C:\\GC\\SYSTEM.EXE", L"ThunderRT6Main", L"Inet.drv");  // Gate Crasher
  sim.PutFile(L"C:\\GC\\Inet.hlp", "h");
  sim.PutFile(L"C:\\GC\\Winsck.ini", "i");  // Winsck.dat is missing
  sim.SetRegistryText(kHklm, kRunServicesKey, L"gc", L"C:\\GC\\SYSTEM.EXE");
  settings = Settings{0, 1, 1};

  Scan();

  EXPECT_THAT(list.lines(),
              ElementsAre(L"IT\u00B4S ERASED!  Gate Crasher Found as: C:\\GC\\SYSTEM.EXE Start "
                          L"entry in: HKEY_LOCAL_MACHINE RunServices/gc",
                          L"IT\u00B4S TERMINATED!  Gate Crasher Found as: C:\\GC\\SYSTEM.EXE "
                          L"Activ now, started by: EXPLORER.EXE"));
  EXPECT_FALSE(sim.Process(id).running);
  EXPECT_TRUE(timer.Enabled());
  const std::string logText = sim.FileContent(kLogPath);
  // While it ran, the start-entry pass could not move the executable: one move only, after the
  // kill, then the companions in their order.
  const std::string moving = "Moving: C:\\GC\\SYSTEM.EXE to: ";
  EXPECT_EQ(logText.find(moving), logText.rfind(moving));
  const std::size_t exe = logText.find(moving);
  const std::size_t help = logText.find("Moving: C:\\GC\\Inet.hlp");
  const std::size_t ini = logText.find("Moving: C:\\GC\\Winsck.ini");
  EXPECT_LT(logText.find("Removing start in registry: "), exe);
  EXPECT_LT(exe, help);
  EXPECT_LT(help, ini);
  EXPECT_NE(ini, std::string::npos);
  EXPECT_EQ(logText.find("Winsck.dat"), std::string::npos);
}

TEST_F(CleanUpTest, CompanionsGoOnlyWithTheirBackdoorAndWinIniRegardlessOfMoving) {
  Run(L"C:\\BO\\BO.EXE", L"TApplication", L"MServ");  // GirlFriend: no companions
  sim.PutFile(L"C:\\BO\\windll.dll", "d");
  sim.PutFile(L"C:\\WINDOWS\\win.ini", "load=C:\\MIL\\MSWINDS.EXE\r\nkeep\r\n");
  Run(L"C:\\MIL\\MSWINDS.EXE", L"ThunderRT5Form", L"System Update");
  Scan();
  settings.moveFiles = 1;
  CleanLine(0);
  settings.moveFiles = 0;
  CleanLine(1);

  EXPECT_TRUE(sim.FileExists(L"C:\\BO\\windll.dll"));
  EXPECT_FALSE(sim.FileExists(L"C:\\BO\\BO.EXE"));
  EXPECT_TRUE(sim.FileExists(L"C:\\MIL\\MSWINDS.EXE"));
  EXPECT_EQ(sim.FileContent(L"C:\\WINDOWS\\win.ini"), "keep\r\n");
}

TEST_F(CleanUpTest, EachBackdoorTakesExactlyItsOwnCompanionFilesAlong) {
  struct Case {
    const wchar_t* backdoor;
    std::vector<std::wstring> companions;
  };
  const Case cases[] = {
      {L"Back Orifice", {L"windll.dll"}},
      {L"NetBus ver. 1.2", {L"keyhook.dll"}},
      {L"NetBus Pro", {L"keyhook.dll"}},
      {L"Millenium", {L"regersys.ocx"}},
      {L"StealthSpy", {L"Tserv.dll"}},
      {L"Gate Crasher", {L"Inet.hlp", L"Winsck.dat", L"Winsck.ini"}},
      {L"SubSeven", {}},
  };
  const std::vector<std::wstring> everyCompanion = {L"windll.dll", L"keyhook.dll", L"regersys.ocx",
                                                    L"Tserv.dll",  L"Inet.hlp",    L"Winsck.dat",
                                                    L"Winsck.ini"};
  int folder = 0;
  for (const Case& known : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(known.backdoor)));
    const std::wstring place = L"C:\\F" + std::to_wstring(++folder) + L"\\";
    for (const std::wstring& file : everyCompanion) {
      sim.PutFile(place + file, "companion");
    }
    Finding finding;
    finding.backdoorName = known.backdoor;
    finding.filePath = place + L"SERVER.EXE";
    sim.PutFile(finding.filePath, "MZ");
    finding.processId = sim.StartProcess(finding.filePath, parent_);

    EXPECT_EQ(form.cleanUp.Clean(finding, {true, L"C:\\WINDOWS\\"}), CleanOutcome::Terminated);

    const std::string logText = sim.FileContent(kLogPath);
    for (const std::wstring& file : everyCompanion) {
      const bool goes = std::find(known.companions.begin(), known.companions.end(), file) !=
                        known.companions.end();
      EXPECT_EQ(sim.FileExists(place + file), !goes) << sim.WideToAnsi(file);
      const std::string moving =
          sim.WideToAnsi(L"Moving: " + place + file + L" to: " + kQuarantine + file + L".Backdoor");
      EXPECT_EQ(logText.find(moving) != std::string::npos, goes) << moving;
    }
  }
}

TEST_F(CleanUpTest, ACleanedLineIsNeverCleanedAgain) {
  Run(L"C:\\COMA\\COMA.EXE", L"ThunderRT5CommandButton", L"Test Controll");
  sim.SetRegistryText(kHkcu, kRunKey, L"coma", L"C:\\COMA\\COMA.EXE");
  Scan();
  settings.moveFiles = 1;
  CleanLine(1);
  CleanLine(0);
  const std::vector<std::wstring> lines = list.lines();
  const std::string logText = sim.FileContent(kLogPath);

  CleanLine(1);
  CleanLine(0);

  EXPECT_EQ(list.lines(), lines);
  EXPECT_EQ(sim.FileContent(kLogPath), logText);
  EXPECT_TRUE(sim.FileExists(kQuarantine + L"COMA.EXE.Backdoor"));
}

TEST_F(CleanUpTest, NothingElseStartsWhileTheCleanUpWaits) {
  Run(L"C:\\COMA\\COMA.EXE", L"ThunderRT5CommandButton", L"Test Controll");
  Run(L"C:\\A\\BUBBEL.EXE", L"ThunderRT5Main", L"bubbel");
  Scan();
  timer.SetEnabled(true);
  list.SetListIndex(0);
  int refused = 0;
  pump.OnTurn([&] {
    if (refused < 3) {
      ++refused;
      form.cmdScan_Click();  // a click on "&Scan Now"
      timer.Elapse();        // a timed scan
      form.cmdKill_Click();  // a second click on the button
    }
  });

  form.cmdKill_Click();

  ASSERT_EQ(list.ListCount(), 2);
  EXPECT_TRUE(Line(0).starts_with(L"IT\u00B4S TERMINATED!  Bubbel"));
  EXPECT_TRUE(Line(1).starts_with(L"Coma"));
  EXPECT_EQ(scanner.findings.size(), 2u);
}

}  // namespace
}  // namespace quellspur::testing
