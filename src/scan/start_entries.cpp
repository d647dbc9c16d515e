// Start-entry discovery: the values of the start-up keys that start a hit's executable.
#include "platform/same_name.h"
#include "scan/scanner.h"
#include "scan/start_command.h"

namespace quellspur {

bool Scanner::FindStartEntries(const std::wstring& backdoorName, const std::wstring& path) {
  if (!NamesAFile(path)) {
    return false;  // an unreadable path would match every value that names no file
  }
  const std::wstring_view wanted = ComparableFileName(path);
  bool found = false;
  for (const StartKey& key : StartKeys()) {
    for (const StartValue& value : key.values) {
      if (platform::SameName(os_, key.Text(value.startedFile), wanted)) {
        Finding& finding = findings_.emplace_back();
        finding.backdoorName = backdoorName;
        finding.filePath = path;
        finding.rootKey = static_cast<std::uint32_t>(key.root);
        finding.subKey = key.subKey;
        finding.valueName = key.Text(value.name);
        finding.view = key.view;
        found = true;
      }
    }
  }
  return found;
}

}  // namespace quellspur
