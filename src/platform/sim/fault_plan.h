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
  RegOpenKeyExA,
  RegEnumValueA,
  RegCloseKey,
  RegCreateKeyExA,
  RegSetValueExA,
  RegDeleteValueA,
  GetFileLength,
  ReadFileAt,
  GetVersionExA,
  kCount
};

class FaultPlan {
 public:
  // The nth use of `call` from now on fails (n = 1: the next one); when `persistent`, every use
  // after it fails too.
  void FailOn(Call call, int nthUse, bool persistent = false);
  // Counts one use of `call` and tells whether it is to fail.
  bool Fails(Call call);
  void Reset();

 private:
  struct Countdown {
    int remaining = 0;  // 0: not armed
    bool persistent = false;
    bool tripped = false;
  };
  std::array<Countdown, static_cast<std::size_t>(Call::kCount)> plan_{};
};

}  // namespace quellspur::platform::sim
