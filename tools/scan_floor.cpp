// The floor under a scan: only the system calls that no scan can do without, timed like
// "QuellScan.exe scan --repeat N", so that the bench can say how far a scan lies above them.
//
//   scan_floor.exe [--windows-only] [--repeat N]
//
// One scan: the 24 window look-ups; for each window found its process and that process's
// executable; on Windows 95/98 one walk of the process list, the length of every listed executable
// and the last 101 bytes of those of a Back Orifice server's size; and when anything was found,
// one walk over the values of each start key in each view. With --windows-only a scan is the 24
// look-ups alone. Prints on stdout what the last scan met, so that a bench can check that its
// scene was there, and on stderr the times. Exit codes: 0 done, 2 the command line is wrong.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// After windows.h, which it builds on.
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "floor_timing.h"
#include "scan/signature_table.h"

namespace {

namespace floors = quellspur::floors;

constexpr int kDone = 0;
constexpr int kUsage = 2;

// A Back Orifice server's length in bytes: at least the first, less than the second.
constexpr ULONGLONG kSmallestServer = 124901;
constexpr ULONGLONG kPastLargestServer = 125050;
constexpr DWORD kTailBytes = 101;

constexpr wchar_t kRunServicesKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A window look-up's arguments; null stands for any class or any caption.
struct LookUp {
  std::wstring windowClass;
  std::wstring caption;
  const wchar_t* ClassOrNull() const { return windowClass.empty() ? nullptr : windowClass.c_str(); }
  // A caption left empty beside a class means any caption; without a class it is the empty one.
  const wchar_t* CaptionOrNull() const {
    return caption.empty() && !windowClass.empty() ? nullptr : caption.c_str();
  }
};

struct StartKey {
  HKEY root;
  const wchar_t* path;
  REGSAM view;
};

struct Process {
  DWORD id;
  std::wstring exe;
};

// What one scan met.
struct Met {
  int windows = 0;
  int images = 0;
  int processes = 0;
  int tails = 0;
  int values = 0;
};

std::vector<LookUp> LookUps() {
  std::vector<LookUp> lookUps;
  for (const auto& signature : quellspur::kWindowSignatures) {
    lookUps.push_back({std::wstring(signature.windowClass), std::wstring(signature.windowCaption)});
  }
  return lookUps;
}

// 64-bit Windows keeps the machine's start keys once for 64-bit and once for 32-bit programs.
std::vector<StartKey> StartKeys(bool nt) {
  BOOL wow64 = FALSE;
  const bool twoViews =
      nt && (sizeof(void*) == 8 || (::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64));
  std::vector<StartKey> keys;
  for (const wchar_t* path : {kRunServicesKey, kRunKey}) {
    if (twoViews) {
      keys.push_back({HKEY_LOCAL_MACHINE, path, KEY_WOW64_64KEY});
      keys.push_back({HKEY_LOCAL_MACHINE, path, KEY_WOW64_32KEY});
    } else {
      keys.push_back({HKEY_LOCAL_MACHINE, path, 0});
    }
  }
  keys.push_back({HKEY_CURRENT_USER, kRunKey, 0});
  return keys;
}

std::vector<Process> ListProcesses() {
  std::vector<Process> processes;
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    return processes;
  }
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
       more = ::Process32NextW(snapshot, &entry)) {
    processes.push_back({entry.th32ProcessID, entry.szExeFile});
  }
  ::CloseHandle(snapshot);
  return processes;
}

const Process* Find(const std::vector<Process>& processes, DWORD id) {
  const auto found = std::find_if(processes.begin(), processes.end(),
                                  [id](const Process& process) { return process.id == id; });
  return found == processes.end() ? nullptr : &*found;
}

std::wstring Upper(std::wstring text) {
  ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// Whether the executable names itself in its last bytes, as a Back Orifice server does.
bool NamesItselfAtEnd(const std::wstring& exe) {
  const HANDLE file = ::CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  char tail[kTailBytes];
  DWORD read = 0;
  const bool ok = ::SetFilePointer(file, -static_cast<LONG>(kTailBytes), nullptr, FILE_END) !=
                      INVALID_SET_FILE_POINTER &&
                  ::ReadFile(file, tail, kTailBytes, &read, nullptr) != FALSE;
  ::CloseHandle(file);
  wchar_t text[kTailBytes];
  const int chars = ok ? ::MultiByteToWideChar(CP_ACP, 0, tail, static_cast<int>(read), text,
                                               static_cast<int>(std::size(text)))
                       : 0;
  const std::wstring name = Upper(exe.substr(exe.find_last_of(L"\\/") + 1));
  return !name.empty() && Upper(std::wstring(text, chars)).find(name) != std::wstring::npos;
}

// A listed process that the process probe must look at further: named with a blank before
// ".exe", or of a server's length and naming itself at its end.
bool IsCandidate(const std::wstring& exe, Met& met) {
  if (exe.size() >= 5 && Upper(exe.substr(exe.size() - 5)) == L" .EXE") {
    return true;
  }
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!::GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &attributes)) {
    return false;
  }
  const ULONGLONG length = (ULONGLONG{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
  if (length < kSmallestServer || length >= kPastLargestServer) {
    return false;
  }
  ++met.tails;
  return NamesItselfAtEnd(exe);
}

// Reads every value of the key, name and data, as a search for a start command must.
int WalkValues(const StartKey& startKey) {
  static wchar_t name[16384];
  static BYTE data[65536];
  HKEY key = nullptr;
  if (::RegOpenKeyExW(startKey.root, startKey.path, 0, KEY_READ | startKey.view, &key) !=
      ERROR_SUCCESS) {
    return 0;
  }
  int values = 0;
  for (DWORD index = 0;; ++index) {
    DWORD nameChars = std::size(name);
    DWORD dataBytes = sizeof(data);
    DWORD type = 0;
    const LONG status =
        ::RegEnumValueW(key, index, name, &nameChars, nullptr, &type, data, &dataBytes);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
      break;
    }
    ++values;
  }
  ::RegCloseKey(key);
  return values;
}

Met Scan(const std::vector<LookUp>& lookUps, bool windowsOnly, bool nt,
         const std::vector<StartKey>& startKeys) {
  Met met;
  std::vector<DWORD> owners;
  for (const LookUp& lookUp : lookUps) {
    const HWND window = ::FindWindowW(lookUp.ClassOrNull(), lookUp.CaptionOrNull());
    if (window == nullptr) {
      continue;
    }
    ++met.windows;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    owners.push_back(processId);
  }
  if (windowsOnly) {
    return met;
  }
  bool found = met.windows > 0;
  if (nt) {
    for (const DWORD owner : owners) {
      met.images += floors::ImageOf(owner).empty() ? 0 : 1;
    }
  } else {
    // Windows 95/98 list every process with its executable's path and its parent: the one walk
    // names the windows' processes too.
    const std::vector<Process> processes = ListProcesses();
    met.processes = static_cast<int>(processes.size());
    for (const DWORD owner : owners) {
      met.images += Find(processes, owner) ? 1 : 0;
    }
    for (const Process& process : processes) {
      found = IsCandidate(process.exe, met) || found;
    }
  }
  if (found) {
    for (const StartKey& key : startKeys) {
      met.values += WalkValues(key);
    }
  }
  return met;
}

}  // namespace

int main(int argc, char** argv) {
  bool windowsOnly = false;
  long repeat = 1;
  for (int next = 1; next < argc; ++next) {
    if (std::strcmp(argv[next], "--windows-only") == 0) {
      windowsOnly = true;
    } else {
      repeat = floors::RepeatAt(argc, argv, next);
    }
    if (repeat == 0) {
      std::fprintf(stderr, "usage: scan_floor.exe [--windows-only] [--repeat N]\n");
      return kUsage;
    }
  }

  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  ::GetVersionExW(&version);
  const bool nt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  const std::vector<LookUp> lookUps = LookUps();
  const std::vector<StartKey> startKeys = StartKeys(nt);

  Met met;
  floors::TimeRounds(repeat, [&] { met = Scan(lookUps, windowsOnly, nt, startKeys); });

  std::printf(
      "%s, last scan: %d windows, %d of their executables named, %d processes listed, "
      "%d tails read, %d start values read\n",
      nt ? "Windows NT" : "Windows 95/98", met.windows, met.images, met.processes, met.tails,
      met.values);
  return kDone;
}
