// The platform boundary over the real Windows calls (the UTF-16 "W" forms).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"

namespace quellspur::platform::win32 {

// Texts cross into Windows as UTF-16 and come back up to their first zero. Every member calls the
// Windows function of the same name, spelled with a leading "::" because the unqualified name
// would be the member itself. The members are the calls of os_calls.h.
class Win32Os final : public Os {
 public:
  QUELLSPUR_OS_CALLS(QUELLSPUR_OVERRIDE)

 private:
  // The full path of the running program's executable.
  std::wstring ProgramPath();
};

// Whether this is a 32-bit program on 64-bit Windows, where the registry's views and System32's
// redirection apply to it.
bool RunsUnderWow64();

// The path by which this program reaches the file it names: the Windows folder's real System32
// even when it is a 32-bit program on 64-bit Windows.
std::wstring Unredirected(const std::wstring& path);

}  // namespace quellspur::platform::win32
