// Taking a backdoor's start line out of win.ini, keeping the old file as win.bac.
#pragma once

#include <string>

#include "clean/activity_log.h"
#include "clean/change_record.h"
#include "platform/os.h"

namespace quellspur {

// Drops every line of win.ini but section headers that holds `filePath` (compared in upper case),
// records the dropped lines with their line numbers, sections and neighbours, and logs each. The
// new file, in the old one's encoding, is written beside it and replaces it in one step, once the
// record holds the lines and win.ini is found unchanged since it was read. True when win.ini holds
// no such line any more (or never did); false when it still does: then, whichever step failed or
// found win.ini not valid in its encoding, win.ini and win.bac keep their content and nothing is
// logged.
bool RewriteWinIni(platform::Os& os, ActivityLog& log, ChangeRecord& record,
                   const std::wstring& backdoorName, const std::wstring& windowsDir,
                   const std::wstring& filePath);

}  // namespace quellspur
