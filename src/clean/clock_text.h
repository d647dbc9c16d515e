// Dates and times as the log and the result list write them.
#pragma once

#include <string>

#include "platform/system.h"

namespace quellspur {

// "yyyy-mm-dd".
std::wstring FormatDate(const platform::LocalTime& time);
// "hh:mm:ss" on the 24-hour clock, joined by the user's time separator.
std::wstring FormatTime(const platform::LocalTime& time, const std::wstring& separator);

}  // namespace quellspur
