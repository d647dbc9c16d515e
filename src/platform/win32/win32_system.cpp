// The version record, the clock and locale, the program's folder and the ANSI code page.
#include <windows.h>

#include <climits>
#include <cwchar>
#include <iterator>

#include "platform/win32/win32_os.h"

namespace quellspur::platform::win32 {

static_assert(sizeof(OSVERSIONINFOW) == kOsVersionInfoSize);

bool Win32Os::GetVersionExW(OsVersionInfo& info) {
  // The extended record leaves room for either size the caller may name; its head is the
  // 276-byte record.
  OSVERSIONINFOEXW record{};
  record.dwOSVersionInfoSize = info.size;
  record.dwMajorVersion = info.majorVersion;
  record.dwMinorVersion = info.minorVersion;
  record.dwBuildNumber = info.buildNumber;
  record.dwPlatformId = info.platformId;
  std::wmemset(record.szCSDVersion, L' ', std::size(record.szCSDVersion));
  if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record))) {
    return false;
  }
  info.size = record.dwOSVersionInfoSize;
  info.majorVersion = record.dwMajorVersion;
  info.minorVersion = record.dwMinorVersion;
  info.buildNumber = record.dwBuildNumber;
  info.platformId = record.dwPlatformId;
  return true;
}

void Win32Os::GetLocalTime(LocalTime& time) {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  time = LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::uint32_t Win32Os::GetTimeZoneInformation(TimeZoneBias& zone) {
  TIME_ZONE_INFORMATION information{};
  const DWORD id = ::GetTimeZoneInformation(&information);
  if (id != TIME_ZONE_ID_INVALID) {
    zone = TimeZoneBias{information.Bias, information.StandardBias, information.DaylightBias};
  }
  return id;
}

std::uint64_t Win32Os::SteadyMicroseconds() {
  // Both succeed on every Windows since XP.
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  ::QueryPerformanceCounter(&count);
  ::QueryPerformanceFrequency(&frequency);
  const auto ticks = static_cast<std::uint64_t>(count.QuadPart);
  const auto perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
  return ticks / perSecond * 1'000'000 + ticks % perSecond * 1'000'000 / perSecond;
}

std::wstring Win32Os::GetTimeSeparator() {
  wchar_t separator[8] = {};
  // The locale always has one; ":" stands in should the call ever fail.
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, separator,
                       static_cast<int>(std::size(separator))) == 0) {
    return L":";
  }
  return separator;
}

std::wstring Win32Os::ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      return {};
    }
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // cut to the buffer: ask again with a larger one
  }
}

std::wstring Win32Os::GetProgramFolder() {
  const std::wstring path = ProgramPath();
  std::wstring folder = path.substr(0, path.rfind(L'\\'));
  // A drive's root folder keeps its backslash, as the system names it.
  if (!folder.empty() && folder.back() == L':') {
    folder += L'\\';
  }
  return folder;
}

std::wstring Win32Os::GetProgramExeName() {
  const std::wstring path = ProgramPath();
  std::wstring name = path.substr(path.rfind(L'\\') + 1);
  const std::size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) {
    name.resize(dot);
  }
  return name;
}

std::wstring Win32Os::GetCommandLineW() {
  return ::GetCommandLineW();
}

std::uint32_t Win32Os::GetWindowsDirectoryW(std::uint32_t bufferChars, std::wstring& folder) {
  std::wstring buffer(bufferChars, L'\0');
  const UINT length = ::GetWindowsDirectoryW(buffer.data(), bufferChars);
  if (length > 0 && length < bufferChars) {
    folder = buffer.c_str();
  }
  return length;
}

bool Win32Os::CreateMutexW(const std::wstring& name, bool& alreadyExists) {
  // Never closed: the mutex marks this copy of the program for as long as it runs.
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
  alreadyExists = ::GetLastError() == ERROR_ALREADY_EXISTS;
  return mutex != nullptr;
}

Status Win32Os::GetLastError() {
  return static_cast<Status>(::GetLastError());
}

bool RunsUnderWow64() {
  BOOL wow64 = FALSE;
  return sizeof(void*) == 4 && ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

bool Win32Os::Is64BitWindows() {
  return sizeof(void*) == 8 || RunsUnderWow64();
}

std::wstring Win32Os::AnsiToWide(std::string_view ansi) {
  if (ansi.empty() || ansi.size() > INT_MAX) {
    return {};
  }
  const int length = static_cast<int>(ansi.size());
  const int chars = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(chars), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, text.data(), chars);
  return text;
}

std::string Win32Os::WideToAnsi(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) {
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int bytes =
      ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

}  // namespace quellspur::platform::win32
