#include "platform/win32/win32_toolkit.h"

#include "platform/win32/win32_form.h"
#include "platform/win32/win32_tray_window.h"
#include "platform/win32/win32_ui.h"

namespace quellspur::platform::win32 {

void Win32Desktop::Beep() {
  ::MessageBeep(0);
}

int Win32Desktop::ScreenWidth() const {
  return ui_.XToTwips(::GetSystemMetrics(SM_CXSCREEN));
}

int Win32Desktop::ScreenHeight() const {
  return ui_.YToTwips(::GetSystemMetrics(SM_CYSCREEN));
}

int Win32Desktop::MessageBox(const std::wstring& text, const std::wstring& caption,
                             std::uint32_t style) {
  // Owned by the active form, so that it stays in front of it and the form waits for it.
  return ::MessageBoxW(::GetActiveWindow(), text.c_str(), caption.c_str(), style);
}

Win32Toolkit::Win32Toolkit() : ui_(std::make_unique<UiContext>()), desktop_(*ui_) {}

Win32Toolkit::~Win32Toolkit() = default;

std::unique_ptr<Form> Win32Toolkit::LoadForm(const FormDesign& design) {
  return std::make_unique<Win32Form>(*ui_, design);
}

std::unique_ptr<TrayWindow> Win32Toolkit::CreateTrayWindow(const std::wstring& caption) {
  return std::make_unique<Win32TrayWindow>(*ui_, caption);
}

void Win32Toolkit::RunMessageLoop() {
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    DeliverMessage(message);
  }
}

void Win32Toolkit::EndProgram() {
  ::ExitProcess(0);
}

}  // namespace quellspur::platform::win32
