// Top-level windows.
#include <windows.h>

#include "platform/win32/win32_os.h"

namespace quellspur::platform::win32 {

WindowHandle Win32Os::FindWindowW(const std::optional<std::wstring>& className,
                                  const std::optional<std::wstring>& windowName) {
  const HWND window = ::FindWindowW(className ? className->c_str() : nullptr,
                                    windowName ? windowName->c_str() : nullptr);
  return reinterpret_cast<WindowHandle>(window);
}

std::uint32_t Win32Os::GetWindowThreadProcessId(WindowHandle window, std::uint32_t& processId) {
  DWORD owner = 0;
  const DWORD thread = ::GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &owner);
  processId = owner;
  return thread;
}

}  // namespace quellspur::platform::win32
