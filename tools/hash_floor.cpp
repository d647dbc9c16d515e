// The floor under a first scan's hashing: the executables of the running processes read and
// hashed with our own SHA-256 in a plain loop, timed like "QuellScan.exe scan --repeat N", so that
// the bench can set what hash signatures cost a scan against the reading and hashing alone.
//
//   hash_floor.exe [--repeat N]
//
// The files are named once, before the timing: every running process but this one, its executable
// as the process itself names it (as a scan on Windows NT asks), each path once. One round reads
// each file in 64 KiB pieces and hashes it. Prints on stdout how many files and bytes a round
// hashed, and on stderr the times. Exit codes: 0 done, 2 the command line is wrong.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// After windows.h, which it builds on.
#include <tlhelp32.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "floor_timing.h"
#include "platform/sha256.h"

namespace {

namespace floors = quellspur::floors;

constexpr int kDone = 0;
constexpr int kUsage = 2;

std::vector<std::wstring> RunningExecutables() {
  std::set<std::wstring> paths;
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    return {};
  }
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
       more = ::Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == ::GetCurrentProcessId()) {
      continue;
    }
    std::wstring path = floors::ImageOf(entry.th32ProcessID);
    if (!path.empty()) {
      paths.insert(std::move(path));
    }
  }
  ::CloseHandle(snapshot);
  return {paths.begin(), paths.end()};
}

// The file's digest; empty when it cannot be read whole. Counts the bytes read.
std::string HashOf(const std::wstring& path, ULONGLONG& bytes) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return {};
  }
  quellspur::platform::Sha256 hash;
  static char chunk[64 * 1024];
  DWORD read = 0;
  bool ok = true;
  while ((ok = ::ReadFile(file, chunk, sizeof chunk, &read, nullptr) != FALSE) && read > 0) {
    hash.Update({chunk, read});
    bytes += read;
  }
  ::CloseHandle(file);
  return ok ? hash.HexDigest() : std::string();
}

}  // namespace

int main(int argc, char** argv) {
  long repeat = 1;
  for (int next = 1; next < argc; ++next) {
    repeat = floors::RepeatAt(argc, argv, next);
    if (repeat == 0) {
      std::fprintf(stderr, "usage: hash_floor.exe [--repeat N]\n");
      return kUsage;
    }
  }

  // A 64-bit process names its executable in the real System32, which a 32-bit program reaches
  // only without the redirection (a scan reads it through Sysnative); a 64-bit program has none.
  void* redirection = nullptr;
  ::Wow64DisableWow64FsRedirection(&redirection);
  const std::vector<std::wstring> files = RunningExecutables();
  int hashed = 0;
  ULONGLONG bytes = 0;
  floors::TimeRounds(repeat, [&] {
    hashed = 0;
    bytes = 0;
    for (const std::wstring& file : files) {
      hashed += HashOf(file, bytes).empty() ? 0 : 1;
    }
  });
  std::printf("last round: %d of %zu running executables hashed, %llu bytes\n", hashed,
              files.size(), bytes);
  return kDone;
}
