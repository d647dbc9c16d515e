#include "settings/windows_version.h"

namespace quellspur {

std::int32_t GetWindowsPlatform(platform::System& system) {
  platform::OsVersionInfo info;
  info.size = platform::kOsVersionInfoSize;
  system.GetVersionExW(info);  // on failure the record keeps its zero platform id
  return static_cast<std::int32_t>(info.platformId);
}

}  // namespace quellspur
