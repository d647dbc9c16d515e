// File length and positioned reads.
#include <windows.h>

#include "platform/win32/win32_os.h"

namespace quellspur::platform::win32 {

bool Win32Os::GetFileLength(const std::wstring& path, std::uint64_t& length) {
  const std::string name = WideToAnsi(path);
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  // A folder has attributes but no length of its own.
  if (!::GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &attributes) ||
      (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  length = (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
  return true;
}

bool Win32Os::ReadFileAt(const std::wstring& path, std::uint64_t offset, std::uint32_t count,
                         std::string& bytes) {
  bytes.clear();
  const std::string name = WideToAnsi(path);
  // Running executables are read too, so others may keep reading and writing meanwhile.
  // FILE_SHARE_DELETE is left out: Windows 95 and 98 refuse it.
  HANDLE file = ::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
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

}  // namespace quellspur::platform::win32
