// Appends numbered lines to the activity log beside this program, as fast as it can, then makes the
// log's last try: one of the programs of the test that writers never tear, lose or double lines.
// Usage: log_writer COUNT TAG WAIT_IN_ALL_MS LAST_WAIT_MS; the exit code is the number of lines
// the log still kept at the end.
#include <cstdlib>
#include <string>

#include "clean/activity_log.h"
#include "platform/win32/win32_os.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    return -1;
  }
  const int count = std::atoi(argv[1]);
  const std::wstring tag(argv[2], argv[2] + std::char_traits<char>::length(argv[2]));
  quellspur::platform::win32::Win32Os os;
  quellspur::ActivityLog log(os, static_cast<std::uint32_t>(std::atoi(argv[3])));
  for (int line = 0; line < count; ++line) {
    log.WriteLog(L"writer " + tag + L" line " + std::to_wstring(line));
  }
  log.WriteKeptLinesAtEnd(static_cast<std::uint32_t>(std::atoi(argv[4])));
  return log.KeptLineCount();
}
