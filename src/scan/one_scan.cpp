// What one scan keeps of the machine, and for how long.
#include <exception>

#include "scan/process_list.h"
#include "scan/scanner.h"

namespace quellspur {

Scanner::OneScan::OneScan(Scanner& scanner) : scanner_(scanner) {
  scanner_.withinScan_ = true;
  scanner_.findings_.clear();
  try {
    scanner_.pacer_.Restart();
  } catch (const std::exception&) {
    // The turns stay timed from the last one; the scan goes on all the same.
  }
}

Scanner::OneScan::~OneScan() {
  scanner_.withinScan_ = false;
  scanner_.startKeys_.reset();
  scanner_.processList_.reset();
}

const std::vector<StartKey>& Scanner::StartKeys() {
  if (!withinScan_ || !startKeys_) {
    // 64-bit Windows (always of the NT family) has two views of the machine's keys.
    startKeys_ = ReadStartKeys(os_, pacer_, IsNt() && os_.Is64BitWindows());
  }
  return *startKeys_;
}

const std::vector<platform::ProcessEntry>& Scanner::ProcessList() {
  if (!withinScan_ || !processList_) {
    processList_ = ReadProcessList(os_);
  }
  return *processList_;
}

}  // namespace quellspur
