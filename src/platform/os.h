// Everything the program asks of the operating system, one function per Windows call.
#pragma once

#include "platform/files.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/security.h"
#include "platform/system.h"
#include "platform/windows.h"

namespace quellspur::platform {

class Os : public Processes,
           public Registry,
           public Files,
           public System,
           public Security,
           public Windows {};

}  // namespace quellspur::platform
