#include "clean/clean_up.h"

#include <exception>
#include <vector>

#include "clean/file_quarantine.h"
#include "clean/registry_start_removal.h"
#include "clean/win_ini_rewrite.h"
#include "platform/owners.h"
#include "scan/path_text.h"
#include "scan/process_list.h"

namespace quellspur {
namespace {

constexpr std::uint32_t kKilledExitCode = 200;
constexpr int kWaitCycles = 20000;

struct Companions {
  bool wholeName;  // the name must equal the text, not just hold it
  const wchar_t* name;
  std::vector<const wchar_t*> files;
};

// Files some backdoors keep beside their executable; the first row that fits decides.
const std::vector<Companions>& CompanionTable() {
  static const std::vector<Companions> table = {
      {true, L"Back Orifice", {L"windll.dll"}},
      {false, L"NetBus", {L"keyhook.dll"}},
      {false, L"Millenium", {L"regersys.ocx"}},
      {false, L"StealthSpy", {L"Tserv.dll"}},
      {false, L"Gate Crasher", {L"Inet.hlp", L"Winsck.dat", L"Winsck.ini"}},
  };
  return table;
}

bool Contains(const std::wstring& text, const wchar_t* part) {
  return text.find(part) != std::wstring::npos;
}

// The hourglass for as long as the command runs, whatever happens in it.
class Hourglass {
 public:
  explicit Hourglass(platform::Window& form) : form_(form) {
    form_.SetPointer(platform::MousePointer::Hourglass);
  }
  ~Hourglass() { form_.SetPointer(platform::MousePointer::Default); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;

 private:
  platform::Window& form_;
};

// A step that fails unexpectedly is skipped; the command goes on with the next.
template <typename Step>
void Skippable(Step step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace

void CleanUp::Run() {
  const Hourglass hourglass(widgets_.form);
  const int lines = widgets_.List.ListCount();
  for (int line = lines - 1; line >= 0; --line) {
    const std::size_t row = static_cast<std::size_t>(line) + 1;
    if (!widgets_.List.Selected(line) || row > backdoors_.foundTable.LastIndex()) {
      continue;
    }
    Skippable([&] {
      if (widgets_.cmdKill.Caption() == kKillProcessCaption) {
        Terminate(line, row);
      } else {
        RemoveStart(line, row);
      }
    });
  }
  pump_.ProcessPendingMessages();
}

void CleanUp::Terminate(int line, std::size_t row) {
  const std::uint32_t processId = backdoors_.foundTable[row].ProcessId;
  if (processId == os_.GetCurrentProcessId()) {
    return;  // never this program itself
  }
  // The handle keeps the id from being given to another process while we look and act.
  const platform::UniqueHandle process(
      os_, os_.OpenProcess(platform::kProcessAllAccess, false, processId));
  if (process && !Gone(process.get(), processId)) {
    // The id may have been reused since the scan: act only on the executable that was found.
    if (UpperCase(backdoors_.GetProcessPath(processId)) !=
        UpperCase(backdoors_.foundTable[row].FilePath)) {
      return;
    }
    os_.TerminateProcess(process.get(), kKilledExitCode);
  }
  pump_.ProcessPendingMessages();
  for (int cycle = 0; cycle < kWaitCycles; ++cycle) {
    pump_.ProcessPendingMessages();
  }
  if (!Gone(process.get(), processId)) {
    return;  // it survived: the line stays as it is, the user may try again
  }
  const FoundEntry entry = backdoors_.foundTable[row];
  if (IsOn(settings_.MoveFiles)) {
    MoveFiles(entry);
  }
  if (Contains(entry.BackdoorName, L"Millenium")) {
    RewriteWinIni(os_, log_, windowsDir_, entry.FilePath);
  }
  MarkDone(line, row, kTerminatedPrefix);
}

bool CleanUp::Gone(platform::Handle process, std::uint32_t processId) {
  if (process != 0) {
    // An ended process stays openable while anyone holds it; its exit code tells.
    std::uint32_t exitCode = platform::kStillActive;
    return os_.GetExitCodeProcess(process, exitCode) && exitCode != platform::kStillActive;
  }
  // Not openable: gone only when the system no longer lists it either.
  return backdoors_.GetProcessPath(processId) == kUnknownPath &&
         !FindProcessEntry(os_, processId).has_value();
}

void CleanUp::MoveFiles(const FoundEntry& entry) {
  MoveFile(os_, log_, entry.FilePath);
  const std::wstring folder =
      entry.FilePath.substr(0, entry.FilePath.size() - FileNameOf(entry.FilePath).size());
  for (const Companions& companions : CompanionTable()) {
    const bool fits = companions.wholeName ? entry.BackdoorName == companions.name
                                           : Contains(entry.BackdoorName, companions.name);
    if (fits) {
      for (const wchar_t* file : companions.files) {
        MoveFile(os_, log_, folder + file);
      }
      return;
    }
  }
}

void CleanUp::RemoveStart(int line, std::size_t row) {
  const FoundEntry entry = backdoors_.foundTable[row];
  RemoveRegistryStart(os_, log_, entry);
  if (IsOn(settings_.MoveFiles)) {
    MoveFile(os_, log_, entry.FilePath);
  }
  MarkDone(line, row, kErasedPrefix);
}

void CleanUp::MarkDone(int line, std::size_t row, const std::wstring& prefix) {
  Skippable([&] {
    const std::wstring text = widgets_.List.List(line);
    widgets_.List.RemoveItem(line);
    widgets_.List.InsertItem(prefix + text, line);
  });
  backdoors_.foundTable[row].RootKey = 0;
  backdoors_.foundTable[row].ProcessId = 0;
  widgets_.cmdKill.SetEnabled(false);
}

}  // namespace quellspur
