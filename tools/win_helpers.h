// Looking at windows from the outside, for the Windows test programs and the tests run under
// Wine: a window's text and class, the windows on the screen, a list box's lines, and waiting a
// bounded time for something to come true.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quellspur::winhelp {

inline std::wstring TextOf(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

inline std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

// Class names are compared without regard to case, as Windows does ("ListBox", "LISTBOX").
inline bool IsOfClass(HWND window, std::wstring_view className) {
  return ::lstrcmpiW(ClassOf(window).c_str(), std::wstring(className).c_str()) == 0;
}

namespace detail {

inline BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

}  // namespace detail

// Every top-level window, hidden ones included.
inline std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  ::EnumWindows(detail::Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// This thread's top-level windows, hidden ones included.
inline std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  ::EnumThreadWindows(::GetCurrentThreadId(), detail::Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The window's children, and theirs.
inline std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  ::EnumChildWindows(parent, detail::Collect, reinterpret_cast<LPARAM>(&children));
  return children;
}

inline DWORD ProcessOf(HWND window) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  return owner;
}

// A list box's lines, read in wide characters: across processes the "A" form hands back wide text
// under Wine.
inline std::vector<std::wstring> ListLines(HWND list) {
  std::vector<std::wstring> lines;
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length == LB_ERR) {
      break;
    }
    std::wstring line(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                                          reinterpret_cast<LPARAM>(line.data()));
    line.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    lines.push_back(line);
  }
  return lines;
}

// Hands this thread's pending messages to their windows.
inline void DispatchPending() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// Checks `condition` until it holds or `milliseconds` have passed. In between, `pump` handles this
// thread's messages as they arrive, and a condition about another program is looked at again
// every 25 milliseconds.
inline bool Eventually(DWORD milliseconds, const std::function<bool()>& condition,
                       const std::function<void()>& pump = DispatchPending) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    pump();
    if (condition()) {
      return true;
    }
    const DWORD elapsed = ::GetTickCount() - start;
    if (elapsed >= milliseconds) {
      return false;
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(milliseconds - elapsed, 25),
                                QS_ALLINPUT);
  }
}

}  // namespace quellspur::winhelp
