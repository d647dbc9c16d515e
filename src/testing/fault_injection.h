// Fault injection around any Os, the simulated machine or the real one: the nth use of a chosen
// call fails once, fails from then on, or throws, so that tests can reach every failure path.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "platform/os.h"

namespace quellspur::platform {

// Every call of the Os interface.
enum class Call {
  CreateToolhelp32Snapshot,
  Process32FirstW,
  Process32NextW,
  OpenProcess,
  GetModuleFileNameExW,
  QueryFullProcessImageNameW,
  TerminateProcess,
  GetExitCodeProcess,
  CloseHandle,
  GetCurrentProcessId,
  RegOpenKeyExW,
  RegEnumValueW,
  RegCloseKey,
  RegQueryValueExW,
  RegCreateKeyExW,
  RegSetValueExW,
  RegDeleteValueW,
  GetFileLength,
  ReadFileAt,
  AppendToFile,
  FileSha256,
  ListFiles,
  ReadTextLines,
  WriteWholeFile,
  CopyFileW,
  SetFileAttributesW,
  DeleteFileW,
  CreateDirectoryW,
  MoveFileExW,
  GetTempFileNameW,
  GetVersionExW,
  GetLocalTime,
  SteadyMicroseconds,
  GetTimeSeparator,
  GetProgramFolder,
  GetProgramExeName,
  GetCommandLineW,
  GetWindowsDirectoryW,
  CreateMutexW,
  Is64BitWindows,
  AnsiToWide,
  WideToAnsi,
  FindWindowW,
  GetWindowThreadProcessId,
  kCount
};
inline constexpr std::size_t kCallCount = static_cast<std::size_t>(Call::kCount);

// The call's name as Windows spells it.
std::string_view CallName(Call call);
// Whether Windows can report a failure of the call; the others can only be made to throw.
bool CanFail(Call call);

// Forwards every call to the wrapped Os, except that a call due to fail returns what Windows
// returns on failure (false, a 0 handle or count, kErrorAccessDenied from the registry) without
// reaching the wrapped Os.
class FaultInjectingOs : public Os {
 public:
  explicit FaultInjectingOs(Os& os) : os_(os) {}
  // A copy would be taken, instead of a wrapper, when the Os to wrap is itself a FaultInjectingOs.
  FaultInjectingOs(const FaultInjectingOs&) = delete;
  FaultInjectingOs& operator=(const FaultInjectingOs&) = delete;

  // The nth use of `call` from now on fails (1: the next one); when `persistent`, every use after
  // it fails too. Throws std::invalid_argument for a call that cannot fail.
  void FailOn(Call call, int nthUse, bool persistent = false);
  // The nth use of `call` from now on throws std::bad_alloc, as when memory runs out: a failure
  // that no caller handles.
  void ThrowOn(Call call, int nthUse);
  // The machine stops dead after `totalUses` more uses of any call: every later call that can fail
  // fails, without reaching the wrapped Os, as if the machine had lost its power.
  void StopDeadAfter(int totalUses) { deadAfter_ = totalUses; }
  // Whether a call came after the machine stopped.
  bool StoppedDead() const { return stoppedDead_; }
  // Disarms every call and sets every count to zero.
  void Reset();

  // Uses of the call since the start or the last Reset, failed ones included.
  int Uses(Call call) const { return uses_[static_cast<std::size_t>(call)]; }
  // Uses that failed or threw since the start or the last Reset.
  int InjectedFaults() const { return injected_; }

  // --- Processes ---
  Handle CreateToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId) override;
  bool Process32FirstW(Handle snapshot, ProcessEntry& entry) override;
  bool Process32NextW(Handle snapshot, ProcessEntry& entry) override;
  Handle OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                     std::uint32_t processId) override;
  std::uint32_t GetModuleFileNameExW(Handle process, std::uint32_t bufferChars,
                                     std::wstring& path) override;
  bool QueryFullProcessImageNameW(Handle process, std::wstring& path) override;
  bool TerminateProcess(Handle process, std::uint32_t exitCode) override;
  bool GetExitCodeProcess(Handle process, std::uint32_t& exitCode) override;
  bool CloseHandle(Handle handle) override;
  std::uint32_t GetCurrentProcessId() override;

  // --- Registry ---
  Status RegOpenKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t options,
                       std::uint32_t access, RegKey& key) override;
  Status RegEnumValueW(RegKey key, std::uint32_t index, std::uint32_t nameChars,
                       std::uint32_t dataBytes, EnumeratedValue& value) override;
  Status RegCloseKey(RegKey key) override;
  Status RegQueryValueExW(RegKey key, const std::wstring& valueName, std::uint32_t dataBytes,
                          std::uint32_t& type, std::string& data) override;
  Status RegCreateKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access,
                         RegKey& key) override;
  Status RegSetValueExW(RegKey key, const std::wstring& valueName, std::uint32_t type,
                        const std::string& data) override;
  Status RegDeleteValueW(RegKey key, const std::wstring& valueName) override;

  // --- Files ---
  bool GetFileLength(const std::wstring& path, std::uint64_t& length) override;
  bool ReadFileAt(const std::wstring& path, std::uint64_t offset, std::uint32_t count,
                  std::string& bytes) override;
  bool AppendToFile(const std::wstring& path, const std::string& bytes) override;
  bool FileSha256(const std::wstring& path, std::string& hexDigest) override;
  bool ListFiles(const std::wstring& folder, std::vector<std::wstring>& names) override;
  bool ReadTextLines(const std::wstring& path, std::vector<std::wstring>& lines) override;
  bool WriteWholeFile(const std::wstring& path, const std::string& bytes) override;
  bool CopyFileW(const std::wstring& existing, const std::wstring& target,
                 bool failIfExists) override;
  bool SetFileAttributesW(const std::wstring& path, std::uint32_t attributes) override;
  bool DeleteFileW(const std::wstring& path) override;
  bool CreateDirectoryW(const std::wstring& path) override;
  bool MoveFileExW(const std::wstring& existing, const std::wstring& target) override;
  bool GetTempFileNameW(const std::wstring& folder, const std::wstring& prefix,
                        std::wstring& path) override;

  // --- System ---
  bool GetVersionExW(OsVersionInfo& info) override;
  void GetLocalTime(LocalTime& time) override;
  std::uint64_t SteadyMicroseconds() override;
  std::wstring GetTimeSeparator() override;
  std::wstring GetProgramFolder() override;
  std::wstring GetProgramExeName() override;
  std::wstring GetCommandLineW() override;
  std::uint32_t GetWindowsDirectoryW(std::uint32_t bufferChars, std::wstring& folder) override;
  bool CreateMutexW(const std::wstring& name, bool& alreadyExists) override;
  bool Is64BitWindows() override;
  std::wstring AnsiToWide(std::string_view ansi) override;
  std::string WideToAnsi(std::wstring_view text) override;

  // --- Windows ---
  WindowHandle FindWindowW(const std::optional<std::wstring>& className,
                           const std::optional<std::wstring>& windowName) override;
  std::uint32_t GetWindowThreadProcessId(WindowHandle window, std::uint32_t& processId) override;

 private:
  struct Countdown {
    int remaining = 0;  // 0: not armed
    bool persistent = false;
    bool throws = false;
    bool tripped = false;
  };

  // Counts one use of the call and throws when the use is due to throw.
  void Use(Call call);
  // Counts one use of the call and tells whether it is due to fail.
  bool Fails(Call call);

  Os& os_;
  std::array<Countdown, kCallCount> plan_{};
  std::array<int, kCallCount> uses_{};
  int injected_ = 0;
  int deadAfter_ = 0;  // 0: never
  int totalUses_ = 0;
  bool stoppedDead_ = false;
};

}  // namespace quellspur::platform
