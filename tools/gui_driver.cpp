// Operates Quellspur from another program the way a user would: it finds the program's windows by
// their captions and presses buttons, picks list lines, menu items and check boxes through window
// messages. The end-to-end tests run it under Wine, one command per call. It also plays another
// program that holds a lock on a file.
//
// Exit codes: 0 done (or the condition holds), 1 the condition does not hold or a wait ran out,
// 2 the command line is wrong, 3 no such window or control, 4 the control cannot be used now
// (disabled, or its window hidden).
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <functional>
#include <string>
#include <vector>

#include "version/version.h"
#include "win_helpers.h"

namespace {

using quellspur::winhelp::ChildWindows;
using quellspur::winhelp::ClassOf;
using quellspur::winhelp::Eventually;
using quellspur::winhelp::IsOfClass;
using quellspur::winhelp::ListLines;
using quellspur::winhelp::ProcessOf;
using quellspur::winhelp::TextOf;
using quellspur::winhelp::TopLevelWindows;

constexpr int kDone = 0;
constexpr int kNo = 1;
constexpr int kUsage = 2;
constexpr int kMissing = 3;
constexpr int kUnusable = 4;

constexpr wchar_t kMainCaption[] = L"Orvanta Quellspur Version " QUELLSPUR_VERSION_SHORT;
constexpr wchar_t kTrayCaption[] = L"Sys Tray Interface";
constexpr wchar_t kOptionsCaption[] = L"Options";
constexpr wchar_t kPopupMenuClass[] = L"#32768";
constexpr DWORD kDefaultWaitMs = 20000;
// Long enough for a scan or a clean-up, which the program runs inside the click.
constexpr UINT kCommandTimeoutMs = 120000;
// The shell's notification for the tray icon arrives as this message.
constexpr UINT kTrayCallback = 0x200;

void Write(DWORD stream, const std::wstring& text) {
  const HANDLE out = ::GetStdHandle(stream);
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes,
                        nullptr, nullptr);
  DWORD written = 0;
  ::WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

void Say(const std::wstring& line) {
  Write(STD_OUTPUT_HANDLE, line + L"\n");
}

int Fail(int code, const std::wstring& why) {
  Write(STD_ERROR_HANDLE, L"gui_driver: " + why + L"\n");
  return code;
}

// "&Scan Now" and "Scan Now" both name the button a user sees as "Scan Now".
std::wstring WithoutMnemonic(const std::wstring& caption) {
  std::wstring plain;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) {
      ++i;
    }
    plain.push_back(caption[i]);
  }
  return plain;
}

bool SameCaption(const std::wstring& shown, const std::wstring& asked) {
  return shown == asked || WithoutMnemonic(shown) == WithoutMnemonic(asked);
}

bool IsPopupMenu(HWND window) {
  return ClassOf(window) == kPopupMenuClass;
}

// A visible window wins over a hidden one of the same caption; menus never count.
HWND TopLevel(const std::wstring& caption) {
  HWND hidden = nullptr;
  for (HWND window : TopLevelWindows()) {
    if (TextOf(window) != caption || IsPopupMenu(window)) {
      continue;
    }
    if (::IsWindowVisible(window)) {
      return window;
    }
    if (!hidden) {
      hidden = window;
    }
  }
  return hidden;
}

HWND Child(HWND parent, const std::wstring& className, const std::wstring& caption) {
  for (HWND child : ChildWindows(parent)) {
    if (IsOfClass(child, className) && SameCaption(TextOf(child), caption)) {
      return child;
    }
  }
  return nullptr;
}

HWND ListOf(HWND window) {
  for (HWND child : ChildWindows(window)) {
    if (IsOfClass(child, L"ListBox")) {
      return child;
    }
  }
  return nullptr;
}

// The splash has no caption; its "&OK" button tells it from other captionless windows.
HWND Splash() {
  for (HWND window : TopLevelWindows()) {
    if (::IsWindowVisible(window) && TextOf(window).empty() &&
        Child(window, L"Button", L"&OK") != nullptr) {
      return window;
    }
  }
  return nullptr;
}

// Sends and waits for the program to have handled the message, handler included. A handler that
// ends the program takes the window with it before it can answer; that counts as handled too.
bool Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kCommandTimeoutMs,
                               &result) != 0 ||
         !::IsWindow(window);
}

// The wait that argument gives in seconds, or the usual one.
DWORD WaitOr(const std::vector<std::wstring>& args, std::size_t index) {
  return args.size() > index ? static_cast<DWORD>(std::wcstod(args[index].c_str(), nullptr) * 1000)
                             : kDefaultWaitMs;
}

HWND WindowOr(const std::vector<std::wstring>& args, std::size_t index) {
  return TopLevel(args.size() > index ? args[index] : kMainCaption);
}

// wait-for <caption> [exists|visible|hidden|gone] [seconds]
int WaitFor(const std::vector<std::wstring>& args) {
  if (args.size() < 2) {
    return Fail(kUsage, L"wait-for <caption> [exists|visible|hidden|gone] [seconds]");
  }
  const std::wstring state = args.size() > 2 ? args[2] : L"exists";
  std::function<bool(HWND)> holds;
  if (state == L"exists") {
    holds = [](HWND window) { return window != nullptr; };
  } else if (state == L"visible") {
    holds = [](HWND window) { return window != nullptr && ::IsWindowVisible(window); };
  } else if (state == L"hidden") {
    holds = [](HWND window) { return window != nullptr && !::IsWindowVisible(window); };
  } else if (state == L"gone") {
    holds = [](HWND window) { return window == nullptr; };
  } else {
    return Fail(kUsage, L"unknown state " + state);
  }
  const std::wstring caption = args[1];
  if (!Eventually(WaitOr(args, 3), [&] { return holds(TopLevel(caption)); })) {
    return Fail(kNo, L"\"" + caption + L"\" is not " + state);
  }
  return kDone;
}

int Exists(const std::vector<std::wstring>& args) {
  if (args.size() != 2) {
    return Fail(kUsage, L"exists <caption>");
  }
  const bool found = TopLevel(args[1]) != nullptr;
  Say(found ? L"yes" : L"no");
  return found ? kDone : kNo;
}

int Visible(const std::vector<std::wstring>& args) {
  if (args.size() != 2) {
    return Fail(kUsage, L"visible <caption>");
  }
  const HWND window = TopLevel(args[1]);
  if (!window) {
    return Fail(kMissing, L"no window \"" + args[1] + L"\"");
  }
  const bool shown = ::IsWindowVisible(window) != FALSE;
  Say(shown ? L"visible" : L"hidden");
  return shown ? kDone : kNo;
}

int ConfirmSplash(const std::vector<std::wstring>& args) {
  HWND splash = nullptr;
  if (!Eventually(WaitOr(args, 1), [&] { return (splash = Splash()) != nullptr; })) {
    return Fail(kMissing, L"no splash window");
  }
  if (!Deliver(Child(splash, L"Button", L"&OK"), BM_CLICK, 0, 0)) {
    return Fail(kNo, L"the splash's \"&OK\" was not handled in time");
  }
  return kDone;
}

// A user can press only an enabled button of a window on the screen. The press waits for the
// button's handler, unless that handler asks the user first (`waits` false): its message box
// keeps it from returning until answered.
int Press(HWND window, const std::wstring& windowCaption, const std::wstring& caption,
          bool waits = true) {
  if (!window) {
    return Fail(kMissing, L"no window \"" + windowCaption + L"\"");
  }
  const HWND button = Child(window, L"Button", caption);
  if (!button) {
    return Fail(kMissing, L"no button \"" + caption + L"\" in \"" + windowCaption + L"\"");
  }
  if (!::IsWindowVisible(window) || !::IsWindowEnabled(button)) {
    return Fail(kUnusable, L"button \"" + caption + L"\" cannot be pressed now");
  }
  if (waits ? !Deliver(button, BM_CLICK, 0, 0) : !::PostMessageW(button, BM_CLICK, 0, 0)) {
    return Fail(kNo, L"button \"" + caption + L"\" was not handled in time");
  }
  return kDone;
}

// click <button caption> [window caption [asking]]: "asking" for a button whose handler asks the
// user before it returns.
int Click(const std::vector<std::wstring>& args) {
  if (args.size() < 2 || args.size() > 4 || (args.size() == 4 && args[3] != L"asking")) {
    return Fail(kUsage, L"click <button caption> [window caption [asking]]");
  }
  const std::wstring windowCaption = args.size() > 2 ? args[2] : kMainCaption;
  return Press(TopLevel(windowCaption), windowCaption, args[1], args.size() < 4);
}

// button <caption> [window caption]: prints the caption and whether it can be pressed.
int Button(const std::vector<std::wstring>& args) {
  if (args.size() < 2 || args.size() > 3) {
    return Fail(kUsage, L"button <caption> [window caption]");
  }
  const HWND window = WindowOr(args, 2);
  const HWND button = window ? Child(window, L"Button", args[1]) : nullptr;
  if (!button) {
    return Fail(kMissing, L"no button \"" + args[1] + L"\"");
  }
  Say(TextOf(button) + (::IsWindowEnabled(button) ? L" enabled" : L" disabled"));
  return kDone;
}

int PrintLines(const std::vector<std::wstring>& args) {
  const HWND window = WindowOr(args, 1);
  const HWND list = window ? ListOf(window) : nullptr;
  if (!list) {
    return Fail(kMissing, L"no list");
  }
  for (const std::wstring& line : ListLines(list)) {
    Say(line);
  }
  return kDone;
}

// wait-line <index> <beginning> [seconds]: until that line begins with the text.
int WaitLine(const std::vector<std::wstring>& args) {
  if (args.size() < 3) {
    return Fail(kUsage, L"wait-line <index> <beginning> [seconds]");
  }
  const auto index = static_cast<std::size_t>(std::wcstoul(args[1].c_str(), nullptr, 10));
  const std::wstring& beginning = args[2];
  std::wstring last;
  const bool seen = Eventually(WaitOr(args, 3), [&] {
    const HWND window = TopLevel(kMainCaption);
    const HWND list = window ? ListOf(window) : nullptr;
    if (!list) {
      return false;
    }
    const std::vector<std::wstring> lines = ListLines(list);
    last = index < lines.size() ? lines[index] : L"(no such line)";
    return last.compare(0, beginning.size(), beginning) == 0;
  });
  if (!seen) {
    return Fail(kNo, L"line " + args[1] + L" is \"" + last + L"\"");
  }
  return kDone;
}

// wait-count <n> [seconds]: until the list holds n lines.
int WaitCount(const std::vector<std::wstring>& args) {
  if (args.size() < 2) {
    return Fail(kUsage, L"wait-count <n> [seconds]");
  }
  const LRESULT wanted = std::wcstol(args[1].c_str(), nullptr, 10);
  LRESULT count = -1;
  const bool seen = Eventually(WaitOr(args, 2), [&] {
    const HWND window = TopLevel(kMainCaption);
    const HWND list = window ? ListOf(window) : nullptr;
    count = list ? ::SendMessageW(list, LB_GETCOUNT, 0, 0) : -1;
    return count == wanted;
  });
  if (!seen) {
    return Fail(kNo, L"the list holds " + std::to_wstring(count) + L" lines");
  }
  return kDone;
}

// select <index>: a click on the middle of the line, pressed and released.
int Select(const std::vector<std::wstring>& args) {
  if (args.size() != 2) {
    return Fail(kUsage, L"select <line index>");
  }
  const HWND window = TopLevel(kMainCaption);
  const HWND list = window ? ListOf(window) : nullptr;
  if (!list) {
    return Fail(kMissing, L"no list");
  }
  if (!::IsWindowVisible(window) || !::IsWindowEnabled(list)) {
    return Fail(kUnusable, L"the list cannot be clicked now");
  }
  const auto index = static_cast<WPARAM>(std::wcstoul(args[1].c_str(), nullptr, 10));
  if (index >= static_cast<WPARAM>(::SendMessageW(list, LB_GETCOUNT, 0, 0))) {
    return Fail(kMissing, L"no line " + args[1]);
  }
  RECT item{};
  RECT client{};
  ::GetClientRect(list, &client);
  ::SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  if (item.top < client.top || item.bottom > client.bottom) {
    // Scrolled out of sight: a user scrolls to it first.
    ::SendMessageW(list, LB_SETTOPINDEX, index, 0);
    ::SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  }
  const LPARAM middle = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  // Sent rather than posted, so that the driver returns only when the program's click handler
  // has run and the button below the list shows what the line offers.
  if (!Deliver(list, WM_LBUTTONDOWN, MK_LBUTTON, middle) ||
      !Deliver(list, WM_LBUTTONUP, 0, middle)) {
    return Fail(kNo, L"the click was not handled in time");
  }
  if (::SendMessageW(list, LB_GETCURSEL, 0, 0) != static_cast<LRESULT>(index)) {
    return Fail(kNo, L"line " + args[1] + L" did not become selected");
  }
  return kDone;
}

// The mnemonic letter of a menu caption: the character after a single '&'.
wchar_t MnemonicOf(const std::wstring& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] == L'&') {
      if (caption[i + 1] != L'&') {
        return static_cast<wchar_t>(std::towlower(caption[i + 1]));
      }
      ++i;
    }
  }
  return 0;
}

HWND OpenPopupMenu(DWORD processId) {
  for (HWND window : TopLevelWindows()) {
    if (ProcessOf(window) == processId && IsPopupMenu(window) && ::IsWindowVisible(window)) {
      return window;
    }
  }
  return nullptr;
}

// menu <menu caption> <item caption>: worked with the keyboard by the captions' '&' letters, as
// "Alt+F, O" would; Wine does not let another process read the menu bar's items.
int Menu(const std::vector<std::wstring>& args) {
  if (args.size() != 3) {
    return Fail(kUsage,
                L"menu <menu caption> <item caption>, for example menu \"&File\" \"&Options\"");
  }
  const wchar_t menuKey = MnemonicOf(args[1]);
  const wchar_t itemKey = MnemonicOf(args[2]);
  if (!menuKey || !itemKey) {
    return Fail(kUsage, L"the captions need their '&' letters");
  }
  const HWND window = TopLevel(kMainCaption);
  if (!window) {
    return Fail(kMissing, L"no main window");
  }
  if (!::IsWindowVisible(window)) {
    return Fail(kUnusable, L"the main window is hidden");
  }
  ::PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, menuKey);
  if (!Eventually(kDefaultWaitMs, [&] { return OpenPopupMenu(ProcessOf(window)) != nullptr; })) {
    return Fail(kNo, L"the menu " + args[1] + L" did not open");
  }
  ::PostMessageW(window, WM_CHAR, itemKey, 0);
  if (!Eventually(kDefaultWaitMs, [&] { return OpenPopupMenu(ProcessOf(window)) == nullptr; })) {
    return Fail(kNo, L"the menu did not close on " + args[2]);
  }
  return kDone;
}

struct MouseMessage {
  const wchar_t* name;
  UINT message;
};

constexpr MouseMessage kMouseMessages[] = {
    {L"move", WM_MOUSEMOVE},        {L"ldown", WM_LBUTTONDOWN}, {L"lup", WM_LBUTTONUP},
    {L"ldblclk", WM_LBUTTONDBLCLK}, {L"rdown", WM_RBUTTONDOWN}, {L"rup", WM_RBUTTONUP},
    {L"rdblclk", WM_RBUTTONDBLCLK}, {L"mdown", WM_MBUTTONDOWN}, {L"mup", WM_MBUTTONUP},
};

// tray <mouse message>: what the shell tells the icon's window about the mouse.
int Tray(const std::vector<std::wstring>& args) {
  if (args.size() != 2) {
    return Fail(kUsage, L"tray <move|ldown|lup|ldblclk|rdown|rup|rdblclk|mdown|mup>");
  }
  const HWND tray = TopLevel(kTrayCaption);
  if (!tray) {
    return Fail(kMissing, L"no tray window");
  }
  for (const MouseMessage& mouse : kMouseMessages) {
    if (args[1] == mouse.name) {
      // Posted as the shell does: a menu opened by it must not hold up the caller.
      ::PostMessageW(tray, kTrayCallback, 1, mouse.message);
      return kDone;
    }
  }
  return Fail(kUsage, L"unknown mouse message " + args[1]);
}

// tray-menu <item number>: the open tray menu's item, counted from 1 without separators, chosen
// with the arrow keys and Enter; "none" closes the menu with Escape. Items go by number because
// Wine does not let another process read a menu's texts.
int TrayMenu(const std::vector<std::wstring>& args) {
  if (args.size() != 2) {
    return Fail(kUsage, L"tray-menu <item number from 1, separators not counted>|none");
  }
  const HWND tray = TopLevel(kTrayCaption);
  if (!tray) {
    return Fail(kMissing, L"no tray window");
  }
  HWND menu = nullptr;
  if (!Eventually(kDefaultWaitMs,
                  [&] { return (menu = OpenPopupMenu(ProcessOf(tray))) != nullptr; })) {
    return Fail(kMissing, L"no tray menu open");
  }
  if (args[1] == L"none") {
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  } else {
    const long item = std::wcstol(args[1].c_str(), nullptr, 10);
    if (item < 1) {
      return Fail(kUsage, L"items count from 1");
    }
    for (long i = 0; i < item; ++i) {
      ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    }
    ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  }
  if (!Eventually(kDefaultWaitMs, [&] { return OpenPopupMenu(ProcessOf(tray)) == nullptr; })) {
    return Fail(kNo, L"the tray menu did not close");
  }
  return kDone;
}

// check <box caption> <0|1>: clicks the box in the options dialog when it shows the other state.
int Check(const std::vector<std::wstring>& args) {
  if (args.size() != 3 || (args[2] != L"0" && args[2] != L"1")) {
    return Fail(kUsage, L"check <box caption> <0|1>");
  }
  const HWND dialog = TopLevel(kOptionsCaption);
  if (!dialog) {
    return Fail(kMissing, L"no options dialog");
  }
  const HWND box = Child(dialog, L"Button", args[1]);
  if (!box) {
    return Fail(kMissing, L"no check box \"" + args[1] + L"\"");
  }
  const LRESULT wanted = args[2] == L"1" ? BST_CHECKED : BST_UNCHECKED;
  if (::SendMessageW(box, BM_GETCHECK, 0, 0) == wanted) {
    return kDone;
  }
  if (!::IsWindowVisible(dialog) || !::IsWindowEnabled(box)) {
    return Fail(kUnusable, L"check box \"" + args[1] + L"\" cannot be clicked now");
  }
  if (!Deliver(box, BM_CLICK, 0, 0)) {
    return Fail(kNo, L"the click was not handled in time");
  }
  if (::SendMessageW(box, BM_GETCHECK, 0, 0) != wanted) {
    return Fail(kNo, L"check box \"" + args[1] + L"\" did not change to " + args[2]);
  }
  return kDone;
}

// checked <box caption>: prints 0 or 1 as the options dialog shows it.
int Checked(const std::vector<std::wstring>& args) {
  if (args.size() != 2) {
    return Fail(kUsage, L"checked <box caption>");
  }
  const HWND dialog = TopLevel(kOptionsCaption);
  const HWND box = dialog ? Child(dialog, L"Button", args[1]) : nullptr;
  if (!box) {
    return Fail(kMissing, L"no check box \"" + args[1] + L"\"");
  }
  Say(std::to_wstring(::SendMessageW(box, BM_GETCHECK, 0, 0)));
  return kDone;
}

// texts <window caption>: the texts of the window's controls, one per line.
int Texts(const std::vector<std::wstring>& args) {
  if (args.size() != 2) {
    return Fail(kUsage, L"texts <window caption>");
  }
  const HWND window = TopLevel(args[1]);
  if (!window) {
    return Fail(kMissing, L"no window \"" + args[1] + L"\"");
  }
  for (HWND child : ChildWindows(window)) {
    const std::wstring text = TextOf(child);
    if (!text.empty()) {
      Say(text);
    }
  }
  return kDone;
}

// close <caption>: the close box in the window's title bar.
int Close(const std::vector<std::wstring>& args) {
  if (args.size() != 2) {
    return Fail(kUsage, L"close <caption>");
  }
  const HWND window = TopLevel(args[1]);
  if (!window) {
    return Fail(kMissing, L"no window \"" + args[1] + L"\"");
  }
  if (!::IsWindowVisible(window)) {
    return Fail(kUnusable, L"\"" + args[1] + L"\" is hidden");
  }
  if (!Deliver(window, WM_SYSCOMMAND, SC_CLOSE, 0)) {
    return Fail(kNo, L"the close was not handled in time");
  }
  return kDone;
}

// end-task <caption>: what the task list's "End task" sends, a bare WM_CLOSE, posted because the
// program may end while handling it.
int EndTask(const std::vector<std::wstring>& args) {
  if (args.size() != 2) {
    return Fail(kUsage, L"end-task <caption>");
  }
  const HWND window = TopLevel(args[1]);
  if (!window) {
    return Fail(kMissing, L"no window \"" + args[1] + L"\"");
  }
  if (!::PostMessageW(window, WM_CLOSE, 0, 0)) {
    return Fail(kNo, L"the request could not be posted");
  }
  return kDone;
}

std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  for (wchar_t c : argument) {
    if (c == L'"') {
      quoted += L'\\';
    }
    quoted += c;
  }
  return quoted + L"\"";
}

// run [--cwd <folder>] <exit code file> <program> [arguments]: starts the program, waits for it
// to end and writes its exit code into the file, so that a test can see how it was ended.
int Run(const std::vector<std::wstring>& args) {
  std::size_t next = 1;
  std::wstring folder;
  if (args.size() > 2 && args[1] == L"--cwd") {
    folder = args[2];
    next = 3;
  }
  if (args.size() < next + 2) {
    return Fail(kUsage, L"run [--cwd <folder>] <exit code file> <program> [arguments]");
  }
  const std::wstring exitFile = args[next];
  std::wstring command = Quoted(args[next + 1]);
  for (std::size_t i = next + 2; i < args.size(); ++i) {
    command += L" " + Quoted(args[i]);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    return Fail(kMissing, L"cannot start " + command);
  }
  ::CloseHandle(process.hThread);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  ::GetExitCodeProcess(process.hProcess, &exitCode);
  ::CloseHandle(process.hProcess);
  const std::string text = std::to_string(exitCode) + "\n";
  const HANDLE file = ::CreateFileW(exitFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return Fail(kMissing, L"cannot write " + exitFile);
  }
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
  return kDone;
}

// processes: the executable names in the system's process list.
int Processes(const std::vector<std::wstring>&) {
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    return Fail(kNo, L"no process list");
  }
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
       more = ::Process32NextW(snapshot, &entry)) {
    Say(entry.szExeFile);
  }
  ::CloseHandle(snapshot);
  return kDone;
}

// What the probing thread of click-answering shares with the command.
struct Probe {
  HWND window;
  volatile LONG stop = 0;
  ULONGLONG longest = 0;
  volatile LONG answers = 0;
};

// Asks the window for an answer (WM_NULL) again and again until stopped, and keeps the longest
// wait for one.
DWORD WINAPI AskForAnswers(void* parameter) {
  auto& probe = *static_cast<Probe*>(parameter);
  while (::InterlockedCompareExchange(&probe.stop, 0, 0) == 0) {
    const ULONGLONG sent = ::GetTickCount64();
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutW(probe.window, WM_NULL, 0, 0, SMTO_NORMAL, kCommandTimeoutMs,
                              &result) == 0) {
      break;
    }
    probe.longest = std::max(probe.longest, ::GetTickCount64() - sent);
    ::InterlockedIncrement(&probe.answers);
    ::Sleep(1);
  }
  return 0;
}

// click-answering <button caption> <limit ms>: presses the main window's button while another
// thread keeps asking the window for an answer, and prints the longest wait for one; fails when a
// wait was longer than the limit.
int ClickAnswering(const std::vector<std::wstring>& args) {
  if (args.size() != 3) {
    return Fail(kUsage, L"click-answering <button caption> <limit ms>");
  }
  const HWND window = TopLevel(kMainCaption);
  if (!window) {
    return Fail(kMissing, L"no main window");
  }
  Probe probe{window};
  const HANDLE thread = ::CreateThread(nullptr, 0, AskForAnswers, &probe, 0, nullptr);
  if (thread == nullptr) {
    return Fail(kNo, L"no probing thread");
  }
  // The probe answers a few times before the click, so that it is known to run.
  Eventually(kDefaultWaitMs,
             [&] { return ::InterlockedCompareExchange(&probe.answers, 0, 0) > 3; });
  const int pressed = Press(window, kMainCaption, args[1]);
  ::Sleep(200);
  ::InterlockedExchange(&probe.stop, 1);
  ::WaitForSingleObject(thread, INFINITE);
  ::CloseHandle(thread);
  if (pressed != kDone) {
    return pressed;
  }
  Say(L"longest wait for an answer: " + std::to_wstring(probe.longest) + L" ms of " +
      std::to_wstring(probe.answers) + L" answers");
  if (probe.longest > std::wcstoul(args[2].c_str(), nullptr, 10)) {
    return Fail(kNo, L"the window did not answer for " + std::to_wstring(probe.longest) + L" ms");
  }
  return kDone;
}

// hold-lock <file> <release file>: locks every byte of the file, as another program may, prints
// "held" and keeps the lock until the release file exists (two minutes at most).
int HoldLock(const std::vector<std::wstring>& args) {
  if (args.size() != 3) {
    return Fail(kUsage, L"hold-lock <file> <release file>");
  }
  const HANDLE file =
      ::CreateFileW(args[1].c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || !::LockFile(file, 0, 0, MAXDWORD, MAXDWORD)) {
    return Fail(kNo, L"cannot lock " + args[1]);
  }
  Say(L"held");
  const bool released = Eventually(
      120000, [&] { return ::GetFileAttributesW(args[2].c_str()) != INVALID_FILE_ATTRIBUTES; });
  ::UnlockFile(file, 0, 0, MAXDWORD, MAXDWORD);
  ::CloseHandle(file);
  return released ? kDone : Fail(kNo, L"never told to let go of " + args[1]);
}

// The program's own window of that caption, not a message box: a window and its message boxes
// may share a caption.
HWND FormWindow(const std::wstring& caption) {
  for (HWND window : TopLevelWindows()) {
    if (TextOf(window) == caption && !IsPopupMenu(window) && !IsOfClass(window, L"#32770")) {
      return window;
    }
  }
  return nullptr;
}

// The first child of that class of the program's window of that caption.
HWND WindowWith(const std::wstring& caption, const std::wstring& childClass) {
  const HWND window = FormWindow(caption);
  for (HWND child : window ? ChildWindows(window) : std::vector<HWND>()) {
    if (IsOfClass(child, childClass)) {
      return child;
    }
  }
  return nullptr;
}

// Memory in the process of a window, for the messages whose control reads or writes through a
// pointer: another process's pointer means nothing to it.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, SIZE_T size)
      : process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               ProcessOf(window))) {
    if (process_) {
      address_ = static_cast<char*>(
          ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
  }
  ~RemoteMemory() {
    if (address_) {
      ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    if (process_) {
      ::CloseHandle(process_);
    }
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  bool Usable() const { return address_ != nullptr; }
  char* At(SIZE_T offset) const { return address_ + offset; }
  bool Write(SIZE_T offset, const void* data, SIZE_T size) {
    return ::WriteProcessMemory(process_, At(offset), data, size, nullptr) != FALSE;
  }
  bool Read(SIZE_T offset, void* data, SIZE_T size) const {
    return ::ReadProcessMemory(process_, At(offset), data, size, nullptr) != FALSE;
  }

 private:
  HANDLE process_;
  char* address_ = nullptr;
};

constexpr int kCellChars = 1024;

// rows <window caption>: the rows of the window's column list, cells joined by " | ".
int Rows(const std::vector<std::wstring>& args) {
  if (args.size() != 2) {
    return Fail(kUsage, L"rows <window caption>");
  }
  const HWND list = WindowWith(args[1], WC_LISTVIEWW);
  if (!list) {
    return Fail(kMissing, L"no column list in \"" + args[1] + L"\"");
  }
  const auto header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  const auto columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  const auto rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  RemoteMemory memory(list, sizeof(LVITEMW) + kCellChars * sizeof(wchar_t));
  if (!memory.Usable()) {
    return Fail(kNo, L"no memory in the program's process");
  }
  for (int row = 0; row < rows; ++row) {
    std::wstring line;
    for (int column = 0; column < columns; ++column) {
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = reinterpret_cast<wchar_t*>(memory.At(sizeof(LVITEMW)));
      item.cchTextMax = kCellChars;
      wchar_t text[kCellChars] = {};
      if (!memory.Write(0, &item, sizeof(item)) ||
          (::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                          reinterpret_cast<LPARAM>(memory.At(0))),
           !memory.Read(sizeof(LVITEMW), text, sizeof(text) - sizeof(wchar_t)))) {
        return Fail(kNo, L"row " + std::to_wstring(row) + L" could not be read");
      }
      line += (column == 0 ? L"" : L" | ") + std::wstring(text);
    }
    Say(line);
  }
  return kDone;
}

// select-rows <window caption> <row>...: the rows become the selection, the first has the focus.
int SelectRows(const std::vector<std::wstring>& args) {
  if (args.size() < 3) {
    return Fail(kUsage, L"select-rows <window caption> <row from 0>...");
  }
  const HWND list = WindowWith(args[1], WC_LISTVIEWW);
  if (!list) {
    return Fail(kMissing, L"no column list in \"" + args[1] + L"\"");
  }
  RemoteMemory memory(list, sizeof(LVITEMW));
  if (!memory.Usable()) {
    return Fail(kNo, L"no memory in the program's process");
  }
  const auto rows = static_cast<long>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  auto setState = [&](long row, UINT state) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    return memory.Write(0, &item, sizeof(item)) &&
           Deliver(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(memory.At(0)));
  };
  setState(-1, 0);  // every row out of the selection
  for (std::size_t index = 2; index < args.size(); ++index) {
    const long row = std::wcstol(args[index].c_str(), nullptr, 10);
    if (row < 0 || row >= rows) {
      return Fail(kMissing, L"no row " + args[index]);
    }
    if (!setState(row, index == 2 ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED)) {
      return Fail(kNo, L"row " + args[index] + L" could not be selected");
    }
  }
  return kDone;
}

// post-click <button caption> <window caption>: presses the button and returns at once, for a
// button that opens a message box and waits for its answer.
int PostClick(const std::vector<std::wstring>& args) {
  if (args.size() != 3) {
    return Fail(kUsage, L"post-click <button caption> <window caption>");
  }
  const HWND window = FormWindow(args[2]);
  const HWND button = window ? Child(window, L"Button", args[1]) : nullptr;
  if (!button) {
    return Fail(kMissing, L"no button \"" + args[1] + L"\" in \"" + args[2] + L"\"");
  }
  if (!::IsWindowEnabled(button)) {
    return Fail(kUnusable, L"button \"" + args[1] + L"\" cannot be pressed now");
  }
  ::PostMessageW(button, BM_CLICK, 0, 0);
  return kDone;
}

// answer <caption> <button caption> [seconds]: waits for a message box of that caption, prints
// its text and presses the button.
int Answer(const std::vector<std::wstring>& args) {
  if (args.size() < 3) {
    return Fail(kUsage, L"answer <message box caption> <button caption> [seconds]");
  }
  HWND box = nullptr;
  const bool shown = Eventually(WaitOr(args, 3), [&] {
    for (HWND window : TopLevelWindows()) {
      if (TextOf(window) == args[1] && IsOfClass(window, L"#32770") && ::IsWindowVisible(window)) {
        box = window;
        return true;
      }
    }
    return false;
  });
  if (!shown) {
    return Fail(kMissing, L"no message box \"" + args[1] + L"\"");
  }
  for (HWND child : ChildWindows(box)) {
    if (IsOfClass(child, L"Static") && !TextOf(child).empty()) {
      Say(TextOf(child));
    }
  }
  const HWND button = Child(box, L"Button", args[2]);
  if (!button) {
    return Fail(kMissing, L"no button \"" + args[2] + L"\" in the message box");
  }
  ::PostMessageW(button, BM_CLICK, 0, 0);
  if (!Eventually(kDefaultWaitMs, [&] { return !::IsWindow(box) || !::IsWindowVisible(box); })) {
    return Fail(kNo, L"the message box did not close");
  }
  return kDone;
}

struct Command {
  const wchar_t* name;
  int (*run)(const std::vector<std::wstring>&);
};

constexpr Command kCommands[] = {
    {L"wait-for", WaitFor},
    {L"exists", Exists},
    {L"visible", Visible},
    {L"confirm-splash", ConfirmSplash},
    {L"click", Click},
    {L"button", Button},
    {L"lines", PrintLines},
    {L"wait-line", WaitLine},
    {L"wait-count", WaitCount},
    {L"select", Select},
    {L"menu", Menu},
    {L"tray", Tray},
    {L"tray-menu", TrayMenu},
    {L"check", Check},
    {L"checked", Checked},
    {L"texts", Texts},
    {L"close", Close},
    {L"end-task", EndTask},
    {L"run", Run},
    {L"processes", Processes},
    {L"click-answering", ClickAnswering},
    {L"hold-lock", HoldLock},
    {L"rows", Rows},
    {L"select-rows", SelectRows},
    {L"post-click", PostClick},
    {L"answer", Answer},
};

}  // namespace

int main() {
  int count = 0;
  LPWSTR* raw = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  for (int i = 1; i < count; ++i) {
    args.emplace_back(raw[i]);
  }
  ::LocalFree(raw);
  if (!args.empty()) {
    for (const Command& command : kCommands) {
      if (args[0] == command.name) {
        return command.run(args);
      }
    }
  }
  std::wstring names;
  for (const Command& command : kCommands) {
    names += L" " + std::wstring(command.name);
  }
  return Fail(kUsage, L"usage: gui_driver <command> [arguments]; commands:" + names);
}
