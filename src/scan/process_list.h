// The system's process list, read through a snapshot that is closed on every path.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/processes.h"

namespace quellspur {

// Every entry of a fresh snapshot, in its order, up to the first that can't be read; empty when
// no snapshot was obtained.
std::vector<platform::ProcessEntry> ReadProcessList(platform::Processes& processes);

// The first entry of the list with the given process id, if any.
std::optional<platform::ProcessEntry> FindProcessEntry(
    const std::vector<platform::ProcessEntry>& list, std::uint32_t processId);
// The same in a fresh snapshot.
std::optional<platform::ProcessEntry> FindProcessEntry(platform::Processes& processes,
                                                       std::uint32_t processId);

}  // namespace quellspur
