// System information and the ANSI code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quellspur::platform {

// The fields of OSVERSIONINFOA (148 bytes); the CSD text is not read by the program.
struct OsVersionInfo {
  std::uint32_t size = 0;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
};
inline constexpr std::uint32_t kOsVersionInfoSize = 148;

class System {
 public:
  virtual ~System() = default;

  // Fills the record; on failure it stays as it was.
  virtual bool GetVersionExA(OsVersionInfo& info) = 0;

  // The system's 8-bit code page, both ways; every byte and character counts, zeros included.
  virtual std::wstring AnsiToWide(std::string_view ansi) = 0;
  virtual std::string WideToAnsi(std::wstring_view text) = 0;
};

}  // namespace quellspur::platform
