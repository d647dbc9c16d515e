#include "tray/frm_sys_tray.h"

namespace quellspur {
namespace {

constexpr std::uint32_t kCallbackMessage = 0x200;  // the mouse-move message
constexpr std::size_t kTipBytes = 64;

constexpr std::uint32_t kMouseMove = 0x200;
constexpr std::uint32_t kLeftDown = 0x201;
constexpr std::uint32_t kLeftUp = 0x202;
constexpr std::uint32_t kLeftDoubleClick = 0x203;
constexpr std::uint32_t kRightDown = 0x204;
constexpr std::uint32_t kRightUp = 0x205;
constexpr std::uint32_t kRightDoubleClick = 0x206;

}  // namespace

FrmSysTray::FrmSysTray(platform::Toolkit& toolkit, platform::System& system,
                       std::wstring fileDescription)
    : system_(system),
      fileDescription_(std::move(fileDescription)),
      window_(toolkit.CreateTrayWindow(L"Sys Tray Interface")) {
  window_->OnNotify([this](std::uint32_t mouseMessage) { OnShellNotify(mouseMessage); });
  // Explorer was restarted: its new taskbar does not know the icon.
  window_->OnTaskbarCreated([this] {
    if (loaded_) {
      platform::NotifyIconData add = data_;
      add.flags = platform::kNifMessage | platform::kNifIcon | platform::kNifTip;
      window_->Shell_NotifyIconA(platform::kNimAdd, add);
    }
  });
}

FrmSysTray::~FrmSysTray() {
  if (loaded_) {
    window_->Shell_NotifyIconA(platform::kNimDelete, data_);
  }
}

void FrmSysTray::Load() {
  loaded_ = true;
  data_.window = window_->Handle();
  data_.id = static_cast<std::uint32_t>(window_->IconHandle());
  data_.flags = platform::kNifMessage | platform::kNifIcon | platform::kNifTip;
  data_.callbackMessage = kCallbackMessage;
  data_.icon = window_->IconHandle();
  data_.size = 88;
  SetToolTipText(fileDescription_);
  window_->Shell_NotifyIconA(platform::kNimAdd, data_);
}

std::wstring FrmSysTray::ToolTip() const {
  return system_.AnsiToWide(data_.tip.substr(0, data_.tip.find('\0')));
}

void FrmSysTray::SetToolTipText(const std::wstring& tip) {
  std::string text = system_.WideToAnsi(tip).substr(0, kTipBytes - 1);
  text += '\0';
  text.resize(kTipBytes, ' ');
  data_.tip = text;
}

void FrmSysTray::SetToolTip(const std::wstring& tip) {
  SetToolTipText(tip);
  data_.flags = platform::kNifTip;
  window_->Shell_NotifyIconA(platform::kNimModify, data_);
}

void FrmSysTray::SetIconHandle(std::uintptr_t icon) {
  if (icon == data_.icon) {
    return;
  }
  data_.icon = icon;
  data_.flags = platform::kNifIcon;
  window_->Shell_NotifyIconA(platform::kNimModify, data_);
}

std::int32_t FrmSysTray::AddMenuItem(const std::wstring& caption, const std::wstring& key,
                                     bool isDefault) {
  if (!loaded_) {
    Load();
  }
  std::int32_t index = 0;
  if (firstItemUsed_) {
    index = static_cast<std::int32_t>(items_.size());
    items_.emplace_back();
  } else {
    firstItemUsed_ = true;
  }
  MenuItem& item = items_[static_cast<std::size_t>(index)];
  item.visible = true;
  item.key = key;
  item.caption = caption;
  if (isDefault) {
    defaultMenuIndex_ = index;
  }
  return index;
}

bool FrmSysTray::IsValidMenuIndex(std::int32_t index) const {
  return index >= 0 && index < static_cast<std::int32_t>(items_.size());
}

void FrmSysTray::EnableMenuItem(std::int32_t index, bool state) {
  if (IsValidMenuIndex(index)) {
    items_[static_cast<std::size_t>(index)].enabled = state;
  }
}

std::int32_t FrmSysTray::RemoveMenuItem(std::int32_t index) {
  if (!IsValidMenuIndex(index)) {
    return 0;
  }
  if (index == 0) {
    items_[0].caption.clear();  // the first item always stays
    return 0;
  }
  // Captions and keys move up; enabled states stay where they are.
  for (std::size_t i = static_cast<std::size_t>(index) + 1; i < items_.size(); ++i) {
    items_[i - 1].caption = items_[i].caption;
    items_[i - 1].key = items_[i].key;
  }
  items_.pop_back();
  return 0;
}

void FrmSysTray::SetDefaultMenuIndex(std::int32_t index) {
  defaultMenuIndex_ = IsValidMenuIndex(index) ? index : 0;
}

void FrmSysTray::ShowMenu() {
  std::vector<platform::PopupItem> popup;
  for (const MenuItem& item : items_) {
    popup.push_back(platform::PopupItem{item.caption, item.visible, item.enabled});
  }
  // A default beyond the last item (possible after removals) marks none.
  const int bold = IsValidMenuIndex(defaultMenuIndex_) ? defaultMenuIndex_ : -1;
  const int chosen = window_->TrackPopupMenu(popup, bold);
  if (IsValidMenuIndex(chosen) && MenuClick) {
    // The handler may unload this component ("Exit"): it gets copies of what it needs.
    const auto handler = MenuClick;
    const std::wstring key = items_[static_cast<std::size_t>(chosen)].key;
    handler(chosen, key);
  }
}

void FrmSysTray::Raise(std::function<void(std::int32_t)> event, std::int32_t button) {
  if (event) {
    event(button);
  }
}

void FrmSysTray::OnShellNotify(std::uint32_t mouseMessage) {
  switch (mouseMessage) {
    case kMouseMove:
      if (SysTrayMouseMove) {
        SysTrayMouseMove();
      }
      break;
    case kLeftDown:
      Raise(SysTrayMouseDown, kLeftButton);
      break;
    case kLeftUp:
      Raise(SysTrayMouseUp, kLeftButton);
      break;
    case kLeftDoubleClick:
      Raise(SysTrayDoubleClick, kLeftButton);
      break;
    case kRightDown:
      Raise(SysTrayMouseDown, kRightButton);
      break;
    case kRightUp:
      Raise(SysTrayMouseUp, kRightButton);
      break;
    case kRightDoubleClick:
      Raise(SysTrayDoubleClick, kRightButton);
      break;
    default:
      break;  // the middle button and the rest raise nothing
  }
}

}  // namespace quellspur
