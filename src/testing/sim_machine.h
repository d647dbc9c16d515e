// The simulated machine: a Windows as the program sees it, in memory, its calls defined in one
// file per subject (processes, registry, files, windows, system).
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/os.h"
#include "platform/text.h"

namespace quellspur::platform::sim {

struct SimProcess {
  std::uint32_t id = 0;
  std::uint32_t parentId = 0;
  std::wstring exeFile;     // what the process list reports
  std::wstring modulePath;  // the executable's full path; empty when it can't be read
  bool is64Bit = false;     // a 32-bit program under WOW64 can't read its modules
  bool refusesOpen = false;
  bool refusesTermination = false;
  bool running = true;
  std::uint32_t exitCode = 0;
  int outsideHolders = 0;  // handles another program keeps open on it
  // How long it takes to end once terminated, as Windows ends a process after TerminateProcess
  // returns; 0: at once. It ends when the steady clock has moved on that far.
  std::uint64_t endsAfterMicroseconds = 0;
  std::optional<std::uint64_t> endsAt;  // terminated, and ends at this steady time
};

// The account the program runs as: the one Wine gives every prefix's user.
inline constexpr wchar_t kSimUserSid[] = L"S-1-5-21-0-0-0-1000";

struct SimTopLevelWindow {
  WindowHandle handle = 0;
  std::wstring className;
  std::wstring caption;
  std::uint32_t processId = 0;
  std::uint32_t threadId = 0;
};

struct SimValue {
  std::wstring name;
  std::uint32_t type = 0;
  std::string data;
};

class SimMachine : public Os {
 public:
  SimMachine();

  // --- Setting the scene ---
  // Starts a process; the id is chosen by the machine. The module path is the executable's path.
  std::uint32_t StartProcess(const std::wstring& exeFile, std::uint32_t parentId);
  SimProcess& Process(std::uint32_t id);
  const std::vector<SimProcess>& processes() const { return processes_; }
  // Ends a process; it stays openable while someone holds a handle to it.
  void EndProcess(std::uint32_t id, std::uint32_t exitCode);

  void SetRegistryValue(RegKey root, const std::wstring& subKey, const std::wstring& name,
                        std::uint32_t type, const std::string& data);
  // A REG_SZ value as Windows stores text: UTF-16LE and a terminating zero character.
  void SetRegistryText(RegKey root, const std::wstring& subKey, const std::wstring& name,
                       const std::wstring& text);
  // Opening the key with any of these rights is refused.
  void DenyKeyRights(RegKey root, const std::wstring& subKey, std::uint32_t rights);
  // Removes the key and every key below it.
  void DeleteKeyTree(RegKey root, const std::wstring& subKey);
  std::vector<SimValue> RegistryValues(RegKey root, const std::wstring& subKey) const;
  bool KeyExists(RegKey root, const std::wstring& subKey) const;

  // Opens a top-level window of the given process; the newest window is found first.
  WindowHandle ShowWindow(const std::wstring& className, const std::wstring& caption,
                          std::uint32_t processId);
  void CloseWindow(WindowHandle window);

  // Puts a file, with every folder above it.
  void PutFile(const std::wstring& path, const std::string& bytes);
  void MakeFolder(const std::wstring& path);
  void RemoveFolder(const std::wstring& path) { folders_.erase(FileKey(path)); }
  void RemoveFile(const std::wstring& path);
  bool FileExists(const std::wstring& path) const;
  // The file's bytes; empty when it does not exist.
  std::string FileContent(const std::wstring& path) const;
  std::uint32_t FileAttributes(const std::wstring& path) const;
  bool FolderExistsAt(const std::wstring& path) const { return FolderExists(FileKey(path)); }
  // While on, every copy arrives with a stray byte at its end, as from a failing disk.
  void DamageCopies(bool on) { damageCopies_ = on; }
  // Another program opens the file (making it when missing) and locks all of its bytes, the
  // writers' lock included, for that many microseconds of the steady clock, or until released.
  void HoldFileLock(const std::wstring& path,
                    std::uint64_t microseconds = std::numeric_limits<std::uint64_t>::max());
  void ReleaseFileLock(const std::wstring& path);
  void SetCurrentDirectory(const std::wstring& folder) { currentDirectory_ = folder; }
  void SetPlatformId(std::uint32_t id) { platformId_ = id; }
  // 64-bit Windows with this program as a 32-bit one under WOW64: HKEY_LOCAL_MACHINE\Software
  // then has its 32-bit view under "Software\WOW6432Node", which the program sees by default.
  void UseWow64() { wow64_ = true; }
  void SetClock(const LocalTime& now) { clock_ = now; }
  // The time zone the clock shows, and which of its biases is in effect (UTC by default).
  void SetTimeZone(std::uint32_t id, const TimeZoneBias& zone) {
    timeZoneId_ = id;
    timeZone_ = zone;
  }
  // Time passes on the steady clock, and processes whose end was due meanwhile end.
  void LetTimePass(std::uint64_t microseconds);
  // How far the steady clock moves on at each reading: by default far enough that whatever
  // waits for time to pass finds it passed; 0 stops it.
  void SetSteadyClockStep(std::uint64_t microseconds) { steadyStep_ = microseconds; }
  void SetTimeSeparator(const std::wstring& separator) { timeSeparator_ = separator; }
  // Where the program runs from: its folder as the system names it, and its file name without
  // the extension.
  void SetCommandLine(const std::wstring& commandLine) { commandLine_ = commandLine; }
  void SetWindowsDirectory(const std::wstring& folder) { windowsDirectory_ = folder; }
  // Another copy of the program holds its mutexes already.
  void TakeMutex(const std::wstring& name) { mutexes_.insert(UpperCase(name)); }
  void SetProgram(const std::wstring& folder, const std::wstring& exeName) {
    programFolder_ = folder;
    programExeName_ = exeName;
  }

  // Whether the program runs elevated: its administrators group enabled. By default it is, as
  // under Wine.
  void SetElevated(bool elevated) { elevated_ = elevated; }
  // Folders keep the owner and access list they are created with, and pass their inheritable
  // entries on to what they hold, as Windows does. By default they keep none, as under Wine:
  // every file and folder is the user's own, SYSTEM and the user may do everything and Everyone
  // may read.
  void KeepAccessLists() { keepsAccessLists_ = true; }
  // The path's own owner and access list, whatever the machine keeps otherwise.
  void SetAccessList(const std::wstring& path, const AccessList& list) {
    accessLists_[FileKey(path)] = list;
  }

  std::size_t OpenHandleCount() const { return handles_.size(); }
  std::size_t OpenKeyCount() const { return openKeys_.size(); }

  // The calls of os_calls.h, defined in the file of their subject.
  QUELLSPUR_OS_CALLS(QUELLSPUR_OVERRIDE)

 private:
  // A call's failure: Windows leaves its status for GetLastError.
  bool Fail(Status status) {
    lastError_ = status;
    return false;
  }

  // --- Processes ---
  struct KernelObject {
    enum class Kind { Snapshot, Process } kind = Kind::Snapshot;
    std::vector<ProcessEntry> entries;  // snapshot
    std::size_t next = 0;               // snapshot
    std::uint32_t processId = 0;        // process
    std::uint32_t access = 0;           // process
  };
  SimProcess* FindProcess(std::uint32_t id);
  // Ends the terminated processes whose time to end has come.
  void EndDueProcesses();
  bool Reachable(const SimProcess& process) const;
  bool HeldByProgram(std::uint32_t processId) const;
  bool NextEntry(Handle snapshot, ProcessEntry& entry, bool first);

  std::vector<SimProcess> processes_;
  std::uint32_t nextProcessId_ = 100;
  std::uint32_t selfId_ = 0;
  std::map<Handle, KernelObject> handles_;
  Handle nextHandle_ = 0x40;

  // --- Registry ---
  struct Key {
    std::uint32_t deniedRights = 0;
    std::vector<SimValue> values;
  };
  struct OpenKey {
    std::wstring path;
    std::uint32_t access = 0;
  };
  std::wstring KeyPath(RegKey root, const std::wstring& subKey) const;
  // The key the program reaches through the view its access names.
  std::wstring ViewedKeyPath(RegKey root, const std::wstring& subKey, std::uint32_t access) const;
  Key* FindKey(RegKey key, std::uint32_t requiredRights, Status& status);
  Key& CreateKeyPath(const std::wstring& path);

  std::map<std::wstring, Key> keys_;  // by upper-cased full path, root name first
  std::map<RegKey, OpenKey> openKeys_;
  RegKey nextKey_ = 0x1000;

  // --- Files ---
  struct File {
    std::string bytes;
    std::uint32_t attributes = kAttributeArchive;
    std::wstring name;              // as the file was first named, for listings
    std::uint64_t lockedUntil = 0;  // the steady clock's reading when another program lets go
    std::uint64_t lastWriteTime = 0;
  };
  // Gives the file a last write time later than any before, as writing it does.
  void Written(File& file) { file.lastWriteTime = ++lastWriteTime_; }
  std::wstring FileKey(const std::wstring& path) const;
  // The file at the path, made empty under the path's file name when there is none.
  File& FileAt(const std::wstring& path);
  bool FolderExists(const std::wstring& key) const;
  void AddFolders(const std::wstring& key);
  // Whether a running program's executable is this file: it can't be deleted or replaced.
  bool InUse(const std::wstring& key) const;
  // Why a file may not be created or written here, kErrorSuccess when it may: the folder above
  // must exist, no folder have the name, and a file of that name be neither read-only nor in use.
  Status WriteRefusal(const std::wstring& key) const;
  // Why there is no file at the path: its folder is missing too, or only the file.
  Status Missing(const std::wstring& key) const;
  File* FindFile(const std::wstring& path);
  // The file at the path for reading, or nullptr when Windows would refuse to open it, its status
  // left for GetLastError.
  const File* Opened(const std::wstring& path);
  bool ParentExists(const std::wstring& key) const;
  // A writer waits up to that long for another program's lock on the file, the steady clock
  // moving on meanwhile; whether it got the lock.
  bool WaitForLock(const std::wstring& path, std::uint64_t microseconds);

  std::map<std::wstring, File> files_;                   // by upper-cased full path
  std::uint64_t lastWriteTime_ = 0x01DC'0000'0000'0000;  // in 2025, in 100-ns ticks since 1601
  unsigned nextTempName_ = 1;
  bool damageCopies_ = false;
  std::set<std::wstring> folders_;  // likewise, drives' roots left out
  std::wstring currentDirectory_ = L"C:\\";

  // --- System ---
  Status lastError_ = kErrorSuccess;
  std::uint32_t platformId_ = kPlatformNt;
  bool wow64_ = false;
  LocalTime clock_{2026, 1, 1, 12, 0, 0};
  std::uint32_t timeZoneId_ = kTimeZoneIdUnknown;
  TimeZoneBias timeZone_;
  std::uint64_t steadyNow_ = 0;
  std::uint64_t steadyStep_ = 1'000'000;
  std::wstring timeSeparator_ = L":";
  std::wstring programFolder_ = L"C:\\Program Files\\Quellspur";
  std::wstring programExeName_ = L"Quellspur";
  std::wstring commandLine_ = L"\"C:\\Program Files\\Quellspur\\Quellspur.exe\"";
  std::wstring windowsDirectory_ = L"C:\\WINDOWS";
  std::set<std::wstring> mutexes_;

  // --- Security ---
  // The list of a path without one of its own: what the nearest folder above with one passes on,
  // or else the user's own default.
  AccessList InheritedList(const std::wstring& key, bool isFolder) const;
  bool elevated_ = true;
  bool keepsAccessLists_ = false;
  std::map<std::wstring, AccessList> accessLists_;  // by upper-cased full path

  // --- Windows ---
  std::vector<SimTopLevelWindow> windows_;  // newest first, as the Z order has them
  WindowHandle nextWindow_ = 0x10010;
};

}  // namespace quellspur::platform::sim
