// Letting Windows deliver the pending messages of the GUI thread once.
#pragma once

#include "platform/message_pump.h"

namespace quellspur::platform::win32 {

class Win32MessagePump final : public MessagePump {
 public:
  void ProcessPendingMessages() override;
};

}  // namespace quellspur::platform::win32
