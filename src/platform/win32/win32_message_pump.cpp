#include "platform/win32/win32_message_pump.h"

#include "platform/win32/win32_ui.h"

namespace quellspur::platform::win32 {

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
