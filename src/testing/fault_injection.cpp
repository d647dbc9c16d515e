#include "testing/fault_injection.h"

#include <iterator>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace quellspur::platform {
namespace {

struct CallInfo {
  std::string_view name;
  std::span<const Status> failures;
  bool returnsStatus;  // a failure's status is what the call returns
};

#define QUELLSPUR_CALL_INFO(result, name, parameters, arguments, windowsName, failures, ...) \
  {windowsName, failures, std::is_same_v<result, Status>},
constexpr CallInfo kCalls[] = {QUELLSPUR_OS_CALLS(QUELLSPUR_CALL_INFO)};
#undef QUELLSPUR_CALL_INFO
static_assert(std::size(kCalls) == kCallCount);

const CallInfo& InfoOf(Call call) {
  return kCalls[static_cast<std::size_t>(call)];
}

}  // namespace

std::string_view CallName(Call call) {
  return InfoOf(call).name;
}

std::span<const Status> FailureStatuses(Call call) {
  return InfoOf(call).failures;
}

bool CanFail(Call call) {
  return !FailureStatuses(call).empty();
}

void FaultInjectingOs::FailOn(Call call, int nthUse, bool persistent, Status status) {
  if (!CanFail(call)) {
    throw std::invalid_argument(std::string(CallName(call)) + " cannot fail, only throw");
  }
  plan_[static_cast<std::size_t>(call)] = Countdown{nthUse, persistent, false, false, status};
}

void FaultInjectingOs::ThrowOn(Call call, int nthUse) {
  plan_[static_cast<std::size_t>(call)] = Countdown{nthUse, false, true, false};
}

void FaultInjectingOs::Reset() {
  plan_ = {};
  uses_ = {};
  injected_ = 0;
  deadAfter_ = 0;
  totalUses_ = 0;
  stoppedDead_ = false;
  lastError_.reset();
  statusSeen_ = false;
}

std::optional<Status> FaultInjectingOs::Fails(Call call) {
  const auto index = static_cast<std::size_t>(call);
  ++uses_[index];
  const bool dead = deadAfter_ > 0 && ++totalUses_ > deadAfter_;
  stoppedDead_ = stoppedDead_ || dead;
  if (call == Call::GetLastError && lastError_) {
    statusSeen_ = true;
    return lastError_;
  }
  std::optional<Status> failure;
  Countdown& countdown = plan_[index];
  if (dead) {
    // A call that cannot fail has no effect to lose.
    failure = CanFail(call) ? std::optional(FailureStatuses(call).front()) : std::nullopt;
  } else if (countdown.tripped) {
    failure = countdown.persistent ? std::optional(countdown.status) : std::nullopt;
    injected_ += failure ? 1 : 0;
  } else if (countdown.remaining > 0 && --countdown.remaining == 0) {
    countdown.tripped = true;
    ++injected_;
    if (countdown.throws) {
      throw std::bad_alloc();
    }
    failure = countdown.status;
  }
  // Windows keeps a failure's status until another call's; here until a call reaches the
  // wrapped Os, which then has its own.
  lastError_ = failure;
  statusSeen_ = statusSeen_ || (failure && InfoOf(call).returnsStatus);
  return failure;
}

// Each call: its failure as the list says, or the wrapped Os's answer.
#define QUELLSPUR_FORWARD(result, name, parameters, arguments, windowsName, failures, ...) \
  result FaultInjectingOs::name parameters {                                               \
    if (const std::optional<Status> status = Fails(Call::name)) {                          \
      __VA_ARGS__                                                                          \
    }                                                                                      \
    return os_.name arguments;                                                             \
  }
QUELLSPUR_OS_CALLS(QUELLSPUR_FORWARD)
#undef QUELLSPUR_FORWARD

}  // namespace quellspur::platform
