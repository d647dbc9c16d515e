// GoogleTest's hook for a platform's own definitions, found before its empty default in the
// Windows builds. Their win32 thread model's libstdc++ has no std::mutex or
// std::condition_variable, on which GoogleTest builds only its Notification: a start signal for
// the threads of its own thread tests, which ours never start. This one waits on an atomic flag.
#pragma once

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { notified_.store(true, std::memory_order_release); }

  void WaitForNotification() {
    while (!notified_.load(std::memory_order_acquire)) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
