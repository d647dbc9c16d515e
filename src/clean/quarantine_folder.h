// The quarantine folder, made so that its copies and change record stay the administrators' own.
#pragma once

#include <string>

#include "platform/os.h"

namespace quellspur {

// Makes the folder when it is missing. On Windows of the NT family, run elevated, it gets an
// access list of its own, inherited by what it holds: only Administrators and SYSTEM may change
// them, everyone else may read. Otherwise (Windows 95/98 has no access lists, and a program without
// the administrators' rights can't give the folder to them) the list of the folder it is made in.
// Whether it is there shows at its first use.
void MakeQuarantineFolder(platform::Os& os, const std::wstring& folder);

}  // namespace quellspur
