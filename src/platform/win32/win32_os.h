// The platform boundary over the real Windows calls (the UTF-16 "W" forms).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"

namespace quellspur::platform::win32 {

// Texts cross into Windows as UTF-16 and come back up to their first zero. Every member calls the
// Windows function of the same name, spelled with a leading "::" because the unqualified name
// would be the member itself.
class Win32Os final : public Os {
 public:
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
  // The full path of the running program's executable.
  std::wstring ProgramPath();
};

// Whether this is a 32-bit program on 64-bit Windows, where the registry's views and System32's
// redirection apply to it.
bool RunsUnderWow64();

// The path by which this program reaches the file it names: the Windows folder's real System32
// even when it is a 32-bit program on 64-bit Windows.
std::wstring Unredirected(const std::wstring& path);

}  // namespace quellspur::platform::win32
