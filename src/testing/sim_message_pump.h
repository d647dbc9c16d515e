// The simulated window system's message loop: counts each turn and can run a test's action in it,
// as a click or a timer tick would arrive in the middle of a long job.
#pragma once

#include <functional>

#include "platform/message_pump.h"

namespace quellspur::platform::sim {

class SimMessagePump : public MessagePump {
 public:
  void ProcessPendingMessages() override {
    ++turns_;
    if (onTurn_) {
      onTurn_();
    }
  }

  int turns() const { return turns_; }
  void OnTurn(std::function<void()> action) { onTurn_ = std::move(action); }

 private:
  int turns_ = 0;
  std::function<void()> onTurn_;
};

}  // namespace quellspur::platform::sim
