// Deleting the registry value that starts a backdoor at log-on.
#pragma once

#include "clean/activity_log.h"
#include "platform/os.h"
#include "scan/finding.h"

namespace quellspur {

// Deletes the start entry's value and logs the attempt whenever its key could be opened.
void RemoveRegistryStart(platform::Os& os, ActivityLog& log, const Finding& entry);

}  // namespace quellspur
