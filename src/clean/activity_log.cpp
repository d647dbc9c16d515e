#include "clean/activity_log.h"

#include "clean/clock_text.h"
#include "platform/text.h"

namespace quellspur {
namespace {

// ASCII is in every code page; any other character must come back from the code page unchanged.
bool InCodePage(platform::System& system, wchar_t c) {
  const std::wstring_view text(&c, 1);
  return c < 0x80 || system.AnsiToWide(system.WideToAnsi(text)) == text;
}

}  // namespace

std::wstring EscapeForLog(platform::System& system, const std::wstring& message) {
  std::wstring escaped;
  escaped.reserve(message.size());
  for (wchar_t c : message) {
    if (IsControlCharacter(c) || !InCodePage(system, c)) {
      escaped += EscapedCharacter(c);
    } else {
      escaped += c;
    }
  }
  return escaped;
}

void ActivityLog::WriteLog(const std::wstring& message) {
  // Date and time come from two readings of the clock, date first.
  platform::LocalTime date;
  os_.GetLocalTime(date);
  platform::LocalTime time;
  os_.GetLocalTime(time);
  const std::wstring line = FormatDate(date) + L" " + FormatTime(time, os_.GetTimeSeparator()) +
                            L" " + EscapeForLog(os_, message) + L"\r\n";
  // Append-only, one write: other writers can't tear the line, readers may keep the file open.
  os_.AppendToFile(os_.GetProgramFolder() + L"\\BackLog.txt", os_.WideToAnsi(line));
}

}  // namespace quellspur
