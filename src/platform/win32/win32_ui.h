// What the forms and the tray window share: the screen's scale, the program's icon, the hidden
// owner of forms without a taskbar button, the window classes, and the windows' texts.
#pragma once

#include <windows.h>
// Desktop has a MessageBox of its own, which the macro would rename.
#undef MessageBox

#include <string>

#include "platform/win32/win32_message_pump.h"

namespace quellspur::platform::win32 {

inline constexpr wchar_t kTrayClass[] = L"QuellspurTray";

// The system's cursors and icons (IDC_ARROW, IDI_APPLICATION) for the "W" calls: their ids are
// numbers that the headers dress as text pointers of the build's default character type.
inline const wchar_t* SystemResource(const char* id) {
  return reinterpret_cast<const wchar_t*>(id);
}

// A window class by its atom, for CreateWindowExW (MAKEINTATOM too follows the default type).
inline const wchar_t* ClassAtom(ATOM atom) {
  return MAKEINTRESOURCEW(atom);
}

// Lives as long as the toolkit; forms and the tray window keep a reference to it.
class UiContext {
 public:
  UiContext();
  ~UiContext();
  UiContext(const UiContext&) = delete;
  UiContext& operator=(const UiContext&) = delete;

  HINSTANCE instance() const { return instance_; }
  HICON bigIcon() const { return bigIcon_; }
  HICON smallIcon() const { return smallIcon_; }
  // Owning a top-level window keeps it out of the taskbar, and leaves its title bar as it is.
  HWND hiddenOwner() const { return hiddenOwner_; }
  UINT taskbarCreated() const { return taskbarCreated_; }
  // Registers comctl32's window classes (list view, tooltips) before the first window of one.
  void UseCommonControls() const;
  int dpiX() const { return dpiX_; }
  int dpiY() const { return dpiY_; }

  int XToPixels(int twips) const { return ::MulDiv(twips, dpiX_, kTwipsPerInch); }
  int YToPixels(int twips) const { return ::MulDiv(twips, dpiY_, kTwipsPerInch); }
  int XToTwips(int pixels) const { return ::MulDiv(pixels, kTwipsPerInch, dpiX_); }
  int YToTwips(int pixels) const { return ::MulDiv(pixels, kTwipsPerInch, dpiY_); }

  static constexpr int kTwipsPerInch = 1440;

 private:
  HINSTANCE instance_;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  bool ownsIcons_ = false;
  HWND hiddenOwner_ = nullptr;
  UINT taskbarCreated_ = 0;
  int dpiX_ = 96;
  int dpiY_ = 96;
  mutable bool commonControls_ = false;
};

// A window's text up to its first zero.
std::wstring WindowText(HWND window);
void SetText(HWND window, const std::wstring& text);

}  // namespace quellspur::platform::win32
