#include "settings/windows_folder.h"

#include <cstdint>

namespace quellspur {
namespace {

constexpr std::uint32_t kPathChars = 260;

}  // namespace

std::wstring WindowsFolder(platform::System& system) {
  std::wstring folder;
  const std::uint32_t length = system.GetWindowsDirectoryW(kPathChars, folder);
  if (length >= kPathChars) {
    system.GetWindowsDirectoryW(length, folder);
  }
  return folder + L"\\";
}

}  // namespace quellspur
