// System information and the ANSI code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/os_calls.h"
#include "platform/types.h"

namespace quellspur::platform {

// The fields of OSVERSIONINFOW (276 bytes); the CSD text is not read by the program.
struct OsVersionInfo {
  std::uint32_t size = 0;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
};
inline constexpr std::uint32_t kOsVersionInfoSize = 276;

// The local date and time, as GetLocalTime gives them.
struct LocalTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
};

// The calls and their documentation: QUELLSPUR_SYSTEM_CALLS in os_calls.h.
class System {
 public:
  virtual ~System() = default;
  QUELLSPUR_SYSTEM_CALLS(QUELLSPUR_PURE_VIRTUAL)
};

}  // namespace quellspur::platform
