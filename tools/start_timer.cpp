// Starts a program and times it from outside, for scripts/bench_programs, the same way for any
// program it is given:
//   start_timer console <program> [arguments]...   time from start to exit
//   start_timer windows <main caption> <program> [arguments]...
//       time until a splash shows (a visible, captionless top-level window of the process with an
//       "&OK" button), then presses "&OK" and times until a visible top-level window of the
//       process with the main caption shows; then ends the process
//   start_timer idle <seconds> <program> [arguments]...
//       starts the program, presses the splash's "&OK", lets it settle for 3 seconds, says so,
//       then reports the share of one core it used over the given seconds; then ends it
// Times are in microseconds, on standard output.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "win_helpers.h"

namespace {

using quellspur::winhelp::ChildWindows;
using quellspur::winhelp::IsOfClass;
using quellspur::winhelp::ProcessOf;
using quellspur::winhelp::TextOf;
using quellspur::winhelp::TopLevelWindows;

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

// Polls, sharing the core with the program, for a top-level window of the process.
template <typename Matches>
HWND WaitForWindow(const PROCESS_INFORMATION& process, double started, Matches matches) {
  while (Seconds() - started < kGiveUpSeconds) {
    for (HWND window : TopLevelWindows()) {
      if (ProcessOf(window) == process.dwProcessId && ::IsWindowVisible(window) &&
          matches(window)) {
        return window;
      }
    }
    if (::WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) {
      break;
    }
  }
  std::fwprintf(stderr, L"start_timer: the window did not show\n");
  ::TerminateProcess(process.hProcess, 1);
  std::exit(1);
}

HWND OkButton(HWND window) {
  for (HWND child : ChildWindows(window)) {
    if (IsOfClass(child, L"Button") && TextOf(child) == L"&OK") {
      return child;
    }
  }
  return nullptr;
}

HWND Splash(const PROCESS_INFORMATION& process, double started) {
  return WaitForWindow(process, started, [](HWND window) {
    return TextOf(window).empty() && OkButton(window) != nullptr;
  });
}

void End(const PROCESS_INFORMATION& process) {
  ::TerminateProcess(process.hProcess, 0);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

double CpuSeconds(HANDLE process) {
  FILETIME created{}, ended{}, kernel{}, user{};
  ::GetProcessTimes(process, &created, &ended, &kernel, &user);
  const auto ticks = [](const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                               time.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) / 1e7;
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
  const std::wstring mainCaption = argv[2];
  const double started = Seconds();
  const PROCESS_INFORMATION process = Start(CommandLine(3, argc, argv));
  const HWND splash = Splash(process, started);
  const double splashShown = Seconds();
  ::PostMessageW(OkButton(splash), BM_CLICK, 0, 0);
  WaitForWindow(process, started, [&](HWND window) { return TextOf(window) == mainCaption; });
  const double mainShown = Seconds();
  End(process);
  std::wprintf(L"splash: %.0f main: %.0f\n", (splashShown - started) * 1e6,
               (mainShown - started) * 1e6);
  return 0;
}

int Idle(int argc, wchar_t** argv) {
  const DWORD seconds = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
  const double started = Seconds();
  const PROCESS_INFORMATION process = Start(CommandLine(3, argc, argv));
  const HWND splash = Splash(process, started);
  ::PostMessageW(OkButton(splash), BM_CLICK, 0, 0);
  ::Sleep(kSettleMs);
  // Wine reports no private memory of another process: the bench reads it from outside meanwhile.
  std::wprintf(L"settled\n");
  std::fflush(stdout);
  const double cpuBefore = CpuSeconds(process.hProcess);
  const double before = Seconds();
  ::Sleep(seconds * 1000);
  const double cpu = CpuSeconds(process.hProcess) - cpuBefore;
  const double elapsed = Seconds() - before;
  const bool running = ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
  End(process);
  if (!running) {
    std::fwprintf(stderr, L"start_timer: the program ended while idle\n");
    return 1;
  }
  std::wprintf(L"cpu: %.4f\n", cpu / elapsed * 100);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"console" && argc > 2) {
    return Console(argc, argv);
  }
  if (command == L"windows" && argc > 3) {
    return Windows(argc, argv);
  }
  if (command == L"idle" && argc > 3) {
    return Idle(argc, argv);
  }
  std::fwprintf(stderr,
                L"usage: start_timer console <program> [arguments]...\n"
                L"       start_timer windows <main caption> <program> [arguments]...\n"
                L"       start_timer idle <seconds> <program> [arguments]...\n");
  return 2;
}
