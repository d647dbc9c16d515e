#include "platform/win32/win32_console.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/text.h"

namespace quellspur::platform::win32 {
namespace {

// Old consoles refuse one large write; a pipe takes a large one in parts.
constexpr DWORD kConsoleChunk = 8192;

// The system's words for the last error, without the line end it comes with.
std::wstring LastErrorText() {
  const DWORD error = ::GetLastError();
  wchar_t text[512] = {};
  DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, 512, nullptr);
  while (length > 0 &&
         (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' ')) {
    --length;
  }
  return length > 0 ? std::wstring(text, length) : L"error " + DecimalText(error);
}

// Writes `count` units through `write(done, written)`, in as many calls as the stream takes; a
// call that writes nothing would loop for ever, so it counts as a fault.
template <typename Write>
bool WriteAll(std::size_t count, const Write& write) {
  for (std::size_t done = 0; done < count;) {
    DWORD written = 0;
    if (!write(done, written)) {
      return false;
    }
    if (written == 0) {
      ::SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    done += written;
  }
  return true;
}

bool WriteToConsole(HANDLE handle, std::wstring_view text) {
  return WriteAll(text.size(), [&](std::size_t done, DWORD& written) {
    const auto part = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, kConsoleChunk));
    return ::WriteConsoleW(handle, text.data() + done, part, &written, nullptr) != FALSE;
  });
}

bool WriteToFile(HANDLE handle, std::wstring_view text) {
  // Redirected: UTF-8, a half of a surrogate pair alone written as U+FFFD.
  const auto length = static_cast<int>(text.size());
  const int bytes =
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), bytes, nullptr, nullptr);
  return WriteAll(utf8.size(), [&](std::size_t done, DWORD& written) {
    return ::WriteFile(handle, utf8.data() + done, static_cast<DWORD>(utf8.size() - done), &written,
                       nullptr) != FALSE;
  });
}

}  // namespace

bool Win32Console::Put(Stream stream, std::wstring_view text, std::wstring& whyNot) {
  const HANDLE handle =
      ::GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  // A program started without the stream was given nowhere to write: nothing is lost.
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty()) {
    return true;
  }
  DWORD mode = 0;
  // A console window shows every character, whatever its code page.
  const bool written =
      ::GetConsoleMode(handle, &mode) ? WriteToConsole(handle, text) : WriteToFile(handle, text);
  if (!written) {
    whyNot = LastErrorText();
  }
  return written;
}

}  // namespace quellspur::platform::win32
