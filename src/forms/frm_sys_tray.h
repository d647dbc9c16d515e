// The notification-area icon with its tooltip and popup menu, reporting what the user does with
// them as events. It knows nothing of backdoors.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/system.h"
#include "platform/toolkit.h"
#include "platform/tray_window.h"

namespace quellspur {

inline constexpr std::int32_t kLeftButton = 1;
inline constexpr std::int32_t kRightButton = 2;

class FrmSysTray {
 public:
  // `fileDescription` is the icon's first tooltip, as the program's version information has it.
  FrmSysTray(platform::Toolkit& toolkit, platform::System& system, std::wstring fileDescription);
  // Takes the icon out of the notification area.
  ~FrmSysTray();
  FrmSysTray(const FrmSysTray&) = delete;
  FrmSysTray& operator=(const FrmSysTray&) = delete;

  void SetToolTip(const std::wstring& tip);
  void SetIconHandle(std::uintptr_t icon);

  std::int32_t AddMenuItem(const std::wstring& caption, const std::wstring& key = L"",
                           bool isDefault = false);
  void ShowMenu();

  // Events, raised on the GUI thread while the shell's message is handled.
  std::function<void(std::int32_t button)> SysTrayMouseDown;
  std::function<void(std::int32_t button)> SysTrayDoubleClick;
  std::function<void(std::int32_t index, const std::wstring& key)> MenuClick;

 private:
  struct MenuItem {
    std::wstring caption;
    std::wstring key;
  };

  // Adds the icon at first use.
  void Load();
  // Lays out the 64 tip bytes: the text (at most 63 bytes), a zero, blanks.
  void SetToolTipText(const std::wstring& tip);
  bool IsValidMenuIndex(std::int32_t index) const;
  void OnShellNotify(std::uint32_t mouseMessage);
  // By value: the handler may unload this component.
  void Raise(std::function<void(std::int32_t)> event, std::int32_t button);

  platform::System& system_;
  std::wstring fileDescription_;
  std::unique_ptr<platform::TrayWindow> window_;
  platform::NotifyIconData data_;
  bool loaded_ = false;
  bool firstItemUsed_ = false;
  std::int32_t defaultMenuIndex_ = 0;
  std::vector<MenuItem> items_{MenuItem{}};
};

}  // namespace quellspur
