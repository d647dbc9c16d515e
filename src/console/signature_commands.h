// QuellScan's signatures: the list of those in force, the check of a signature file, and the file
// a scan reads.
#pragma once

#include "console/command_line.h"
#include "engine/engine.h"
#include "platform/console.h"

namespace quellspur {

// Reads the file a scan uses, the one given or the program folder's, into the engine, writing
// each reason it is refused to the error stream. False when it was refused or, given, is missing:
// the scan then uses the built-in signatures alone and the run must end with 2.
bool LoadScanSignatures(const CommandLine& command, Engine& engine, platform::Console& console);

// `signatures --check FILE`: 0 when the file can be used, 2 with every reason when not.
// `signatures`: every signature in force and where it comes from; 2 when the file was refused.
int SignatureCommand(const CommandLine& command, Engine& engine, platform::Console& console);

}  // namespace quellspur
