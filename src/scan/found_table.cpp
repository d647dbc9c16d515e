#include "scan/found_table.h"

namespace quellspur {

void FoundTable::Clear() {
  rows_.assign(1, FoundEntry{});
}

std::size_t FoundTable::Append() {
  rows_.emplace_back();
  return LastIndex();
}

}  // namespace quellspur
