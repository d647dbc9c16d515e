#include "scan/process_list.h"

#include "platform/owners.h"

namespace quellspur {

std::vector<platform::ProcessEntry> ReadProcessList(platform::Processes& processes) {
  std::vector<platform::ProcessEntry> list;
  const platform::UniqueHandle snapshot(
      processes, processes.CreateToolhelp32Snapshot(platform::kSnapProcess, 0));
  if (!snapshot) {
    return list;
  }
  platform::ProcessEntry entry;
  for (bool more = processes.Process32FirstW(snapshot.get(), entry); more;
       more = processes.Process32NextW(snapshot.get(), entry)) {
    list.push_back(entry);
  }
  return list;
}

std::optional<platform::ProcessEntry> FindProcessEntry(
    const std::vector<platform::ProcessEntry>& list, std::uint32_t processId) {
  for (const platform::ProcessEntry& entry : list) {
    if (entry.processId == processId) {
      return entry;
    }
  }
  return std::nullopt;
}

std::optional<platform::ProcessEntry> FindProcessEntry(platform::Processes& processes,
                                                       std::uint32_t processId) {
  return FindProcessEntry(ReadProcessList(processes), processId);
}

}  // namespace quellspur
