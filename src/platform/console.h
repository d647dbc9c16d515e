// The standard output and error of a console program.
#pragma once

#include <string_view>

namespace quellspur::platform {

class Console {
 public:
  virtual ~Console() = default;
  // Text as the reader gets it: on a console window as its characters, into a file or a pipe as
  // UTF-8.
  virtual void WriteOut(std::wstring_view text) = 0;
  virtual void WriteError(std::wstring_view text) = 0;
};

}  // namespace quellspur::platform
