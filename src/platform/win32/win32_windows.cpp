// Top-level windows.
#include <windows.h>

#include "platform/win32/win32_os.h"

namespace quellspur::platform::win32 {

WindowHandle Win32Os::FindWindowW(const std::optional<std::wstring>& className,
                                  const std::optional<std::wstring>& windowName) {
  const std::string windowClass = className ? WideToAnsi(*className) : std::string();
  const std::string caption = windowName ? WideToAnsi(*windowName) : std::string();
  const HWND window = ::FindWindowA(className ? windowClass.c_str() : nullptr,
                                    windowName ? caption.c_str() : nullptr);
  return reinterpret_cast<WindowHandle>(window);
}

std::uint32_t Win32Os::GetWindowThreadProcessId(WindowHandle window, std::uint32_t& processId) {
  DWORD owner = 0;
  const DWORD thread = ::GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &owner);
  processId = owner;
  return thread;
}

}  // namespace quellspur::platform::win32
