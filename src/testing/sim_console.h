// A console whose streams are kept as text for the tests to read.
#pragma once

#include <string>
#include <vector>

#include "platform/console.h"

namespace quellspur::platform::sim {

class SimConsole : public Console {
 public:
  void WriteOut(std::wstring_view text) override { out += text; }
  void WriteError(std::wstring_view text) override { error += text; }

  // The lines written to the standard output, without their CR LF.
  std::vector<std::wstring> OutLines() const {
    std::vector<std::wstring> lines;
    for (std::size_t at = 0; at < out.size();) {
      const std::size_t end = out.find(L"\r\n", at);
      lines.push_back(out.substr(at, end - at));
      at = end == std::wstring::npos ? out.size() : end + 2;
    }
    return lines;
  }

  std::wstring out;
  std::wstring error;
};

}  // namespace quellspur::platform::sim
