// The process list and process handles (kernel32 Toolhelp, kernel32, psapi).
#pragma once

#include <cstdint>
#include <string>

#include "platform/os_calls.h"
#include "platform/types.h"

namespace quellspur::platform {

// The parts of the PROCESSENTRY32W record the program reads.
struct ProcessEntry {
  std::uint32_t processId = 0;
  std::uint32_t parentProcessId = 0;
  std::wstring exeFile;  // up to its first zero
};

// The calls and their documentation: QUELLSPUR_PROCESS_CALLS in os_calls.h.
class Processes {
 public:
  virtual ~Processes() = default;
  QUELLSPUR_PROCESS_CALLS(QUELLSPUR_PURE_VIRTUAL)
};

}  // namespace quellspur::platform
