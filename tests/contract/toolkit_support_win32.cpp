// The toolkit's contract on Windows (or Wine): real forms on the screen, clicked with the mouse
// messages Windows sends a control, and real timers.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>
// The toolkit's Desktop has a MessageBox of its own, which the macro would rename.
#undef MessageBox

#include "platform/win32/win32_form.h"
#include "platform/win32/win32_toolkit.h"
#include "toolkit_support.h"
#include "win_helpers.h"

namespace quellspur::contract {
namespace {

// Every widget and form here comes from the Win32 toolkit.
using platform::win32::Win32Button;
using platform::win32::Win32CheckBox;
using platform::win32::Win32ColumnList;
using platform::win32::Win32Form;
using platform::win32::Win32ListBox;

// The box the user is reading; the thread's timer looks for it while MessageBoxW waits.
SeenMessageBox* boxBeingRead = nullptr;

// Reads the message box this thread shows, its title bar and its text, and presses its button.
void CALLBACK ReadAndCloseMessageBox(HWND, UINT, UINT_PTR, DWORD) {
  for (const HWND box : winhelp::ThreadWindows()) {
    if (!boxBeingRead || !winhelp::IsOfClass(box, L"#32770") || !::IsWindowVisible(box)) {
      continue;
    }
    boxBeingRead->caption = winhelp::TextOf(box);
    HWND button = nullptr;
    for (const HWND child : winhelp::ChildWindows(box)) {
      if (!::IsWindowVisible(child)) {
        continue;
      }
      if (winhelp::IsOfClass(child, L"Static") && !winhelp::TextOf(child).empty()) {
        boxBeingRead->text = winhelp::TextOf(child);
      } else if (!button && winhelp::IsOfClass(child, L"Button")) {
        button = child;
      }
    }
    if (button) {
      ::PostMessageW(button, BM_CLICK, 0, 0);
    }
  }
}

// What the user types into the save dialog this thread shows, or none to cancel it.
const std::optional<std::wstring>* pathToType = nullptr;

// Types the path into the save dialog's file name box and saves, or cancels the dialog.
void CALLBACK AnswerSaveDialog(HWND, UINT, UINT_PTR, DWORD) {
  for (const HWND dialog : winhelp::ThreadWindows()) {
    if (!pathToType || !winhelp::IsOfClass(dialog, L"#32770") || !::IsWindowVisible(dialog)) {
      continue;
    }
    if (*pathToType) {
      // The explorer-style dialog's file name box is a combo box (cmb13), the older an edit
      // (edt1).
      for (const int id : {0x47C, 0x480}) {
        if (const HWND box = ::GetDlgItem(dialog, id)) {
          ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((*pathToType)->c_str()));
        }
      }
    }
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(*pathToType ? IDOK : IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, *pathToType ? IDOK : IDCANCEL)));
    pathToType = nullptr;
  }
}

// The middle of a rectangle as a mouse message's position.
LPARAM MiddleOf(const RECT& rect) {
  return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

class Win32UserInterface final : public UserInterface {
 public:
  platform::Toolkit& toolkit() override { return toolkit_; }

  void Click(platform::Button& button) override {
    Send(static_cast<Win32Button&>(button).Window(), BM_CLICK, 0, 0);
  }
  void Click(platform::CheckBox& box) override {
    Send(static_cast<Win32CheckBox&>(box).Window(), BM_CLICK, 0, 0);
  }

  // Pressed and released at the middle of the line, as the mouse would.
  void ClickLine(platform::ListBox& list, int line) override {
    const HWND window = static_cast<Win32ListBox&>(list).Window();
    RECT item{};
    ::SendMessageW(window, LB_GETITEMRECT, static_cast<WPARAM>(line),
                   reinterpret_cast<LPARAM>(&item));
    const LPARAM middle = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    Send(window, WM_LBUTTONUP, 0, middle);
  }

  void ClickRow(platform::ColumnList& list, int row, bool withControl) override {
    const HWND window = static_cast<Win32ColumnList&>(list).Window();
    RECT item{};
    item.left = LVIR_LABEL;
    ::SendMessageW(window, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    const WPARAM keys = withControl ? MK_CONTROL : 0;
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON | keys, MiddleOf(item));
    ::PostMessageW(window, WM_LBUTTONUP, keys, MiddleOf(item));
    Pump();
  }

  void ClickHeader(platform::ColumnList& list, int column) override {
    const auto header = reinterpret_cast<HWND>(
        ::SendMessageW(static_cast<Win32ColumnList&>(list).Window(), LVM_GETHEADER, 0, 0));
    RECT item{};
    ::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                   reinterpret_cast<LPARAM>(&item));
    ::PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MiddleOf(item));
    ::PostMessageW(header, WM_LBUTTONUP, 0, MiddleOf(item));
    Pump();
  }

  std::optional<std::wstring> ShowSaveDialog(const std::optional<std::wstring>& typed) override {
    pathToType = &typed;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, AnswerSaveDialog);
    std::optional<std::wstring> chosen = toolkit_.desktop().SaveFileName(L"Save", L"", L"name.exe");
    ::KillTimer(nullptr, timer);
    pathToType = nullptr;
    return chosen;
  }

  // The close box and Alt+F4, the task list's "End task", and the session's end.
  void AskToClose(platform::Form& form, platform::CloseReason reason) override {
    const HWND window = static_cast<Win32Form&>(form).Window();
    if (reason == platform::CloseReason::User) {
      Send(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (reason == platform::CloseReason::OtherProgram) {
      Send(window, WM_CLOSE, 0, 0);
    } else {
      Send(window, WM_ENDSESSION, TRUE, 0);
    }
  }

  void LetTimePass(int milliseconds) override {
    winhelp::Eventually(
        static_cast<DWORD>(milliseconds), [] { return false; }, [this] { Pump(); });
  }

  std::wstring CaptionOnScreen(platform::Form& form) override {
    return winhelp::TextOf(static_cast<Win32Form&>(form).Window());
  }

  SeenMessageBox ShowMessageBox(const std::wstring& text, const std::wstring& caption) override {
    SeenMessageBox seen;
    boxBeingRead = &seen;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReadAndCloseMessageBox);
    seen.answer = toolkit_.desktop().MessageBox(text, caption, MB_OK);
    ::KillTimer(nullptr, timer);
    boxBeingRead = nullptr;
    return seen;
  }

  bool Simulated() const override { return false; }

 private:
  void Pump() { toolkit_.pump().ProcessPendingMessages(); }
  // Sends the message, and lets what it set off follow.
  void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ::SendMessageW(window, message, wParam, lParam);
    Pump();
  }

  platform::win32::Win32Toolkit toolkit_;
};

}  // namespace

UserInterface& TheUserInterface() {
  static Win32UserInterface ui;
  return ui;
}

}  // namespace quellspur::contract
