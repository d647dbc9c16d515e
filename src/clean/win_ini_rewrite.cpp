#include "clean/win_ini_rewrite.h"

#include <cstdint>
#include <vector>

#include "clean/file_replace.h"
#include "platform/text.h"

namespace quellspur {

void RewriteWinIni(platform::Os& os, ActivityLog& log, ChangeRecord& record,
                   const std::wstring& backdoorName, const std::wstring& windowsDir,
                   const std::wstring& filePath) {
  // An empty path would be found in every line and empty the file.
  if (filePath.empty()) {
    return;
  }
  const std::wstring winIni = windowsDir + L"win.ini";
  const std::wstring winBac = windowsDir + L"win.bac";
  os.SetFileAttributesW(winIni, platform::kAttributeArchive);
  // win.ini is read before the backup is touched: without it, the old backup stays as it was.
  std::vector<std::wstring> lines;
  if (!os.ReadTextLines(winIni, lines)) {
    return;
  }
  // A read-only backup would refuse to be replaced, and every later rewrite with it.
  os.SetFileAttributesW(winBac, platform::kAttributeArchive);
  if (!os.CopyFileW(winIni, winBac, false)) {
    return;
  }

  const std::wstring wanted = UpperCase(filePath);
  std::wstring kept;
  WinIniChange removed{winIni, {}};
  for (std::size_t index = 0; index < lines.size(); ++index) {
    if (UpperCase(lines[index]).find(wanted) != std::wstring::npos) {
      removed.lines.push_back({static_cast<std::uint32_t>(index + 1), lines[index]});
    } else {
      kept += lines[index] + L"\r\n";
    }
  }

  if ((!removed.lines.empty() && !record.Append({0, {}, backdoorName, removed})) ||
      !ReplaceFileContent(os, windowsDir, winIni, os.WideToAnsi(kept))) {
    return;
  }
  for (const RemovedLine& line : removed.lines) {
    log.WriteLog(L"Removing start: " + line.text + L" in win.ini");
  }
}

}  // namespace quellspur
