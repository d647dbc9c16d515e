// Putting win.ini's lines back into the sections a clean-up took them out of.
#include "clean/file_replace.h"
#include "clean/restore.h"
#include "clean/win_ini_placement.h"
#include "clean/win_ini_text.h"
#include "platform/text.h"

namespace quellspur {

RestoreResult Restore::WinIni(const WinIniChange& change) {
  const std::wstring& path = change.winIniPath;
  std::string oldBytes;
  IniText text;
  switch (ReadIniText(os_, path, oldBytes, text)) {
    case IniRead::Read:
      break;
    case IniRead::Missing:
      return {RestoreOutcome::Refused,
              Joined({path, L" is missing: its lines have no section to go into"})};
    case IniRead::Unreadable:
      return {RestoreOutcome::Failed, Joined({path, L" could not be read"})};
    case IniRead::NotInItsEncoding:
      return {RestoreOutcome::Refused,
              Joined({path, L" holds bytes that are not valid in its encoding"})};
  }
  const PutBack putBack = PutLinesBack(text, change.lines);
  if (!putBack.refusal.empty()) {
    return {RestoreOutcome::Refused, putBack.refusal};
  }
  if (putBack.added.empty()) {
    return {RestoreOutcome::AlreadyInPlace, Joined({L"the lines are in their sections of ", path})};
  }
  const std::optional<std::string> newBytes = EncodeIniText(os_, text);
  if (!newBytes) {
    return {RestoreOutcome::Refused,
            Joined({L"its lines can't be written in the encoding of ", path})};
  }
  // Whatever changed win.ini since it was read would be lost.
  std::string nowBytes;
  if (!ReadWholeFile(os_, path, nowBytes) || nowBytes != oldBytes) {
    return {RestoreOutcome::Failed, Joined({path, L" changed while its lines were put back"})};
  }
  const std::wstring folder = path.substr(0, path.size() - FileNameOf(path).size());
  if (!ReplaceFileContent(os_, folder, path, *newBytes)) {
    return {RestoreOutcome::Failed, Joined({path, L" could not be written"})};
  }
  for (std::size_t index : putBack.added) {
    log_.WriteLog(Joined({L"Restoring: ", change.lines[index].text, L" in win.ini"}));
  }
  return {RestoreOutcome::Restored,
          Joined({L"restored ", DecimalText(putBack.added.size()), L" line(s) of ", path})};
}

}  // namespace quellspur
