#include "platform/fault_injection.h"

#include <iterator>
#include <new>
#include <stdexcept>
#include <string>

namespace quellspur::platform {
namespace {

struct CallInfo {
  Call call;
  std::string_view name;
  bool canFail;
};

constexpr CallInfo kCalls[] = {
    {Call::CreateToolhelp32Snapshot, "CreateToolhelp32Snapshot", true},
    {Call::Process32First, "Process32First", true},
    {Call::Process32Next, "Process32Next", true},
    {Call::OpenProcess, "OpenProcess", true},
    {Call::GetModuleFileNameExA, "GetModuleFileNameExA", true},
    {Call::QueryFullProcessImageNameW, "QueryFullProcessImageNameW", true},
    {Call::TerminateProcess, "TerminateProcess", true},
    {Call::GetExitCodeProcess, "GetExitCodeProcess", true},
    {Call::CloseHandle, "CloseHandle", true},
    {Call::GetCurrentProcessId, "GetCurrentProcessId", false},
    {Call::RegOpenKeyExA, "RegOpenKeyExA", true},
    {Call::RegEnumValueA, "RegEnumValueA", true},
    {Call::RegCloseKey, "RegCloseKey", true},
    {Call::RegQueryValueExA, "RegQueryValueExA", true},
    {Call::RegCreateKeyExA, "RegCreateKeyExA", true},
    {Call::RegSetValueExA, "RegSetValueExA", true},
    {Call::RegDeleteValueA, "RegDeleteValueA", true},
    {Call::GetFileLength, "GetFileLength", true},
    {Call::ReadFileAt, "ReadFileAt", true},
    {Call::AppendToFile, "AppendToFile", true},
    {Call::ReadTextLines, "ReadTextLines", true},
    {Call::WriteWholeFile, "WriteWholeFile", true},
    {Call::CopyFileA, "CopyFileA", true},
    {Call::SetFileAttributesA, "SetFileAttributesA", true},
    {Call::DeleteFileA, "DeleteFileA", true},
    {Call::CreateDirectoryA, "CreateDirectoryA", true},
    {Call::MoveFileExA, "MoveFileExA", true},
    {Call::GetTempFileNameA, "GetTempFileNameA", true},
    {Call::GetVersionExA, "GetVersionExA", true},
    {Call::GetLocalTime, "GetLocalTime", false},
    {Call::GetTimeSeparator, "GetTimeSeparator", false},
    {Call::GetProgramFolder, "GetProgramFolder", false},
    {Call::GetProgramExeName, "GetProgramExeName", false},
    {Call::GetCommandLineA, "GetCommandLineA", false},
    {Call::GetWindowsDirectoryA, "GetWindowsDirectoryA", true},
    {Call::CreateMutexA, "CreateMutexA", true},
    {Call::Is64BitWindows, "IsWow64Process", false},
    {Call::AnsiToWide, "AnsiToWide", false},
    {Call::WideToAnsi, "WideToAnsi", false},
    {Call::FindWindowA, "FindWindowA", true},
    {Call::GetWindowThreadProcessId, "GetWindowThreadProcessId", true},
};

constexpr bool OneRowPerCallInOrder() {
  for (std::size_t i = 0; i < std::size(kCalls); ++i) {
    if (static_cast<std::size_t>(kCalls[i].call) != i) {
      return false;
    }
  }
  return std::size(kCalls) == kCallCount;
}
static_assert(OneRowPerCallInOrder());

const CallInfo& InfoOf(Call call) {
  return kCalls[static_cast<std::size_t>(call)];
}

}  // namespace

std::string_view CallName(Call call) {
  return InfoOf(call).name;
}

bool CanFail(Call call) {
  return InfoOf(call).canFail;
}

void FaultInjectingOs::FailOn(Call call, int nthUse, bool persistent) {
  if (!CanFail(call)) {
    throw std::invalid_argument(std::string(CallName(call)) + " cannot fail, only throw");
  }
  plan_[static_cast<std::size_t>(call)] = Countdown{nthUse, persistent, false, false};
}

void FaultInjectingOs::ThrowOn(Call call, int nthUse) {
  plan_[static_cast<std::size_t>(call)] = Countdown{nthUse, false, true, false};
}

void FaultInjectingOs::Reset() {
  plan_ = {};
  uses_ = {};
  injected_ = 0;
}

bool FaultInjectingOs::Fails(Call call) {
  const auto index = static_cast<std::size_t>(call);
  ++uses_[index];
  Countdown& countdown = plan_[index];
  if (countdown.tripped) {
    injected_ += countdown.persistent ? 1 : 0;
    return countdown.persistent;
  }
  if (countdown.remaining == 0 || --countdown.remaining > 0) {
    return false;
  }
  countdown.tripped = true;
  ++injected_;
  if (countdown.throws) {
    throw std::bad_alloc();
  }
  return true;
}

void FaultInjectingOs::Use(Call call) {
  // FailOn refuses the calls that come here, so only a throw can be due.
  Fails(call);
}

// --- Processes ---

Handle FaultInjectingOs::CreateToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId) {
  return Fails(Call::CreateToolhelp32Snapshot) ? 0 : os_.CreateToolhelp32Snapshot(flags, processId);
}

bool FaultInjectingOs::Process32First(Handle snapshot, ProcessEntry& entry) {
  return !Fails(Call::Process32First) && os_.Process32First(snapshot, entry);
}

bool FaultInjectingOs::Process32Next(Handle snapshot, ProcessEntry& entry) {
  return !Fails(Call::Process32Next) && os_.Process32Next(snapshot, entry);
}

Handle FaultInjectingOs::OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                                     std::uint32_t processId) {
  return Fails(Call::OpenProcess) ? 0 : os_.OpenProcess(desiredAccess, inheritHandle, processId);
}

std::uint32_t FaultInjectingOs::GetModuleFileNameExA(Handle process, std::uint32_t bufferChars,
                                                     std::wstring& path) {
  if (Fails(Call::GetModuleFileNameExA)) {
    path.clear();
    return 0;
  }
  return os_.GetModuleFileNameExA(process, bufferChars, path);
}

bool FaultInjectingOs::QueryFullProcessImageNameW(Handle process, std::wstring& path) {
  if (Fails(Call::QueryFullProcessImageNameW)) {
    path.clear();
    return false;
  }
  return os_.QueryFullProcessImageNameW(process, path);
}

bool FaultInjectingOs::TerminateProcess(Handle process, std::uint32_t exitCode) {
  return !Fails(Call::TerminateProcess) && os_.TerminateProcess(process, exitCode);
}

bool FaultInjectingOs::GetExitCodeProcess(Handle process, std::uint32_t& exitCode) {
  return !Fails(Call::GetExitCodeProcess) && os_.GetExitCodeProcess(process, exitCode);
}

bool FaultInjectingOs::CloseHandle(Handle handle) {
  return !Fails(Call::CloseHandle) && os_.CloseHandle(handle);
}

std::uint32_t FaultInjectingOs::GetCurrentProcessId() {
  Use(Call::GetCurrentProcessId);
  return os_.GetCurrentProcessId();
}

// --- Registry ---

Status FaultInjectingOs::RegOpenKeyExA(RegKey root, const std::wstring& subKey,
                                       std::uint32_t options, std::uint32_t access, RegKey& key) {
  if (Fails(Call::RegOpenKeyExA)) {
    key = 0;
    return kErrorAccessDenied;
  }
  return os_.RegOpenKeyExA(root, subKey, options, access, key);
}

Status FaultInjectingOs::RegEnumValueA(RegKey key, std::uint32_t index, std::uint32_t nameChars,
                                       std::uint32_t dataBytes, EnumeratedValue& value) {
  return Fails(Call::RegEnumValueA) ? kErrorAccessDenied
                                    : os_.RegEnumValueA(key, index, nameChars, dataBytes, value);
}

Status FaultInjectingOs::RegCloseKey(RegKey key) {
  return Fails(Call::RegCloseKey) ? kErrorAccessDenied : os_.RegCloseKey(key);
}

Status FaultInjectingOs::RegQueryValueExA(RegKey key, const std::wstring& valueName,
                                          std::uint32_t dataBytes, std::uint32_t& type,
                                          std::string& data) {
  return Fails(Call::RegQueryValueExA)
             ? kErrorAccessDenied
             : os_.RegQueryValueExA(key, valueName, dataBytes, type, data);
}

Status FaultInjectingOs::RegCreateKeyExA(RegKey root, const std::wstring& subKey,
                                         std::uint32_t access, RegKey& key) {
  if (Fails(Call::RegCreateKeyExA)) {
    key = 0;
    return kErrorAccessDenied;
  }
  return os_.RegCreateKeyExA(root, subKey, access, key);
}

Status FaultInjectingOs::RegSetValueExA(RegKey key, const std::wstring& valueName,
                                        std::uint32_t type, const std::string& data) {
  return Fails(Call::RegSetValueExA) ? kErrorAccessDenied
                                     : os_.RegSetValueExA(key, valueName, type, data);
}

Status FaultInjectingOs::RegDeleteValueA(RegKey key, const std::wstring& valueName) {
  return Fails(Call::RegDeleteValueA) ? kErrorAccessDenied : os_.RegDeleteValueA(key, valueName);
}

// --- Files ---

bool FaultInjectingOs::GetFileLength(const std::wstring& path, std::uint64_t& length) {
  return !Fails(Call::GetFileLength) && os_.GetFileLength(path, length);
}

bool FaultInjectingOs::ReadFileAt(const std::wstring& path, std::uint64_t offset,
                                  std::uint32_t count, std::string& bytes) {
  if (Fails(Call::ReadFileAt)) {
    bytes.clear();
    return false;
  }
  return os_.ReadFileAt(path, offset, count, bytes);
}

bool FaultInjectingOs::AppendToFile(const std::wstring& path, const std::string& bytes) {
  return !Fails(Call::AppendToFile) && os_.AppendToFile(path, bytes);
}

bool FaultInjectingOs::ReadTextLines(const std::wstring& path, std::vector<std::wstring>& lines) {
  if (Fails(Call::ReadTextLines)) {
    lines.clear();
    return false;
  }
  return os_.ReadTextLines(path, lines);
}

bool FaultInjectingOs::WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  return !Fails(Call::WriteWholeFile) && os_.WriteWholeFile(path, bytes);
}

bool FaultInjectingOs::CopyFileA(const std::wstring& existing, const std::wstring& target,
                                 bool failIfExists) {
  return !Fails(Call::CopyFileA) && os_.CopyFileA(existing, target, failIfExists);
}

bool FaultInjectingOs::SetFileAttributesA(const std::wstring& path, std::uint32_t attributes) {
  return !Fails(Call::SetFileAttributesA) && os_.SetFileAttributesA(path, attributes);
}

bool FaultInjectingOs::DeleteFileA(const std::wstring& path) {
  return !Fails(Call::DeleteFileA) && os_.DeleteFileA(path);
}

bool FaultInjectingOs::CreateDirectoryA(const std::wstring& path) {
  return !Fails(Call::CreateDirectoryA) && os_.CreateDirectoryA(path);
}

bool FaultInjectingOs::MoveFileExA(const std::wstring& existing, const std::wstring& target) {
  return !Fails(Call::MoveFileExA) && os_.MoveFileExA(existing, target);
}

bool FaultInjectingOs::GetTempFileNameA(const std::wstring& folder, const std::wstring& prefix,
                                        std::wstring& path) {
  return !Fails(Call::GetTempFileNameA) && os_.GetTempFileNameA(folder, prefix, path);
}

// --- System ---

bool FaultInjectingOs::GetVersionExA(OsVersionInfo& info) {
  return !Fails(Call::GetVersionExA) && os_.GetVersionExA(info);
}

void FaultInjectingOs::GetLocalTime(LocalTime& time) {
  Use(Call::GetLocalTime);
  os_.GetLocalTime(time);
}

std::wstring FaultInjectingOs::GetTimeSeparator() {
  Use(Call::GetTimeSeparator);
  return os_.GetTimeSeparator();
}

std::wstring FaultInjectingOs::GetProgramFolder() {
  Use(Call::GetProgramFolder);
  return os_.GetProgramFolder();
}

std::wstring FaultInjectingOs::GetProgramExeName() {
  Use(Call::GetProgramExeName);
  return os_.GetProgramExeName();
}

std::wstring FaultInjectingOs::GetCommandLineA() {
  Use(Call::GetCommandLineA);
  return os_.GetCommandLineA();
}

std::uint32_t FaultInjectingOs::GetWindowsDirectoryA(std::uint32_t bufferChars,
                                                     std::wstring& folder) {
  return Fails(Call::GetWindowsDirectoryA) ? 0 : os_.GetWindowsDirectoryA(bufferChars, folder);
}

bool FaultInjectingOs::CreateMutexA(const std::wstring& name, bool& alreadyExists) {
  if (Fails(Call::CreateMutexA)) {
    alreadyExists = false;
    return false;
  }
  return os_.CreateMutexA(name, alreadyExists);
}

bool FaultInjectingOs::Is64BitWindows() {
  Use(Call::Is64BitWindows);
  return os_.Is64BitWindows();
}

std::wstring FaultInjectingOs::AnsiToWide(std::string_view ansi) {
  Use(Call::AnsiToWide);
  return os_.AnsiToWide(ansi);
}

std::string FaultInjectingOs::WideToAnsi(std::wstring_view text) {
  Use(Call::WideToAnsi);
  return os_.WideToAnsi(text);
}

// --- Windows ---

WindowHandle FaultInjectingOs::FindWindowA(const std::optional<std::wstring>& className,
                                           const std::optional<std::wstring>& windowName) {
  return Fails(Call::FindWindowA) ? 0 : os_.FindWindowA(className, windowName);
}

std::uint32_t FaultInjectingOs::GetWindowThreadProcessId(WindowHandle window,
                                                         std::uint32_t& processId) {
  return Fails(Call::GetWindowThreadProcessId) ? 0
                                               : os_.GetWindowThreadProcessId(window, processId);
}

}  // namespace quellspur::platform
