// Quellspur.exe for real: it starts with its splash and a hidden main window, refuses a second
// copy with its message, and ends on "&Exit" with its tray window gone.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

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

// Waits a bounded time for something to come true.
bool Eventually(const std::function<bool()>& condition) {
  for (int attempt = 0; attempt < 1000; ++attempt) {
    if (condition()) {
      return true;
    }
    ::Sleep(10);
  }
  return false;
}

struct Search {
  DWORD processId;
  std::string caption;
  std::string className;  // empty: any
  std::string button;     // empty: any; else the window must hold a button with this text
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  char caption[256] = {};
  char className[256] = {};
  ::GetWindowTextA(window, caption, sizeof(caption));
  ::GetClassNameA(window, className, sizeof(className));
  if (owner == search.processId && search.caption == caption &&
      (search.className.empty() || search.className == className) &&
      (search.button.empty() ||
       ::FindWindowExA(window, nullptr, "Button", search.button.c_str()) != nullptr)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

// A top-level window of the process with this caption (and class, and button). The program has
// more than one window without a caption: the splash is told by its button.
HWND TopLevel(DWORD processId, const std::string& caption, const std::string& className = "",
              const std::string& button = "") {
  Search search{processId, caption, className, button, nullptr};
  ::EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string TextOf(HWND window) {
  char text[512] = {};
  ::GetWindowTextA(window, text, sizeof(text));
  return text;
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
  ASSERT_TRUE(Eventually([&] { return (main = TopLevel(id, "Orvanta Quellspur Version 1.3")); }));
  EXPECT_FALSE(::IsWindowVisible(main));
  HWND splash = nullptr;
  HWND splashOk = nullptr;
  ASSERT_TRUE(Eventually([&] {
    splash = TopLevel(id, "", "", "&OK");
    splashOk = splash ? ::FindWindowExA(splash, nullptr, "Button", "&OK") : nullptr;
    return splashOk != nullptr && ::IsWindowVisible(splash);
  }));

  // A second copy says so and ends; the first goes on.
  const Started second;
  HWND message = nullptr;
  ASSERT_TRUE(Eventually([&] { return (message = TopLevel(second.id(), "Quellspur", "#32770")); }));
  // The box's window exists a moment before its texts are filled in.
  EXPECT_TRUE(Eventually([&] {
    bool saysSo = false;
    for (HWND child = ::GetWindow(message, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
      saysSo = saysSo || TextOf(child) == "Quellspur are alredy running.";
    }
    return saysSo;
  }));
  ::PostMessageA(message, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(::WaitForSingleObject(second.handle(), 10000), WAIT_OBJECT_0);
  EXPECT_EQ(::WaitForSingleObject(first.handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  // Confirming the splash puts the icon into the tray and shows the main window.
  ::PostMessageA(splashOk, BM_CLICK, 0, 0);
  HWND tray = nullptr;
  ASSERT_TRUE(Eventually([&] { return (tray = TopLevel(id, "Sys Tray Interface")); }));
  EXPECT_TRUE(Eventually([&] { return ::IsWindowVisible(main) != FALSE; }));
  EXPECT_TRUE(Eventually([&] { return !::IsWindow(splash); }));

  HWND exit = ::FindWindowExA(main, nullptr, "Button", "&Exit");
  ASSERT_NE(exit, nullptr);
  ::PostMessageA(exit, BM_CLICK, 0, 0);
  EXPECT_EQ(::WaitForSingleObject(first.handle(), 10000), WAIT_OBJECT_0);
  EXPECT_FALSE(::IsWindow(tray));
}

}  // namespace
