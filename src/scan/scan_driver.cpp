#include "scan/scan_driver.h"

#include <exception>

namespace quellspur {
namespace {

// A step that fails keeps what it appended; the scan goes on with the next step.
template <typename Step>
void Guarded(Step step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace

void RunScan(Scanner& scanner, const std::function<void()>& report) {
  {
    // Ends before the report: Auto Clean, run from it, must see the machine as it is by then.
    const Scanner::OneScan scan(scanner);
    Guarded([&] { scanner.FindByWindow(); });
    if (scanner.windowsPlatform() != WindowsPlatform::Nt) {
      Guarded([&] { scanner.FindByProcess(); });
    }
    Guarded([&] { scanner.FindByHash(); });
  }
  Guarded([&] { report(); });
}

}  // namespace quellspur
