// One whole scan: the window probe, the process probe (not on Windows NT), the hash probe and the
// report.
#pragma once

#include <functional>

#include "scan/scanner.h"

namespace quellspur {

// Scans from no findings, then runs `report`, which finds them in the scanner. A failure inside a
// step ends that step only; nobody is told.
void RunScan(Scanner& scanner, const std::function<void()>& report);

}  // namespace quellspur
