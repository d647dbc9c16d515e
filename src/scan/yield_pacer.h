// Gives the window system its turn during a long job on the GUI thread, by elapsed time: often
// enough that the window answers within milliseconds, yet without a round trip to the window
// server at every small step while nothing waits.
#pragma once

#include <cstdint>

#include "platform/message_pump.h"
#include "platform/system.h"

namespace quellspur {

class YieldPacer {
 public:
  static constexpr std::uint64_t kIntervalMicroseconds = 10'000;
  // Steps short enough that this many of them delay a turn by far less than the interval.
  static constexpr std::uint32_t kQuickSteps = 16;

  YieldPacer(platform::System& clock, platform::MessagePump& pump) : clock_(clock), pump_(pump) {}

  // Times the next turn from now, as a job starts.
  void Restart() { last_ = clock_.SteadyMicroseconds(); }
  // Processes the pending messages when the interval has passed since the last turn.
  void Yield() {
    const std::uint64_t now = clock_.SteadyMicroseconds();
    if (now - last_ >= kIntervalMicroseconds) {
      last_ = now;
      pump_.ProcessPendingMessages();
    }
  }
  // The same after a step that takes microseconds, such as reading one registry value: the clock
  // is read only after every kQuickSteps-th of them, as reading it may cost more than the step's
  // own work.
  void YieldAfterQuickStep() {
    if (++quickSteps_ % kQuickSteps == 0) {
      Yield();
    }
  }

 private:
  platform::System& clock_;
  platform::MessagePump& pump_;
  std::uint64_t last_ = 0;
  std::uint32_t quickSteps_ = 0;
};

}  // namespace quellspur
