// QuellScan.exe: the console program on the real Windows.
#include <algorithm>
#include <string>
#include <vector>

#include "console/quell_scan.h"
#include "platform/win32/win32_console.h"
#include "platform/win32/win32_message_pump.h"
#include "platform/win32/win32_os.h"

int wmain(int argc, wchar_t** argv) {
  const std::vector<std::wstring> args(argv + std::min(argc, 1), argv + argc);
  quellspur::platform::win32::Win32Os os;
  // The clean-up lets messages through while it waits for an ended backdoor to go, as the main
  // window does; a program without windows has none to deliver.
  quellspur::platform::win32::Win32MessagePump pump;
  quellspur::platform::win32::Win32Console console;
  return quellspur::RunQuellScan(args, os, pump, console);
}
