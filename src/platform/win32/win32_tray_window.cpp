#include "platform/win32/win32_tray_window.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <string_view>

namespace quellspur::platform::win32 {
namespace {

// The icon record's first form, which every shell the program runs on takes.
#ifndef _WIN64
static_assert(NOTIFYICONDATAW_V1_SIZE == 152, "the first form of the icon record has 152 bytes");
#endif

ATOM TrayClassAtom(HINSTANCE instance) {
  static const ATOM atom = [instance] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Win32TrayWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kTrayClass;
    return ::RegisterClassExW(&windowClass);
  }();
  return atom;
}

}  // namespace

Win32TrayWindow::Win32TrayWindow(const UiContext& ui, const std::wstring& caption) : ui_(ui) {
  ::CreateWindowExW(0, ClassAtom(TrayClassAtom(ui_.instance())), caption.c_str(), WS_OVERLAPPED, 0,
                    0, 0, 0, nullptr, nullptr, ui_.instance(), this);
  if (window_) {
    ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ui_.bigIcon()));
    ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ui_.smallIcon()));
  }
}

Win32TrayWindow::~Win32TrayWindow() {
  if (window_) {
    ::DestroyWindow(window_);
  }
}

std::uintptr_t Win32TrayWindow::IconHandle() const {
  return reinterpret_cast<std::uintptr_t>(ui_.bigIcon());
}

bool Win32TrayWindow::Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) {
  NOTIFYICONDATAW record{};
  record.cbSize = NOTIFYICONDATAW_V1_SIZE;
  record.hWnd = reinterpret_cast<HWND>(data.window);
  record.uID = data.id;
  record.uFlags = data.flags;
  record.uCallbackMessage = data.callbackMessage;
  record.hIcon = reinterpret_cast<HICON>(data.icon);
  // The tip comes in the ANSI code page: its text, up to a zero, and room for the record's zero.
  const std::string_view tip = std::string_view(data.tip).substr(0, data.tip.find('\0'));
  const std::size_t room = std::size(record.szTip) - 1;
  ::MultiByteToWideChar(CP_ACP, 0, tip.data(), static_cast<int>(std::min(tip.size(), room)),
                        record.szTip, static_cast<int>(room));
  if ((data.flags & kNifMessage) && record.hWnd == window_ && message != kNimDelete) {
    callbackMessage_ = data.callbackMessage;
  }
  return ::Shell_NotifyIconW(message, &record) != FALSE;
}

int Win32TrayWindow::TrackPopupMenu(const std::vector<PopupItem>& items, int defaultIndex) {
  // A second menu from inside the first one's loop (a timer, a notification) is refused.
  if (!window_ || menuOpen_) {
    return -1;
  }
  const HMENU menu = ::CreatePopupMenu();
  if (!menu) {
    return -1;
  }
  // Command ids are the item indices plus one, so that 0 stays "nothing chosen".
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].caption == L"-") {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      ::AppendMenuW(menu, MF_STRING, i + 1, items[i].caption.c_str());
    }
  }
  if (defaultIndex >= 0 && static_cast<std::size_t>(defaultIndex) < items.size()) {
    ::SetMenuDefaultItem(menu, static_cast<UINT>(defaultIndex) + 1, FALSE);
  }
  POINT cursor{};
  ::GetCursorPos(&cursor);
  menuOpen_ = true;
  // Without the foreground the menu would stay open when the user clicks elsewhere; the WM_NULL
  // afterwards lets a second click on the icon open it again at once.
  ::SetForegroundWindow(window_);
  const int chosen = ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD,
                                      cursor.x, cursor.y, 0, window_, nullptr);
  ::PostMessageW(window_, WM_NULL, 0, 0);
  menuOpen_ = false;
  ::DestroyMenu(menu);
  return chosen > 0 ? chosen - 1 : -1;
}

LRESULT CALLBACK Win32TrayWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* tray =
        static_cast<Win32TrayWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    tray->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(tray));
  }
  auto* tray = reinterpret_cast<Win32TrayWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  return tray ? tray->HandleMessage(window, message, wParam, lParam)
              : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32TrayWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    window_ = nullptr;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  } else if (callbackMessage_ != 0 && message == callbackMessage_) {
    // The shell puts the mouse message into lParam; wParam names the icon, and there is one.
    const std::function<void(std::uint32_t)> handler = onNotify_;
    if (handler) {
      handler(LOWORD(lParam));
    }
    return 0;
  } else if (message == ui_.taskbarCreated() && message != 0) {
    const std::function<void()> handler = onTaskbarCreated_;
    if (handler) {
      handler();
    }
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quellspur::platform::win32
