// Forms without a screen: built from their design out of simulated widgets, and kept findable by
// name for the tests while they are loaded.
#pragma once

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/form_design.h"
#include "platform/toolkit.h"
#include "testing/sim_message_pump.h"
#include "testing/sim_widgets.h"

namespace quellspur::platform::sim {

class SimToolkit;

class SimForm : public Form {
 public:
  SimForm(SimToolkit& toolkit, Journal& journal, const FormDesign& design);
  ~SimForm() override;

  std::wstring Caption() const override { return window_.Caption(); }
  void SetCaption(const std::wstring& caption) override { window_.SetCaption(caption); }
  bool Visible() const override { return window_.Visible(); }
  // An unloaded form has no window left to show.
  void Show() override {
    if (loaded_) {
      window_.Show();
    }
  }
  void Hide() override { window_.Hide(); }
  void BringToFront() override { window_.BringToFront(); }
  int Width() const override { return window_.Width(); }
  int Height() const override { return window_.Height(); }
  void Move(int left, int top) override { window_.Move(left, top); }
  MousePointer Pointer() const override { return window_.Pointer(); }
  void SetPointer(MousePointer pointer) override { window_.SetPointer(pointer); }

  Button& ButtonNamed(const std::wstring& name) override { return Find(buttons_, name); }
  CheckBox& CheckBoxNamed(const std::wstring& name) override { return Find(checkBoxes_, name); }
  Label& LabelNamed(const std::wstring& name) override { return Find(labels_, name); }
  ListBox& ListBoxNamed(const std::wstring& name) override { return Find(listBoxes_, name); }
  ColumnList& ColumnListNamed(const std::wstring& name) override {
    return Find(columnLists_, name);
  }
  Timer& TimerNamed(const std::wstring& name) override { return Find(timers_, name); }
  MenuItem& MenuItemNamed(const std::wstring& name) override { return Find(menuItems_, name); }
  std::uintptr_t IconHandle() const override { return kProgramIcon; }

  void OnCloseRequest(std::function<bool(CloseReason)> keepOpen) override {
    keepOpen_ = std::move(keepOpen);
  }
  void Unload() override;
  bool Loaded() const override { return loaded_; }

  // The window is asked to close: by the user's close box, the task list or the session's end.
  void AskToClose(CloseReason reason);

  const SimWindow& window() const { return window_; }
  SimButton& SimButtonNamed(const std::wstring& name) { return Find(buttons_, name); }
  SimCheckBox& SimCheckBoxNamed(const std::wstring& name) { return Find(checkBoxes_, name); }
  SimListBox& SimListBoxNamed(const std::wstring& name) { return Find(listBoxes_, name); }
  SimColumnList& SimColumnListNamed(const std::wstring& name) { return Find(columnLists_, name); }
  SimLabel& SimLabelNamed(const std::wstring& name) { return Find(labels_, name); }
  SimTimer& SimTimerNamed(const std::wstring& name) { return Find(timers_, name); }
  SimMenuItem& SimMenuItemNamed(const std::wstring& name) { return Find(menuItems_, name); }

  static constexpr std::uintptr_t kProgramIcon = 0x1CE0;

 private:
  friend class SimToolkit;
  // Takes the form off the toolkit's list of loaded forms.
  void Forget();
  void AddMenuItems(std::span<const MenuDesign> menus);
  template <typename Widget>
  static Widget& Find(std::map<std::wstring, std::unique_ptr<Widget>>& widgets,
                      const std::wstring& name);

  SimToolkit& toolkit_;
  Journal& journal_;
  std::wstring name_;
  SimWindow window_;
  bool loaded_ = true;
  std::function<bool(CloseReason)> keepOpen_;
  std::map<std::wstring, std::unique_ptr<SimButton>> buttons_;
  std::map<std::wstring, std::unique_ptr<SimCheckBox>> checkBoxes_;
  std::map<std::wstring, std::unique_ptr<SimLabel>> labels_;
  std::map<std::wstring, std::unique_ptr<SimListBox>> listBoxes_;
  std::map<std::wstring, std::unique_ptr<SimColumnList>> columnLists_;
  std::map<std::wstring, std::unique_ptr<SimTimer>> timers_;
  std::map<std::wstring, std::unique_ptr<SimMenuItem>> menuItems_;
};

// The notification-area side of the shell: the hidden window, and the icons it shows.
class SimTrayWindow : public TrayWindow {
 public:
  // `slot` points at the window while it exists; `area` holds the icons the shell shows.
  SimTrayWindow(Journal& journal, std::wstring caption, SimTrayWindow*& slot,
                std::vector<NotifyIconData>& area)
      : journal_(journal), caption_(std::move(caption)), slot_(slot), area_(area) {
    slot_ = this;
  }
  ~SimTrayWindow() override {
    slot_ = nullptr;
    journal_.Record(L"TrayWindow.Close");
  }

  WindowHandle Handle() const override { return 0x7A7; }
  std::uintptr_t IconHandle() const override { return SimForm::kProgramIcon; }
  bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) override;
  void OnNotify(std::function<void(std::uint32_t)> handler) override {
    onNotify_ = std::move(handler);
  }
  void OnTaskbarCreated(std::function<void()> handler) override {
    onTaskbarCreated_ = std::move(handler);
  }
  int TrackPopupMenu(const std::vector<PopupItem>& items, int defaultIndex) override;

  // The shell reports a mouse message on the icon. The handler may destroy this window.
  void Notify(std::uint32_t mouseMessage) {
    const auto handler = onNotify_;
    if (handler) {
      handler(mouseMessage);
    }
  }
  // Explorer restarts: its new taskbar shows no icon until it is added again.
  void RestartTaskbar() {
    area_.clear();
    if (onTaskbarCreated_) {
      onTaskbarCreated_();
    }
  }
  // The item the user picks from the next popup menu; -1 clicks elsewhere.
  void ChooseFromMenu(int index) { choice_ = index; }

  const std::wstring& caption() const { return caption_; }
  std::vector<PopupItem> lastMenu;
  int lastDefault = -2;

 private:
  Journal& journal_;
  std::wstring caption_;
  SimTrayWindow*& slot_;
  std::vector<NotifyIconData>& area_;
  std::function<void(std::uint32_t)> onNotify_;
  std::function<void()> onTaskbarCreated_;
  int choice_ = -1;
};

class SimToolkit : public Toolkit {
 public:
  explicit SimToolkit(Journal& journal) : journal_(journal), desktop_(journal) {}

  std::unique_ptr<Form> LoadForm(const FormDesign& design) override;
  Desktop& desktop() override { return desktop_; }
  std::unique_ptr<TrayWindow> CreateTrayWindow(const std::wstring& caption) override;
  MessagePump& pump() override { return pump_; }
  // Nothing waits on a simulated screen: the loop returns at once.
  void RunMessageLoop() override { journal_.Record(L"RunMessageLoop"); }
  void EndProgram() override {
    ended_ = true;
    journal_.Record(L"EndProgram");
  }

  bool ended() const { return ended_; }
  SimMessagePump& simPump() { return pump_; }
  SimDesktop& simDesktop() { return desktop_; }
  // Time passes for the timers of the loaded forms: each tick is raised when it falls due, and
  // its handler may switch timers or unload forms.
  void LetTimePass(int milliseconds);
  // The tray window, while one exists.
  SimTrayWindow* tray() { return tray_; }
  // The icons the notification area shows.
  const std::vector<NotifyIconData>& trayIcons() const { return trayIcons_; }

  // The loaded form of that name, or nullptr.
  SimForm* FormNamed(const std::wstring& name);

 private:
  friend class SimForm;
  Journal& journal_;
  SimDesktop desktop_;
  SimMessagePump pump_;
  bool ended_ = false;
  SimTrayWindow* tray_ = nullptr;
  std::vector<NotifyIconData> trayIcons_;
  std::map<std::wstring, SimForm*> loaded_;
};

}  // namespace quellspur::platform::sim
