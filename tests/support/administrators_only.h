// The owner and access list Program Files passes on under Windows: administrators and SYSTEM may
// change what it holds, everyone may read and run it.
#pragma once

#include "platform/security.h"

namespace quellspur::testing {

inline platform::AccessList AdministratorsOnly() {
  constexpr std::uint32_t kDown = platform::kObjectInherit | platform::kContainerInherit;
  return {platform::kSidAdministrators,
          true,
          true,
          {{true, kDown, platform::kFileAllAccess, platform::kSidAdministrators},
           {true, kDown, platform::kFileAllAccess, platform::kSidSystem},
           {true, kDown, platform::kFileReadAndExecute, platform::kSidEveryone}}};
}

}  // namespace quellspur::testing
