#include "platform/win32/win32_message_pump.h"

#include <windows.h>

#include <cwchar>
#include <iterator>

namespace quellspur::platform::win32 {

void DeliverMessage(MSG& message) {
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST && message.hwnd) {
    const HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    wchar_t className[std::size(kFormClass) + 1] = {};
    if (root && ::GetClassNameW(root, className, static_cast<int>(std::size(className))) > 0 &&
        std::wcscmp(className, kFormClass) == 0 && ::IsDialogMessageW(root, &message)) {
      return;
    }
  }
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

void Win32MessagePump::ProcessPendingMessages() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The quit request belongs to the main loop; hand it back for that loop to see.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    DeliverMessage(message);
  }
}

}  // namespace quellspur::platform::win32
