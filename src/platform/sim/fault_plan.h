// Which boundary calls of the simulated machine fail, and when.
#pragma once

#include <array>
#include <cstddef>

namespace quellspur::platform::sim {

enum class Call {
  CreateToolhelp32Snapshot,
  Process32First,
  Process32Next,
  OpenProcess,
  GetModuleFileNameExA,
  CloseHandle,
  TerminateProcess,
  GetExitCodeProcess,
  RegOpenKeyExA,
  RegEnumValueA,
  RegCloseKey,
  RegQueryValueExA,
  RegCreateKeyExA,
  RegSetValueExA,
  RegDeleteValueA,
  GetFileLength,
  ReadFileAt,
  GetVersionExA,
  AppendToFile,
  ReadTextLines,
  WriteWholeFile,
  CopyFileA,
  SetFileAttributesA,
  DeleteFileA,
  CreateDirectoryA,
  MoveFileExA,
  GetTempFileNameA,
  FindWindowA,
  GetWindowThreadProcessId,
  kCount
};

class FaultPlan {
 public:
  // The nth use of `call` from now on fails (n = 1: the next one); when `persistent`, every use
  // after it fails too.
  void FailOn(Call call, int nthUse, bool persistent = false);
  // The nth use of `call` from now on throws std::bad_alloc: an unexpected failure, as when memory
  // runs out, that no caller handles.
  void ThrowOn(Call call, int nthUse);
  // Counts one use of `call` and tells whether it is to fail; throws when it is to throw.
  bool Fails(Call call);
  void Reset();

 private:
  struct Countdown {
    int remaining = 0;  // 0: not armed
    bool persistent = false;
    bool throws = false;
    bool tripped = false;
  };
  std::array<Countdown, static_cast<std::size_t>(Call::kCount)> plan_{};
};

}  // namespace quellspur::platform::sim
