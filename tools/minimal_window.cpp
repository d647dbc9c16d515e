// The least a tray program of Quellspur's kind does, for scripts/bench_programs to start beside it:
// a hidden main window made first, then a captionless splash with an "&OK" button, shown and
// focused; its "&OK" adds a tray icon and a 20-second timer, shows the main window (with a list
// box, the user's view of a scan) unless started with "/boot", and closes the splash.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <cstring>
#include <cwchar>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT_PTR kTimerId = 1;
constexpr int kOkId = 1;
HWND mainWindow = nullptr;
bool boot = false;

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    ::ShowWindow(window, SW_HIDE);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK SplashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kOkId) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = mainWindow;
    icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = ::LoadIconW(nullptr, reinterpret_cast<const wchar_t*>(IDI_APPLICATION));
    std::wcscpy(icon.szTip, L"Minimal");
    ::Shell_NotifyIconW(NIM_ADD, &icon);
    ::SetTimer(mainWindow, kTimerId, 20000, nullptr);
    if (!boot) {
      ::ShowWindow(mainWindow, SW_SHOWNORMAL);
    }
    ::DestroyWindow(window);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

ATOM Register(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<const wchar_t*>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  return ::RegisterClassW(&windowClass);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  boot = std::strstr(commandLine, "/boot") != nullptr;
  Register(instance, L"MinimalMain", MainProc);
  Register(instance, L"MinimalSplash", SplashProc);
  mainWindow = ::CreateWindowExW(0, L"MinimalMain", L"Minimal main", WS_OVERLAPPEDWINDOW, 100, 100,
                                 600, 200, nullptr, nullptr, instance, nullptr);
  ::CreateWindowExW(0, L"LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 560, 120,
                    mainWindow, nullptr, instance, nullptr);
  const HWND splash =
      ::CreateWindowExW(WS_EX_DLGMODALFRAME, L"MinimalSplash", L"", WS_POPUP | WS_DLGFRAME, 300,
                        200, 420, 260, nullptr, nullptr, instance, nullptr);
  ::CreateWindowExW(0, L"BUTTON", L"&OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 160, 200, 90,
                    26, splash, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOkId)), instance,
                    nullptr);
  ::ShowWindow(splash, SW_SHOWNORMAL);
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
