// How a text file falls into lines: each ends at CR LF, CR or LF, and a last line needs none.
#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

namespace quellspur::platform {

inline std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
    lines.push_back(bytes.substr(start, end - start));
    start = end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1);
  }
  return lines;
}

}  // namespace quellspur::platform
