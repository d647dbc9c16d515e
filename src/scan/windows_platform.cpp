#include "scan/windows_platform.h"

#include "platform/types.h"

namespace quellspur {

WindowsPlatform GetWindowsPlatform(platform::System& system) {
  platform::OsVersionInfo info;
  info.size = platform::kOsVersionInfoSize;
  system.GetVersionExW(info);  // on failure the record keeps its zero platform id
  switch (info.platformId) {
    case platform::kPlatformNt:
      return WindowsPlatform::Nt;
    case platform::kPlatformWindows:
      return WindowsPlatform::Windows9x;
    default:
      return WindowsPlatform::Unknown;
  }
}

}  // namespace quellspur
