#include "platform/win32/win32_ui.h"

#include <commctrl.h>

#include "platform/win32/win32_late_load.h"

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

void UiContext::UseCommonControls() const {
  // Registering comctl32's classes costs start-up time that the splash, the main window and the
  // tray do not need (their controls are user32's classes, which comctl32 6 draws where the
  // manifest asks for it): only a form with a column list or tooltips asks for them.
  if (commonControls_) {
    return;
  }
  commonControls_ = true;
  using Register = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto registerClasses = As<Register>(CommonControlsFunction("InitCommonControlsEx"));
  const INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
  if (registerClasses != nullptr) {
    registerClasses(&classes);
  }
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

}  // namespace quellspur::platform::win32
