// Starts a program and times it from outside, for scripts/bench_programs, the same way for any
// program it is given:
//   start_timer console <program> [arguments]...   time from start to exit
//   start_timer windows <splash class> <main caption> <program> [arguments]...
//       time until the splash shows (a visible, captionless top-level window of the class), then
//       presses its "&OK" and times until a visible top-level window with the main caption shows;
//       then ends the process
//   start_timer idle <splash class> <seconds> <program> [arguments]...
//       starts the program, presses the splash's "&OK", lets it settle for 3 seconds, says so,
//       and ends it the given seconds later
// Times are in microseconds, on standard output. The windows are looked for once a millisecond,
// with one look-up each, so that the watching takes the watched program's core alike.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Long enough for the slowest start-up the bench has met, many times over.
constexpr double kGiveUpSeconds = 60;
constexpr DWORD kSettleMs = 3000;

double Seconds() {
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  ::QueryPerformanceCounter(&count);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring CommandLine(int first, int argc, wchar_t** argv) {
  std::wstring line;
  for (int index = first; index < argc; ++index) {
    const std::wstring argument = argv[index];
    line += (line.empty() ? L"" : L" ");
    line += argument.find(L' ') == std::wstring::npos ? argument : L"\"" + argument + L"\"";
  }
  return line;
}

PROCESS_INFORMATION Start(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
    std::fwprintf(stderr, L"start_timer: cannot start %ls (error %lu)\n", commandLine.c_str(),
                  ::GetLastError());
    std::exit(2);
  }
  return process;
}

void End(const PROCESS_INFORMATION& process) {
  ::TerminateProcess(process.hProcess, 0);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

// Waits for the visible top-level window of the class and caption (nullptr: any); gives up when
// the process ends or after a minute.
HWND WaitForWindow(const PROCESS_INFORMATION& process, double started, const wchar_t* className,
                   const wchar_t* caption) {
  while (Seconds() - started < kGiveUpSeconds) {
    const HWND window = ::FindWindowW(className, caption);
    if (window != nullptr && ::IsWindowVisible(window)) {
      return window;
    }
    if (::WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) {
      break;
    }
  }
  std::fwprintf(stderr, L"start_timer: no window \"%ls\" of class %ls showed\n",
                caption ? caption : L"", className ? className : L"(any)");
  End(process);
  std::exit(1);
}

// The splash's "&OK", pressed without waiting for its handler.
void PressOk(HWND splash) {
  const HWND ok = ::FindWindowExW(splash, nullptr, L"Button", L"&OK");
  if (ok == nullptr || !::PostMessageW(ok, BM_CLICK, 0, 0)) {
    std::fwprintf(stderr, L"start_timer: the splash has no \"&OK\" to press\n");
    std::exit(1);
  }
}

int Console(int argc, wchar_t** argv) {
  const double started = Seconds();
  const PROCESS_INFORMATION process = Start(CommandLine(2, argc, argv));
  ::WaitForSingleObject(process.hProcess, INFINITE);
  const double ended = Seconds();
  End(process);
  std::wprintf(L"run: %.0f\n", (ended - started) * 1e6);
  return 0;
}

int Windows(int argc, wchar_t** argv) {
  const double started = Seconds();
  const PROCESS_INFORMATION process = Start(CommandLine(4, argc, argv));
  const HWND splash = WaitForWindow(process, started, argv[2], L"");
  const double splashShown = Seconds();
  PressOk(splash);
  WaitForWindow(process, started, nullptr, argv[3]);
  const double mainShown = Seconds();
  End(process);
  std::wprintf(L"splash: %.0f main: %.0f\n", (splashShown - started) * 1e6,
               (mainShown - started) * 1e6);
  return 0;
}

int Idle(int argc, wchar_t** argv) {
  const DWORD seconds = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10));
  const double started = Seconds();
  const PROCESS_INFORMATION process = Start(CommandLine(4, argc, argv));
  PressOk(WaitForWindow(process, started, argv[2], L""));
  ::Sleep(kSettleMs);
  // Wine reports neither the private memory nor the processor time of another process: the bench
  // reads them from outside meanwhile.
  std::wprintf(L"settled\n");
  std::fflush(stdout);
  ::Sleep(seconds * 1000);
  const bool running = ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
  End(process);
  if (!running) {
    std::fwprintf(stderr, L"start_timer: the program ended while idle\n");
    return 1;
  }
  std::wprintf(L"ended\n");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"console" && argc > 2) {
    return Console(argc, argv);
  }
  if (command == L"windows" && argc > 4) {
    return Windows(argc, argv);
  }
  if (command == L"idle" && argc > 4) {
    return Idle(argc, argv);
  }
  std::fwprintf(stderr,
                L"usage: start_timer console <program> [arguments]...\n"
                L"       start_timer windows <splash class> <main caption> <program> "
                L"[arguments]...\n"
                L"       start_timer idle <splash class> <seconds> <program> [arguments]...\n");
  return 2;
}
