// Top-level windows (user32).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"

namespace quellspur::platform {

class Windows {
 public:
  virtual ~Windows() = default;

  // The first top-level window, hidden ones included, with this class and caption; an absent
  // text (a null pointer to Windows) matches any. 0 when there is none.
  virtual WindowHandle FindWindowW(const std::optional<std::wstring>& className,
                                   const std::optional<std::wstring>& windowName) = 0;
  // The thread that made the window; its process id goes to `processId`.
  virtual std::uint32_t GetWindowThreadProcessId(WindowHandle window, std::uint32_t& processId) = 0;
};

}  // namespace quellspur::platform
