#include "clean/clock_text.h"

#include <cstdlib>
#include <cwchar>

namespace quellspur {
namespace {

std::wstring TwoDigits(unsigned value) {
  wchar_t digits[8];
  std::swprintf(digits, 8, L"%02u", value % 100);
  return digits;
}

}  // namespace

std::wstring FormatDate(const platform::LocalTime& time) {
  wchar_t year[8];
  std::swprintf(year, 8, L"%04u", static_cast<unsigned>(time.year % 10000));
  return std::wstring(year) + L"-" + TwoDigits(time.month) + L"-" + TwoDigits(time.day);
}

std::wstring FormatTime(const platform::LocalTime& time, const std::wstring& separator) {
  return TwoDigits(time.hour) + separator + TwoDigits(time.minute) + separator +
         TwoDigits(time.second);
}

std::wstring FormatUtcOffset(std::int32_t minutesAhead) {
  const auto minutes = static_cast<unsigned>(std::llabs(minutesAhead));
  return (minutesAhead < 0 ? L"-" : L"+") + TwoDigits(minutes / 60) + L":" +
         TwoDigits(minutes % 60);
}

}  // namespace quellspur
