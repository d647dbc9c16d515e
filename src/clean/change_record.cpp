#include "clean/change_record.h"

#include <algorithm>
#include <optional>

#include "clean/clock_text.h"
#include "clean/quarantine_folder.h"
#include "platform/text.h"

namespace quellspur {

std::wstring ChangeRecord::Folder() const {
  return Joined({os_.GetProgramFolder(), L"\\BackDoors"});
}

std::wstring ChangeRecord::CopyPath(std::wstring_view copyName) const {
  return Joined({Folder(), L"\\", copyName});
}

std::wstring ChangeRecord::Path() const {
  return Joined({Folder(), L"\\Changes.txt"});
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

std::optional<std::wstring> ChangeRecord::TimeNow(RecordVersion version) {
  platform::LocalTime now;
  if (version == RecordVersion::One) {
    os_.GetLocalTime(now);
    return Joined({FormatDate(now), L" ", FormatTime(now, L":")});
  }
  // The zone is read on both sides of the clock: should daylight saving time begin or end in
  // between, the clock is read again, on the side of the later reading.
  platform::TimeZoneBias zone;
  const std::uint32_t zoneBefore = os_.GetTimeZoneInformation(zone);
  const std::int32_t aheadBefore = platform::MinutesAheadOfUtc(zoneBefore, zone);
  os_.GetLocalTime(now);
  const std::uint32_t zoneAfter = os_.GetTimeZoneInformation(zone);
  if (zoneBefore == platform::kTimeZoneIdInvalid || zoneAfter == platform::kTimeZoneIdInvalid) {
    return std::nullopt;
  }
  const std::int32_t ahead = platform::MinutesAheadOfUtc(zoneAfter, zone);
  if (ahead != aheadBefore) {
    os_.GetLocalTime(now);
  }
  return Joined({FormatDate(now), L" ", FormatTime(now, L":"), L" ", FormatUtcOffset(ahead)});
}

bool ChangeRecord::Append(const ChangeEntry& entry) {
  MakeQuarantineFolder(os_, Folder());  // most often it exists already
  const std::wstring path = Path();
  std::uint64_t length = 0;
  std::string lineEnd;
  RecordVersion version = RecordVersion::Two;
  if (!os_.GetFileLength(path, length)) {
    if (!platform::NotFound(os_.GetLastError())) {
      return false;  // there, but it can't be looked at: it must not get a second beginning
    }
    length = 0;
  }
  if (length == 0) {
    if (!os_.AppendToFile(path, std::string(kChangeRecordVersion) + "\r\n")) {
      return false;
    }
  } else {
    // The version line tells the form of its lines; the last two bytes whether a line was cut off
    // by a crash: it is ended so that this entry gets a line, and an id, of its own.
    std::string start;
    std::string last;
    if (!os_.ReadFileAt(path, 0, kChangeRecordVersion.size() + 2, start) ||
        !os_.ReadFileAt(path, length - std::min<std::uint64_t>(length, 2), 2, last)) {
      return false;
    }
    version = RecordVersionOf(start);
    if (last != "\r\n") {
      lineEnd = kCutLineEnd;
    }
  }
  const std::optional<std::wstring> time = TimeNow(version);
  if (!time) {
    return false;
  }
  ChangeEntry stamped = entry;
  stamped.time = *time;
  return os_.AppendToFile(path, lineEnd + FormatRecordLine(stamped, version));
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
