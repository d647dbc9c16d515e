// The quarantine: a backdoor's file is copied into "BackDoors" beside the program under a name
// that no longer starts or loads, then removed from its place.
#pragma once

#include <string>

#include "clean/activity_log.h"
#include "platform/os.h"

namespace quellspur {

// Where `inFile` goes: the program's folder, "\BackDoors\", its file name and ".Backdoor".
std::wstring QuarantinePath(platform::Os& os, const std::wstring& inFile);

// Moves one file into quarantine and logs it; a file that can't be copied, unprotected and
// deleted stays where it is, unlogged.
void MoveFile(platform::Os& os, ActivityLog& log, const std::wstring& inFile);

}  // namespace quellspur
