// The process list, process handles and module paths.
#include <windows.h>
// After windows.h, which it builds on.
#include <tlhelp32.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "platform/text.h"
#include "platform/win32/win32_late_load.h"
#include "platform/win32/win32_os.h"

namespace quellspur::platform::win32 {

static_assert(sizeof(Handle) == sizeof(HANDLE));
// The program exchanges the record in its 32-bit layout.
static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32W) == 556);

namespace {

HANDLE ToHandle(Handle handle) {
  return reinterpret_cast<HANDLE>(handle);
}
Handle FromHandle(HANDLE handle) {
  return reinterpret_cast<Handle>(handle);
}

using ProcessWalkStep = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32W*);

bool ReadEntry(ProcessWalkStep step, Handle snapshot, ProcessEntry& entry) {
  PROCESSENTRY32W record{};
  record.dwSize = sizeof(record);
  if (!step(ToHandle(snapshot), &record)) {
    return false;
  }
  entry.processId = record.th32ProcessID;
  entry.parentProcessId = record.th32ParentProcessID;
  entry.exeFile.assign(record.szExeFile, ::wcsnlen(record.szExeFile, std::size(record.szExeFile)));
  return true;
}

}  // namespace

Handle Win32Os::CreateToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId) {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(flags, processId);
  return snapshot == INVALID_HANDLE_VALUE ? 0 : FromHandle(snapshot);
}

bool Win32Os::Process32FirstW(Handle snapshot, ProcessEntry& entry) {
  return ReadEntry(::Process32FirstW, snapshot, entry);
}

bool Win32Os::Process32NextW(Handle snapshot, ProcessEntry& entry) {
  return ReadEntry(::Process32NextW, snapshot, entry);
}

Handle Win32Os::OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                            std::uint32_t processId) {
  return FromHandle(::OpenProcess(desiredAccess, inheritHandle ? TRUE : FALSE, processId));
}

std::uint32_t Win32Os::GetModuleFileNameExW(Handle process, std::uint32_t bufferChars,
                                            std::wstring& path) {
  // Asked only where QueryFullProcessImageNameW fails (before Windows Vista): kernel32 has the
  // call from Windows 7 on, psapi.dll before, and is loaded only then.
  using ModulePath = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
  static const auto modulePath = [] {
    const FARPROC inKernel = LoadedDllFunction(L"kernel32.dll", "K32GetModuleFileNameExW");
    return As<ModulePath>(inKernel ? inKernel
                                   : SystemDllFunction(L"psapi.dll", "GetModuleFileNameExW"));
  }();
  path.clear();
  if (modulePath == nullptr) {
    ::SetLastError(ERROR_PROC_NOT_FOUND);
    return 0;
  }
  std::wstring buffer(bufferChars, L' ');
  const DWORD written =
      modulePath(ToHandle(process), nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  // A truncated answer may lack its zero, so the count bounds the text as well.
  buffer.resize(std::min<std::size_t>(written, buffer.size()));
  path = UpToFirstZero(buffer);
  return written;
}

bool Win32Os::QueryFullProcessImageNameW(Handle process, std::wstring& path) {
  path.clear();
  // Windows Vista and later only: looked up at run time, so that the program still starts on XP.
  using Query = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
  static const auto query = reinterpret_cast<Query>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameW")));
  if (query == nullptr) {
    return false;
  }
  // Room for the longest path Windows has, left as it is rather than cleared: a scan asks for
  // every window's process, and clearing 64 KB each time cost more than the call.
  wchar_t buffer[32768];
  DWORD size = static_cast<DWORD>(std::size(buffer));
  if (!query(ToHandle(process), 0, buffer, &size)) {
    return false;
  }
  path.assign(buffer, std::min<std::size_t>(size, std::size(buffer)));
  return true;
}

bool Win32Os::TerminateProcess(Handle process, std::uint32_t exitCode) {
  return ::TerminateProcess(reinterpret_cast<HANDLE>(process), exitCode) != FALSE;
}

bool Win32Os::GetExitCodeProcess(Handle process, std::uint32_t& exitCode) {
  DWORD code = 0;
  if (!::GetExitCodeProcess(reinterpret_cast<HANDLE>(process), &code)) {
    return false;
  }
  exitCode = code;
  return true;
}

bool Win32Os::CloseHandle(Handle handle) {
  return ::CloseHandle(ToHandle(handle)) != FALSE;
}

std::uint32_t Win32Os::GetCurrentProcessId() {
  return ::GetCurrentProcessId();
}

}  // namespace quellspur::platform::win32
