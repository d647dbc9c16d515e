// What the floors under a scan share with each other for scripts/bench: the "--repeat N"
// argument, a process's executable as the process names it, and timed rounds reported in the line
// that "QuellScan.exe scan --repeat N" prints.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace quellspur::floors {

// The count that follows "--repeat" at argv[next], with next moved onto it; 0 when the argument
// is not "--repeat", the count is missing or it is not from 1 to 1,000,000.
inline long RepeatAt(int argc, char** argv, int& next) {
  if (std::strcmp(argv[next], "--repeat") != 0 || next + 1 >= argc) {
    return 0;
  }
  char* end = nullptr;
  const long repeat = std::strtol(argv[++next], &end, 10);
  return *end == '\0' && repeat >= 1 && repeat <= 1000000 ? repeat : 0;
}

// Windows NT names no folder in its process list, so the process itself is asked.
inline std::wstring ImageOf(DWORD processId) {
  static wchar_t path[32768];
  const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) {
    return {};
  }
  DWORD chars = std::size(path);
  const bool named = ::QueryFullProcessImageNameW(process, 0, path, &chars) != FALSE;
  ::CloseHandle(process);
  return named ? std::wstring(path, chars) : std::wstring();
}

// Runs the round the given number of times and writes the shortest, median and longest time on
// stderr.
template <typename Round>
void TimeRounds(long repeat, Round round) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  std::vector<double> milliseconds;
  for (long i = 0; i < repeat; ++i) {
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    ::QueryPerformanceCounter(&start);
    round();
    ::QueryPerformanceCounter(&end);
    milliseconds.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                           static_cast<double>(frequency.QuadPart));
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  const std::size_t middle = milliseconds.size() / 2;
  const double median = milliseconds.size() % 2 == 1
                            ? milliseconds[middle]
                            : (milliseconds[middle - 1] + milliseconds[middle]) / 2;
  std::fprintf(stderr, "scan time over %ld scans: min %.3f ms, median %.3f ms, max %.3f ms\n",
               repeat, milliseconds.front(), median, milliseconds.back());
}

}  // namespace quellspur::floors
