#include "platform/sim/fault_plan.h"

namespace quellspur::platform::sim {

void FaultPlan::FailOn(Call call, int nthUse, bool persistent) {
  plan_[static_cast<std::size_t>(call)] = Countdown{nthUse, persistent, false};
}

bool FaultPlan::Fails(Call call) {
  Countdown& countdown = plan_[static_cast<std::size_t>(call)];
  if (countdown.tripped) {
    return countdown.persistent;
  }
  if (countdown.remaining == 0) {
    return false;
  }
  if (--countdown.remaining > 0) {
    return false;
  }
  countdown.tripped = true;
  return true;
}

void FaultPlan::Reset() {
  plan_ = {};
}

}  // namespace quellspur::platform::sim
