// The program's name and version as it shows them.
#pragma once

#include <string>

namespace quellspur {

inline const std::wstring kProductName = L"Quellspur";
inline const std::wstring kVersionText = L"Version 1.3";

}  // namespace quellspur
