#include "platform/win32/win32_ui.h"

#include <commctrl.h>

#include <climits>
#include <cstring>

namespace quellspur::platform::win32 {
namespace {

// The icon resource the program's .rc gives id 1.
constexpr WORD kProgramIconId = 1;

HICON LoadProgramIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON,
                                         size, size, LR_DEFAULTCOLOR));
}

}  // namespace

UiContext::UiContext() : instance_(::GetModuleHandleA(nullptr)) {
  // The tooltip class lives in comctl32 and is registered only on request.
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&classes);
  bigIcon_ = LoadProgramIcon(instance_, ::GetSystemMetrics(SM_CXICON));
  smallIcon_ = LoadProgramIcon(instance_, ::GetSystemMetrics(SM_CXSMICON));
  if (bigIcon_ && smallIcon_) {
    ownsIcons_ = true;
  } else {
    // No icon resource linked in (the test programs): the system's shared one stands in.
    if (bigIcon_) {
      ::DestroyIcon(bigIcon_);
    }
    if (smallIcon_) {
      ::DestroyIcon(smallIcon_);
    }
    bigIcon_ = ::LoadIconA(nullptr, IDI_APPLICATION);
    smallIcon_ = bigIcon_;
  }
  const HDC screen = ::GetDC(nullptr);
  dpiX_ = ::GetDeviceCaps(screen, LOGPIXELSX);
  dpiY_ = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  hiddenOwner_ = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   instance_, nullptr);
  taskbarCreated_ = ::RegisterWindowMessageA("TaskbarCreated");
}

UiContext::~UiContext() {
  if (hiddenOwner_) {
    ::DestroyWindow(hiddenOwner_);
  }
  if (ownsIcons_) {
    ::DestroyIcon(bigIcon_);
    ::DestroyIcon(smallIcon_);
  }
}

std::string ToAnsi(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) {
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int bytes =
      ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

std::wstring FromAnsi(std::string_view ansi) {
  if (ansi.empty() || ansi.size() > INT_MAX) {
    return {};
  }
  const int length = static_cast<int>(ansi.size());
  const int chars = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(chars), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, text.data(), chars);
  return text;
}

std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  if (length <= 0) {
    return {};
  }
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  ::GetWindowTextA(window, text.data(), length + 1);
  return FromAnsi(std::string_view(text.c_str()));
}

void SetText(HWND window, const std::wstring& text) {
  ::SetWindowTextA(window, ToAnsi(text).c_str());
}

void DeliverMessage(MSG& message) {
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST && message.hwnd) {
    const HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    char className[sizeof(kFormClass) + 1] = {};
    if (root && ::GetClassNameA(root, className, sizeof(className)) > 0 &&
        std::strcmp(className, kFormClass) == 0 && ::IsDialogMessageA(root, &message)) {
      return;
    }
  }
  ::TranslateMessage(&message);
  ::DispatchMessageA(&message);
}

}  // namespace quellspur::platform::win32
