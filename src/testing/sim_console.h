// A console whose streams are kept as text for the tests to read.
#pragma once

#include <string>

#include "platform/console.h"

namespace quellspur::platform::sim {

class SimConsole : public Console {
 public:
  void WriteOut(std::wstring_view text) override { out += text; }
  void WriteError(std::wstring_view text) override { error += text; }

  std::wstring out;
  std::wstring error;
};

}  // namespace quellspur::platform::sim
