#include "platform/sim/fault_plan.h"

#include <new>

namespace quellspur::platform::sim {

void FaultPlan::FailOn(Call call, int nthUse, bool persistent) {
  plan_[static_cast<std::size_t>(call)] = Countdown{nthUse, persistent, false, false};
}

void FaultPlan::ThrowOn(Call call, int nthUse) {
  plan_[static_cast<std::size_t>(call)] = Countdown{nthUse, false, true, false};
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
  if (countdown.throws) {
    throw std::bad_alloc();
  }
  return true;
}

void FaultPlan::Reset() {
  plan_ = {};
}

}  // namespace quellspur::platform::sim
