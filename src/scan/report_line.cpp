#include "scan/report_line.h"

#include "platform/text.h"
#include "platform/types.h"

namespace quellspur {

std::wstring RootKeyName(std::uint32_t rootKey) {
  return rootKey == platform::kHkeyCurrentUser ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";
}

std::wstring RegistryViewName(std::uint32_t view) {
  if (view == platform::kKeyWow64_64Key) {
    return L"64-bit";
  }
  return view == platform::kKeyWow64_32Key ? L"32-bit" : L"";
}

std::wstring ReportLine(const Finding& entry) {
  std::wstring line = Joined({entry.backdoorName, L" Found as: ", entry.filePath});
  if (entry.processId != 0) {
    line.append(L" Activ now, started by: ").append(FileNamePart(entry.parentPath));
  }
  if (entry.rootKey != 0) {
    line.append(L" Start entry in: ").append(RootKeyName(entry.rootKey)).append(L" ");
    line.append(FileNamePart(entry.subKey)).append(L"/").append(entry.valueName);
  }
  return line;
}

}  // namespace quellspur
