#include "clean/registry_start_removal.h"

#include "platform/owners.h"

namespace quellspur {

void RemoveRegistryStart(platform::Os& os, ActivityLog& log, const Finding& entry) {
  platform::RegKey opened = 0;
  if (os.RegOpenKeyExA(entry.rootKey, entry.subKey, 0, platform::kKeyAllButDelete, opened) !=
      platform::kErrorSuccess) {
    return;
  }
  const platform::UniqueKey key(os, opened);
  os.RegDeleteValueA(key.get(), entry.valueName);
  const wchar_t* root = entry.rootKey == platform::kHkeyCurrentUser ? L"HKEY_CURRENT_USER\\"
                                                                    : L"HKEY_LOCAL_MACHINE\\";
  log.WriteLog(L"Removing start in registry: " + std::wstring(root) + entry.subKey + L"," +
               entry.valueName);
}

}  // namespace quellspur
