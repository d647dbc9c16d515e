// One whole scan: the window probe, the process probe (not on Windows NT) and the report.
#pragma once

#include "scan/backdoors.h"

namespace quellspur {

// The main window's report of a finished scan.
class ScanReport {
 public:
  virtual ~ScanReport() = default;
  virtual void FindSometing() = 0;
};

// Runs on a cleared table. A failure inside a step ends that step only; nobody is told.
void RunScan(Backdoors& backdoors, ScanReport& report);

}  // namespace quellspur
