#include "clean/activity_log.h"

#include <cwchar>
#include <iterator>

#include "clean/clock_text.h"

namespace quellspur {
namespace {

bool IsControl(wchar_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

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
    wchar_t code[16];
    if (IsControl(c)) {
      std::swprintf(code, std::size(code), L"\\x%02X", static_cast<unsigned>(c));
      escaped += code;
    } else if (!InCodePage(system, c)) {
      std::swprintf(code, std::size(code), L"\\u%04X", static_cast<unsigned>(c));
      escaped += code;
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
