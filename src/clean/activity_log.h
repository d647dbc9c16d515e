// The activity log: one dated line per finding and per change, appended to "BackLog.txt" in the
// program's folder. It records nothing else, and tells its callers only of lines not yet written.
//
// Another program may hold the log's lock (a reader, a backup, a backdoor) for as long as it
// likes. The log then keeps the lines it could not write, in order, and writes them with the next
// line or when the program asks again; it waits for the lock no longer than the program allows
// over its whole run, so that it never holds the main window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "platform/os.h"

namespace quellspur {

class ActivityLog {
 public:
  // `waitInAllMilliseconds` bounds the time all writes together may wait for a lock; by default
  // they never wait.
  explicit ActivityLog(platform::Os& os, std::uint32_t waitInAllMilliseconds = 0)
      : os_(os), waitLeftMicroseconds_(std::uint64_t{waitInAllMilliseconds} * 1000) {}

  // Appends "yyyy-mm-dd hh:mm:ss message" and CR LF in one write, in the ANSI code page, after
  // the lines kept back before it. Control characters inside the message are written as visible
  // escapes, so that one call is always one line, and so are characters the code page lacks, so
  // that no name turns into a look-alike.
  void WriteLog(const std::wstring& message);
  // Tries the kept lines again, with what is left of the wait; true when none is left.
  bool WriteKeptLines();
  // The last try at the program's end, which may wait that much longer; nobody is called then.
  bool WriteKeptLinesAtEnd(std::uint32_t milliseconds);
  int KeptLineCount() const { return keptLineCount_; }
  std::wstring Path();
  // Called each time lines stay kept, so that the program can try again later.
  void OnLinesKept(std::function<void()> handler) { onLinesKept_ = std::move(handler); }

 private:
  bool AppendKeptLines();

  platform::Os& os_;
  std::uint64_t waitLeftMicroseconds_;
  // The kept lines, as they will be written.
  std::string kept_;
  int keptLineCount_ = 0;
  std::function<void()> onLinesKept_;
};

// The message with each control character replaced by "\x" and its two hex digits, and each
// character the system's ANSI code page cannot hold by "\u" and its four hex digits (U+0108 as
// "\u0108").
std::wstring EscapeForLog(platform::System& system, const std::wstring& message);

}  // namespace quellspur
