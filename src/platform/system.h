// System information and the ANSI code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quellspur::platform {

// The fields of OSVERSIONINFOW (276 bytes); the CSD text is not read by the program.
struct OsVersionInfo {
  std::uint32_t size = 0;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
};
inline constexpr std::uint32_t kOsVersionInfoSize = 276;

// The local date and time, as GetLocalTime gives them.
struct LocalTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
};

class System {
 public:
  virtual ~System() = default;

  // Fills the record; on failure it stays as it was.
  virtual bool GetVersionExW(OsVersionInfo& info) = 0;

  virtual void GetLocalTime(LocalTime& time) = 0;
  // Microseconds from some fixed moment, never going back (QueryPerformanceCounter): for pacing
  // and timing, not for the time of day.
  virtual std::uint64_t SteadyMicroseconds() = 0;
  // The user's time separator, ":" in most locales.
  virtual std::wstring GetTimeSeparator() = 0;
  // The folder of the running program's executable, without a trailing backslash unless it is a
  // drive's root folder.
  virtual std::wstring GetProgramFolder() = 0;
  // The file name of the running program's executable without its extension.
  virtual std::wstring GetProgramExeName() = 0;
  // The program's command line as the system gives it.
  virtual std::wstring GetCommandLineW() = 0;
  // Writes the Windows folder into a buffer of bufferChars characters. Returns the length of the
  // path, or, when the buffer is too small, the size the buffer must have; 0 on failure.
  virtual std::uint32_t GetWindowsDirectoryW(std::uint32_t bufferChars, std::wstring& folder) = 0;
  // Creates a named mutex that lives as long as the program; `alreadyExists` tells whether
  // another program made it first.
  virtual bool CreateMutexW(const std::wstring& name, bool& alreadyExists) = 0;
  // Whether Windows runs 64-bit programs: this program is one, or runs under WOW64
  // (IsWow64Process); then the registry has two views and the file system redirects System32.
  virtual bool Is64BitWindows() = 0;

  // The system's 8-bit code page, both ways; every byte and character counts, zeros included.
  virtual std::wstring AnsiToWide(std::string_view ansi) = 0;
  virtual std::string WideToAnsi(std::wstring_view text) = 0;
};

}  // namespace quellspur::platform
