#include "clean/clock_text.h"

#include <cstdlib>

#include "platform/text.h"

namespace quellspur {
namespace {

std::wstring TwoDigits(unsigned value) {
  return DecimalText(value % 100, 2);
}

}  // namespace

std::wstring FormatDate(const platform::LocalTime& time) {
  return Joined(
      {DecimalText(time.year % 10000, 4), L"-", TwoDigits(time.month), L"-", TwoDigits(time.day)});
}

std::wstring FormatTime(const platform::LocalTime& time, const std::wstring& separator) {
  return Joined(
      {TwoDigits(time.hour), separator, TwoDigits(time.minute), separator, TwoDigits(time.second)});
}

std::wstring FormatUtcOffset(std::int32_t minutesAhead) {
  const auto minutes = static_cast<unsigned>(std::llabs(minutesAhead));
  return Joined(
      {minutesAhead < 0 ? L"-" : L"+", TwoDigits(minutes / 60), L":", TwoDigits(minutes % 60)});
}

}  // namespace quellspur
