// From a process id to the path of its executable.
#include "platform/owners.h"
#include "scan/process_list.h"
#include "scan/scanner.h"

namespace quellspur {
namespace {

constexpr std::uint32_t kModulePathChars = 250;

}  // namespace

std::wstring Scanner::GetProcessPath(std::uint32_t processId) {
  if (IsNt()) {
    if (processId == 0) {
      return kUnknownPath;  // Windows NT opens no process by the id 0: the idle process has it
    }
    // Windows NT's process list names no folder, so the process itself is asked.
    const platform::UniqueHandle process(
        os_, os_.OpenProcess(platform::kProcessQueryAndRead, false, processId));
    return process ? GetProcessPath(process.get(), processId) : kUnknownPath;
  }
  const auto entry = FindProcessEntry(ProcessList(), processId);
  return entry ? entry->exeFile : kUnknownPath;
}

std::wstring Scanner::GetProcessPath(platform::Handle process, std::uint32_t processId) {
  if (!IsNt()) {
    return GetProcessPath(processId);
  }
  std::wstring path;
  // The full image name reaches a 64-bit process from a 32-bit program too; it is cut as the
  // module path is, so that both calls name a process alike.
  if (os_.QueryFullProcessImageNameW(process, path)) {
    return path.substr(0, kModulePathChars - 1);
  }
  const std::uint32_t written = os_.GetModuleFileNameExW(process, kModulePathChars, path);
  return path.substr(0, written);
}

void Scanner::AddProcess(const std::wstring& backdoorName, std::uint32_t processId,
                         const std::wstring& path, const std::wstring& parentPath) {
  Finding& finding = findings_.emplace_back();
  finding.backdoorName = backdoorName;
  finding.filePath = path;
  finding.processId = processId;
  finding.parentPath = parentPath;
}

}  // namespace quellspur
