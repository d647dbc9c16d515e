// The one list of the Windows calls the program makes: every call of the Os interface, once, with
// its documentation. Each line reads
//
//   X(Result, Name, (Parameters), (Arguments), "Windows name", Failures, On failure)
//
// - Result, Name and Parameters declare the member; Arguments are its parameters' names.
// - The Windows name is the function the member calls, as Windows spells it (ListFiles is
//   FindFirstFileW); a member that makes several calls, or none, keeps its own name.
// - Failures are the statuses a failure of the call gives, access denied first where it can be
//   one: a registry call returns its status, the others leave it to GetLastError. kCannotFail
//   marks a call without failures that Windows reports.
// - On failure: what a failed call hands back, as statements that may use `status`, the status of
//   the failure.
//
// The interfaces (processes.h, registry.h, files.h, system.h, windows.h), the real machine
// (platform/win32) and the simulated one (testing) declare their members from these lists, and the
// fault-injecting wrapper forwards, names and fails each call through them. A new call is one line
// here, plus its real and simulated versions and a contract case.
#pragma once

#include <array>
#include <span>

#include "platform/types.h"

namespace quellspur::platform {

inline constexpr std::span<const Status> kCannotFail{};
inline constexpr std::array kDenied{kErrorAccessDenied};
inline constexpr std::array kBadHandle{kErrorInvalidHandle};
inline constexpr std::array kEndOfList{kErrorNoMoreFiles};
inline constexpr std::array kBadRecordSize{kErrorInsufficientBuffer};
inline constexpr std::array kBadWindow{kErrorInvalidWindowHandle};
inline constexpr std::array kKeyFailures{kErrorAccessDenied, kErrorFileNotFound};
// A file that is there to be read or changed.
inline constexpr std::array kFileFailures{kErrorAccessDenied, kErrorFileNotFound,
                                          kErrorSharingViolation};
// A file that is made when missing: only its folder can be.
inline constexpr std::array kNewFileFailures{kErrorAccessDenied, kErrorPathNotFound,
                                             kErrorSharingViolation};
// Such a file, whose writers' lock another program may hold.
inline constexpr std::array kLockedFileFailures{kErrorAccessDenied, kErrorPathNotFound,
                                                kErrorSharingViolation, kErrorLockViolation};
inline constexpr std::array kCopyFailures{kErrorAccessDenied, kErrorFileNotFound,
                                          kErrorSharingViolation, kErrorFileExists};
// A file that gets a new name where no file or folder may stand.
inline constexpr std::array kMoveFailures{kErrorAccessDenied, kErrorFileNotFound,
                                          kErrorSharingViolation, kErrorAlreadyExists};
inline constexpr std::array kFolderFailures{kErrorAccessDenied, kErrorPathNotFound};
inline constexpr std::array kNewFolderFailures{kErrorAccessDenied, kErrorPathNotFound,
                                               kErrorAlreadyExists};
inline constexpr std::array kSecurityFailures{kErrorAccessDenied, kErrorFileNotFound};

}  // namespace quellspur::platform

// The process list and process handles (kernel32 Toolhelp, kernel32, psapi).
#define QUELLSPUR_PROCESS_CALLS(X)                                                              \
  /* A snapshot of the given kind (kSnapProcess); 0 when none is obtained. */                   \
  X(Handle, CreateToolhelp32Snapshot, (std::uint32_t flags, std::uint32_t processId),           \
    (flags, processId), "CreateToolhelp32Snapshot", kDenied, return 0;)                         \
  /* Read the first or next entry of a snapshot; false at the end of the list or on failure. */ \
  X(bool, Process32FirstW, (Handle snapshot, ProcessEntry & entry), (snapshot, entry),          \
    "Process32FirstW", kEndOfList, return false;)                                               \
  X(bool, Process32NextW, (Handle snapshot, ProcessEntry & entry), (snapshot, entry),           \
    "Process32NextW", kEndOfList, return false;)                                                \
  /* A handle to the process with the given rights; 0 on failure. */                            \
  X(Handle, OpenProcess,                                                                        \
    (std::uint32_t desiredAccess, bool inheritHandle, std::uint32_t processId),                 \
    (desiredAccess, inheritHandle, processId), "OpenProcess", kDenied, return 0;)               \
  /* Writes the executable path of the process into a buffer of bufferChars (UTF-16) characters \
     and hands back its text. Returns the number of characters written: 0 on failure, and the   \
     whole buffer size when the path had to be cut (the text then holds one character less). */ \
  X(std::uint32_t, GetModuleFileNameExW,                                                        \
    (Handle process, std::uint32_t bufferChars, std::wstring & path),                           \
    (process, bufferChars, path), "GetModuleFileNameExW", kDenied, path.clear();                \
    return 0;)                                                                                  \
  /* The full path of the process's executable, of a 64-bit process seen from a 32-bit program  \
     too; false when the system lacks the call (before Windows Vista) or the path can't be      \
     read. */                                                                                   \
  X(bool, QueryFullProcessImageNameW, (Handle process, std::wstring & path), (process, path),   \
    "QueryFullProcessImageNameW", kDenied, path.clear();                                        \
    return false;)                                                                              \
  /* Ends the process with the given exit code. */                                              \
  X(bool, TerminateProcess, (Handle process, std::uint32_t exitCode), (process, exitCode),      \
    "TerminateProcess", kDenied, return false;)                                                 \
  /* The exit code of an ended process, or kStillActive while it runs. */                       \
  X(bool, GetExitCodeProcess, (Handle process, std::uint32_t & exitCode), (process, exitCode),  \
    "GetExitCodeProcess", kDenied, return false;)                                               \
  X(bool, CloseHandle, (Handle handle), (handle), "CloseHandle", kBadHandle, return false;)     \
  X(std::uint32_t, GetCurrentProcessId, (), (), "GetCurrentProcessId", kCannotFail)

// The registry, through the UTF-16 ("W") calls of advapi32; registry.h tells how names, data and
// buffers cross.
#define QUELLSPUR_REGISTRY_CALLS(X)                                                             \
  X(Status, RegOpenKeyExW,                                                                      \
    (RegKey root, const std::wstring& subKey, std::uint32_t options, std::uint32_t access,      \
     RegKey& key),                                                                              \
    (root, subKey, options, access, key), "RegOpenKeyExW", kKeyFailures, key = 0;               \
    return *status;)                                                                            \
  /* Delivers value `index` into buffers of nameChars characters and dataBytes bytes. A name or \
     data that does not fit gives kErrorMoreData; past the last value kErrorNoMoreItems. */     \
  X(Status, RegEnumValueW,                                                                      \
    (RegKey key, std::uint32_t index, std::uint32_t nameChars, std::uint32_t dataBytes,         \
     EnumeratedValue & value),                                                                  \
    (key, index, nameChars, dataBytes, value), "RegEnumValueW", kKeyFailures, return *status;)  \
  X(Status, RegCloseKey, (RegKey key), (key), "RegCloseKey", kBadHandle, return *status;)       \
  /* Delivers the named value's type and data into a buffer of dataBytes bytes; data that does  \
     not fit gives kErrorMoreData, a missing value kErrorFileNotFound. */                       \
  X(Status, RegQueryValueExW,                                                                   \
    (RegKey key, const std::wstring& valueName, std::uint32_t dataBytes, std::uint32_t& type,   \
     std::string& data),                                                                        \
    (key, valueName, dataBytes, type, data), "RegQueryValueExW", kKeyFailures, return *status;) \
  /* Creates the key and any missing keys above it, or opens it when it exists. */              \
  X(Status, RegCreateKeyExW,                                                                    \
    (RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey& key),               \
    (root, subKey, access, key), "RegCreateKeyExW", kKeyFailures, key = 0;                      \
    return *status;)                                                                            \
  /* Stores the bytes. String-type data whose last character is not a zero is stored with one   \
     when the character behind the data is a zero, as Windows NT does; behind the boundary's    \
     data there always is one. */                                                               \
  X(Status, RegSetValueExW,                                                                     \
    (RegKey key, const std::wstring& valueName, std::uint32_t type, const std::string& data),   \
    (key, valueName, type, data), "RegSetValueExW", kKeyFailures, return *status;)              \
  X(Status, RegDeleteValueW, (RegKey key, const std::wstring& valueName), (key, valueName),     \
    "RegDeleteValueW", kKeyFailures, return *status;)

// The file system, by path; every call opens and closes what it needs. A call named after no
// Windows function (GetFileLength, ReadFileAt, ...) makes the few calls its comment says.
#define QUELLSPUR_FILE_CALLS(X)                                                                   \
  /* The length of the file in bytes; false when it can't be read. */                             \
  X(bool, GetFileLength, (const std::wstring& path, std::uint64_t& length), (path, length),       \
    "GetFileLength", kFileFailures, return false;)                                                \
  /* Reads up to `count` bytes from `offset` (fewer at the end of the file, none behind it);      \
     false when the file can't be opened, positioned or read. */                                  \
  X(bool, ReadFileAt,                                                                             \
    (const std::wstring& path, std::uint64_t offset, std::uint32_t count, std::string& bytes),    \
    (path, offset, count, bytes), "ReadFileAt", kFileFailures, bytes.clear();                     \
    return false;)                                                                                \
  /* Opens the file for appending only (creating it when missing), shared with readers and other  \
     appenders, writes the bytes at its end in one write under the writers' lock, and closes it   \
     once they are on the disk. While another program holds that lock it waits about a second,    \
     then writes without it. */                                                                   \
  X(bool, AppendToFile, (const std::wstring& path, const std::string& bytes), (path, bytes),      \
    "AppendToFile", kNewFileFailures, return false;)                                              \
  /* As AppendToFile, but waits at most waitMilliseconds (0: not at all) for another program to   \
     let go of the writers' lock, or of a lock on the file's bytes; while it still holds one, it  \
     writes nothing and fails with ERROR_LOCK_VIOLATION. */                                       \
  X(bool, AppendToFileUnlessLocked,                                                               \
    (const std::wstring& path, const std::string& bytes, std::uint32_t waitMilliseconds),         \
    (path, bytes, waitMilliseconds), "AppendToFileUnlessLocked", kLockedFileFailures,             \
    return false;)                                                                                \
  /* The file's length and last write time, read without opening it; false when it can't be       \
     read or names a folder. */                                                                   \
  X(bool, GetFileAttributesExW, (const std::wstring& path, FileStamp& stamp), (path, stamp),      \
    "GetFileAttributesExW", kFileFailures, stamp = {};                                            \
    return false;)                                                                                \
  /* The SHA-256 of the file's bytes as 64 lower-case hex digits; false when it can't be read. */ \
  X(bool, FileSha256, (const std::wstring& path, std::string& hexDigest), (path, hexDigest),      \
    "FileSha256", kFileFailures, hexDigest.clear();                                               \
    return false;)                                                                                \
  /* The names (not paths) of the files directly in the folder, folders left out; false when the  \
     folder can't be read. */                                                                     \
  X(bool, ListFiles, (const std::wstring& folder, std::vector<std::wstring>& names),              \
    (folder, names), "FindFirstFileW", kFolderFailures, names.clear();                            \
    return false;)                                                                                \
  /* Creates the file, or empties an existing one, and writes the bytes. */                       \
  X(bool, WriteWholeFile, (const std::wstring& path, const std::string& bytes), (path, bytes),    \
    "WriteWholeFile", kNewFileFailures, return false;)                                            \
  X(bool, CopyFileW,                                                                              \
    (const std::wstring& existing, const std::wstring& target, bool failIfExists),                \
    (existing, target, failIfExists), "CopyFileW", kCopyFailures, return false;)                  \
  X(bool, SetFileAttributesW, (const std::wstring& path, std::uint32_t attributes),               \
    (path, attributes), "SetFileAttributesW", kFileFailures, return false;)                       \
  X(bool, DeleteFileW, (const std::wstring& path), (path), "DeleteFileW", kFileFailures,          \
    return false;)                                                                                \
  /* Fails when the folder exists already or the folder above it is missing. */                   \
  X(bool, CreateDirectoryW, (const std::wstring& path), (path), "CreateDirectoryW",               \
    kNewFolderFailures, return false;)                                                            \
  /* Gives `existing` the name `target` in one step, replacing a file of that name. */            \
  X(bool, MoveFileExW, (const std::wstring& existing, const std::wstring& target),                \
    (existing, target), "MoveFileExW", kFileFailures, return false;)                              \
  /* Gives `existing` the name `target` in one step; fails (kErrorAlreadyExists) when a file or   \
     folder of that name exists, which stays as it is. */                                         \
  X(bool, MoveFileW, (const std::wstring& existing, const std::wstring& target),                  \
    (existing, target), "MoveFileW", kMoveFailures, return false;)                                \
  /* Creates an empty file of a new, unique name in the folder and hands back its path. */        \
  X(bool, GetTempFileNameW,                                                                       \
    (const std::wstring& folder, const std::wstring& prefix, std::wstring& path),                 \
    (folder, prefix, path), "GetTempFileNameW", kFolderFailures, return false;)

// System information, the ANSI code page, and why the last call failed.
#define QUELLSPUR_SYSTEM_CALLS(X)                                                                 \
  /* Fills the record; on failure it stays as it was. */                                          \
  X(bool, GetVersionExW, (OsVersionInfo & info), (info), "GetVersionExW", kBadRecordSize,         \
    return false;)                                                                                \
  X(void, GetLocalTime, (LocalTime & time), (time), "GetLocalTime", kCannotFail)                  \
  /* The time zone's biases and which of them is in effect now (kTimeZoneIdStandard or            \
     kTimeZoneIdDaylight; kTimeZoneIdUnknown where the zone has no daylight saving time). */      \
  X(std::uint32_t, GetTimeZoneInformation, (TimeZoneBias & zone), (zone),                         \
    "GetTimeZoneInformation", kDenied, return kTimeZoneIdInvalid;)                                \
  /* Microseconds from some fixed moment, never going back: for pacing and timing, not for the    \
     time of day. */                                                                              \
  X(std::uint64_t, SteadyMicroseconds, (), (), "QueryPerformanceCounter", kCannotFail)            \
  /* The user's time separator, ":" in most locales. */                                           \
  X(std::wstring, GetTimeSeparator, (), (), "GetTimeSeparator", kCannotFail)                      \
  /* The folder of the running program's executable, without a trailing backslash unless it is a  \
     drive's root folder. */                                                                      \
  X(std::wstring, GetProgramFolder, (), (), "GetProgramFolder", kCannotFail)                      \
  /* The file name of the running program's executable without its extension. */                  \
  X(std::wstring, GetProgramExeName, (), (), "GetProgramExeName", kCannotFail)                    \
  /* The program's command line as the system gives it. */                                        \
  X(std::wstring, GetCommandLineW, (), (), "GetCommandLineW", kCannotFail)                        \
  /* Writes the Windows folder into a buffer of bufferChars characters. Returns the length of the \
     path, or, when the buffer is too small, the size the buffer must have; 0 on failure. */      \
  X(std::uint32_t, GetWindowsDirectoryW, (std::uint32_t bufferChars, std::wstring & folder),      \
    (bufferChars, folder), "GetWindowsDirectoryW", kDenied, return 0;)                            \
  /* Creates a named mutex that lives as long as the program; `alreadyExists` tells whether       \
     another program made it first. */                                                            \
  X(bool, CreateMutexW, (const std::wstring& name, bool& alreadyExists), (name, alreadyExists),   \
    "CreateMutexW", kDenied, alreadyExists = false;                                               \
    return false;)                                                                                \
  /* Whether Windows runs 64-bit programs: this program is one, or runs under WOW64; then the     \
     registry has two views and the file system redirects System32. */                            \
  X(bool, Is64BitWindows, (), (), "IsWow64Process", kCannotFail)                                  \
  /* The system's 8-bit code page, both ways; every byte and character counts, zeros included. */ \
  X(std::wstring, AnsiToWide, (std::string_view ansi), (ansi), "AnsiToWide", kCannotFail)         \
  X(std::string, WideToAnsi, (std::wstring_view text), (text), "WideToAnsi", kCannotFail)         \
  /* Why the last call that failed without returning a status failed: the status it left. After   \
     a failure that the fault wrapper makes up, the wrapper answers with its status. */           \
  X(Status, GetLastError, (), (), "GetLastError", kCannotFail, return *status;)

// Top-level windows (user32).
#define QUELLSPUR_WINDOW_CALLS(X)                                                                  \
  /* The first top-level window, hidden ones included, with this class and caption; an absent      \
     text (a null pointer to Windows) matches any. 0 when there is none. */                        \
  X(WindowHandle, FindWindowW,                                                                     \
    (const std::optional<std::wstring>& className, const std::optional<std::wstring>& windowName), \
    (className, windowName), "FindWindowW", kDenied, return 0;)                                    \
  /* The thread that made the window; its process id goes to `processId`. */                       \
  X(std::uint32_t, GetWindowThreadProcessId, (WindowHandle window, std::uint32_t & processId),     \
    (window, processId), "GetWindowThreadProcessId", kBadWindow, return 0;)

// Owners, access lists and the program's own rights (advapi32), on Windows of the NT family only.
#define QUELLSPUR_SECURITY_CALLS(X)                                                                \
  /* Creates the folder with the owner and access list given, written as a security descriptor's   \
     text and made into one by ConvertStringSecurityDescriptorToSecurityDescriptorW. Fails as      \
     CreateDirectoryW does. */                                                                     \
  X(bool, CreateDirectoryWithAccess, (const std::wstring& path, const AccessList& access),         \
    (path, access), "CreateDirectoryWithAccess", kNewFolderFailures, return false;)                \
  /* The owner and access list of the file or folder, each entry's account in text form. */        \
  X(Status, GetNamedSecurityInfoW, (const std::wstring& path, AccessList& access), (path, access), \
    "GetNamedSecurityInfoW", kSecurityFailures, access = {};                                       \
    return *status;)                                                                               \
  /* Whether the account (a security identifier in text form) is an enabled group of this          \
     program's own rights: for Administrators, whether it runs elevated. */                        \
  X(bool, CheckTokenMembership, (const std::wstring& sid, bool& isMember), (sid, isMember),        \
    "CheckTokenMembership", kDenied, isMember = false;                                             \
    return false;)

// Every call, in the order of the Os interface's parts.
#define QUELLSPUR_OS_CALLS(X) \
  QUELLSPUR_PROCESS_CALLS(X)  \
  QUELLSPUR_REGISTRY_CALLS(X) \
  QUELLSPUR_FILE_CALLS(X)     \
  QUELLSPUR_SYSTEM_CALLS(X)   \
  QUELLSPUR_SECURITY_CALLS(X) \
  QUELLSPUR_WINDOW_CALLS(X)

// A line of the list as an interface's member, and as a machine's.
#define QUELLSPUR_PURE_VIRTUAL(result, name, parameters, ...) virtual result name parameters = 0;
#define QUELLSPUR_OVERRIDE(result, name, parameters, ...) result name parameters override;
