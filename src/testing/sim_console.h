// A console whose streams are kept as text for the tests to read.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "platform/console.h"

namespace quellspur::platform::sim {

class SimConsole : public Console {
 public:
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
  // How many more characters each stream takes, as a disk that fills up: a write that does not
  // fit fails and leaves nothing.
  std::size_t outRoom = std::numeric_limits<std::size_t>::max();
  std::size_t errorRoom = std::numeric_limits<std::size_t>::max();

 protected:
  bool Put(Stream stream, std::wstring_view text, std::wstring& whyNot) override {
    std::wstring& written = stream == Stream::Out ? out : error;
    std::size_t& room = stream == Stream::Out ? outRoom : errorRoom;
    if (text.size() > room) {
      whyNot = L"There is not enough space on the disk.";
      return false;
    }
    room -= text.size();
    written += text;
    return true;
  }
};

}  // namespace quellspur::platform::sim
