// Reading, writing and deleting one registry value as text; each call opens and closes its key.
// They never fail loudly: a failure shows only in the result.
#pragma once

#include <string>

#include "platform/os.h"

namespace quellspur {

// A REG_SZ value's text or a REG_DWORD value's unsigned digits into `text`; true when the key
// opened and the value was read. A failed read leaves "" in `text`, a value of any other type
// leaves `text` as it was.
bool GetRegValue(platform::Os& os, platform::RegKey root, const std::wstring& subKey,
                 const std::wstring& valueName, std::wstring& text);

// Stores `text` as a REG_SZ value, creating the key when it is missing.
void SetRegValue(platform::Os& os, platform::RegKey root, const std::wstring& subKey,
                 const std::wstring& valueName, const std::wstring& text);

// True when the key opened, so that the deletion was attempted.
bool DeleteRegValue(platform::Os& os, platform::RegKey root, const std::wstring& subKey,
                    const std::wstring& valueName);

}  // namespace quellspur
