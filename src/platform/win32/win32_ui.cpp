#include "platform/win32/win32_ui.h"

#include <commctrl.h>

#include <cwchar>
#include <iterator>

namespace quellspur::platform::win32 {
namespace {

// The icon resource the program's .rc gives id 1.
constexpr WORD kProgramIconId = 1;

HICON LoadProgramIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON,
                                         size, size, LR_DEFAULTCOLOR));
}

}  // namespace

UiContext::UiContext() : instance_(::GetModuleHandleW(nullptr)) {
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
    bigIcon_ = ::LoadIconW(nullptr, SystemResource(IDI_APPLICATION));
    smallIcon_ = bigIcon_;
  }
  const HDC screen = ::GetDC(nullptr);
  dpiX_ = ::GetDeviceCaps(screen, LOGPIXELSX);
  dpiY_ = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  hiddenOwner_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   instance_, nullptr);
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
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

std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  ::GetWindowTextW(window, text.data(), length + 1);
  return text.c_str();
}

void SetText(HWND window, const std::wstring& text) {
  ::SetWindowTextW(window, text.c_str());
}

void DeliverMessage(MSG& message) {
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST && message.hwnd) {
    const HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    wchar_t className[std::size(kFormClass) + 1] = {};
    if (root && ::GetClassNameW(root, className, static_cast<int>(std::size(className))) > 0 &&
        std::wcscmp(className, kFormClass) == 0 && ::IsDialogMessageW(root, &message)) {
      return;
    }
  }
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

}  // namespace quellspur::platform::win32
