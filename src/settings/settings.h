// The three user settings, held as check-box states; a setting is on only when it equals 1.
#pragma once

#include <cstdint>

namespace quellspur {

struct Settings {
  std::int32_t autoCheck = 0;
  std::int32_t autoClean = 0;
  std::int32_t moveFiles = 0;
};

inline bool IsOn(std::int32_t flag) {
  return flag == 1;
}

}  // namespace quellspur
