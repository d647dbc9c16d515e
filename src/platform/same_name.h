// The one rule by which the program takes two file names, paths or value names for the same:
// equal ignoring case as Windows ignores it, over all of Unicode.
#pragma once

#include <string_view>

#include "platform/system.h"

namespace quellspur::platform {

// Equal-ignoring-case names have equal lengths in UTF-16 units (Windows upper-cases unit by
// unit), so most pairs are told apart without asking the system.
inline bool SameName(System& system, std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && system.CompareStringOrdinal(a, b, true) == kCstrEqual;
}

// Names in the order Windows gives them ignoring case, for sets and maps that hold each name once
// in whatever case.
struct NameOrder {
  System* system;
  bool operator()(std::wstring_view a, std::wstring_view b) const {
    return system->CompareStringOrdinal(a, b, true) == kCstrLessThan;
  }
};

}  // namespace quellspur::platform
