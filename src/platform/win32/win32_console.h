// The real standard streams.
#pragma once

#include "platform/console.h"

namespace quellspur::platform::win32 {

class Win32Console final : public Console {
 public:
  void WriteOut(std::wstring_view text) override;
  void WriteError(std::wstring_view text) override;
};

}  // namespace quellspur::platform::win32
