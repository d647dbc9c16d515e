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

// The time zone as GetTimeZoneInformation gives it: UTC is the local time plus `bias` plus the
// bias of the part of the year in effect, all in minutes.
struct TimeZoneBias {
  std::int32_t bias = 0;
  std::int32_t standardBias = 0;
  std::int32_t daylightBias = 0;
};
// Which part of the year is in effect, as the call returns it.
inline constexpr std::uint32_t kTimeZoneIdUnknown = 0;  // a zone without daylight saving time
inline constexpr std::uint32_t kTimeZoneIdStandard = 1;
inline constexpr std::uint32_t kTimeZoneIdDaylight = 2;
inline constexpr std::uint32_t kTimeZoneIdInvalid = 0xFFFFFFFF;

// How many minutes the local time is ahead of UTC now, from what GetTimeZoneInformation returned.
inline std::int32_t MinutesAheadOfUtc(std::uint32_t zoneId, const TimeZoneBias& zone) {
  const std::int32_t seasonal = zoneId == kTimeZoneIdDaylight   ? zone.daylightBias
                                : zoneId == kTimeZoneIdStandard ? zone.standardBias
                                                                : 0;
  return -(zone.bias + seasonal);
}

// What CompareStringOrdinal returns.
inline constexpr int kCstrLessThan = 1;
inline constexpr int kCstrEqual = 2;
inline constexpr int kCstrGreaterThan = 3;

// The calls and their documentation: QUELLSPUR_SYSTEM_CALLS in os_calls.h.
class System {
 public:
  virtual ~System() = default;
  QUELLSPUR_SYSTEM_CALLS(QUELLSPUR_PURE_VIRTUAL)
};

}  // namespace quellspur::platform
