// The contract's environment on Windows (or Wine): the real calls, a scratch folder under the
// user's temporary folder, and the registry cleaned with the system's own tree removal.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "contract_support.h"
#include "platform/win32/win32_os.h"

namespace quellspur::contract {
namespace {

// The test sets its scene in the real folders, System32 included, whatever bitness it has.
class NoRedirection {
 public:
  NoRedirection() { ::Wow64DisableWow64FsRedirection(&previous_); }
  ~NoRedirection() { ::Wow64RevertWow64FsRedirection(previous_); }
  NoRedirection(const NoRedirection&) = delete;
  NoRedirection& operator=(const NoRedirection&) = delete;

 private:
  void* previous_ = nullptr;
};

class Win32Environment final : public Environment {
 public:
  Win32Environment() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
      throw std::runtime_error("no temporary folder");
    }
    // One folder per test process, since CTest may run the cases side by side.
    scratch_ = std::wstring(temp, length) + L"QuellspurContract-" +
               std::to_wstring(::GetCurrentProcessId()) + L"\\";
    if (!::CreateDirectoryW(scratch_.c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS) {
      throw std::runtime_error("cannot create the scratch folder");
    }
  }

  ~Win32Environment() override {
    ReleaseChild();
    for (const std::wstring& file : written_) {
      ::DeleteFileW(file.c_str());
    }
    ::RemoveDirectoryW(scratch_.c_str());
  }

  platform::Os& os() override { return os_; }
  bool ProgramIs64Bit() override { return sizeof(void*) == 8; }

  std::wstring ScratchFolder() override { return scratch_; }

  void WriteFile(const std::wstring& path, const std::string& bytes) override {
    const NoRedirection real;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      throw std::runtime_error("cannot create " + os_.WideToAnsi(path));
    }
    written_.push_back(path);
    DWORD done = 0;
    const BOOL ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    ::CloseHandle(file);
    if (!ok || done != bytes.size()) {
      throw std::runtime_error("cannot write " + os_.WideToAnsi(path));
    }
  }

  void RemoveFile(const std::wstring& path) override {
    const NoRedirection real;
    ::DeleteFileW(path.c_str());
  }

  void RemoveFolder(const std::wstring& path) override { ::RemoveDirectoryW(path.c_str()); }

  platform::WindowHandle ShowTestWindow(const std::wstring& className,
                                        const std::wstring& caption) override {
    WNDCLASSW definition{};
    definition.lpfnWndProc = ::DefWindowProcW;
    definition.hInstance = ::GetModuleHandleW(nullptr);
    definition.lpszClassName = className.c_str();
    ::RegisterClassW(&definition);  // fails harmlessly when an earlier case registered it
    const HWND window =
        ::CreateWindowExW(0, className.c_str(), caption.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100,
                          100, nullptr, nullptr, definition.hInstance, nullptr);
    if (window == nullptr) {
      throw std::runtime_error("cannot create a window of class " + os_.WideToAnsi(className));
    }
    return reinterpret_cast<platform::WindowHandle>(window);
  }

  void CloseTestWindow(platform::WindowHandle window) override {
    ::DestroyWindow(reinterpret_cast<HWND>(window));
  }

  std::uint32_t StartChild() override {
    wchar_t self[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring quiet(self, length);
    quiet = quiet.substr(0, quiet.rfind(L'\\')) + L"\\..\\tools\\standin_quiet.exe";
    const std::wstring path = scratch_ + kChildFileName;
    if (!::CopyFileW(quiet.c_str(), path.c_str(), FALSE)) {
      throw std::runtime_error("cannot copy " + os_.WideToAnsi(quiet));
    }
    written_.push_back(path);
    std::wstring command = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    if (!::CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &child)) {
      throw std::runtime_error("cannot start the child");
    }
    ::CloseHandle(child.hThread);
    child_ = child.hProcess;
    return child.dwProcessId;
  }

  void ReleaseChild() override {
    if (child_ != nullptr) {
      ::TerminateProcess(child_, 0);
      // Ended for good, so that its executable can be deleted.
      ::WaitForSingleObject(child_, 5000);
      ::CloseHandle(child_);
      child_ = nullptr;
    }
  }

  void Pause() override { ::Sleep(20); }

  platform::LocalTime UtcNow() override {
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  }

  // Through a handle of its own, which Windows and Wine treat as another program's.
  void HoldLock(const std::wstring& path) override {
    const NoRedirection real;
    locked_ = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (locked_ == INVALID_HANDLE_VALUE || !::LockFile(locked_, 0, 0, MAXDWORD, MAXDWORD)) {
      throw std::runtime_error("cannot lock " + os_.WideToAnsi(path));
    }
  }

  void ReleaseLock() override {
    ::UnlockFile(locked_, 0, 0, MAXDWORD, MAXDWORD);
    ::CloseHandle(locked_);
    locked_ = INVALID_HANDLE_VALUE;
  }

  void DeleteKeyTree(platform::RegKey root, const std::wstring& subKey) override {
    const auto rootKey = reinterpret_cast<HKEY>(root);
    HKEY key = nullptr;
    LONG status =
        ::RegOpenKeyExW(rootKey, subKey.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &key);
    if (status == ERROR_SUCCESS) {
      status = ::RegDeleteTreeW(key, nullptr);
      ::RegCloseKey(key);
    }
    if (status == ERROR_SUCCESS) {
      status = ::RegDeleteKeyExW(rootKey, subKey.c_str(), KEY_WOW64_64KEY, 0);
    }
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      throw std::runtime_error("cannot remove the key " + os_.WideToAnsi(subKey));
    }
  }

 private:
  platform::win32::Win32Os os_;
  std::wstring scratch_;
  std::vector<std::wstring> written_;
  HANDLE child_ = nullptr;
  HANDLE locked_ = INVALID_HANDLE_VALUE;
};

}  // namespace

Environment& TheEnvironment() {
  static Win32Environment environment;
  return environment;
}

}  // namespace quellspur::contract
