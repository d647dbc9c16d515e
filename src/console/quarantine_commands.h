// QuellScan's "quarantine" (the list of recorded changes and quarantine copies) and "restore".
#pragma once

#include "console/command_line.h"
#include "engine/engine.h"
#include "platform/console.h"
#include "platform/system.h"

namespace quellspur {

int ListQuarantine(const CommandLine& command, Engine& engine, platform::Console& console);
int RestoreChanges(const CommandLine& command, Engine& engine, platform::System& system,
                   platform::Console& console);

}  // namespace quellspur
