// The widgets of a form on real windows: each one wraps a control, a menu item or a timer of the
// form's window, and hands the form's commands for it to its handler.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "platform/widgets.h"

namespace quellspur::platform::win32 {

// Calls an event handler through a copy, so that a handler which replaces itself or unloads the
// form that holds it does not pull the function from under its own feet.
inline void Raise(const Handler& handler) {
  if (handler) {
    const Handler call = handler;
    call();
  }
}

// A widget of a form, as the form owns it and hands it the window's messages that are meant for
// it. Each kind answers the messages it has; the others pass.
class Win32Part {
 public:
  virtual ~Win32Part() = default;
  // WM_COMMAND: a control's notification, or a menu item chosen.
  virtual void Command(WORD) {}
  // WM_NOTIFY: a common control's notification.
  virtual void Notify(const NMHDR&) {}
  // WM_TIMER for this timer.
  virtual void Elapsed() {}
};

// A control looked up through its form's window each time, so that it is simply absent (and
// every call a no-op) once the form is unloaded.
class ControlRef {
 public:
  ControlRef(const HWND& form, int id) : form_(form), id_(id) {}
  HWND Get() const { return form_ ? ::GetDlgItem(form_, id_) : nullptr; }

 private:
  const HWND& form_;
  int id_;
};

class Win32ListBox final : public ListBox, public Win32Part {
 public:
  Win32ListBox(const HWND& form, int id) : control_(form, id) {}
  int ListCount() const override;
  std::wstring List(int index) const override;
  void AddItem(const std::wstring& text) override;
  void InsertItem(const std::wstring& text, int index) override;
  void RemoveItem(int index) override;
  void Clear() override;
  bool Selected(int index) const override;
  int ListIndex() const override;
  void SetListIndex(int index) override;
  void OnClick(Handler handler) override { onClick_ = std::move(handler); }
  int ScrollWidth() const override;
  void Command(WORD notification) override;
  // The control's window, nullptr once the form is unloaded.
  HWND Window() const { return control_.Get(); }

 private:
  // Lets the list scroll sideways as far as its widest line reaches.
  void FitScrollWidth();

  ControlRef control_;
  Handler onClick_;
};

// A list view in report style, its columns made by the form's builder.
class Win32ColumnList final : public ColumnList, public Win32Part {
 public:
  Win32ColumnList(const HWND& form, int id) : control_(form, id) {}
  int RowCount() const override;
  std::wstring Cell(int row, int column) const override;
  void AddRow(const std::vector<std::wstring>& cells) override;
  void Clear() override;
  bool Selected(int row) const override;
  void SetSelected(int row, bool selected) override;
  void OnSelectionChange(Handler handler) override { onSelectionChange_ = std::move(handler); }
  void OnColumnClick(std::function<void(int column)> handler) override {
    onColumnClick_ = std::move(handler);
  }
  void Notify(const NMHDR& header) override;
  HWND Window() const { return control_.Get(); }

 private:
  ControlRef control_;
  Handler onSelectionChange_;
  std::function<void(int)> onColumnClick_;
  // While the list is emptied, its notifications for each row are not the user's.
  bool clearing_ = false;
};

class Win32Button final : public Button, public Win32Part {
 public:
  Win32Button(const HWND& form, int id) : control_(form, id) {}
  std::wstring Caption() const override;
  void SetCaption(const std::wstring& caption) override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  void OnClick(Handler handler) override { onClick_ = std::move(handler); }
  void Command(WORD notification) override;
  HWND Window() const { return control_.Get(); }

 private:
  ControlRef control_;
  Handler onClick_;
};

// Drawn by Windows, checked by us: the automatic styles cannot show the greyed state, and a click
// on a greyed box checks it.
class Win32CheckBox final : public CheckBox, public Win32Part {
 public:
  Win32CheckBox(const HWND& form, int id) : control_(form, id) {}
  int Value() const override;
  void SetValue(int value) override;
  void Command(WORD notification) override;
  HWND Window() const { return control_.Get(); }

 private:
  ControlRef control_;
};

class Win32Label final : public Label, public Win32Part {
 public:
  Win32Label(const HWND& form, int id) : control_(form, id) {}
  std::wstring Caption() const override;
  void SetCaption(const std::wstring& caption) override;

 private:
  ControlRef control_;
};

// A menu bar entry: a command item raises its click when chosen, a menu when it drops down.
class Win32MenuItem final : public MenuItem, public Win32Part {
 public:
  void OnClick(Handler handler) override { onClick_ = std::move(handler); }
  void Command(WORD) override { Raise(onClick_); }

 private:
  Handler onClick_;
};

// A Windows timer on the form's window.
class Win32Timer final : public Timer, public Win32Part {
 public:
  Win32Timer(const HWND& form, UINT_PTR id, int interval)
      : form_(form), id_(id), interval_(interval) {}
  int Interval() const override { return interval_; }
  void SetInterval(int milliseconds) override;
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;
  void OnTimer(Handler handler) override { onTimer_ = std::move(handler); }
  void Elapsed() override;

 private:
  void Start();

  const HWND& form_;
  UINT_PTR id_;
  int interval_;
  bool enabled_ = false;
  Handler onTimer_;
};

}  // namespace quellspur::platform::win32
