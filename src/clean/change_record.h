// The change record: "Changes.txt" in the quarantine folder, a line for every change the clean-up
// makes, written before the change, so that each one can be put back. The file is only ever
// appended to, so an entry's line number never changes: it is the entry's id.
//
// UTF-8, CR LF line ends. The first line is "Quellspur change record 2"; every other line is an
// entry, its fields separated by TAB, the first two its local time with its lead over UTC
// ("yyyy-mm-dd hh:mm:ss +hh:mm") and kind, the third the backdoor's name, the last a checksum of
// the line's text before it (the first 16 hex digits of its SHA-256), so that a line cut by a
// crash or altered by hand stays damaged whatever follows it:
//   <time> file <backdoor> <original path> <copy's file name> <size> <sha256> <checksum>
//   <time> registry <backdoor> <root> <view> <key> <value name> <type> <data as hex> <checksum>
//   <time> win.ini <backdoor> <win.ini path> <line>... <checksum>
//       where each <line> is <line number> <section> <line before> <line after> <line text>
//   <time> restored <backdoor> <id> <checksum>
// A win.ini line keeps its section's header line as it stood ("[windows]"; empty before the first
// section) and the nearest kept lines before and after it, "\-" where there is none (the file's
// start or end). Text fields hold "\\", "\t", "\r", "\n" for backslash, TAB, CR and LF, "\xNN" for
// the other control characters and "\uXXXX" for a lone surrogate. The root is HKEY_LOCAL_MACHINE
// or HKEY_CURRENT_USER; the view 64, 32 or "-" for none; numbers are decimal, hex lower-case.
//
// Records begun before, "Quellspur change record 1", are still read, and lines appended to them
// keep that version's form, so that the file is never rewritten: no checksum, the time without
// its offset, a win.ini line as <line number> <line text> alone. A line left without its CR LF is
// ended with a CAN character before the next entry's line, so that it never reads as an entry.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/os.h"

namespace quellspur {

// The first line of the records this version begins, without its CR LF, and of older ones.
inline constexpr std::string_view kChangeRecordVersion = "Quellspur change record 2";
inline constexpr std::string_view kChangeRecordVersion1 = "Quellspur change record 1";

enum class RecordVersion { One, Two };
// The version of a record that begins with these bytes: 2 unless its first line names 1.
RecordVersion RecordVersionOf(std::string_view start);
// What ends a line left without its CR LF (cut off by a crash) before the next entry's line: a
// CAN character marks it as cut in either version.
inline constexpr std::string_view kCutLineEnd = "\x18\r\n";

// A file moved into quarantine, as it was when it left.
struct FileChange {
  std::wstring originalPath;
  std::wstring copyName;  // the copy's file name in the quarantine folder
  std::uint64_t size = 0;
  std::string sha256;  // 64 lower-case hex digits
  bool operator==(const FileChange&) const = default;
};

// A registry value deleted, with its exact type and bytes.
struct RegistryChange {
  std::uint32_t rootKey = 0;  // kHkeyLocalMachine or kHkeyCurrentUser
  std::uint32_t view = 0;     // kKeyWow64_64Key, kKeyWow64_32Key or 0
  std::wstring subKey;
  std::wstring valueName;
  std::uint32_t type = 0;
  std::string data;
  bool operator==(const RegistryChange&) const = default;
};

struct RemovedLine {
  // 1-based, in win.ini as it was before the rewrite, each line ending at CR LF, CR or LF.
  std::uint32_t lineNumber = 0;
  std::wstring text;
  // The header line of its section as it stood ("[windows]"), empty before the first section;
  // none in a version-1 entry, which did not keep it.
  std::optional<std::wstring> section;
  // The nearest kept lines before and after it; none at the file's start or end, and in a
  // version-1 entry.
  std::optional<std::wstring> before;
  std::optional<std::wstring> after;
  bool operator==(const RemovedLine&) const = default;
};

// Lines taken out of win.ini, in ascending order; at least one.
struct WinIniChange {
  std::wstring winIniPath;
  std::vector<RemovedLine> lines;
  bool operator==(const WinIniChange&) const = default;
};

// The change of entry `id` was put back.
struct Restored {
  std::uint64_t id = 0;
  bool operator==(const Restored&) const = default;
};

struct ChangeEntry {
  std::uint64_t id = 0;  // its line number; never written
  std::wstring time;     // with its lead over UTC in version 2
  std::wstring backdoorName;
  std::variant<FileChange, RegistryChange, WinIniChange, Restored> change;
  bool operator==(const ChangeEntry&) const = default;
};

struct DamagedLine {
  std::uint64_t lineNumber = 0;  // 0: the record could not be read at all
  std::wstring reason;
};

struct ParsedRecord {
  std::vector<ChangeEntry> entries;
  std::vector<DamagedLine> damaged;
};

// The ids of the entries a later "restored" line names.
std::set<std::uint64_t> RestoredIds(const ParsedRecord& record);

// One record line (with its CR LF) for the entry in the given version's form; id is not written.
std::string FormatRecordLine(const ChangeEntry& entry, RecordVersion version = RecordVersion::Two);

// Every entry of a record file's bytes, ids set from line numbers, by the rules of the version its
// first line names. A line that is cut (no CR LF at the end of the file, or ended by a CAN), whose
// checksum does not match, not valid UTF-8, of an unknown kind, with the wrong number of fields, a
// bad number, hex or escape, is reported with its line number and skipped; a missing or unknown
// version line is one damaged line 1, and the rest is read as version 2. Never throws on any
// input.
ParsedRecord ParseRecord(std::string_view bytes);

class ChangeRecord {
 public:
  explicit ChangeRecord(platform::Os& os) : os_(os) {}

  // "<program folder>\BackDoors\Changes.txt".
  std::wstring Path() const;
  // "<program folder>\BackDoors", the quarantine folder.
  std::wstring Folder() const;
  // Where the quarantine copy of that name lies: in the quarantine folder.
  std::wstring CopyPath(std::wstring_view copyName) const;

  // Appends the entry's line in the form of the record's version, stamped with the local time now
  // (the entry's own time is not used), in one write, after the version line when the file is
  // empty or missing. False when the line could not be written: then the change must not be
  // made.
  bool Append(const ChangeEntry& entry);
  // The record as it is on disk; no record yet is an empty one.
  ParsedRecord Read();

 private:
  // The local time now as the version's lines write it; none when the time zone can't be read.
  std::optional<std::wstring> TimeNow(RecordVersion version);

  platform::Os& os_;
};

}  // namespace quellspur
