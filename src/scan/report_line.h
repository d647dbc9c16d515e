// The result-list line of one finding.
#pragma once

#include <string>

#include "scan/finding.h"

namespace quellspur {

// Name, where it was found, and who started it or which registry value starts it.
std::wstring ReportLine(const Finding& entry);

}  // namespace quellspur
