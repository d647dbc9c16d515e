#include "scan/process_list.h"

namespace quellspur {

std::optional<platform::ProcessEntry> FindProcessEntry(platform::Processes& processes,
                                                       std::uint32_t processId) {
  ProcessSnapshot snapshot(processes);
  if (!snapshot) {
    return std::nullopt;
  }
  platform::ProcessEntry entry;
  for (bool more = snapshot.First(entry); more; more = snapshot.Next(entry)) {
    if (entry.processId == processId) {
      return entry;
    }
  }
  return std::nullopt;
}

}  // namespace quellspur
