// Quellspur.exe for real: it starts with its splash and a hidden main window, refuses a second
// copy with its message, and ends on "&Exit" with its tray window gone.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win_helpers.h"

namespace {

using quellspur::winhelp::ChildWindows;
using quellspur::winhelp::ClassOf;
using quellspur::winhelp::Eventually;
using quellspur::winhelp::ProcessOf;
using quellspur::winhelp::TextOf;
using quellspur::winhelp::TopLevelWindows;

constexpr DWORD kWait = 10000;

std::string ProgramPath() {
  char self[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string path(self, length);
  return path.substr(0, path.rfind('\\')) + "\\..\\src\\Quellspur.exe";
}

PROCESS_INFORMATION Start() {
  std::string command = "\"";
  command.append(ProgramPath()).append("\"");
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  EXPECT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
  ::CloseHandle(process.hThread);
  return process;
}

// A started copy of the program. One that a failed check leaves running is ended, or it would keep
// the test runner's output open and the run waiting.
class Started {
 public:
  Started() : process_(Start()) {}
  ~Started() {
    if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(process_.hProcess, 1);
      ::WaitForSingleObject(process_.hProcess, 5000);
    }
    ::CloseHandle(process_.hProcess);
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  DWORD id() const { return process_.dwProcessId; }
  HANDLE handle() const { return process_.hProcess; }

 private:
  PROCESS_INFORMATION process_;
};

// A top-level window of the process with this caption (and class, and button). The program has
// more than one window without a caption: the splash is told by its button.
HWND TopLevel(DWORD processId, const std::wstring& caption, const std::wstring& className = L"",
              const std::wstring& button = L"") {
  for (const HWND window : TopLevelWindows()) {
    if (ProcessOf(window) == processId && TextOf(window) == caption &&
        (className.empty() || ClassOf(window) == className) &&
        (button.empty() || ::FindWindowExW(window, nullptr, L"Button", button.c_str()))) {
      return window;
    }
  }
  return nullptr;
}

void StoreSettingsWithoutAutoScan() {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Orvanta\\Quellspur", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  for (const char* name : {"AutoCheck", "AutoClean", "MoveFiles"}) {
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(" 0"), 2);
  }
  ::RegCloseKey(key);
}

TEST(Smoke, StartsRefusesASecondCopyAndEndsOnExit) {
  StoreSettingsWithoutAutoScan();
  const Started first;
  const DWORD id = first.id();

  HWND main = nullptr;
  ASSERT_TRUE(
      Eventually(kWait, [&] { return (main = TopLevel(id, L"Orvanta Quellspur Version 1.3")); }));
  EXPECT_FALSE(::IsWindowVisible(main));
  HWND splash = nullptr;
  HWND splashOk = nullptr;
  ASSERT_TRUE(Eventually(kWait, [&] {
    splash = TopLevel(id, L"", L"", L"&OK");
    splashOk = splash ? ::FindWindowExW(splash, nullptr, L"Button", L"&OK") : nullptr;
    return splashOk != nullptr && ::IsWindowVisible(splash);
  }));

  // A second copy says so and ends; the first goes on.
  const Started second;
  HWND message = nullptr;
  ASSERT_TRUE(Eventually(
      kWait, [&] { return (message = TopLevel(second.id(), L"Quellspur", L"#32770")); }));
  // The box's window exists a moment before its texts are filled in.
  EXPECT_TRUE(Eventually(kWait, [&] {
    for (const HWND child : ChildWindows(message)) {
      if (TextOf(child) == L"Quellspur are alredy running.") {
        return true;
      }
    }
    return false;
  }));
  ::PostMessageA(message, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(::WaitForSingleObject(second.handle(), 10000), WAIT_OBJECT_0);
  EXPECT_EQ(::WaitForSingleObject(first.handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  // Confirming the splash puts the icon into the tray and shows the main window.
  ::PostMessageA(splashOk, BM_CLICK, 0, 0);
  HWND tray = nullptr;
  ASSERT_TRUE(Eventually(kWait, [&] { return (tray = TopLevel(id, L"Sys Tray Interface")); }));
  EXPECT_TRUE(Eventually(kWait, [&] { return ::IsWindowVisible(main) != FALSE; }));
  EXPECT_TRUE(Eventually(kWait, [&] { return !::IsWindow(splash); }));

  HWND exit = ::FindWindowExW(main, nullptr, L"Button", L"&Exit");
  ASSERT_NE(exit, nullptr);
  ::PostMessageA(exit, BM_CLICK, 0, 0);
  EXPECT_EQ(::WaitForSingleObject(first.handle(), 10000), WAIT_OBJECT_0);
  EXPECT_FALSE(::IsWindow(tray));
}

}  // namespace
