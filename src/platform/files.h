// The file system, by path; every call opens and closes what it needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/os_calls.h"

namespace quellspur::platform {

// The calls and their documentation: QUELLSPUR_FILE_CALLS in os_calls.h.
class Files {
 public:
  virtual ~Files() = default;
  QUELLSPUR_FILE_CALLS(QUELLSPUR_PURE_VIRTUAL)
};

}  // namespace quellspur::platform
