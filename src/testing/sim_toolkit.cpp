#include "testing/sim_toolkit.h"

#include <algorithm>

#include "platform/logic_fault.h"

namespace quellspur::platform::sim {
namespace {

// The frame around the client area: borders, and the title bar and menu bar of a 96-dpi screen.
constexpr int kFrameWidth = 6 * 15;
constexpr int kFrameHeight = 29 * 15;
constexpr int kMenuBarHeight = 20 * 15;

}  // namespace

SimForm::SimForm(SimToolkit& toolkit, Journal& journal, const FormDesign& design)
    : toolkit_(toolkit),
      journal_(journal),
      name_(design.name),
      window_(journal, name_, design.clientWidth + kFrameWidth,
              design.clientHeight + kFrameHeight + (design.menus.empty() ? 0 : kMenuBarHeight)) {
  window_.SetCaption(std::wstring(design.caption));
  for (const ControlDesign& control : design.controls) {
    const std::wstring name(control.name);
    switch (control.kind) {
      case ControlKind::Button:
        buttons_[name] = std::make_unique<SimButton>(journal, name, std::wstring(control.caption),
                                                     control.enabled);
        break;
      case ControlKind::CheckBox:
        checkBoxes_[name] = std::make_unique<SimCheckBox>(journal, name);
        break;
      case ControlKind::Label:
        labels_[name] = std::make_unique<SimLabel>(journal, name);
        labels_[name]->SetCaption(std::wstring(control.caption));
        break;
      case ControlKind::ListBox:
        listBoxes_[name] = std::make_unique<SimListBox>(journal, name);
        break;
      case ControlKind::ColumnList:
        columnLists_[name] = std::make_unique<SimColumnList>(journal, name, control.columns.size());
        break;
      case ControlKind::Timer:
        timers_[name] = std::make_unique<SimTimer>(journal, name, control.interval);
        break;
      case ControlKind::Frame:
      case ControlKind::Image:
      case ControlKind::Line:
        break;
    }
  }
  AddMenuItems(design.menus);
  journal_.Record(name_ + L".Load");
}

SimForm::~SimForm() {
  Forget();
}

void SimForm::Forget() {
  auto entry = toolkit_.loaded_.find(name_);
  if (entry != toolkit_.loaded_.end() && entry->second == this) {
    toolkit_.loaded_.erase(entry);
  }
}

void SimForm::AddMenuItems(std::span<const MenuDesign> menus) {
  for (const MenuDesign& menu : menus) {
    menuItems_[std::wstring(menu.name)] = std::make_unique<SimMenuItem>();
    AddMenuItems(menu.items);
  }
}

template <typename Widget>
Widget& SimForm::Find(std::map<std::wstring, std::unique_ptr<Widget>>& widgets,
                      const std::wstring& name) {
  auto found = widgets.find(name);
  if (found == widgets.end()) {
    throw platform::LogicFault("the form has no such control");
  }
  return *found->second;
}

void SimForm::Unload() {
  if (!loaded_) {
    return;
  }
  loaded_ = false;
  window_.Hide();
  Forget();
  journal_.Record(name_ + L".Unload");
}

void SimForm::AskToClose(CloseReason reason) {
  const auto keepOpen = keepOpen_;
  if (!keepOpen || !keepOpen(reason)) {
    Unload();
  }
}

std::unique_ptr<Form> SimToolkit::LoadForm(const FormDesign& design) {
  auto form = std::make_unique<SimForm>(*this, journal_, design);
  loaded_[std::wstring(design.name)] = form.get();
  return form;
}

std::unique_ptr<TrayWindow> SimToolkit::CreateTrayWindow(const std::wstring& caption) {
  auto tray = std::make_unique<SimTrayWindow>(journal_, caption, tray_, trayIcons_);
  journal_.Record(L"TrayWindow.Create " + caption);
  return tray;
}

// The shell takes only the parts of a record that its flags name; an icon is known by its window
// and id.
bool SimTrayWindow::Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) {
  journal_.Record(L"Shell_NotifyIconA " + std::to_wstring(message));
  const auto shown = std::find_if(area_.begin(), area_.end(), [&](const NotifyIconData& icon) {
    return icon.window == data.window && icon.id == data.id;
  });
  NotifyIconData* icon = nullptr;
  if (message == kNimAdd && shown == area_.end()) {
    icon = &area_.emplace_back();
    icon->size = data.size;
    icon->window = data.window;
    icon->id = data.id;
  } else if (message == kNimModify && shown != area_.end()) {
    icon = &*shown;
  } else if (message == kNimDelete && shown != area_.end()) {
    area_.erase(shown);
    return true;
  } else {
    return false;
  }
  if (data.flags & kNifMessage) {
    icon->callbackMessage = data.callbackMessage;
  }
  if (data.flags & kNifIcon) {
    icon->icon = data.icon;
  }
  if (data.flags & kNifTip) {
    icon->tip = data.tip;
  }
  return true;
}

int SimTrayWindow::TrackPopupMenu(const std::vector<PopupItem>& items, int defaultIndex) {
  lastMenu = items;
  lastDefault = defaultIndex;
  journal_.Record(L"TrackPopupMenu");
  const int chosen = choice_;
  choice_ = -1;
  return chosen;
}

void SimToolkit::LetTimePass(int milliseconds) {
  for (int left = milliseconds;;) {
    SimTimer* next = nullptr;
    for (const auto& [formName, form] : loaded_) {
      for (const auto& [timerName, timer] : form->timers_) {
        const int due = timer->DueIn();
        if (due >= 0 && due <= left && (next == nullptr || due < next->DueIn())) {
          next = timer.get();
        }
      }
    }
    const int step = next != nullptr ? next->DueIn() : left;
    for (const auto& [formName, form] : loaded_) {
      for (const auto& [timerName, timer] : form->timers_) {
        if (timer->DueIn() >= 0) {
          timer->Wait(step);
        }
      }
    }
    if (next == nullptr) {
      return;
    }
    left -= step;
    next->Elapse();
  }
}

SimForm* SimToolkit::FormNamed(const std::wstring& name) {
  auto found = loaded_.find(name);
  return found == loaded_.end() ? nullptr : found->second;
}

}  // namespace quellspur::platform::sim
