// The notification-area icon's hidden window: it hands the icon record to the shell, decodes the
// shell's notifications, and pops the icon's menu up.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/tray_window.h"
#include "platform/win32/win32_ui.h"

namespace quellspur::platform::win32 {

class Win32TrayWindow final : public TrayWindow {
 public:
  Win32TrayWindow(const UiContext& ui, const std::wstring& caption);
  ~Win32TrayWindow() override;
  Win32TrayWindow(const Win32TrayWindow&) = delete;
  Win32TrayWindow& operator=(const Win32TrayWindow&) = delete;

  WindowHandle Handle() const override { return reinterpret_cast<WindowHandle>(window_); }
  std::uintptr_t IconHandle() const override;
  bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) override;
  void OnNotify(std::function<void(std::uint32_t)> handler) override {
    onNotify_ = std::move(handler);
  }
  void OnTaskbarCreated(std::function<void()> handler) override {
    onTaskbarCreated_ = std::move(handler);
  }
  int TrackPopupMenu(const std::vector<PopupItem>& items, int defaultIndex) override;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  const UiContext& ui_;
  HWND window_ = nullptr;
  // The message the shell sends with the icon's mouse events; none until the icon is given one.
  UINT callbackMessage_ = 0;
  bool menuOpen_ = false;
  std::function<void(std::uint32_t)> onNotify_;
  std::function<void()> onTaskbarCreated_;
};

}  // namespace quellspur::platform::win32
