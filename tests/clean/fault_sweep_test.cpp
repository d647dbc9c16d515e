// Every call the program makes, failing at each of its uses with each status it fails with (once,
// or from then on), or throwing, through whole scans with Auto Clean, clean-ups by hand and a
// restore of all. Whatever fails, nothing is lost, nothing is changed that the change record does
// not name, nothing is reported that did not happen, and nothing is left open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ostream>
#include <string>

#include "clean/restore.h"
#include "console/quell_scan.h"
#include "engine/clean_marks.h"
#include "forms/main_window_fixture.h"
#include "support/cleaned_scene.h"
#include "support/quarantine_paths.h"
#include "testing/sim_console.h"

namespace quellspur::testing {
namespace {

using platform::Call;
using platform::Status;

// The win.ini lines that start Millenium, as the record keeps them.
const std::vector<RemovedLine> kMilleniumLines = {
    {2, L"load=C:\\MIL\\MSWINDS.EXE", L"[windows]", L"[windows]", L"run="},
    {4, L"x=C:\\MIL\\MSWINDS.EXE", L"[windows]", L"run=", std::nullopt}};

enum class Job { AutoClean, ByHand, RestoreAll };

struct Scenario {
  const char* name;
  std::uint32_t platformId;
  Job job;
};
const Scenario kScenarios[] = {
    {"Auto Clean on Windows 98", platform::kPlatformWindows, Job::AutoClean},
    {"Auto Clean on Windows NT", platform::kPlatformNt, Job::AutoClean},
    // The scan runs before the faults, then each line is cleaned.
    {"each line by hand", platform::kPlatformNt, Job::ByHand},
    // Windows 98's clean-up reaches all of the scene, which then comes back.
    {"restore of all", platform::kPlatformWindows, Job::RestoreAll},
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
  *out << scenario.name;
}

// The program on a machine with the scene, the wrapper between them, ready for the faults.
struct Machine {
  explicit Machine(const Scenario& scenario) : job(scenario.job) {
    BuildScene(sim);
    sim.SetPlatformId(scenario.platformId);
    desk.engine.ReadSystem();
    desk.settings = Settings{0, job == Job::AutoClean ? 1 : 0, 1};
    if (job == Job::ByHand) {
      desk.form.cmdScan_Click();
    }
    if (job == Job::RestoreAll) {
      RunQuellScan({L"scan", L"--clean"}, sim, pump, console);
      logLinesBefore = LogLines(sim).size();
    }
    os.Reset();
  }

  void Act() {
    switch (job) {
      case Job::AutoClean:
        desk.form.cmdScan_Click();
        break;
      case Job::ByHand:
        for (int line = 0; line < desk.list.ListCount(); ++line) {
          desk.list.SetListIndex(line);
          desk.form.cmdKill_Click();
        }
        break;
      case Job::RestoreAll:
        console = {};
        exitCode = RunQuellScan({L"restore", L"--all"}, os, pump, console);
        break;
    }
  }

  // The activity log's lines that the job wrote.
  std::vector<std::string> JobsLogLines() const {
    const std::vector<std::string> all = LogLines(sim);
    return {all.begin() + static_cast<std::ptrdiff_t>(logLinesBefore), all.end()};
  }

  Job job;
  platform::sim::SimMachine sim;
  platform::FaultInjectingOs os{sim};
  platform::sim::SimMessagePump pump;
  platform::sim::SimConsole console;
  SimulatedMainWindow desk{os, pump};
  std::size_t logLinesBefore = 0;
  int exitCode = kExitNothingFound;
};

// The calls the activity log makes: when one of them fails, a change may go unrecorded.
bool LogCall(Call call) {
  return call == Call::AppendToFileUnlessLocked || call == Call::GetLocalTime ||
         call == Call::GetTimeSeparator || call == Call::GetProgramFolder ||
         call == Call::WideToAnsi;
}

// Whether the record holds a change of that kind that fits.
template <typename Change, typename Fits>
bool Recorded(const ParsedRecord& record, Fits fits) {
  return std::ranges::any_of(record.entries, [&](const ChangeEntry& entry) {
    const Change* change = std::get_if<Change>(&entry.change);
    return change != nullptr && fits(*change);
  });
}

bool Running(const platform::sim::SimMachine& sim, const std::wstring& path) {
  return std::ranges::any_of(sim.processes(), [&](const platform::sim::SimProcess& p) {
    return p.running && p.exeFile == path;
  });
}

std::wstring ValueWhere(const SceneValue& value) {
  return (value.root == kHkcu ? L"HKEY_CURRENT_USER\\" : L"HKEY_LOCAL_MACHINE\\") + value.key +
         L"," + value.name;
}

// Every broken promise of one run, one text each.
class Violations {
 public:
  // The run with `armed` failing with `status` (0: not failing, or throwing).
  Violations(Machine& run, Call armed, Status status)
      : run_(run),
        sim_(run.sim),
        armed_(armed),
        believedGone_(platform::NotFound(status)),
        log_(run.JobsLogLines()) {
    Common();
    if (run.job == Job::RestoreAll) {
      Restored();
    } else {
      Cleaned();
    }
  }

  const std::vector<std::string>& found() const { return found_; }

 private:
  // What holds whatever the job: the record stays whole and names whatever left its place, win.ini
  // holds one of its two contents, nothing is left open.
  void Common() {
    if (!record_.damaged.empty()) {
      found_.push_back("the change record has a damaged line");
    }
    const std::string winIni = sim_.FileContent(kWinIni);
    if (winIni != kSceneWinIni && winIni != kCleanedWinIni) {
      found_.push_back("win.ini holds neither its old nor its new content: " + winIni);
    }
    if (winIni == kCleanedWinIni && !Recorded<WinIniChange>(record_, [](const WinIniChange& c) {
          return c.lines == kMilleniumLines;
        })) {
      found_.push_back("win.ini rewritten without a record line");
    }
    for (const SceneFile& file : SceneFiles()) {
      if (!sim_.FileExists(file.path) && !Recorded<FileChange>(record_, [&](const FileChange& c) {
            return c.originalPath == file.path &&
                   sim_.FileContent(InQuarantine(c.copyName)) == file.bytes;
          })) {
        found_.push_back("gone without a whole copy that the record names: " + Ansi(file.path));
      }
    }
    for (const SceneValue& value : SceneValues()) {
      if (!ValuePresent(sim_, value) &&
          !Recorded<RegistryChange>(record_, [&](const RegistryChange& c) {
            return c.valueName == value.name && c.type == value.type && c.data == value.data;
          })) {
        found_.push_back("a start value gone without a record line: " + Ansi(value.name));
      }
    }
    if (armed_ != Call::CloseHandle && sim_.OpenHandleCount() != 0) {
      found_.push_back("handles left open: " + std::to_string(sim_.OpenHandleCount()));
    }
    if (armed_ != Call::RegCloseKey && sim_.OpenKeyCount() != 0) {
      found_.push_back("keys left open: " + std::to_string(sim_.OpenKeyCount()));
    }
  }

  // A clean-up logs exactly what it changed, and its list's marks tell the truth.
  void Cleaned() {
    const bool rewritten = sim_.FileContent(kWinIni) == kCleanedWinIni;
    for (const RemovedLine& line : kMilleniumLines) {
      Logged(rewritten, L"Removing start: " + line.text + L" in win.ini", "win.ini");
    }
    for (const SceneFile& file : SceneFiles()) {
      Logged(!sim_.FileExists(file.path),
             L"Moving: " + file.path + L" to: " + QuarantineFolder() + L"\\", "a move");
    }
    for (const SceneValue& value : SceneValues()) {
      Logged(!ValuePresent(sim_, value), L"Removing start in registry: " + ValueWhere(value),
             "a start entry's removal");
    }
    for (const std::wstring& line : run_.desk.list.lines()) {
      const std::size_t foundAs = line.find(L" Found as: ");
      if (foundAs == std::wstring::npos) {
        continue;
      }
      const std::wstring rest = line.substr(foundAs + 11);
      if (line.starts_with(kTerminatedPrefix) &&
          Running(sim_, rest.substr(0, rest.find(L" Activ now")))) {
        found_.push_back("marked terminated but running: " + Ansi(line));
      }
      for (const SceneValue& value : SceneValues()) {
        if (line.starts_with(kErasedPrefix) && line.ends_with(L"/" + value.name) &&
            ValuePresent(sim_, value) && !believedGone_) {
          found_.push_back("marked erased but still there: " + Ansi(line));
        }
      }
    }
    if (run_.desk.window.Pointer() != platform::MousePointer::Default) {
      found_.push_back("the pointer stays an hourglass");
    }
  }

  // A restore logs exactly what came back, which is whole, and says all came back, without an
  // error, only when it did; and whatever failed, a restore after it brings back the rest and
  // leaves no temporary file.
  void Restored() {
    const bool linesBack = sim_.FileContent(kWinIni) == kSceneWinIni;
    for (const RemovedLine& line : kMilleniumLines) {
      Logged(linesBack, L"Restoring: " + line.text + L" in win.ini", "win.ini");
    }
    for (const SceneFile& file : SceneFiles()) {
      const bool back = sim_.FileExists(file.path);
      if (back && sim_.FileContent(file.path) != file.bytes) {
        found_.push_back("back but not whole: " + Ansi(file.path));
      }
      Logged(back, L"Restoring: " + file.path + L" from: ", "a file's restore");
    }
    for (const SceneValue& value : SceneValues()) {
      Logged(ValuePresent(sim_, value), L"Restoring: start in registry: " + ValueWhere(value),
             "a start value's restore");
    }
    const std::vector<std::wstring> missing = Differences(sim_);
    if (run_.exitCode == kExitNothingFound && run_.console.error.empty() && !missing.empty() &&
        !believedGone_) {
      found_.push_back("reported all restored, but not " + Ansi(missing.front()));
    }
    platform::sim::SimConsole console;
    RunQuellScan({L"restore", L"--all"}, sim_, run_.pump, console);
    if (!Differences(sim_).empty()) {
      found_.push_back("a later restore does not bring back " + Ansi(Differences(sim_).front()));
    }
    for (const SceneFile& file : SceneFiles()) {
      if (sim_.FileExists(Restore::TemporaryName(file.path))) {
        found_.push_back("a later restore leaves a temporary file beside " + Ansi(file.path));
      }
    }
  }

  // A change has its log line, and a log line its change; a failing log may lose a line.
  void Logged(bool changed, const std::wstring& text, const std::string& what) {
    const std::string wanted = Ansi(text);
    const bool logged = std::ranges::any_of(
        log_, [&](const std::string& line) { return line.find(wanted) != std::string::npos; });
    if (logged != changed && (logged || !LogCall(armed_))) {
      found_.push_back("the log does not match " + what + ": " + wanted);
    }
  }

  std::string Ansi(const std::wstring& text) { return sim_.WideToAnsi(text); }

  Machine& run_;
  platform::sim::SimMachine& sim_;
  Call armed_;
  // A "not found" made up for what is there: the program may take it as gone, or as nothing to
  // do, and so report. What it changed is checked all the same.
  bool believedGone_;
  std::vector<std::string> log_;
  ParsedRecord record_ = ChangeRecord(sim_).Read();
  std::vector<std::string> found_;
};

enum class Mode { Once, FromThenOn, Throws };

struct Tally {
  int runs = 0;
  int violations = 0;
  int repeats = 0;  // runs left out as the same as one made
};

// What one run tells about the runs still to make.
struct Outcome {
  bool statusSeen = false;  // another status could have led elsewhere
  bool usedAgain = false;   // the call was used after its failure
};

Outcome Try(const Scenario& scenario, Call call, int use, Mode mode, Status status, Tally& tally) {
  Machine run(scenario);
  if (mode == Mode::Throws) {
    run.os.ThrowOn(call, use);
  } else {
    run.os.FailOn(call, use, mode == Mode::FromThenOn, status);
  }
  const std::string trace = std::string(scenario.name) + ", " +
                            std::string(platform::CallName(call)) + " use " + std::to_string(use) +
                            " mode " + std::to_string(static_cast<int>(mode)) + " status " +
                            std::to_string(status);
  EXPECT_NO_THROW(run.Act()) << trace;
  ++tally.runs;
  EXPECT_GE(run.os.InjectedFaults(), 1) << trace;
  const Violations violations(run, call, status);
  for (const std::string& violation : violations.found()) {
    ++tally.violations;
    ADD_FAILURE() << trace << ": " << violation;
  }
  return {run.os.InjectedStatusSeen(), run.os.Uses(call) > use};
}

// The call failing at one use with each of its statuses, once and from then on, and throwing.
// Where nothing read a failure's status, the other statuses would go the same way; where the call
// was not used again, failing from then on is failing once: those runs are left out.
void SweepUse(const Scenario& scenario, Call call, int use, Tally& tally) {
  Try(scenario, call, use, Mode::Throws, 0, tally);
  const std::span<const Status> statuses = platform::FailureStatuses(call);
  for (std::size_t index = 0; index < statuses.size(); ++index) {
    const Outcome once = Try(scenario, call, use, Mode::Once, statuses[index], tally);
    bool seen = once.statusSeen;
    if (once.usedAgain) {
      seen = Try(scenario, call, use, Mode::FromThenOn, statuses[index], tally).statusSeen || seen;
    } else {
      ++tally.repeats;
    }
    if (!seen) {
      tally.repeats += static_cast<int>(statuses.size() - index - 1) * (once.usedAgain ? 2 : 1);
      return;
    }
  }
}

// Each scenario is a test of its own, so that CTest runs them side by side.
class FaultSweep : public ::testing::TestWithParam<Scenario> {};

TEST_P(FaultSweep, NothingIsLostOrMisreportedWhateverCallFails) {
  const Scenario& scenario = GetParam();
  Tally tally;
  // A run without faults tells how often each call is used.
  Machine plain(scenario);
  plain.Act();
  ASSERT_TRUE(Violations(plain, Call::kCount, 0).found().empty()) << scenario.name;
  if (scenario.platformId == platform::kPlatformWindows) {
    // Without faults, Windows 98's clean-up reaches all of the scene, and a restore brings it
    // back.
    EXPECT_EQ(Differences(plain.sim).size(),
              scenario.job == Job::RestoreAll ? 0 : SceneFiles().size() + 1 + SceneValues().size())
        << scenario.name;
  }
  for (std::size_t index = 0; index < platform::kCallCount; ++index) {
    const auto call = static_cast<Call>(index);
    for (int use = 1; use <= plain.os.Uses(call); ++use) {
      SweepUse(scenario, call, use, tally);
    }
  }
  std::printf("fault sweep: %s: %d runs, %d invariant violations\n", scenario.name, tally.runs,
              tally.violations);
  std::printf("left out as the same as a run made: %d runs\n", tally.repeats);
  EXPECT_GT(tally.runs, 200) << scenario.name;
}

// A scenario's name in a test's name: its letters and digits.
std::string ScenarioTestName(const ::testing::TestParamInfo<Scenario>& info) {
  std::string name;
  for (const char* c = info.param.name; *c != '\0'; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c)) != 0) {
      name += *c;
    }
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(EachScenario, FaultSweep, ::testing::ValuesIn(kScenarios),
                         ScenarioTestName);

}  // namespace
}  // namespace quellspur::testing
