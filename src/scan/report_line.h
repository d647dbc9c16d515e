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

// The marks a line takes once its process is ended or its start entry removed.
inline const std::wstring kTerminatedPrefix = L"IT\u00B4S TERMINATED!  ";
inline const std::wstring kErasedPrefix = L"IT\u00B4S ERASED!  ";

}  // namespace quellspur
