// The process probe: "Back Orifice" shows no window, so it is found among the running processes.
#include "platform/text.h"
#include "scan/scanner.h"

namespace quellspur {
namespace {

constexpr std::uint64_t kSmallestServer = 124901;
constexpr std::uint64_t kPastLargestServer = 125050;

// An executable named with a blank before ".EXE".
bool HasBlankBeforeExe(const std::wstring& path) {
  return path.size() >= 5 && UpperCase(path.substr(path.size() - 5)) == L" .EXE";
}

}  // namespace

void Scanner::FindByProcess() {
  // A copy: outside a scan, each parent looked up below reads the list anew.
  const std::vector<platform::ProcessEntry> processes = ProcessList();
  const std::wstring name = kBackOrifice;
  for (const platform::ProcessEntry& entry : processes) {
    const std::wstring& path = entry.exeFile;
    bool hit = false;
    if (HasBlankBeforeExe(path)) {
      FindStartEntries(name, path);
      hit = true;
    } else {
      // An executable whose length can't be read is passed over; the next may be the server.
      std::uint64_t length = 0;
      hit = os_.GetFileLength(path, length) && length >= kSmallestServer &&
            length < kPastLargestServer && NameInFileTail(path) && FindStartEntries(name, path);
    }
    if (hit) {
      AddProcess(name, entry.processId, path, GetProcessPath(entry.parentProcessId));
    }
    pacer_.Yield();
  }
}

}  // namespace quellspur
