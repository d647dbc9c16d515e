// The simulated machine's top-level windows, newest first.
#include <algorithm>

#include "testing/sim_machine.h"

namespace quellspur::platform::sim {

WindowHandle SimMachine::ShowWindow(const std::wstring& className, const std::wstring& caption,
                                    std::uint32_t processId) {
  const WindowHandle handle = nextWindow_;
  nextWindow_ += 0x10;
  windows_.insert(windows_.begin(),
                  SimTopLevelWindow{handle, className, caption, processId, processId + 1});
  return handle;
}

void SimMachine::CloseWindow(WindowHandle window) {
  std::erase_if(windows_, [window](const SimTopLevelWindow& w) { return w.handle == window; });
}

// Class names and captions are compared without regard to case, as Windows does.
WindowHandle SimMachine::FindWindowW(const std::optional<std::wstring>& className,
                                     const std::optional<std::wstring>& windowName) {
  auto matches = [&](const SimTopLevelWindow& window) {
    return (!className || UpperCase(*className) == UpperCase(window.className)) &&
           (!windowName || UpperCase(*windowName) == UpperCase(window.caption));
  };
  auto found = std::find_if(windows_.begin(), windows_.end(), matches);
  return found == windows_.end() ? 0 : found->handle;
}

std::uint32_t SimMachine::GetWindowThreadProcessId(WindowHandle window, std::uint32_t& processId) {
  auto found = std::find_if(windows_.begin(), windows_.end(),
                            [window](const SimTopLevelWindow& w) { return w.handle == window; });
  if (found == windows_.end()) {
    return Fail(kErrorInvalidWindowHandle);
  }
  processId = found->processId;
  return found->threadId;
}

}  // namespace quellspur::platform::sim
