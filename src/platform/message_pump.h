// Letting the window system handle what is pending while a long job runs on the GUI thread.
#pragma once

namespace quellspur::platform {

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Processes the pending window messages once, then returns.
  virtual void ProcessPendingMessages() = 0;
};

}  // namespace quellspur::platform
