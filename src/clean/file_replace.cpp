#include "clean/file_replace.h"

namespace quellspur {

bool ReplaceFileContent(platform::Os& os, const std::wstring& folder, const std::wstring& path,
                        const std::string& bytes) {
  std::wstring temporary;
  if (!os.GetTempFileNameW(folder, L"ini", temporary)) {
    return false;
  }
  if (!os.WriteWholeFile(temporary, bytes) || !os.MoveFileExW(temporary, path)) {
    os.DeleteFileW(temporary);
    return false;
  }
  return true;
}

}  // namespace quellspur
