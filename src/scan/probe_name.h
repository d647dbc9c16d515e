// Sets the name of the backdoor being probed and empties it on every way out of the probe.
#pragma once

#include <string>

namespace quellspur {

class ProbeName {
 public:
  ProbeName(std::wstring& current, const std::wstring& name) : current_(current) {
    current_ = name;
  }
  ~ProbeName() { current_.clear(); }
  ProbeName(const ProbeName&) = delete;
  ProbeName& operator=(const ProbeName&) = delete;

 private:
  std::wstring& current_;
};

}  // namespace quellspur
