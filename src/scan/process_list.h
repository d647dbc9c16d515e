// Walking the system's process list through a snapshot that is closed on every path.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/owners.h"
#include "platform/processes.h"

namespace quellspur {

class ProcessSnapshot {
 public:
  explicit ProcessSnapshot(platform::Processes& processes)
      : processes_(processes),
        snapshot_(processes, processes.CreateToolhelp32Snapshot(platform::kSnapProcess, 0)) {}

  // False when no snapshot was obtained.
  explicit operator bool() const { return static_cast<bool>(snapshot_); }
  bool First(platform::ProcessEntry& entry) {
    return processes_.Process32FirstW(snapshot_.get(), entry);
  }
  bool Next(platform::ProcessEntry& entry) {
    return processes_.Process32NextW(snapshot_.get(), entry);
  }

 private:
  platform::Processes& processes_;
  platform::UniqueHandle snapshot_;
};

// The first entry of a fresh snapshot with the given process id, if any.
std::optional<platform::ProcessEntry> FindProcessEntry(platform::Processes& processes,
                                                       std::uint32_t processId);

}  // namespace quellspur
