// Which family of Windows the program runs on: Windows NT names a process's executable only
// when asked through the process, Windows 95/98 in its process list, and only the latter runs
// "Back Orifice".
#pragma once

#include "platform/system.h"

namespace quellspur {

enum class WindowsPlatform {
  Unknown,    // the version call failed: taken for Windows 95/98, as is every family but NT
  Windows9x,  // Windows 95 and 98
  Nt,
};

// The family of the running system, from the platform id its version record gives.
WindowsPlatform GetWindowsPlatform(platform::System& system);

}  // namespace quellspur
