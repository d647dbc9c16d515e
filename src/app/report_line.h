// The result-list line of one finding.
#pragma once

#include <string>

#include "scan/found_table.h"

namespace quellspur {

// Name, where it was found, and who started it or which registry value starts it.
std::wstring ReportLine(const FoundEntry& entry);

}  // namespace quellspur
