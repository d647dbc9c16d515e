// Deleting the registry value that starts a backdoor at log-on.
#pragma once

#include "clean/activity_log.h"
#include "clean/change_record.h"
#include "platform/os.h"
#include "scan/finding.h"

namespace quellspur {

// Deletes the start entry's value, if it still starts the executable that was found, after
// recording it whole, and logs the deletion. True when the value is gone: deleted now, or already
// missing with its key or without it; false when it is still there, now starting something else,
// unreadable or unrecorded.
bool RemoveRegistryStart(platform::Os& os, ActivityLog& log, ChangeRecord& record,
                         const Finding& entry);

}  // namespace quellspur
