// The quarantine: a backdoor's file is copied into "BackDoors" beside the program under a name
// that no longer starts or loads and that no other file there has, then removed from its place.
// The change record names every copy before it is made.
#pragma once

#include <string>
#include <string_view>

#include "clean/activity_log.h"
#include "clean/change_record.h"
#include "platform/os.h"

namespace quellspur {

// What the name of every copy in quarantine ends with, in any case.
inline constexpr std::wstring_view kQuarantineEnding = L".Backdoor";
bool HasQuarantineEnding(std::wstring_view name);

// The name `inFile` gets in quarantine when it is the `number`th of its file name: the file name
// and ".Backdoor" for the first, "SERVER.EXE.2.Backdoor" for the second, and so on.
std::wstring QuarantineName(const std::wstring& inFile, unsigned number);

// Moves one file into quarantine under the first of its names where no file stands, records and
// logs it. Only the file's own copy, left by a move whose delete failed, is taken again: the
// record's latest entry for that copy names the same original, is not restored, and the copy
// still holds the file's bytes; that entry stands for this move too. A file that can't be
// hashed, recorded, copied, unprotected and deleted stays where it is, unlogged.
void MoveFile(platform::Os& os, ActivityLog& log, ChangeRecord& record,
              const std::wstring& backdoorName, const std::wstring& inFile);

}  // namespace quellspur
