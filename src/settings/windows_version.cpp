#include "settings/windows_version.h"

namespace quellspur {
namespace {

constexpr std::uint32_t kPathChars = 260;

}  // namespace

std::int32_t GetWindowsPlatform(platform::System& system) {
  platform::OsVersionInfo info;
  info.size = platform::kOsVersionInfoSize;
  system.GetVersionExW(info);  // on failure the record keeps its zero platform id
  return static_cast<std::int32_t>(info.platformId);
}

std::wstring WindowsFolder(platform::System& system) {
  std::wstring folder;
  const std::uint32_t length = system.GetWindowsDirectoryW(kPathChars, folder);
  if (length >= kPathChars) {
    system.GetWindowsDirectoryW(length, folder);
  }
  return folder + L"\\";
}

}  // namespace quellspur
