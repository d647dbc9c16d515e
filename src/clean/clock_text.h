// Dates and times as the log, the result list and the change record write them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system.h"

namespace quellspur {

// "yyyy-mm-dd".
std::wstring FormatDate(const platform::LocalTime& time);
// "hh:mm:ss" on the 24-hour clock, joined by the user's time separator.
std::wstring FormatTime(const platform::LocalTime& time, const std::wstring& separator);
// How far the local time is ahead of UTC, "+hh:mm" or "-hh:mm".
std::wstring FormatUtcOffset(std::int32_t minutesAhead);

}  // namespace quellspur
