// The notification-area icon's side of the shell: a hidden window that receives the shell's
// notifications, the icon record, and the popup menu.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace quellspur::platform {

// The first, 88-byte form of NOTIFYICONDATAA.
struct NotifyIconData {
  std::uint32_t size = 88;
  WindowHandle window = 0;
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callbackMessage = 0;
  std::uintptr_t icon = 0;
  std::string tip;  // 64 bytes in the ANSI code page: the text, a zero, then blanks
};

inline constexpr std::uint32_t kNimAdd = 0;
inline constexpr std::uint32_t kNimModify = 1;
inline constexpr std::uint32_t kNimDelete = 2;
inline constexpr std::uint32_t kNifMessage = 1;
inline constexpr std::uint32_t kNifIcon = 2;
inline constexpr std::uint32_t kNifTip = 4;

struct PopupItem {
  std::wstring caption;  // "-" draws a separator
};

class TrayWindow {
 public:
  virtual ~TrayWindow() = default;
  virtual WindowHandle Handle() const = 0;
  // The program's icon, which the window shows.
  virtual std::uintptr_t IconHandle() const = 0;
  virtual bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) = 0;
  // The shell's notification: the mouse message it carries (WM_MOUSEMOVE, WM_LBUTTONDOWN, ...).
  virtual void OnNotify(std::function<void(std::uint32_t mouseMessage)> handler) = 0;
  // The taskbar was created anew (Explorer restarted): icons must be added again.
  virtual void OnTaskbarCreated(std::function<void()> handler) = 0;
  // Pops the menu up at the mouse pointer and returns the index of the item chosen, or -1. The
  // menu closes when the user clicks elsewhere. A default index below 0 marks no item bold.
  virtual int TrackPopupMenu(const std::vector<PopupItem>& items, int defaultIndex) = 0;
};

}  // namespace quellspur::platform
