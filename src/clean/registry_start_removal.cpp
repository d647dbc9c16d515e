#include "clean/registry_start_removal.h"

#include "platform/owners.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "scan/report_line.h"
#include "scan/start_command.h"

namespace quellspur {
namespace {

// Reads the value whole, through a buffer that grows as the scan's does.
platform::Status ReadWholeValue(platform::Os& os, platform::RegKey key, const std::wstring& name,
                                std::uint32_t& type, std::string& data) {
  return ReadGrowing([&](std::uint32_t dataBytes, bool) {
    return os.RegQueryValueExW(key, name, dataBytes, type, data);
  });
}

}  // namespace

bool RemoveRegistryStart(platform::Os& os, ActivityLog& log, ChangeRecord& record,
                         const Finding& entry) {
  platform::RegKey opened = 0;
  const platform::Status open = os.RegOpenKeyExW(entry.rootKey, entry.subKey, 0,
                                                 platform::kKeyAllButDelete | entry.view, opened);
  if (open != platform::kErrorSuccess) {
    return open == platform::kErrorFileNotFound;
  }
  const platform::UniqueKey key(os, opened);
  // A second look, at the whole value as the scan saw it: it must still start the executable
  // that was found, and the record keeps every byte of it.
  std::uint32_t type = 0;
  std::string data;
  const platform::Status read = ReadWholeValue(os, key.get(), entry.valueName, type, data);
  if (read != platform::kErrorSuccess) {
    return read == platform::kErrorFileNotFound;
  }
  // An added signature's value may start its file by a quoted path.
  const std::wstring command = platform::ValueText(os, type, data);
  if (!(StartsExecutable(os, command, entry.filePath) ||
        (entry.addedSignature && StartsFile(os, command, entry.filePath))) ||
      !record.Append(
          {0,
           {},
           entry.backdoorName,
           RegistryChange{entry.rootKey, entry.view, entry.subKey, entry.valueName, type, data}})) {
    return false;
  }
  const platform::Status deleted = os.RegDeleteValueW(key.get(), entry.valueName);
  if (deleted != platform::kErrorSuccess) {
    // Only a removal that happened goes into the log.
    return deleted == platform::kErrorFileNotFound;
  }
  log.WriteLog(Joined({L"Removing start in registry: ", RootKeyName(entry.rootKey), L"\\",
                       entry.subKey, L",", entry.valueName}));
  return true;
}

}  // namespace quellspur
