// The findings of the last scan: an empty sentinel row 0, then one row per finding in the order
// found. List line k shows row k + 1, so rows are only ever appended.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quellspur {

// Either a running process or a registry value that starts it; never both.
struct FoundEntry {
  std::uint32_t ProcessId = 0;
  std::wstring ParentPath;
  std::uint32_t RootKey = 0;
  std::wstring SubKey;
  std::wstring ValueName;
  std::wstring FilePath;
  std::wstring BackdoorName;
};

class FoundTable {
 public:
  FoundTable() { Clear(); }

  // Leaves only the empty sentinel row.
  void Clear();
  // Adds an empty row behind the last one and returns its index.
  std::size_t Append();
  // The index of the last row; 0 when nothing was found.
  std::size_t LastIndex() const { return rows_.size() - 1; }

  // Rows are addressed by index only, so that nothing holds a row while others are appended.
  FoundEntry& operator[](std::size_t index) { return rows_.at(index); }
  const FoundEntry& operator[](std::size_t index) const { return rows_.at(index); }

 private:
  std::vector<FoundEntry> rows_;
};

}  // namespace quellspur
