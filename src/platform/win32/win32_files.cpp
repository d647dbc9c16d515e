// File length, positioned reads, appends, listings, copies and replacements.
#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "platform/win32/win32_os.h"

namespace quellspur::platform::win32 {

// A 32-bit program on 64-bit Windows finds the Windows folder's System32 redirected to SysWOW64,
// another file of the same name; "Sysnative" names the real folder to it. A found path must reach
// the file that was found.
std::wstring Unredirected(const std::wstring& path) {
  static const std::wstring system32 = [] {
    if (!RunsUnderWow64()) {
      return std::wstring();
    }
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring()
                                             : std::wstring(folder, length) + L"\\System32";
  }();
  const std::size_t length = system32.size();
  if (length == 0 || path.size() < length ||
      ::_wcsnicmp(path.c_str(), system32.c_str(), length) != 0 ||
      (path.size() > length && path[length] != L'\\')) {
    return path;
  }
  return system32.substr(0, length - 8) + L"Sysnative" + path.substr(length);
}

bool Win32Os::GetFileLength(const std::wstring& path, std::uint64_t& length) {
  FileStamp stamp;
  if (!GetFileAttributesExW(path, stamp)) {
    return false;
  }
  length = stamp.length;
  return true;
}

bool Win32Os::GetFileAttributesExW(const std::wstring& path, FileStamp& stamp) {
  stamp = {};
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!::GetFileAttributesExW(Unredirected(path).c_str(), GetFileExInfoStandard, &attributes)) {
    return false;
  }
  // A folder has attributes but no length of its own; opened as a file, it refuses access.
  if ((attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  stamp.length = (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
  stamp.lastWriteTime = (std::uint64_t{attributes.ftLastWriteTime.dwHighDateTime} << 32) |
                        attributes.ftLastWriteTime.dwLowDateTime;
  return true;
}

bool Win32Os::ReadFileAt(const std::wstring& path, std::uint64_t offset, std::uint32_t count,
                         std::string& bytes) {
  bytes.clear();
  // Running executables are read too, so others may keep reading and writing meanwhile.
  // FILE_SHARE_DELETE is left out: Windows 95 and 98 refuse it.
  HANDLE file =
      ::CreateFileW(Unredirected(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  // SetFilePointerEx is missing on Windows 95 and 98; the two-part form works everywhere.
  LONG high = static_cast<LONG>(offset >> 32);
  const DWORD low =
      ::SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN);
  bool ok = low != INVALID_SET_FILE_POINTER || ::GetLastError() == NO_ERROR;
  std::string buffer(count, '\0');
  DWORD read = 0;
  ok = ok && ::ReadFile(file, buffer.data(), count, &read, nullptr);
  ::CloseHandle(file);
  if (!ok) {
    return false;
  }
  buffer.resize(read);
  bytes = std::move(buffer);
  return true;
}

namespace {

// What an append does when another program still holds the writers' lock after the wait.
enum class WhenStillLocked { WriteAnyway, GiveUp };

bool Append(const std::wstring& path, const std::string& bytes, DWORD waitMilliseconds,
            WhenStillLocked whenStillLocked) {
  // Append-only access makes Windows put every write at the end of the file; readers and other
  // writers may keep the file open meanwhile.
  HANDLE file = ::CreateFileW(Unredirected(path).c_str(), FILE_APPEND_DATA | FILE_READ_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  // Wine finds the end and writes in two steps, so two writers could overwrite each other's
  // lines. Each writer therefore holds a lock on one byte far behind any real end while it
  // writes; readers never reach that byte.
  // Another program can hold that byte, or the whole file (where Windows refuses writes at once
  // and Wine lets them through), for as long as it likes: a backdoor could so freeze the cleaner.
  // Lock and write are therefore retried only for the wait the caller allows.
  // Windows 95 and 98 have no LockFileEx; that failure is not worth a wait.
  const DWORD start = ::GetTickCount();
  const auto retry = [start, waitMilliseconds] {
    if (::GetLastError() != ERROR_LOCK_VIOLATION || ::GetTickCount() - start >= waitMilliseconds) {
      return false;
    }
    ::Sleep(10);
    return true;
  };
  OVERLAPPED guard{};
  guard.OffsetHigh = 0x7FFFFFFF;
  bool locked = false;
  while (!(locked = ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                                 &guard) != FALSE) &&
         retry()) {
  }
  if (!locked && ::GetLastError() == ERROR_LOCK_VIOLATION &&
      whenStillLocked == WhenStillLocked::GiveUp) {
    ::CloseHandle(file);
    ::SetLastError(ERROR_LOCK_VIOLATION);
    return false;
  }
  DWORD written = 0;
  bool ok = false;
  while (!(ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                            nullptr) != FALSE) &&
         retry()) {
  }
  ok = ok && written == bytes.size();
  // A line of the change record must survive a crash of the machine, not just of the program.
  ok = ::FlushFileBuffers(file) && ok;
  const DWORD error = ::GetLastError();
  if (locked) {
    ::UnlockFileEx(file, 0, 1, 0, &guard);
  }
  ::CloseHandle(file);
  ::SetLastError(error);  // why the write failed, not what unlocking and closing left
  return ok;
}

}  // namespace

bool Win32Os::AppendToFile(const std::wstring& path, const std::string& bytes) {
  // A line torn by another writer beats a frozen cleaner or a lost record.
  return Append(path, bytes, 1000, WhenStillLocked::WriteAnyway);
}

bool Win32Os::AppendToFileUnlessLocked(const std::wstring& path, const std::string& bytes,
                                       std::uint32_t waitMilliseconds) {
  return Append(path, bytes, waitMilliseconds, WhenStillLocked::GiveUp);
}

bool Win32Os::ListFiles(const std::wstring& folder, std::vector<std::wstring>& names) {
  names.clear();
  const std::wstring real = Unredirected(folder);
  WIN32_FIND_DATAW found{};
  HANDLE search =
      ::FindFirstFileW((real + (real.ends_with(L'\\') ? L"*" : L"\\*")).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    // Only a drive's root can be without even "." and "..": empty, not unreadable.
    const DWORD error = ::GetLastError();
    const DWORD attributes = ::GetFileAttributesW(real.c_str());
    ::SetLastError(error);  // why the listing failed, not the look at the folder
    return error == ERROR_FILE_NOT_FOUND && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names.emplace_back(found.cFileName);
    }
  } while (::FindNextFileW(search, &found));
  const bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
  ::FindClose(search);
  if (!complete) {
    names.clear();
  }
  return complete;
}

bool Win32Os::WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(Unredirected(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  // What is written must be on the disk before it replaces anything.
  ok = ::FlushFileBuffers(file) && ok;
  return ::CloseHandle(file) && ok;
}

bool Win32Os::CopyFileW(const std::wstring& existing, const std::wstring& target,
                        bool failIfExists) {
  return ::CopyFileW(Unredirected(existing).c_str(), Unredirected(target).c_str(),
                     failIfExists ? TRUE : FALSE) != FALSE;
}

bool Win32Os::SetFileAttributesW(const std::wstring& path, std::uint32_t attributes) {
  return ::SetFileAttributesW(Unredirected(path).c_str(), attributes) != FALSE;
}

bool Win32Os::DeleteFileW(const std::wstring& path) {
  return ::DeleteFileW(Unredirected(path).c_str()) != FALSE;
}

bool Win32Os::CreateDirectoryW(const std::wstring& path) {
  return ::CreateDirectoryW(Unredirected(path).c_str(), nullptr) != FALSE;
}

bool Win32Os::MoveFileExW(const std::wstring& existing, const std::wstring& target) {
  return ::MoveFileExW(Unredirected(existing).c_str(), Unredirected(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32Os::MoveFileW(const std::wstring& existing, const std::wstring& target) {
  return ::MoveFileW(Unredirected(existing).c_str(), Unredirected(target).c_str()) != FALSE;
}

bool Win32Os::GetTempFileNameW(const std::wstring& folder, const std::wstring& prefix,
                               std::wstring& path) {
  wchar_t name[MAX_PATH] = {};
  if (::GetTempFileNameW(Unredirected(folder).c_str(), prefix.c_str(), 0, name) == 0) {
    return false;
  }
  path = name;
  return true;
}

}  // namespace quellspur::platform::win32
