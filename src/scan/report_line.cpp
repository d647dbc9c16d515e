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
  std::wstring line = entry.backdoorName + L" Found as: " + entry.filePath;
  if (entry.processId != 0) {
    line += L" Activ now, started by: " + FileNameOf(entry.parentPath);
  }
  if (entry.rootKey != 0) {
    line += L" Start entry in: ";
    line += RootKeyName(entry.rootKey) + L" ";
    line += FileNameOf(entry.subKey) + L"/" + entry.valueName;
  }
  return line;
}

}  // namespace quellspur
