// QuellScan's "quarantine" (the list of recorded changes and quarantine copies) and "restore".
#pragma once

#include "console/command_line.h"
#include "platform/console.h"
#include "platform/os.h"

namespace quellspur {

int ListQuarantine(const CommandLine& command, platform::Os& os, platform::Console& console);
int RestoreChanges(const CommandLine& command, platform::Os& os, platform::Console& console);

}  // namespace quellspur
