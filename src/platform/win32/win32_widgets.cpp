// The widgets over real controls; each call is one message to its control.
#include "platform/win32/win32_widgets.h"

#include <stdexcept>

#include "platform/win32/win32_ui.h"

namespace quellspur::platform::win32 {
namespace {

// A bad index is an error, as the simulated list raises one.
void CheckIndex(int index, int limit) {
  if (index < 0 || index > limit) {
    throw std::out_of_range("list index out of range");
  }
}

}  // namespace

int Win32ListBox::ListCount() const {
  const HWND list = control_.Get();
  if (!list) {
    return 0;
  }
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::wstring Win32ListBox::List(int index) const {
  const HWND list = control_.Get();
  if (!list) {
    return {};
  }
  CheckIndex(index, ListCount() - 1);
  const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
  return text.c_str();
}

void Win32ListBox::AddItem(const std::wstring& text) {
  const HWND list = control_.Get();
  if (list) {
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void Win32ListBox::InsertItem(const std::wstring& text, int index) {
  const HWND list = control_.Get();
  if (!list) {
    return;
  }
  CheckIndex(index, ListCount());
  ::SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32ListBox::RemoveItem(int index) {
  const HWND list = control_.Get();
  if (!list) {
    return;
  }
  CheckIndex(index, ListCount() - 1);
  ::SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void Win32ListBox::Clear() {
  const HWND list = control_.Get();
  if (list) {
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  }
}

bool Win32ListBox::Selected(int index) const {
  return index >= 0 && index == ListIndex();
}

int Win32ListBox::ListIndex() const {
  const HWND list = control_.Get();
  if (!list) {
    return -1;
  }
  const LRESULT selected = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
  return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

void Win32ListBox::SetListIndex(int index) {
  const HWND list = control_.Get();
  if (!list) {
    return;
  }
  CheckIndex(index, ListCount() - 1);
  ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // Windows tells nobody about a selection the program makes; the form's code expects the click.
  Raise(onClick_);
}

void Win32ListBox::Command(WORD notification) {
  if (notification == LBN_SELCHANGE) {
    Raise(onClick_);
  }
}

std::wstring Win32Button::Caption() const {
  const HWND button = control_.Get();
  return button ? WindowText(button) : std::wstring();
}

void Win32Button::SetCaption(const std::wstring& caption) {
  const HWND button = control_.Get();
  if (button) {
    SetText(button, caption);
  }
}

bool Win32Button::Enabled() const {
  const HWND button = control_.Get();
  return button && ::IsWindowEnabled(button);
}

void Win32Button::SetEnabled(bool enabled) {
  const HWND button = control_.Get();
  if (button) {
    ::EnableWindow(button, enabled ? TRUE : FALSE);
  }
}

void Win32Button::Command(WORD notification) {
  // BM_CLICK from another program reaches a disabled button too; a disabled button takes none.
  const HWND button = control_.Get();
  if (notification == BN_CLICKED && button && ::IsWindowEnabled(button)) {
    Raise(onClick_);
  }
}

int Win32CheckBox::Value() const {
  const HWND box = control_.Get();
  return box ? static_cast<int>(::SendMessageW(box, BM_GETCHECK, 0, 0)) : 0;
}

void Win32CheckBox::SetValue(int value) {
  const HWND box = control_.Get();
  if (box) {
    ::SendMessageW(box, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void Win32CheckBox::Command(WORD notification) {
  const HWND box = control_.Get();
  if (notification == BN_CLICKED && box && ::IsWindowEnabled(box)) {
    SetValue(Value() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
  }
}

std::wstring Win32Label::Caption() const {
  const HWND label = control_.Get();
  return label ? WindowText(label) : std::wstring();
}

void Win32Label::SetCaption(const std::wstring& caption) {
  const HWND label = control_.Get();
  if (label) {
    SetText(label, caption);
  }
}

void Win32Timer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  if (enabled_) {
    Start();
  }
}

// Switching it on, even when it is on already, starts a full interval.
void Win32Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (enabled) {
    Start();
  } else if (form_) {
    ::KillTimer(form_, id_);
  }
}

void Win32Timer::Start() {
  if (!form_) {
    return;
  }
  // Setting a timer anew restarts its interval; an interval of 0 never fires.
  if (interval_ > 0) {
    ::SetTimer(form_, id_, static_cast<UINT>(interval_), nullptr);
  } else {
    ::KillTimer(form_, id_);
  }
}

void Win32Timer::Elapsed() {
  // A WM_TIMER already queued when the timer was switched off still arrives.
  if (enabled_ && interval_ > 0) {
    Raise(onTimer_);
  }
}

}  // namespace quellspur::platform::win32
