// Appends numbered lines to the activity log beside this program, as fast as it can: one half of
// the test that two writers never tear each other's lines.
#include <cstdlib>
#include <string>

#include "clean/activity_log.h"
#include "platform/win32/win32_os.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    return 2;
  }
  const int count = std::atoi(argv[1]);
  const std::wstring tag(argv[2], argv[2] + std::char_traits<char>::length(argv[2]));
  quellspur::platform::win32::Win32Os os;
  quellspur::ActivityLog log(os);
  for (int line = 0; line < count; ++line) {
    log.WriteLog(L"writer " + tag + L" line " + std::to_wstring(line));
  }
  return 0;
}
