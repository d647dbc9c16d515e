// Owners that close a handle or registry key on every path out of the scope that opened it.
#pragma once

#include "platform/processes.h"
#include "platform/registry.h"

namespace quellspur::platform {

// A close that fails, however it fails, can't be helped on the way out of a scope, and must not
// end the program while another failure is being handled.
template <typename Close>
void CloseQuietly(Close close) noexcept {
  try {
    close();
  } catch (...) {
  }
}

class UniqueHandle {
 public:
  UniqueHandle(Processes& processes, Handle handle) : processes_(processes), handle_(handle) {}
  ~UniqueHandle() {
    if (handle_ != 0) {
      CloseQuietly([&] { processes_.CloseHandle(handle_); });
    }
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != 0; }

 private:
  Processes& processes_;
  Handle handle_;
};

class UniqueKey {
 public:
  UniqueKey(Registry& registry, RegKey key) : registry_(registry), key_(key) {}
  ~UniqueKey() {
    if (key_ != 0) {
      CloseQuietly([&] { registry_.RegCloseKey(key_); });
    }
  }
  UniqueKey(const UniqueKey&) = delete;
  UniqueKey& operator=(const UniqueKey&) = delete;

  RegKey get() const { return key_; }

 private:
  Registry& registry_;
  RegKey key_;
};

}  // namespace quellspur::platform
