#include "clean/activity_log.h"

#include <algorithm>

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
  const std::wstring line =
      Joined({FormatDate(date), L" ", FormatTime(time, os_.GetTimeSeparator()), L" ",
              EscapeForLog(os_, message), L"\r\n"});
  kept_ += os_.WideToAnsi(line);
  ++keptLineCount_;
  WriteKeptLines();
}

bool ActivityLog::WriteKeptLines() {
  if (AppendKeptLines()) {
    return true;
  }
  if (onLinesKept_) {
    onLinesKept_();
  }
  return false;
}

bool ActivityLog::WriteKeptLinesAtEnd(std::uint32_t milliseconds) {
  waitLeftMicroseconds_ += std::uint64_t{milliseconds} * 1000;
  return AppendKeptLines();
}

bool ActivityLog::AppendKeptLines() {
  if (kept_.empty()) {
    return true;
  }
  // The clock is read only while there is still time to wait.
  const bool mayWait = waitLeftMicroseconds_ >= 1000;
  const std::uint64_t start = mayWait ? os_.SteadyMicroseconds() : 0;
  // Append-only, one write: other writers can't tear the lines, readers may keep the file open.
  const bool written = os_.AppendToFileUnlessLocked(
      Path(), kept_, static_cast<std::uint32_t>(waitLeftMicroseconds_ / 1000));
  if (written) {
    kept_.clear();
    keptLineCount_ = 0;
  }
  if (mayWait) {
    waitLeftMicroseconds_ -= std::min(waitLeftMicroseconds_, os_.SteadyMicroseconds() - start);
  }
  return written;
}

std::wstring ActivityLog::Path() {
  return Joined({os_.GetProgramFolder(), L"\\BackLog.txt"});
}

}  // namespace quellspur
