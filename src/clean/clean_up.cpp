#include "clean/clean_up.h"

#include <exception>
#include <vector>

#include "clean/file_quarantine.h"
#include "clean/registry_start_removal.h"
#include "clean/win_ini_rewrite.h"
#include "platform/owners.h"
#include "platform/text.h"
#include "scan/process_list.h"
#include "scan/start_command.h"

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

// A follow-up step that fails unexpectedly is skipped; what was done before it stands.
template <typename Step>
void Skippable(Step step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

// For a hash signature's finding, the file's digest now: the one listed, another, or none when
// the file can't be read. Other findings always pass.
enum class ListedHash { Same, Other, Unread };
ListedHash HashNow(platform::Files& files, const Finding& finding) {
  if (finding.listedSha256.empty()) {
    return ListedHash::Same;
  }
  std::string sha256;
  if (!files.FileSha256(finding.filePath, sha256)) {
    return ListedHash::Unread;
  }
  return sha256 == finding.listedSha256 ? ListedHash::Same : ListedHash::Other;
}

// Dealt with: nothing is left to end or remove.
void MarkCleaned(Finding& finding) {
  finding.processId = 0;
  finding.rootKey = 0;
}

}  // namespace

CleanOutcome CleanUp::Clean(Finding& finding, const CleanOptions& options) {
  if (!finding.Actionable()) {
    return CleanOutcome::NothingToDo;
  }
  try {
    return finding.HasProcess() ? Terminate(finding, options) : RemoveStart(finding, options);
  } catch (const std::exception&) {
    return CleanOutcome::NotDone;
  }
}

CleanOutcome CleanUp::Terminate(Finding& finding, const CleanOptions& options) {
  const std::uint32_t processId = finding.processId;
  if (processId == os_.GetCurrentProcessId()) {
    return CleanOutcome::NotDone;  // never this program itself
  }
  {
    // The handle keeps the id from being given to another process while we look and act.
    const platform::UniqueHandle process(
        os_, os_.OpenProcess(platform::kProcessAllAccess, false, processId));
    if (process && !Gone(process.get(), processId)) {
      // The id may have been reused since the scan: act only on the executable that was found,
      // read again through the handle that keeps this very process alive.
      if (UpperCase(scanner_.GetProcessPath(process.get(), processId)) !=
              UpperCase(finding.filePath) ||
          HashNow(os_, finding) != ListedHash::Same) {
        return CleanOutcome::NotDone;
      }
      os_.TerminateProcess(process.get(), kKilledExitCode);
    }
    pump_.ProcessPendingMessages();
    for (int cycle = 0; cycle < kWaitCycles; ++cycle) {
      pump_.ProcessPendingMessages();
    }
    if (!Gone(process.get(), processId)) {
      return CleanOutcome::NotDone;  // it survived: the user may try again
    }
  }
  MarkCleaned(finding);
  if (!NamesAFile(finding.filePath)) {
    return CleanOutcome::Terminated;  // an unreadable path names no file to move or line to drop
  }
  if (options.moveFiles) {
    MoveFiles(finding);
  }
  if (!finding.addedSignature && Contains(finding.backdoorName, L"Millenium")) {
    bool winIniDone = false;
    Skippable([&] {
      winIniDone = RewriteWinIni(os_, log_, record_, finding.backdoorName, options.windowsFolder,
                                 finding.filePath);
    });
    if (!winIniDone) {
      return CleanOutcome::NotDone;  // win.ini starts it again at the next log-on
    }
  }
  return CleanOutcome::Terminated;
}

bool CleanUp::Gone(platform::Handle process, std::uint32_t processId) {
  if (process != 0) {
    // An ended process stays openable while anyone holds it; its exit code tells.
    std::uint32_t exitCode = platform::kStillActive;
    return os_.GetExitCodeProcess(process, exitCode) && exitCode != platform::kStillActive;
  }
  // Not openable: gone only when the system no longer lists it either.
  return scanner_.GetProcessPath(processId) == kUnknownPath &&
         !FindProcessEntry(os_, processId).has_value();
}

void CleanUp::MoveFiles(const Finding& finding) {
  // A file that another took the place of since the scan is not the one listed.
  if (HashNow(os_, finding) == ListedHash::Same) {
    Skippable([&] { MoveFile(os_, log_, record_, finding.backdoorName, finding.filePath); });
  }
  // An added signature names only its executable; a built-in one's companions are looked for
  // beside the executable, never in the current folder.
  if (finding.addedSignature || !IsAbsolutePath(finding.filePath)) {
    return;
  }
  const std::wstring folder =
      finding.filePath.substr(0, finding.filePath.size() - FileNameOf(finding.filePath).size());
  for (const Companions& companions : CompanionTable()) {
    const bool fits = companions.wholeName ? finding.backdoorName == companions.name
                                           : Contains(finding.backdoorName, companions.name);
    if (fits) {
      for (const wchar_t* file : companions.files) {
        Skippable([&] { MoveFile(os_, log_, record_, finding.backdoorName, folder + file); });
      }
      return;
    }
  }
}

CleanOutcome CleanUp::RemoveStart(Finding& finding, const CleanOptions& options) {
  // The value may now start another file of the same name; one already in quarantine passes.
  if (HashNow(os_, finding) == ListedHash::Other ||
      !RemoveRegistryStart(os_, log_, record_, finding)) {
    return CleanOutcome::NotDone;  // it may still start the backdoor: the line stays as it is
  }
  MarkCleaned(finding);
  if (options.moveFiles && NamesAFile(finding.filePath) &&
      HashNow(os_, finding) == ListedHash::Same) {
    Skippable([&] { MoveFile(os_, log_, record_, finding.backdoorName, finding.filePath); });
  }
  return CleanOutcome::StartRemoved;
}

}  // namespace quellspur
