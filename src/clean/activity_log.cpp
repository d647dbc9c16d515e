#include "clean/activity_log.h"

#include <cwchar>

#include "clean/clock_text.h"

namespace quellspur {
namespace {

bool IsControl(wchar_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

}  // namespace

std::wstring EscapeControls(const std::wstring& message) {
  std::wstring escaped;
  escaped.reserve(message.size());
  for (wchar_t c : message) {
    if (IsControl(c)) {
      wchar_t code[8];
      std::swprintf(code, 8, L"\\x%02X", static_cast<unsigned>(c));
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
                            L" " + EscapeControls(message) + L"\r\n";
  // Append-only, one write: other writers can't tear the line, readers may keep the file open.
  os_.AppendToFile(os_.GetProgramFolder() + L"\\BackLog.txt", os_.WideToAnsi(line));
}

}  // namespace quellspur
