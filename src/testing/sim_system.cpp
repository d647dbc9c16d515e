// The simulated machine as a whole at log-on, and its system information: version, Windows folder,
// named mutexes and the ANSI code page.
#include "testing/sim_machine.h"
#include "testing/windows_1252.h"
#include "testing/windows_upper_case.h"

namespace quellspur::platform::sim {

SimMachine::SimMachine() {
  // A desktop with its shell and the program itself running, as at any log-on.
  const std::uint32_t shell = StartProcess(L"C:\\WINDOWS\\EXPLORER.EXE", 0);
  selfId_ = StartProcess(L"C:\\Program Files\\Quellspur\\Quellspur.exe", shell);
  PutFile(L"C:\\WINDOWS\\EXPLORER.EXE", std::string(2048, 'E'));
  PutFile(L"C:\\Program Files\\Quellspur\\Quellspur.exe", std::string(4096, 'Q'));
}

bool SimMachine::GetVersionExW(OsVersionInfo& info) {
  // The call accepts the record's two published sizes only.
  if (info.size != kOsVersionInfoSize && info.size != 284) {
    return Fail(kErrorInsufficientBuffer);
  }
  const bool nt = platformId_ == kPlatformNt;
  info.majorVersion = nt ? 6 : 4;
  info.minorVersion = nt ? 1 : 10;
  info.buildNumber = nt ? 7601 : 2222;
  info.platformId = platformId_;
  return true;
}

std::uint32_t SimMachine::GetWindowsDirectoryW(std::uint32_t bufferChars, std::wstring& folder) {
  const auto length = static_cast<std::uint32_t>(windowsDirectory_.size());
  if (length >= bufferChars) {
    return length + 1;  // the size a buffer needs, its zero included
  }
  folder = windowsDirectory_;
  return length;
}

bool SimMachine::CreateMutexW(const std::wstring& name, bool& alreadyExists) {
  alreadyExists = !mutexes_.insert(UpperCase(name)).second;
  // Windows tells of the other program's mutex through the last error, though the call succeeds.
  if (alreadyExists) {
    lastError_ = kErrorAlreadyExists;
  }
  return true;
}

void SimMachine::GetLocalTime(LocalTime& time) {
  time = clock_;
}

std::uint32_t SimMachine::GetTimeZoneInformation(TimeZoneBias& zone) {
  zone = timeZone_;
  return timeZoneId_;
}

std::uint64_t SimMachine::SteadyMicroseconds() {
  return steadyNow_ += steadyStep_;
}

std::wstring SimMachine::GetTimeSeparator() {
  return timeSeparator_;
}

std::wstring SimMachine::GetProgramFolder() {
  return programFolder_;
}

std::wstring SimMachine::GetProgramExeName() {
  return programExeName_;
}

std::wstring SimMachine::GetCommandLineW() {
  return commandLine_;
}

bool SimMachine::Is64BitWindows() {
  return wow64_;
}

Status SimMachine::GetLastError() {
  return lastError_;
}

std::wstring SimMachine::AnsiToWide(std::string_view ansi) {
  return DecodeWindows1252(ansi);
}

std::string SimMachine::WideToAnsi(std::wstring_view text) {
  return EncodeWindows1252(text);
}

int SimMachine::CompareStringOrdinal(std::wstring_view a, std::wstring_view b, bool ignoreCase) {
  const auto unit = [ignoreCase](wchar_t c) { return ignoreCase ? WindowsUpperCase(c) : c; };
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const wchar_t left = unit(a[i]);
    const wchar_t right = unit(b[i]);
    if (left != right) {
      return left < right ? kCstrLessThan : kCstrGreaterThan;
    }
  }
  return a.size() == b.size() ? kCstrEqual : a.size() < b.size() ? kCstrLessThan : kCstrGreaterThan;
}

}  // namespace quellspur::platform::sim
