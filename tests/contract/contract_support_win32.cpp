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

class Win32Environment final : public Environment {
 public:
  Win32Environment() {
    char temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof(temp), temp);
    if (length == 0 || length > MAX_PATH) {
      throw std::runtime_error("no temporary folder");
    }
    // One folder per test process, since CTest may run the cases side by side.
    scratch_ = std::string(temp, length) + "QuellspurContract-" +
               std::to_string(::GetCurrentProcessId()) + "\\";
    if (!::CreateDirectoryA(scratch_.c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS) {
      throw std::runtime_error("cannot create the scratch folder " + scratch_);
    }
  }

  ~Win32Environment() override {
    ReleaseChild();
    for (const std::string& file : written_) {
      ::DeleteFileA(file.c_str());
    }
    ::RemoveDirectoryA(scratch_.c_str());
  }

  platform::Os& os() override { return os_; }

  std::wstring ScratchFolder() override { return os_.AnsiToWide(scratch_); }

  void WriteFile(const std::wstring& path, const std::string& bytes) override {
    const std::string name = os_.WideToAnsi(path);
    HANDLE file = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      throw std::runtime_error("cannot create " + name);
    }
    written_.push_back(name);
    DWORD done = 0;
    const BOOL ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    ::CloseHandle(file);
    if (!ok || done != bytes.size()) {
      throw std::runtime_error("cannot write " + name);
    }
  }

  void RemoveFile(const std::wstring& path) override {
    ::DeleteFileA(os_.WideToAnsi(path).c_str());
  }

  void RemoveFolder(const std::wstring& path) override {
    ::RemoveDirectoryA(os_.WideToAnsi(path).c_str());
  }

  platform::WindowHandle ShowTestWindow(const std::wstring& className,
                                        const std::wstring& caption) override {
    const std::string windowClass = os_.WideToAnsi(className);
    WNDCLASSA definition{};
    definition.lpfnWndProc = ::DefWindowProcA;
    definition.hInstance = ::GetModuleHandleA(nullptr);
    definition.lpszClassName = windowClass.c_str();
    ::RegisterClassA(&definition);  // fails harmlessly when an earlier case registered it
    const HWND window = ::CreateWindowExA(0, windowClass.c_str(), os_.WideToAnsi(caption).c_str(),
                                          WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                          definition.hInstance, nullptr);
    if (window == nullptr) {
      throw std::runtime_error("cannot create a window of class " + windowClass);
    }
    return reinterpret_cast<platform::WindowHandle>(window);
  }

  void CloseTestWindow(platform::WindowHandle window) override {
    ::DestroyWindow(reinterpret_cast<HWND>(window));
  }

  std::uint32_t StartChild() override {
    char self[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, length);
    path = path.substr(0, path.rfind('\\')) + "\\..\\tools\\standin_quiet.exe";
    std::string command = "\"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    if (!::CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &child)) {
      throw std::runtime_error("cannot start " + path);
    }
    ::CloseHandle(child.hThread);
    child_ = child.hProcess;
    return child.dwProcessId;
  }

  void ReleaseChild() override {
    if (child_ != nullptr) {
      ::TerminateProcess(child_, 0);
      ::CloseHandle(child_);
      child_ = nullptr;
    }
  }

  void Pause() override { ::Sleep(20); }

  void DeleteKeyTree(platform::RegKey root, const std::wstring& subKey) override {
    const std::string path = os_.WideToAnsi(subKey);
    const auto rootKey = reinterpret_cast<HKEY>(root);
    HKEY key = nullptr;
    LONG status = ::RegOpenKeyExA(rootKey, path.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &key);
    if (status == ERROR_SUCCESS) {
      status = ::RegDeleteTreeA(key, nullptr);
      ::RegCloseKey(key);
    }
    if (status == ERROR_SUCCESS) {
      status = ::RegDeleteKeyExA(rootKey, path.c_str(), KEY_WOW64_64KEY, 0);
    }
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      throw std::runtime_error("cannot remove the key " + path);
    }
  }

 private:
  platform::win32::Win32Os os_;
  std::string scratch_;
  std::vector<std::string> written_;
  HANDLE child_ = nullptr;
};

}  // namespace

Environment& TheEnvironment() {
  static Win32Environment environment;
  return environment;
}

}  // namespace quellspur::contract
