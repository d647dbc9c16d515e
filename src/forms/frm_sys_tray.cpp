#include "forms/frm_sys_tray.h"

namespace quellspur {
namespace {

constexpr std::uint32_t kCallbackMessage = 0x200;  // the mouse-move message
constexpr std::size_t kTipBytes = 64;

constexpr std::uint32_t kLeftDown = 0x201;
constexpr std::uint32_t kLeftDoubleClick = 0x203;
constexpr std::uint32_t kRightDown = 0x204;
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

void FrmSysTray::ShowMenu() {
  std::vector<platform::PopupItem> popup;
  for (const MenuItem& item : items_) {
    popup.push_back(platform::PopupItem{item.caption});
  }
  const int chosen = window_->TrackPopupMenu(popup, defaultMenuIndex_);
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
    case kLeftDown:
      Raise(SysTrayMouseDown, kLeftButton);
      break;
    case kLeftDoubleClick:
      Raise(SysTrayDoubleClick, kLeftButton);
      break;
    case kRightDown:
      Raise(SysTrayMouseDown, kRightButton);
      break;
    case kRightDoubleClick:
      Raise(SysTrayDoubleClick, kRightButton);
      break;
    default:
      break;  // moves, releases and the middle button raise nothing
  }
}

}  // namespace quellspur
