// A fault in the program's own logic (a control or a list line that does not exist), caught at a
// step's guard like any other exception. It keeps its message in place: throwing it brings in
// no string type of its own, as the standard library's logic_error does.
#pragma once

#include <cstddef>
#include <exception>

namespace quellspur::platform {

class LogicFault : public std::exception {
 public:
  // The message is cut at what the fault keeps (127 bytes).
  explicit LogicFault(const char* message) noexcept {
    std::size_t length = 0;
    while (message[length] != '\0' && length + 1 < sizeof message_) {
      message_[length] = message[length];
      ++length;
    }
    message_[length] = '\0';
  }
  const char* what() const noexcept override { return message_; }

 private:
  char message_[128];
};

}  // namespace quellspur::platform
