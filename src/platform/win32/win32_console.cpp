#include "platform/win32/win32_console.h"

#include <windows.h>

#include <string>

namespace quellspur::platform::win32 {
namespace {

void WriteTo(DWORD stream, std::wstring_view text) {
  const HANDLE handle = ::GetStdHandle(stream);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty()) {
    return;
  }
  const auto length = static_cast<int>(text.size());
  DWORD mode = 0;
  DWORD written = 0;
  if (::GetConsoleMode(handle, &mode)) {
    // A console window shows every character, whatever its code page.
    ::WriteConsoleW(handle, text.data(), static_cast<DWORD>(length), &written, nullptr);
    return;
  }
  // Redirected: UTF-8, a half of a surrogate pair alone written as U+FFFD.
  const int bytes =
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), bytes, nullptr, nullptr);
  // A pipe takes a large write in parts.
  for (std::size_t done = 0; done < utf8.size(); done += written) {
    if (!::WriteFile(handle, utf8.data() + done, static_cast<DWORD>(utf8.size() - done), &written,
                     nullptr) ||
        written == 0) {
      return;
    }
  }
}

}  // namespace

void Win32Console::WriteOut(std::wstring_view text) {
  WriteTo(STD_OUTPUT_HANDLE, text);
}

void Win32Console::WriteError(std::wstring_view text) {
  WriteTo(STD_ERROR_HANDLE, text);
}

}  // namespace quellspur::platform::win32
