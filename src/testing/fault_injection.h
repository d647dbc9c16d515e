// Fault injection around any Os, the simulated machine or the real one: the nth use of a chosen
// call fails once, fails from then on, or throws, so that tests can reach every failure path.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "platform/os.h"

namespace quellspur::platform {

// Every call of the Os interface, as os_calls.h lists them.
#define QUELLSPUR_CALL_ENUMERATOR(result, name, ...) name,
enum class Call { QUELLSPUR_OS_CALLS(QUELLSPUR_CALL_ENUMERATOR) kCount };
#undef QUELLSPUR_CALL_ENUMERATOR
inline constexpr std::size_t kCallCount = static_cast<std::size_t>(Call::kCount);

// The call's name as Windows spells it.
std::string_view CallName(Call call);
// The statuses a failure of the call gives, the first where the machine stops dead; none for a
// call that Windows never reports failing.
std::span<const Status> FailureStatuses(Call call);
// Whether Windows can report a failure of the call; the others can only be made to throw.
bool CanFail(Call call);

// Forwards every call to the wrapped Os, except that a call due to fail answers as Windows does
// on failure (false, a 0 handle or count, the chosen status from the registry, the chosen status
// from GetLastError after it) without reaching the wrapped Os.
class FaultInjectingOs : public Os {
 public:
  explicit FaultInjectingOs(Os& os) : os_(os) {}
  // A copy would be taken, instead of a wrapper, when the Os to wrap is itself a FaultInjectingOs.
  FaultInjectingOs(const FaultInjectingOs&) = delete;
  FaultInjectingOs& operator=(const FaultInjectingOs&) = delete;

  // The nth use of `call` from now on fails with `status` (1: the next one); when `persistent`,
  // every use after it fails too. Throws std::invalid_argument for a call that cannot fail.
  void FailOn(Call call, int nthUse, bool persistent = false, Status status = kErrorAccessDenied);
  // The nth use of `call` from now on throws std::bad_alloc, as when memory runs out: a failure
  // that no caller handles.
  void ThrowOn(Call call, int nthUse);
  // The machine stops dead after `totalUses` more uses of any call: every later call that can fail
  // fails with its first status, without reaching the wrapped Os, as if the machine had lost its
  // power.
  void StopDeadAfter(int totalUses) { deadAfter_ = totalUses; }
  // Whether a call came after the machine stopped.
  bool StoppedDead() const { return stoppedDead_; }
  // Disarms every call and sets every count to zero.
  void Reset();

  // Uses of the call since the start or the last Reset, failed ones included.
  int Uses(Call call) const { return uses_[static_cast<std::size_t>(call)]; }
  // Uses that failed or threw since the start or the last Reset.
  int InjectedFaults() const { return injected_; }
  // Whether the caller learned the status of a failure made up here: a registry call returned it,
  // or GetLastError answered with it. When not, the same failure with another status would have
  // gone the same way.
  bool InjectedStatusSeen() const { return statusSeen_; }

  QUELLSPUR_OS_CALLS(QUELLSPUR_OVERRIDE)

 private:
  struct Countdown {
    int remaining = 0;  // 0: not armed
    bool persistent = false;
    bool throws = false;
    bool tripped = false;
    Status status = kErrorAccessDenied;
  };

  // Counts one use of the call and throws when the use is due to throw. Gives the status of the
  // failure when the use is due to fail, nothing when it goes on to the wrapped Os.
  std::optional<Status> Fails(Call call);

  Os& os_;
  std::array<Countdown, kCallCount> plan_{};
  std::array<int, kCallCount> uses_{};
  int injected_ = 0;
  int deadAfter_ = 0;  // 0: never
  int totalUses_ = 0;
  bool stoppedDead_ = false;
  // The status of the last failure made up here, until a call reaches the wrapped Os.
  std::optional<Status> lastError_;
  bool statusSeen_ = false;
};

}  // namespace quellspur::platform
