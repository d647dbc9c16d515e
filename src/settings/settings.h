// The three user settings, held as check-box states; a setting is on only when it equals 1.
#pragma once

#include <cstdint>

namespace quellspur {

struct Settings {
  std::int32_t AutoCheck = 0;
  std::int32_t AutoClean = 0;
  std::int32_t MoveFiles = 0;
};

inline bool IsOn(std::int32_t flag) {
  return flag == 1;
}

}  // namespace quellspur
