// The real standard streams.
#pragma once

#include "platform/console.h"

namespace quellspur::platform::win32 {

class Win32Console final : public Console {
 protected:
  bool Put(Stream stream, std::wstring_view text, std::wstring& whyNot) override;
};

}  // namespace quellspur::platform::win32
