// Which family of Windows the program runs on, and its folder.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system.h"

namespace quellspur {

// The platform id of the running system: 1 for Windows 95/98, 2 for Windows NT, 0 when the
// version call fails.
std::int32_t GetWindowsPlatform(platform::System& system);

// The Windows folder with a backslash, however long its path: where win.ini lives.
std::wstring WindowsFolder(platform::System& system);

}  // namespace quellspur
