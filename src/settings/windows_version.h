// Which family of Windows the program runs on.
#pragma once

#include <cstdint>

#include "platform/system.h"

namespace quellspur {

// The platform id of the running system: 1 for Windows 95/98, 2 for Windows NT, 0 when the
// version call fails.
std::int32_t GetWindowsPlatform(platform::System& system);

}  // namespace quellspur
