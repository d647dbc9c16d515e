// Every call the program makes, failing at each of its uses (once, from then on, or by throwing),
// through whole scans with Auto Clean and through clean-ups by hand. Whatever fails, nothing is
// lost, nothing is changed that the change record does not name, nothing is reported that did not
// happen, and nothing is left open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "engine/clean_marks.h"
#include "forms/main_window_fixture.h"

namespace quellspur::testing {
namespace {

using platform::Call;

constexpr int kUsesPerCall = 20;
const std::wstring kQuarantine = L"C:\\Program Files\\Quellspur\\BackDoors\\";
const std::wstring kWinIni = L"C:\\WINDOWS\\win.ini";
const std::string kOldWinIni = "[windows]\r\nload=C:\\MIL\\MSWINDS.EXE\r\nrun=\r\n";
const std::string kNewWinIni = "[windows]\r\nrun=\r\n";

// The files a clean-up may move; each must stay where it is or stand whole in quarantine.
const std::map<std::wstring, std::string> kFiles = {
    {L"C:\\MIL\\MSWINDS.EXE", "millenium"},
    {L"C:\\MIL\\regersys.ocx", "ocx"},
    {L"C:\\NB\\NBSVR.EXE", "netbus"},
    {L"C:\\NB\\keyhook.dll", "hook"},
    {L"C:\\BO\\ .EXE", "orifice"},
    {L"C:\\BO\\windll.dll", "dll"},
    // Back Orifice known by its size and the name in its tail.
    {L"C:\\BO2\\WINDLL32.EXE", std::string(124900, '\x90') + "  windll32.exe"},
};

struct StartValue {
  platform::RegKey root;
  std::wstring key;
  std::wstring name;
  std::wstring command;
};
const StartValue kStarts[] = {
    {kHkcu, kRunKey, L"NetBus", L"C:\\NB\\NBSVR.EXE"},
    {kHklm, kRunServicesKey, L"bo", L"C:\\BO\\ .EXE"},
    {kHklm, kRunKey, L"mil", L"MSWINDS.EXE /q"},
    {kHklm, kRunKey, L"size", L"C:\\BO2\\WINDLL32.EXE"},
};

// Millenium with its win.ini line and companion, NetBus Pro and Back Orifice with theirs, each
// running and started at log-on.
void BuildScene(platform::sim::SimMachine& sim) {
  for (const auto& [path, bytes] : kFiles) {
    sim.PutFile(path, bytes);
  }
  sim.PutFile(kWinIni, kOldWinIni);
  const std::uint32_t loader = sim.StartProcess(L"C:\\WINDOWS\\LOADER.EXE", 0);
  sim.PutFile(L"C:\\WINDOWS\\LOADER.EXE", "MZ");
  sim.ShowWindow(L"ThunderRT5Form", L"System Update",
                 sim.StartProcess(L"C:\\MIL\\MSWINDS.EXE", loader));
  sim.ShowWindow(L"TApplication", L"NetBus Server", sim.StartProcess(L"C:\\NB\\NBSVR.EXE", loader));
  sim.StartProcess(L"C:\\BO\\ .EXE", loader);
  sim.StartProcess(L"C:\\BO2\\WINDLL32.EXE", 0);
  for (const StartValue& start : kStarts) {
    sim.SetRegistryText(start.root, start.key, start.name, start.command);
  }
}

// Whether the record holds a change of that kind that fits.
template <typename Change, typename Fits>
bool Recorded(const ParsedRecord& record, Fits fits) {
  return std::any_of(record.entries.begin(), record.entries.end(), [&](const ChangeEntry& entry) {
    const Change* change = std::get_if<Change>(&entry.change);
    return change != nullptr && fits(*change);
  });
}

bool ValuePresent(const platform::sim::SimMachine& sim, const StartValue& start) {
  const auto values = sim.RegistryValues(start.root, start.key);
  return std::any_of(values.begin(), values.end(), [&](const platform::sim::SimValue& value) {
    return value.name == start.name;
  });
}

bool Running(const platform::sim::SimMachine& sim, const std::wstring& path) {
  return std::any_of(
      sim.processes().begin(), sim.processes().end(),
      [&](const platform::sim::SimProcess& p) { return p.running && p.exeFile == path; });
}

struct Scenario {
  const char* name;
  std::uint32_t platformId;
  bool byHand;  // Auto Clean off: the scan runs before the faults, then each line is cleaned
};
const Scenario kScenarios[] = {{"Auto Clean on Windows 98", platform::kPlatformWindows, false},
                               {"Auto Clean on Windows NT", platform::kPlatformNt, false},
                               {"each line by hand", platform::kPlatformNt, true}};

// The program on a machine with the scene, the wrapper between them, ready for the faults.
struct Machine {
  explicit Machine(const Scenario& scenario) : byHand(scenario.byHand) {
    BuildScene(sim);
    sim.SetPlatformId(scenario.platformId);
    desk.engine.ReadSystem();
    desk.settings = Settings{0, byHand ? 0 : 1, 1};
    if (byHand) {
      desk.form.cmdScan_Click();
    }
    os.Reset();
  }

  void Act() {
    for (int line = 0; byHand && line < desk.list.ListCount(); ++line) {
      desk.list.SetListIndex(line);
      desk.form.cmdKill_Click();
    }
    if (!byHand) {
      desk.form.cmdScan_Click();
    }
  }

  bool byHand;
  platform::sim::SimMachine sim;
  platform::FaultInjectingOs os{sim};
  platform::sim::SimMessagePump pump;
  SimulatedMainWindow desk{os, pump};
};

// The calls the activity log makes: when one of them fails, a change may go unrecorded.
bool LogCall(Call call) {
  return call == Call::AppendToFile || call == Call::GetLocalTime ||
         call == Call::GetTimeSeparator || call == Call::GetProgramFolder ||
         call == Call::WideToAnsi;
}

// Every broken promise of the run, one text each.
std::vector<std::string> Violations(Machine& run, Call armed) {
  std::vector<std::string> found;
  platform::sim::SimMachine& sim = run.sim;
  const std::vector<std::string> log = LogLines(sim);
  // A change has its log line, and a log line its change; a failing log may lose a line.
  auto loggedAsChanged = [&](bool changed, const std::wstring& text, const std::string& what) {
    const std::string wanted = sim.WideToAnsi(text);
    const bool logged = std::any_of(log.begin(), log.end(), [&](const std::string& line) {
      return line.find(wanted) != std::string::npos;
    });
    if (logged != changed && (logged || !LogCall(armed))) {
      found.push_back("the log does not match " + what);
    }
  };

  // Every change is named by the record, which no failure leaves damaged.
  const ParsedRecord record = ChangeRecord(sim).Read();
  if (!record.damaged.empty()) {
    found.push_back("the change record has a damaged line");
  }

  const std::string winIni = sim.FileContent(kWinIni);
  if (winIni != kOldWinIni && winIni != kNewWinIni) {
    found.push_back("win.ini holds neither its old nor its new content: " + winIni);
  }
  loggedAsChanged(winIni == kNewWinIni, L"Removing start: load=C:\\MIL\\MSWINDS.EXE in win.ini",
                  "win.ini");
  const std::vector<RemovedLine> removed = {{2, L"load=C:\\MIL\\MSWINDS.EXE"}};
  if (winIni == kNewWinIni && !Recorded<WinIniChange>(record, [&](const WinIniChange& change) {
        return change.lines == removed;
      })) {
    found.push_back("win.ini rewritten without a record line");
  }

  for (const auto& [path, bytes] : kFiles) {
    const bool gone = !sim.FileExists(path);
    if (gone && !Recorded<FileChange>(record, [&](const FileChange& change) {
          return change.originalPath == path &&
                 sim.FileContent(kQuarantine + change.copyName) == bytes;
        })) {
      found.push_back("gone without a whole copy that the record names: " + sim.WideToAnsi(path));
    }
    loggedAsChanged(gone, L"Moving: " + path + L" to: " + kQuarantine, "a move");
  }

  for (const StartValue& start : kStarts) {
    const wchar_t* root = start.root == kHkcu ? L"HKEY_CURRENT_USER\\" : L"HKEY_LOCAL_MACHINE\\";
    const bool gone = !ValuePresent(sim, start);
    loggedAsChanged(gone, L"Removing start in registry: " + (root + start.key) + L"," + start.name,
                    "a start entry's removal");
    if (gone && !Recorded<RegistryChange>(record, [&](const RegistryChange& change) {
          return change.valueName == start.name &&
                 change.data == platform::StringData(start.command);
        })) {
      found.push_back("a start value removed without a record line: " + sim.WideToAnsi(start.name));
    }
  }

  // A line marked as dealt with tells the truth.
  for (const std::wstring& line : run.desk.list.lines()) {
    const std::size_t found_as = line.find(L" Found as: ");
    if (found_as == std::wstring::npos) {
      continue;
    }
    const std::wstring rest = line.substr(found_as + 11);
    if (line.starts_with(kTerminatedPrefix)) {
      const std::wstring path = rest.substr(0, rest.find(L" Activ now"));
      if (Running(sim, path)) {
        found.push_back("marked terminated but running: " + sim.WideToAnsi(line));
      }
    } else if (line.starts_with(kErasedPrefix)) {
      for (const StartValue& start : kStarts) {
        if (line.ends_with(L"/" + start.name) && ValuePresent(sim, start)) {
          found.push_back("marked erased but still there: " + sim.WideToAnsi(line));
        }
      }
    }
  }

  if (armed != Call::CloseHandle && sim.OpenHandleCount() != 0) {
    found.push_back("handles left open: " + std::to_string(sim.OpenHandleCount()));
  }
  if (armed != Call::RegCloseKey && sim.OpenKeyCount() != 0) {
    found.push_back("keys left open: " + std::to_string(sim.OpenKeyCount()));
  }
  if (run.desk.window.Pointer() != platform::MousePointer::Default) {
    found.push_back("the pointer stays an hourglass");
  }
  return found;
}

enum class Mode { Once, FromThenOn, Throws };

TEST(FaultSweep, NothingIsLostOrMisreportedWhateverCallFails) {
  int runs = 0;
  int violations = 0;
  for (const Scenario& scenario : kScenarios) {
    // A run without faults tells how often each call is used.
    Machine plain(scenario);
    plain.Act();
    ASSERT_TRUE(Violations(plain, Call::kCount).empty()) << scenario.name;
    if (scenario.platformId == platform::kPlatformWindows) {
      // Without faults, Windows 98's Auto Clean reaches every part of the scene.
      for (const auto& [path, bytes] : kFiles) {
        EXPECT_FALSE(plain.sim.FileExists(path)) << plain.sim.WideToAnsi(path);
      }
      for (const StartValue& start : kStarts) {
        EXPECT_FALSE(ValuePresent(plain.sim, start)) << plain.sim.WideToAnsi(start.name);
      }
      EXPECT_EQ(plain.sim.FileContent(kWinIni), kNewWinIni);
    }

    for (std::size_t index = 0; index < platform::kCallCount; ++index) {
      const auto call = static_cast<Call>(index);
      const int uses = std::min(plain.os.Uses(call), kUsesPerCall);
      for (int use = 1; use <= uses; ++use) {
        for (Mode mode : {Mode::Once, Mode::FromThenOn, Mode::Throws}) {
          if (mode != Mode::Throws && !platform::CanFail(call)) {
            continue;
          }
          Machine run(scenario);
          if (mode == Mode::Throws) {
            run.os.ThrowOn(call, use);
          } else {
            run.os.FailOn(call, use, mode == Mode::FromThenOn);
          }
          ASSERT_NO_THROW(run.Act())
              << scenario.name << ", " << platform::CallName(call) << " use " << use;
          ++runs;
          EXPECT_GE(run.os.InjectedFaults(), 1) << platform::CallName(call) << " use " << use;
          for (const std::string& violation : Violations(run, call)) {
            ++violations;
            ADD_FAILURE() << scenario.name << ", " << platform::CallName(call) << " use " << use
                          << " mode " << static_cast<int>(mode) << ": " << violation;
          }
        }
      }
    }
  }
  std::printf("fault sweep: %d runs, %d invariant violations\n", runs, violations);
  EXPECT_GT(runs, 1000);
}

}  // namespace
}  // namespace quellspur::testing
