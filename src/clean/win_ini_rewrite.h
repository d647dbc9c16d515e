// Taking a backdoor's start line out of win.ini, keeping the old file as win.bac.
#pragma once

#include <string>

#include "clean/activity_log.h"
#include "clean/change_record.h"
#include "platform/os.h"

namespace quellspur {

// Drops every line of win.ini that holds `filePath` (compared in upper case), records the dropped
// lines with their line numbers and logs each. The new file is written beside it and replaces it
// in one step, once the record holds the lines; when any step fails, win.ini keeps its old
// content and nothing is logged.
void RewriteWinIni(platform::Os& os, ActivityLog& log, ChangeRecord& record,
                   const std::wstring& backdoorName, const std::wstring& windowsDir,
                   const std::wstring& filePath);

}  // namespace quellspur
