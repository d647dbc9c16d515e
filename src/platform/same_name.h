// The one rule by which the program takes two file names, paths or value names for the same:
// equal ignoring case as Windows ignores it, over all of Unicode.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/system.h"

namespace quellspur::platform {

// Equal-ignoring-case names have equal lengths in UTF-16 units (Windows upper-cases unit by
// unit), and Windows upper-cases ASCII as ASCII does: a pair is asked of the system only when its
// lengths agree and its ASCII characters do, and one of them holds another character. A scan
// sets every start value against each executable it finds.
inline bool SameName(System& system, std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  const auto ascii = [](wchar_t c) { return static_cast<std::uint32_t>(c) < 0x80; };
  const auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? c - (L'a' - L'A') : c; };
  bool onlyAscii = true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!ascii(a[i]) || !ascii(b[i])) {
      onlyAscii = false;
    } else if (upper(a[i]) != upper(b[i])) {
      return false;
    }
  }
  return onlyAscii || system.CompareStringOrdinal(a, b, true) == kCstrEqual;
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
