#include "clean/file_quarantine.h"

#include <algorithm>

#include "platform/text.h"

namespace quellspur {

std::wstring QuarantinePath(platform::Os& os, const std::wstring& inFile) {
  std::wstring name = FileNameOf(inFile);
  // A path Windows did not produce may hold these; they would lead out of the folder.
  std::replace_if(
      name.begin(), name.end(), [](wchar_t c) { return c == L'/' || c == L':'; }, L'_');
  return os.GetProgramFolder() + L"\\BackDoors\\" + name + L".Backdoor";
}

void MoveFile(platform::Os& os, ActivityLog& log, const std::wstring& inFile) {
  const std::wstring target = QuarantinePath(os, inFile);
  os.CreateDirectoryW(os.GetProgramFolder() + L"\\BackDoors");  // most often it exists already
  // On Windows an earlier copy of a read-only file is read-only too and would refuse to be
  // replaced.
  os.SetFileAttributesW(target, platform::kAttributeArchive);
  if (!os.CopyFileW(inFile, target, false) ||
      !os.SetFileAttributesW(inFile, platform::kAttributeArchive) || !os.DeleteFileW(inFile)) {
    return;
  }
  log.WriteLog(L"Moving: " + inFile + L" to: " + target);
}

}  // namespace quellspur
