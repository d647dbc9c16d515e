#include "app/report_line.h"

#include "platform/types.h"
#include "scan/path_text.h"

namespace quellspur {

std::wstring ReportLine(const FoundEntry& entry) {
  std::wstring line = entry.BackdoorName + L" Found as: " + entry.FilePath;
  if (entry.ProcessId != 0) {
    line += L" Activ now, started by: " + FileNameOf(entry.ParentPath);
  }
  if (entry.RootKey != 0) {
    line += L" Start entry in: ";
    line += entry.RootKey == platform::kHkeyCurrentUser ? L"HKEY_CURRENT_USER "
                                                        : L"HKEY_LOCAL_MACHINE ";
    line += FileNameOf(entry.SubKey) + L"/" + entry.ValueName;
  }
  return line;
}

}  // namespace quellspur
