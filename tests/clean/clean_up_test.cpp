#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "forms/main_window_fixture.h"
#include "support/quarantine_paths.h"

namespace quellspur::testing {
namespace {

using ::testing::ElementsAre;

class CleanUpTest : public MainWindowTest {
 protected:
  CleanUpTest() {
    UseWindowsNt();
    sim.SetClock({2026, 12, 6, 8, 0, 0});
    parent_ = sim.StartProcess(L"C:\\WINDOWS\\EXPLORER.EXE", 0);
  }

  // A running backdoor with its window and executable.
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

TEST_F(CleanUpTest, EachLineIsCleanedByWhatItHoldsAndOnlyOnce) {
  const std::uint32_t id = Run(L"C:\\NB\\NBSVR.EXE", L"TApplication", L"NetBus Server");
  sim.SetRegistryText(kHkcu, kRunKey, L"nb", L"C:\\NB\\NBSVR.EXE");
  Scan();
  const std::vector<std::wstring> before = list.lines();

  CleanLine(0);  // the start entry: the process goes on running
  EXPECT_EQ(Line(0), L"IT\u00B4S ERASED!  " + before[0]);
  EXPECT_TRUE(sim.RegistryValues(kHkcu, kRunKey).empty());
  EXPECT_TRUE(sim.Process(id).running);
  EXPECT_FALSE(cmdKill.Enabled());

  settings.moveFiles = 1;
  CleanLine(1);
  EXPECT_EQ(Line(1), L"IT\u00B4S TERMINATED!  " + before[1]);
  EXPECT_FALSE(sim.Process(id).running);
  EXPECT_EQ(sim.Process(id).exitCode, 200u);
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_FALSE(cmdKill.Enabled());
  EXPECT_TRUE(sim.FileExists(InQuarantine(L"NBSVR.EXE.Backdoor")));

  const std::vector<std::wstring> lines = list.lines();
  const std::string logText = sim.FileContent(kLogPath);
  CleanLine(1);
  CleanLine(0);
  EXPECT_EQ(list.lines(), lines);
  EXPECT_EQ(sim.FileContent(kLogPath), logText);
}

// Windows takes \u0108at.exe and \u0109at.exe for one file whatever the letter's case, and
// Cat.exe for another: a start value that names the backdoor in the other case is found and
// removed, and so is its file; the look-alike's value and file stay.
TEST_F(CleanUpTest, AStartValueNamingTheBackdoorInAnyLettersOtherCaseIsFoundAndRemoved) {
  const std::uint32_t id = Run(L"C:\\Q\\\u0108at.exe", L"TApplication", L"NetBus Server");
  sim.PutFile(L"C:\\Q\\Cat.exe", "an innocent program");
  sim.SetRegistryText(kHklm, kRunKey, L"other case", L"c:\\q\\\u0109AT.EXE");
  sim.SetRegistryText(kHklm, kRunKey, L"look-alike", L"C:\\Q\\Cat.exe");
  Scan();
  const std::wstring found = L"NetBus Pro Found as: C:\\Q\\\u0108at.exe ";
  EXPECT_THAT(list.lines(),
              ElementsAre(found + L"Start entry in: HKEY_LOCAL_MACHINE Run/other case",
                          found + L"Activ now, started by: -unknown-"));

  settings.moveFiles = 1;
  CleanLine(0);
  CleanLine(1);
  EXPECT_THAT(list.lines(), ElementsAre(L"IT\u00B4S ERASED!  " + found +
                                            L"Start entry in: HKEY_LOCAL_MACHINE Run/other case",
                                        L"IT\u00B4S TERMINATED!  " + found +
                                            L"Activ now, started by: -unknown-"));
  EXPECT_FALSE(sim.Process(id).running);
  const auto values = sim.RegistryValues(kHklm, kRunKey);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, L"look-alike");
  EXPECT_FALSE(sim.FileExists(L"C:\\Q\\\u0108AT.EXE"));
  EXPECT_EQ(sim.FileContent(L"C:\\Q\\Cat.exe"), "an innocent program");
  EXPECT_TRUE(sim.FileExists(InQuarantine(L"\u0108at.exe.Backdoor")));
}

TEST_F(CleanUpTest, WhatCannotBeEndedKeepsItsLineAndTheButton) {
  const std::uint32_t stubborn = Run(L"C:\\A\\BUBBEL.EXE", L"ThunderRT5Main", L"bubbel");
  sim.Process(stubborn).refusesTermination = true;
  const std::uint32_t guarded = Run(L"C:\\A\\SILENCER.EXE", L"ThunderRT5Main", L"Priority Server");
  sim.ShowWindow(L"TForm2", L"chat", sim.GetCurrentProcessId());  // this program itself
  const std::uint32_t reused = Run(L"C:\\A\\DEVIL.EXE", L"ThunderRT5Main", L"wingeno");
  Scan();
  const std::vector<std::wstring> lines = list.lines();
  ASSERT_EQ(lines.size(), 4u);
  // One that can't even be opened is still listed by the system, so it is not gone either.
  sim.Process(guarded).refusesOpen = true;
  // The backdoor ended and its id went to an innocent program since the scan.
  sim.Process(reused).modulePath = L"C:\\WINDOWS\\NOTEPAD.EXE";
  settings.moveFiles = 1;

  for (int line = 0; line < 4; ++line) {
    CleanLine(line);
    EXPECT_TRUE(cmdKill.Enabled()) << line;
  }

  EXPECT_EQ(list.lines(), lines);
  for (std::uint32_t id : {stubborn, guarded, sim.GetCurrentProcessId(), reused}) {
    EXPECT_TRUE(sim.Process(id).running) << id;
  }
  EXPECT_TRUE(sim.FileExists(L"C:\\A\\BUBBEL.EXE"));
  EXPECT_EQ(sim.FileContent(kLogPath).find("Moving"), std::string::npos);
}

TEST_F(CleanUpTest, AProcessEndedSinceTheScanCountsAsTerminated) {
  const std::uint32_t netbus = Run(L"C:\\A\\PATCH.EXE", L"TApplication", L"NetBus Server");
  sim.PutFile(L"C:\\A\\keyhook.dll", "hook");
  sim.PutFile(L"C:\\WINDOWS\\win.ini", "[windows]\r\nload=C:\\MIL\\MSWINDS.EXE\r\n");
  const std::uint32_t millenium = Run(L"C:\\MIL\\MSWINDS.EXE", L"ThunderRT5Form", L"System Update");
  sim.Process(millenium).outsideHolders = 1;  // the program that started it keeps its handle
  Scan();
  sim.EndProcess(netbus, 0);

  settings.moveFiles = 1;
  CleanLine(0);
  settings.moveFiles = 0;  // win.ini loses its line all the same
  CleanLine(1);

  EXPECT_TRUE(Line(0).starts_with(L"IT\u00B4S TERMINATED!  NetBus Pro Found as: C:\\A\\PATCH.EXE"));
  EXPECT_TRUE(sim.FileExists(InQuarantine(L"PATCH.EXE.Backdoor")));
  EXPECT_TRUE(sim.FileExists(InQuarantine(L"keyhook.dll.Backdoor")));
  EXPECT_TRUE(Line(1).starts_with(L"IT\u00B4S TERMINATED!  Millenium Found as: C:\\MIL\\"));
  EXPECT_EQ(sim.Process(millenium).exitCode, 200u);
  EXPECT_TRUE(sim.FileExists(L"C:\\MIL\\MSWINDS.EXE"));
  EXPECT_EQ(sim.FileContent(L"C:\\WINDOWS\\win.ini"), "[windows]\r\n");
}

// A win.ini that can't be written back in its encoding keeps its line, and the finding is not
// marked dealt with though its process ended: it starts again at the next log-on.
TEST_F(CleanUpTest, AWinIniThatCannotKeepItsEncodingLeavesMilleniumNotDealtWith) {
  const std::string oddUtf16 = "\xFF\xFEl\0o\0a\0d\0=\0C\0:\0\\\0M\0.\0E\0X\0E\0!";
  sim.PutFile(L"C:\\WINDOWS\\win.ini", oddUtf16);
  const std::uint32_t millenium = Run(L"C:\\M.EXE", L"ThunderRT5Form", L"System Update");
  Scan();
  CleanLine(0);
  EXPECT_EQ(sim.Process(millenium).exitCode, 200u);
  EXPECT_TRUE(Line(0).starts_with(L"Millenium Found as: C:\\M.EXE")) << Line(0);
  EXPECT_EQ(sim.FileContent(L"C:\\WINDOWS\\win.ini"), oddUtf16);
  EXPECT_FALSE(sim.FileExists(L"C:\\WINDOWS\\win.bac"));
}

// A 64-bit backdoor seen from the 32-bit program: its path can't be read, so it names nothing.
TEST_F(CleanUpTest, AProcessWhosePathCannotBeReadIsEndedAndNothingElseIsTouched) {
  const std::uint32_t id = Run(L"C:\\NB64\\NBSVR.EXE", L"TApplication", L"NetBus Server");
  sim.Process(id).modulePath = L"";
  sim.SetRegistryText(kHklm, kRunKey, L"Folder", L"C:\\WINDOWS\\");
  sim.PutFile(L"C:\\keyhook.dll", "an innocent file in the current folder");
  settings.moveFiles = 1;
  Scan();
  ASSERT_EQ(list.lines(),
            std::vector<std::wstring>{L"NetBus Pro Found as:  Activ now, started by: -unknown-"});

  CleanLine(0);

  EXPECT_TRUE(Line(0).starts_with(L"IT\u00B4S TERMINATED!  "));
  EXPECT_FALSE(sim.Process(id).running);
  EXPECT_EQ(sim.RegistryValues(kHklm, kRunKey).size(), 1u);
  EXPECT_TRUE(sim.FileExists(L"C:\\keyhook.dll"));
  EXPECT_EQ(sim.FileContent(kLogPath).find("Moving"), std::string::npos);
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
  // While it ran, the start-entry pass could not move the executable: it moves after the kill.
  std::vector<std::string> steps;
  for (const std::string& line : LogLines()) {
    if (line.find(" Found as: ") == std::string::npos) {
      steps.push_back(line.substr(20));
    }
  }
  const std::string to = " to: " + sim.WideToAnsi(QuarantineFolder()) + "\\";
  EXPECT_THAT(steps, ElementsAre("Removing start in registry: HKEY_LOCAL_MACHINE\\Software\\"
                                 "Microsoft\\Windows\\CurrentVersion\\RunServices,gc",
                                 "Moving: C:\\GC\\SYSTEM.EXE" + to + "SYSTEM.EXE.Backdoor",
                                 "Moving: C:\\GC\\Inet.hlp" + to + "Inet.hlp.Backdoor",
                                 "Moving: C:\\GC\\Winsck.ini" + to + "Winsck.ini.Backdoor"));
}

TEST_F(CleanUpTest, EachBackdoorTakesExactlyItsOwnCompanionFilesAlong) {
  const std::pair<const wchar_t*, std::vector<std::wstring>> cases[] = {
      {L"Back Orifice", {L"windll.dll"}},
      {L"NetBus ver. 1.2", {L"keyhook.dll"}},
      {L"NetBus Pro", {L"keyhook.dll"}},
      {L"Millenium", {L"regersys.ocx"}},
      {L"StealthSpy", {L"Tserv.dll"}},
      {L"Gate Crasher", {L"Inet.hlp", L"Winsck.dat", L"Winsck.ini"}},
      {L"SubSeven", {}},
  };
  const std::wstring everyCompanion[] = {L"windll.dll", L"keyhook.dll", L"regersys.ocx",
                                         L"Tserv.dll",  L"Inet.hlp",    L"Winsck.dat",
                                         L"Winsck.ini"};
  int folder = 0;
  for (const auto& [backdoor, companions] : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(backdoor)));
    const std::wstring place = L"C:\\F" + std::to_wstring(++folder) + L"\\";
    for (const std::wstring& file : everyCompanion) {
      sim.PutFile(place + file, "companion");
    }
    const std::wstring server = place + L"SERVER.EXE";
    sim.PutFile(server, "MZ");
    Finding finding{backdoor, server, sim.StartProcess(server, parent_), L"", 0, L"", L"", 0};
    const std::size_t logBefore = LogLines().size();
    const std::size_t recordBefore = ChangeRecord(sim).Read().entries.size();

    EXPECT_EQ(engine.Clean(finding, true), CleanOutcome::Terminated);

    // The executable first, then its companions in the order the backdoor is known by: the order
    // of the log's lines and the record's entries.
    std::vector<std::wstring> moved = {finding.filePath};
    for (const std::wstring& file : companions) {
      moved.push_back(place + file);
    }
    std::vector<std::wstring> logged;
    const std::vector<std::string> log = LogLines();
    for (std::size_t line = logBefore; line < log.size(); ++line) {
      const std::size_t at = log[line].find("Moving: ");
      if (at != std::string::npos) {
        const std::string path = log[line].substr(at + 8, log[line].find(" to: ") - at - 8);
        logged.push_back(sim.AnsiToWide(path));
      }
    }
    EXPECT_EQ(logged, moved);
    std::vector<std::wstring> recorded;
    const std::vector<ChangeEntry> entries = ChangeRecord(sim).Read().entries;
    for (std::size_t entry = recordBefore; entry < entries.size(); ++entry) {
      recorded.push_back(std::get<FileChange>(entries[entry].change).originalPath);
    }
    EXPECT_EQ(recorded, moved);
    for (const std::wstring& file : everyCompanion) {
      const bool goes = std::ranges::find(companions, file) != companions.end();
      EXPECT_EQ(sim.FileExists(place + file), !goes) << sim.WideToAnsi(file);
    }
  }
}

// Windows ends a process some time after TerminateProcess returns. Each turn of the message loop
// is a round trip to the window system of at least 10 microseconds, and the clean-up waits for
// 20,000 of them before it looks whether the process is gone.
TEST_F(CleanUpTest, AProcessThatEndsSlowlyIsWaitedForAndOneThatStaysIsNotCalledEnded) {
  const std::uint32_t slow = Run(L"C:\\NB\\PATCH.EXE", L"TApplication", L"NetBus Server");
  sim.Process(slow).endsAfterMicroseconds = 100'000;
  const std::uint32_t stuck = Run(L"C:\\BU\\BUBBEL.EXE", L"ThunderRT5Main", L"bubbel");
  sim.Process(stuck).endsAfterMicroseconds = 30'000'000;
  sim.SetSteadyClockStep(0);  // time passes with the message loop's turns alone
  pump.OnTurn([&] { sim.LetTimePass(10); });
  settings.moveFiles = 1;
  Scan();
  const std::vector<std::wstring> before = list.lines();
  const int slowLine = 0;  // in the order of the known windows
  const int stuckLine = 1;
  ASSERT_EQ(before.size(), 2u);
  ASSERT_TRUE(before[slowLine].starts_with(L"NetBus Pro") &&
              before[stuckLine].starts_with(L"Bubbel"));

  CleanLine(slowLine);
  EXPECT_EQ(Line(slowLine), L"IT\u00B4S TERMINATED!  " + before[slowLine]);
  EXPECT_FALSE(sim.Process(slow).running);
  EXPECT_EQ(sim.Process(slow).exitCode, 200u);
  EXPECT_TRUE(sim.FileExists(InQuarantine(L"PATCH.EXE.Backdoor")));

  CleanLine(stuckLine);
  EXPECT_EQ(Line(stuckLine), before[stuckLine]);
  EXPECT_TRUE(cmdKill.Enabled());
  EXPECT_TRUE(sim.Process(stuck).running);
  EXPECT_TRUE(sim.FileExists(L"C:\\BU\\BUBBEL.EXE"));
  EXPECT_EQ(sim.FileContent(kLogPath).find("Moving: C:\\BU"), std::string::npos);

  // Once it has ended at last, the next click finds it gone.
  sim.LetTimePass(30'000'000);
  CleanLine(stuckLine);
  EXPECT_EQ(Line(stuckLine), L"IT\u00B4S TERMINATED!  " + before[stuckLine]);
  EXPECT_TRUE(sim.FileExists(InQuarantine(L"BUBBEL.EXE.Backdoor")));
}

// 200 different files of one name, each running and started at log-on: 400 findings, cleaned in
// Auto Clean's order (each start value while its file still runs), lose nothing. The copies' names
// run into three digits.
TEST_F(CleanUpTest, HundredsOfFindingsOfSameNamedFilesLoseNoFile) {
  std::map<std::wstring, std::string> originals;
  Findings findings;
  for (int i = 0; i < 200; ++i) {
    const std::wstring path = L"C:\\F" + std::to_wstring(i) + L"\\SERVER.EXE";
    originals[path] = "MZ " + std::to_string(i);
    sim.PutFile(path, originals[path]);
    const std::wstring value = L"s" + std::to_wstring(i);
    sim.SetRegistryText(kHkcu, kRunKey, value, path);
    findings.push_back({L"SubSeven", path, 0, L"", kHkcu, kRunKey, value, 0});
    findings.push_back({L"SubSeven", path, sim.StartProcess(path, parent_), L"", 0, L"", L"", 0});
  }
  for (Finding& finding : findings) {
    EXPECT_NE(engine.Clean(finding, true), CleanOutcome::NotDone);
  }

  const ParsedRecord record = ChangeRecord(sim).Read();
  EXPECT_TRUE(record.damaged.empty());
  std::map<std::wstring, int> lines;  // naming each original
  for (const ChangeEntry& entry : record.entries) {
    if (const auto* file = std::get_if<FileChange>(&entry.change)) {
      ++lines[file->originalPath];
      EXPECT_EQ(sim.FileContent(InQuarantine(file->copyName)), originals[file->originalPath]);
    }
  }
  for (const auto& [path, bytes] : originals) {
    EXPECT_FALSE(sim.FileExists(path));
    EXPECT_EQ(lines[path], 1) << sim.WideToAnsi(path);
  }
  EXPECT_EQ(record.entries.size(), 400u);  // and a line for each start value
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
}

}  // namespace
}  // namespace quellspur::testing
