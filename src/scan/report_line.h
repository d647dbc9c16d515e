// The result-list line of one finding.
#pragma once

#include <cstdint>
#include <string>

#include "scan/finding.h"

namespace quellspur {

// Name, where it was found, and who started it or which registry value starts it.
std::wstring ReportLine(const Finding& entry);

// The registry root as Windows names it: "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
std::wstring RootKeyName(std::uint32_t rootKey);
// "64-bit" or "32-bit" for a start entry's registry view; empty for the program's own.
std::wstring RegistryViewName(std::uint32_t view);

}  // namespace quellspur
