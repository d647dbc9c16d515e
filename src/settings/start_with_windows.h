// Whether this copy of the program may start with Windows. The Run value starts it at every
// user's log-on, administrators' included: whoever may change the program or its folder could
// put their own program there and have it started in every session.
#pragma once

#include <optional>
#include <string>

#include "platform/security.h"

namespace quellspur {

// Why the program `fileName` in the folder must not be written into the machine's Run value, in
// words that say how to put it right; nothing when it may be. On Windows of the NT family, the
// folder and the program must be changeable by administrators and SYSTEM alone; Windows 95/98,
// which keeps no access lists (`accessLists` false), refuses nobody.
std::optional<std::wstring> WhyNotStartWithWindows(platform::Security& security,
                                                   const std::wstring& folder,
                                                   const std::wstring& fileName, bool accessLists);

}  // namespace quellspur
