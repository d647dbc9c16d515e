#include "scan/report_line.h"

#include "platform/text.h"
#include "platform/types.h"

namespace quellspur {

std::wstring ReportLine(const Finding& entry) {
  std::wstring line = entry.backdoorName + L" Found as: " + entry.filePath;
  if (entry.processId != 0) {
    line += L" Activ now, started by: " + FileNameOf(entry.parentPath);
  }
  if (entry.rootKey != 0) {
    line += L" Start entry in: ";
    line += entry.rootKey == platform::kHkeyCurrentUser ? L"HKEY_CURRENT_USER "
                                                        : L"HKEY_LOCAL_MACHINE ";
    line += FileNameOf(entry.subKey) + L"/" + entry.valueName;
  }
  return line;
}

}  // namespace quellspur
