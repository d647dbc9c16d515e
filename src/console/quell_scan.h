// QuellScan, the console program: the main window's scan and Auto Clean for scripts, with exit
// codes and output that other programs read.
#pragma once

#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/message_pump.h"
#include "platform/os.h"

namespace quellspur {

inline constexpr int kExitNothingFound = 0;  // with --clean: every finding dealt with
inline constexpr int kExitFound = 1;         // with --clean: something remains
inline constexpr int kExitError = 2;         // wrong arguments, or the scan could not run

// Runs the command the arguments (those after the program's name) give; returns the exit code.
int RunQuellScan(const std::vector<std::wstring>& args, platform::Os& os,
                 platform::MessagePump& pump, platform::Console& console);

}  // namespace quellspur
