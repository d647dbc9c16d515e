#include "testing/fault_injection.h"

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
    {Call::Process32FirstW, "Process32FirstW", true},
    {Call::Process32NextW, "Process32NextW", true},
    {Call::OpenProcess, "OpenProcess", true},
    {Call::GetModuleFileNameExW, "GetModuleFileNameExW", true},
    {Call::QueryFullProcessImageNameW, "QueryFullProcessImageNameW", true},
    {Call::TerminateProcess, "TerminateProcess", true},
    {Call::GetExitCodeProcess, "GetExitCodeProcess", true},
    {Call::CloseHandle, "CloseHandle", true},
    {Call::GetCurrentProcessId, "GetCurrentProcessId", false},
    {Call::RegOpenKeyExW, "RegOpenKeyExW", true},
    {Call::RegEnumValueW, "RegEnumValueW", true},
    {Call::RegCloseKey, "RegCloseKey", true},
    {Call::RegQueryValueExW, "RegQueryValueExW", true},
    {Call::RegCreateKeyExW, "RegCreateKeyExW", true},
    {Call::RegSetValueExW, "RegSetValueExW", true},
    {Call::RegDeleteValueW, "RegDeleteValueW", true},
    {Call::GetFileLength, "GetFileLength", true},
    {Call::ReadFileAt, "ReadFileAt", true},
    {Call::AppendToFile, "AppendToFile", true},
    {Call::FileSha256, "FileSha256", true},
    {Call::ListFiles, "FindFirstFileW", true},
    {Call::ReadTextLines, "ReadTextLines", true},
    {Call::WriteWholeFile, "WriteWholeFile", true},
    {Call::CopyFileW, "CopyFileW", true},
    {Call::SetFileAttributesW, "SetFileAttributesW", true},
    {Call::DeleteFileW, "DeleteFileW", true},
    {Call::CreateDirectoryW, "CreateDirectoryW", true},
    {Call::MoveFileExW, "MoveFileExW", true},
    {Call::GetTempFileNameW, "GetTempFileNameW", true},
    {Call::GetVersionExW, "GetVersionExW", true},
    {Call::GetLocalTime, "GetLocalTime", false},
    {Call::SteadyMicroseconds, "QueryPerformanceCounter", false},
    {Call::GetTimeSeparator, "GetTimeSeparator", false},
    {Call::GetProgramFolder, "GetProgramFolder", false},
    {Call::GetProgramExeName, "GetProgramExeName", false},
    {Call::GetCommandLineW, "GetCommandLineW", false},
    {Call::GetWindowsDirectoryW, "GetWindowsDirectoryW", true},
    {Call::CreateMutexW, "CreateMutexW", true},
    {Call::Is64BitWindows, "IsWow64Process", false},
    {Call::AnsiToWide, "AnsiToWide", false},
    {Call::WideToAnsi, "WideToAnsi", false},
    {Call::FindWindowW, "FindWindowW", true},
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
  deadAfter_ = 0;
  totalUses_ = 0;
  stoppedDead_ = false;
}

bool FaultInjectingOs::Fails(Call call) {
  const auto index = static_cast<std::size_t>(call);
  ++uses_[index];
  if (deadAfter_ > 0 && ++totalUses_ > deadAfter_) {
    stoppedDead_ = true;
    return true;  // a call that cannot fail has no effect to lose
  }
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

bool FaultInjectingOs::Process32FirstW(Handle snapshot, ProcessEntry& entry) {
  return !Fails(Call::Process32FirstW) && os_.Process32FirstW(snapshot, entry);
}

bool FaultInjectingOs::Process32NextW(Handle snapshot, ProcessEntry& entry) {
  return !Fails(Call::Process32NextW) && os_.Process32NextW(snapshot, entry);
}

Handle FaultInjectingOs::OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                                     std::uint32_t processId) {
  return Fails(Call::OpenProcess) ? 0 : os_.OpenProcess(desiredAccess, inheritHandle, processId);
}

std::uint32_t FaultInjectingOs::GetModuleFileNameExW(Handle process, std::uint32_t bufferChars,
                                                     std::wstring& path) {
  if (Fails(Call::GetModuleFileNameExW)) {
    path.clear();
    return 0;
  }
  return os_.GetModuleFileNameExW(process, bufferChars, path);
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

Status FaultInjectingOs::RegOpenKeyExW(RegKey root, const std::wstring& subKey,
                                       std::uint32_t options, std::uint32_t access, RegKey& key) {
  if (Fails(Call::RegOpenKeyExW)) {
    key = 0;
    return kErrorAccessDenied;
  }
  return os_.RegOpenKeyExW(root, subKey, options, access, key);
}

Status FaultInjectingOs::RegEnumValueW(RegKey key, std::uint32_t index, std::uint32_t nameChars,
                                       std::uint32_t dataBytes, EnumeratedValue& value) {
  return Fails(Call::RegEnumValueW) ? kErrorAccessDenied
                                    : os_.RegEnumValueW(key, index, nameChars, dataBytes, value);
}

Status FaultInjectingOs::RegCloseKey(RegKey key) {
  return Fails(Call::RegCloseKey) ? kErrorAccessDenied : os_.RegCloseKey(key);
}

Status FaultInjectingOs::RegQueryValueExW(RegKey key, const std::wstring& valueName,
                                          std::uint32_t dataBytes, std::uint32_t& type,
                                          std::string& data) {
  return Fails(Call::RegQueryValueExW)
             ? kErrorAccessDenied
             : os_.RegQueryValueExW(key, valueName, dataBytes, type, data);
}

Status FaultInjectingOs::RegCreateKeyExW(RegKey root, const std::wstring& subKey,
                                         std::uint32_t access, RegKey& key) {
  if (Fails(Call::RegCreateKeyExW)) {
    key = 0;
    return kErrorAccessDenied;
  }
  return os_.RegCreateKeyExW(root, subKey, access, key);
}

Status FaultInjectingOs::RegSetValueExW(RegKey key, const std::wstring& valueName,
                                        std::uint32_t type, const std::string& data) {
  return Fails(Call::RegSetValueExW) ? kErrorAccessDenied
                                     : os_.RegSetValueExW(key, valueName, type, data);
}

Status FaultInjectingOs::RegDeleteValueW(RegKey key, const std::wstring& valueName) {
  return Fails(Call::RegDeleteValueW) ? kErrorAccessDenied : os_.RegDeleteValueW(key, valueName);
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

bool FaultInjectingOs::FileSha256(const std::wstring& path, std::string& hexDigest) {
  if (Fails(Call::FileSha256)) {
    hexDigest.clear();
    return false;
  }
  return os_.FileSha256(path, hexDigest);
}

bool FaultInjectingOs::ListFiles(const std::wstring& folder, std::vector<std::wstring>& names) {
  if (Fails(Call::ListFiles)) {
    names.clear();
    return false;
  }
  return os_.ListFiles(folder, names);
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

bool FaultInjectingOs::CopyFileW(const std::wstring& existing, const std::wstring& target,
                                 bool failIfExists) {
  return !Fails(Call::CopyFileW) && os_.CopyFileW(existing, target, failIfExists);
}

bool FaultInjectingOs::SetFileAttributesW(const std::wstring& path, std::uint32_t attributes) {
  return !Fails(Call::SetFileAttributesW) && os_.SetFileAttributesW(path, attributes);
}

bool FaultInjectingOs::DeleteFileW(const std::wstring& path) {
  return !Fails(Call::DeleteFileW) && os_.DeleteFileW(path);
}

bool FaultInjectingOs::CreateDirectoryW(const std::wstring& path) {
  return !Fails(Call::CreateDirectoryW) && os_.CreateDirectoryW(path);
}

bool FaultInjectingOs::MoveFileExW(const std::wstring& existing, const std::wstring& target) {
  return !Fails(Call::MoveFileExW) && os_.MoveFileExW(existing, target);
}

bool FaultInjectingOs::GetTempFileNameW(const std::wstring& folder, const std::wstring& prefix,
                                        std::wstring& path) {
  return !Fails(Call::GetTempFileNameW) && os_.GetTempFileNameW(folder, prefix, path);
}

// --- System ---

bool FaultInjectingOs::GetVersionExW(OsVersionInfo& info) {
  return !Fails(Call::GetVersionExW) && os_.GetVersionExW(info);
}

void FaultInjectingOs::GetLocalTime(LocalTime& time) {
  Use(Call::GetLocalTime);
  os_.GetLocalTime(time);
}

std::uint64_t FaultInjectingOs::SteadyMicroseconds() {
  Use(Call::SteadyMicroseconds);
  return os_.SteadyMicroseconds();
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

std::wstring FaultInjectingOs::GetCommandLineW() {
  Use(Call::GetCommandLineW);
  return os_.GetCommandLineW();
}

std::uint32_t FaultInjectingOs::GetWindowsDirectoryW(std::uint32_t bufferChars,
                                                     std::wstring& folder) {
  return Fails(Call::GetWindowsDirectoryW) ? 0 : os_.GetWindowsDirectoryW(bufferChars, folder);
}

bool FaultInjectingOs::CreateMutexW(const std::wstring& name, bool& alreadyExists) {
  if (Fails(Call::CreateMutexW)) {
    alreadyExists = false;
    return false;
  }
  return os_.CreateMutexW(name, alreadyExists);
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

WindowHandle FaultInjectingOs::FindWindowW(const std::optional<std::wstring>& className,
                                           const std::optional<std::wstring>& windowName) {
  return Fails(Call::FindWindowW) ? 0 : os_.FindWindowW(className, windowName);
}

std::uint32_t FaultInjectingOs::GetWindowThreadProcessId(WindowHandle window,
                                                         std::uint32_t& processId) {
  return Fails(Call::GetWindowThreadProcessId) ? 0
                                               : os_.GetWindowThreadProcessId(window, processId);
}

}  // namespace quellspur::platform
