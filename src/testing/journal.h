// The record of what the simulated widgets were asked to do, in order, for tests to read.
#pragma once

#include <string>
#include <vector>

namespace quellspur::platform::sim {

class Journal {
 public:
  void Record(std::wstring entry) { entries_.push_back(std::move(entry)); }
  const std::vector<std::wstring>& entries() const { return entries_; }
  void Clear() { entries_.clear(); }

 private:
  std::vector<std::wstring> entries_;
};

}  // namespace quellspur::platform::sim
