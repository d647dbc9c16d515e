// The activity log: one dated line per finding and per change, appended to "BackLog.txt" in the
// program's folder. It records nothing else and reports nothing to its callers.
#pragma once

#include <string>

#include "platform/os.h"

namespace quellspur {

class ActivityLog {
 public:
  explicit ActivityLog(platform::Os& os) : os_(os) {}

  // Appends "yyyy-mm-dd hh:mm:ss message" and CR LF in one write, in the ANSI code page. Control
  // characters inside the message are written as visible escapes, so that one call is always one
  // line, and so are characters the code page lacks, so that no name turns into a look-alike.
  void WriteLog(const std::wstring& message);

 private:
  platform::Os& os_;
};

// The message with each control character replaced by "\x" and its two hex digits, and each
// character the system's ANSI code page cannot hold by "\u" and its four hex digits (U+0108 as
// "\u0108").
std::wstring EscapeForLog(platform::System& system, const std::wstring& message);

}  // namespace quellspur
