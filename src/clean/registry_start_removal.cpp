#include "clean/registry_start_removal.h"

#include "platform/owners.h"

namespace quellspur {

void RemoveRegistryStart(platform::Os& os, ActivityLog& log, const FoundEntry& entry) {
  platform::RegKey opened = 0;
  if (os.RegOpenKeyExA(entry.RootKey, entry.SubKey, 0, platform::kKeyAllButDelete, opened) !=
      platform::kErrorSuccess) {
    return;
  }
  const platform::UniqueKey key(os, opened);
  os.RegDeleteValueA(key.get(), entry.ValueName);
  const wchar_t* root = entry.RootKey == platform::kHkeyCurrentUser ? L"HKEY_CURRENT_USER\\"
                                                                    : L"HKEY_LOCAL_MACHINE\\";
  log.WriteLog(L"Removing start in registry: " + std::wstring(root) + entry.SubKey + L"," +
               entry.ValueName);
}

}  // namespace quellspur
