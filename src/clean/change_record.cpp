#include "clean/change_record.h"

#include <algorithm>

#include "clean/clock_text.h"
#include "clean/quarantine_folder.h"

namespace quellspur {

std::wstring ChangeRecord::Folder() const {
  return os_.GetProgramFolder() + L"\\BackDoors";
}

std::wstring ChangeRecord::Path() const {
  return Folder() + L"\\Changes.txt";
}

std::set<std::uint64_t> RestoredIds(const ParsedRecord& record) {
  std::set<std::uint64_t> restored;
  for (const ChangeEntry& entry : record.entries) {
    if (const auto* mark = std::get_if<Restored>(&entry.change)) {
      restored.insert(mark->id);
    }
  }
  return restored;
}

bool ChangeRecord::Append(const ChangeEntry& entry) {
  MakeQuarantineFolder(os_, Folder());  // most often it exists already
  const std::wstring path = Path();
  std::uint64_t length = 0;
  std::string lineEnd;
  if (!os_.GetFileLength(path, length) || length == 0) {
    if (!os_.AppendToFile(path, std::string(kChangeRecordVersion) + "\r\n")) {
      return false;
    }
  } else if (std::string last;
             os_.ReadFileAt(path, length - std::min<std::uint64_t>(length, 2), 2, last) &&
             last != "\r\n") {
    // A line cut off by a crash is ended, so that this entry gets a line, and an id, of its own.
    lineEnd = "\r\n";
  }
  platform::LocalTime now;
  os_.GetLocalTime(now);
  ChangeEntry stamped = entry;
  stamped.time = FormatDate(now) + L" " + FormatTime(now, L":");
  return os_.AppendToFile(path, lineEnd + FormatRecordLine(stamped));
}

ParsedRecord ChangeRecord::Read() {
  const std::wstring path = Path();
  const ParsedRecord unreadable{{}, {{0, L"the record could not be read"}}};
  std::uint64_t length = 0;
  if (!os_.GetFileLength(path, length)) {
    // No record yet; but one that is there and can't be looked at is no empty one.
    return platform::NotFound(os_.GetLastError()) ? ParsedRecord{} : unreadable;
  }
  std::string bytes;
  if (length > 0x7FFFFFFF || !os_.ReadFileAt(path, 0, static_cast<std::uint32_t>(length), bytes)) {
    return unreadable;
  }
  return ParseRecord(bytes);
}

}  // namespace quellspur
