// The Windows folder, where win.ini lives.
#pragma once

#include <string>

#include "platform/system.h"

namespace quellspur {

// The Windows folder with a backslash, however long its path.
std::wstring WindowsFolder(platform::System& system);

}  // namespace quellspur
