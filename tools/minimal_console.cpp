// The least a console program of QuellScan's kind does, for scripts/bench_programs to start beside
// it: it imports kernel32, user32 and advapi32, opens one registry key and writes one line.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

int main() {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, &key) == ERROR_SUCCESS) {
    ::RegCloseKey(key);
  }
  char line[] = "minimal console\r\n";
  // user32's share of the work: the line in capitals.
  ::CharUpperA(line);
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line, sizeof(line) - 1, &written, nullptr);
  return 0;
}
