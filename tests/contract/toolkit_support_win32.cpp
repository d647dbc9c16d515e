// The toolkit's contract on Windows (or Wine): real forms on the screen, clicked with the mouse
// messages Windows sends a control, and real timers.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// The toolkit's Desktop has a MessageBox of its own, which the macro would rename.
#undef MessageBox

#include "platform/win32/win32_form.h"
#include "platform/win32/win32_toolkit.h"
#include "toolkit_support.h"
#include "win_helpers.h"

namespace quellspur::contract {
namespace {

using platform::win32::Win32Button;
using platform::win32::Win32CheckBox;
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

class Win32UserInterface final : public UserInterface {
 public:
  platform::Toolkit& toolkit() override { return toolkit_; }

  void Click(platform::Button& button) override {
    Send(dynamic_cast<Win32Button&>(button).Window(), BM_CLICK, 0, 0);
  }
  void Click(platform::CheckBox& box) override {
    Send(dynamic_cast<Win32CheckBox&>(box).Window(), BM_CLICK, 0, 0);
  }

  // Pressed and released at the middle of the line, as the mouse would.
  void ClickLine(platform::ListBox& list, int line) override {
    const HWND window = dynamic_cast<Win32ListBox&>(list).Window();
    RECT item{};
    ::SendMessageW(window, LB_GETITEMRECT, static_cast<WPARAM>(line),
                   reinterpret_cast<LPARAM>(&item));
    const LPARAM middle = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    Send(window, WM_LBUTTONUP, 0, middle);
  }

  // The close box and Alt+F4, the task list's "End task", and the session's end.
  void AskToClose(platform::Form& form, platform::CloseReason reason) override {
    const HWND window = dynamic_cast<Win32Form&>(form).Window();
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
    return winhelp::TextOf(dynamic_cast<Win32Form&>(form).Window());
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
