// The widgets over real controls; each call is one message to its control.
#include "platform/win32/win32_widgets.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/logic_fault.h"
#include "platform/win32/win32_ui.h"

namespace quellspur::platform::win32 {
namespace {

// A bad index is an error, as the simulated list raises one.
void CheckIndex(int index, int limit) {
  if (index < 0 || index > limit) {
    throw platform::LogicFault("list index out of range");
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
    FitScrollWidth();
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
  FitScrollWidth();
}

void Win32ListBox::RemoveItem(int index) {
  const HWND list = control_.Get();
  if (!list) {
    return;
  }
  CheckIndex(index, ListCount() - 1);
  ::SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  FitScrollWidth();
}

void Win32ListBox::Clear() {
  const HWND list = control_.Get();
  if (list) {
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    FitScrollWidth();
  }
}

// A list box knows nothing of its lines' widths: they are measured in its own font, each time,
// since a line may go as well as come (the list holds a scan's findings, a few dozen at most).
void Win32ListBox::FitScrollWidth() {
  const HWND list = control_.Get();
  const HDC context = list ? ::GetDC(list) : nullptr;
  if (!context) {
    return;
  }
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0));
  const HGDIOBJ previous = font ? ::SelectObject(context, font) : nullptr;
  LONG widest = 0;
  for (int line = 0; line < ListCount(); ++line) {
    const std::wstring text = List(line);
    SIZE size{};
    if (::GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &size)) {
      widest = std::max(widest, size.cx);
    }
  }
  if (previous) {
    ::SelectObject(context, previous);
  }
  ::ReleaseDC(list, context);
  // The list draws its lines a few pixels in from its edge.
  constexpr LONG kTextMargin = 4;
  ::SendMessageW(list, LB_SETHORIZONTALEXTENT,
                 static_cast<WPARAM>(widest > 0 ? widest + kTextMargin : 0), 0);
}

int Win32ListBox::ScrollWidth() const {
  const HWND list = control_.Get();
  const HDC screen = list ? ::GetDC(nullptr) : nullptr;
  if (!screen) {
    return 0;
  }
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  const auto pixels = static_cast<int>(::SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0));
  return ::MulDiv(pixels, 1440, dpi);
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

int Win32ColumnList::RowCount() const {
  const HWND list = control_.Get();
  return list ? static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

std::wstring Win32ColumnList::Cell(int row, int column) const {
  const HWND list = control_.Get();
  if (!list || row < 0 || row >= RowCount() || column < 0) {
    return {};
  }
  // The list copies as much as the buffer takes: a longer buffer until the text fits.
  for (std::size_t size = 256;; size *= 4) {
    std::wstring text(size, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(size);
    const auto copied = static_cast<std::size_t>(::SendMessageW(
        list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < size) {
      return text.c_str();
    }
  }
}

void Win32ColumnList::AddRow(const std::vector<std::wstring>& cells) {
  const HWND list = control_.Get();
  if (!list) {
    return;
  }
  // The item's text is not const in the record; the list keeps a copy of its own.
  std::vector<std::wstring> texts(cells.begin(), cells.end());
  texts.resize(std::max<std::size_t>(texts.size(), 1));
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = RowCount();
  item.pszText = texts[0].data();
  const auto row =
      static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) {
    return;
  }
  for (std::size_t column = 1; column < texts.size(); ++column) {
    LVITEMW cell{};
    cell.iSubItem = static_cast<int>(column);
    cell.pszText = texts[column].data();
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&cell));
  }
}

void Win32ColumnList::Clear() {
  const HWND list = control_.Get();
  if (!list) {
    return;
  }
  const bool hadSelection = ::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
  clearing_ = true;
  ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  clearing_ = false;
  if (hadSelection) {
    Raise(onSelectionChange_);
  }
}

bool Win32ColumnList::Selected(int row) const {
  const HWND list = control_.Get();
  return list && row >= 0 && row < RowCount() &&
         (::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
          LVIS_SELECTED) != 0;
}

// The list tells its form of the change (LVN_ITEMCHANGED), which raises the event.
void Win32ColumnList::SetSelected(int row, bool selected) {
  const HWND list = control_.Get();
  if (!list || row < 0 || row >= RowCount()) {
    return;
  }
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void Win32ColumnList::Notify(const NMHDR& header) {
  if (header.code == LVN_COLUMNCLICK) {
    const auto& click = reinterpret_cast<const NMLISTVIEW&>(header);
    if (onColumnClick_) {
      const auto call = onColumnClick_;
      call(click.iSubItem);
    }
  } else if (header.code == LVN_ITEMCHANGED && !clearing_) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED)) {
      Raise(onSelectionChange_);
    }
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
