#include "clean/registry_start_removal.h"

#include "platform/owners.h"
#include "platform/registry.h"
#include "scan/start_command.h"

namespace quellspur {

bool RemoveRegistryStart(platform::Os& os, ActivityLog& log, const Finding& entry) {
  platform::RegKey opened = 0;
  const platform::Status open = os.RegOpenKeyExW(entry.rootKey, entry.subKey, 0,
                                                 platform::kKeyAllButDelete | entry.view, opened);
  if (open != platform::kErrorSuccess) {
    return open == platform::kErrorFileNotFound;
  }
  const platform::UniqueKey key(os, opened);
  // A second look: the value must still start the executable that was found.
  std::uint32_t type = 0;
  std::string data;
  const platform::Status read =
      os.RegQueryValueExW(key.get(), entry.valueName, kStartDataBytes, type, data);
  if (read != platform::kErrorSuccess) {
    return read == platform::kErrorFileNotFound;
  }
  if (!StartsExecutable(platform::ValueText(os, type, data), entry.filePath)) {
    return false;
  }
  const platform::Status deleted = os.RegDeleteValueW(key.get(), entry.valueName);
  if (deleted != platform::kErrorSuccess) {
    // Only a removal that happened goes into the log.
    return deleted == platform::kErrorFileNotFound;
  }
  const wchar_t* root = entry.rootKey == platform::kHkeyCurrentUser ? L"HKEY_CURRENT_USER\\"
                                                                    : L"HKEY_LOCAL_MACHINE\\";
  log.WriteLog(L"Removing start in registry: " + std::wstring(root) + entry.subKey + L"," +
               entry.valueName);
  return true;
}

}  // namespace quellspur
