// Top-level windows (user32).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/os_calls.h"
#include "platform/types.h"

namespace quellspur::platform {

// The calls and their documentation: QUELLSPUR_WINDOW_CALLS in os_calls.h.
class Windows {
 public:
  virtual ~Windows() = default;
  QUELLSPUR_WINDOW_CALLS(QUELLSPUR_PURE_VIRTUAL)
};

}  // namespace quellspur::platform
