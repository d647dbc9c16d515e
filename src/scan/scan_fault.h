// A failure inside a probe that the probe itself does not deal with; it ends that probe, and the
// scan goes on with its next step.
#pragma once

#include <stdexcept>

namespace quellspur {

class ScanFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quellspur
