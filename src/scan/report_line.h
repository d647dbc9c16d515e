// The result-list line of one finding.
#pragma once

#include <string>

#include "scan/finding.h"

namespace quellspur {

// Name, where it was found, and who started it or which registry value starts it.
std::wstring ReportLine(const Finding& entry);

// The marks a line takes once its process is ended or its start entry removed.
inline const std::wstring kTerminatedPrefix = L"IT\u00B4S TERMINATED!  ";
inline const std::wstring kErasedPrefix = L"IT\u00B4S ERASED!  ";

}  // namespace quellspur
