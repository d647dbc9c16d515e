// Putting back what a clean-up changed, from its record: a quarantined file to its place, a start
// value with its type and data in its registry view, win.ini's lines where they stood. A restore
// acts only on what a clean-up can have made (restore_checks.h), never overwrites anything, and
// never removes a quarantine copy before the file stands whole at its place again. A file comes
// back under a temporary name beside its place and takes its name only once whole, so that a
// restore killed midway leaves no partial file where the file belongs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "clean/activity_log.h"
#include "clean/change_record.h"
#include "clean/restore_checks.h"
#include "platform/os.h"

namespace quellspur {

enum class RestoreOutcome {
  Restored,
  AlreadyInPlace,  // what the change took away stands there as recorded: nothing to do
  Refused,  // something else stands there, the copy is missing or altered, or the entry is none a
            // clean-up can have made
  Failed,   // a call failed; nothing was overwritten
};

struct RestoreResult {
  RestoreOutcome outcome = RestoreOutcome::Failed;
  std::wstring message;  // what was done, or why not, for the user
};

enum class QuarantineState {
  Quarantined,  // a file's copy is in the quarantine folder
  Removed,      // a start value or win.ini lines, taken away
  Restored,     // put back since
  NoCopy,       // a recorded file whose copy is gone
  Unrecorded,   // a copy that no record names
  Refused,      // an entry that no clean-up can have made: it is never acted on
};

// The state as both programs name it: "quarantined", "removed", "restored", "no copy",
// "unrecorded", "refused".
std::wstring StateName(QuarantineState state);

// One thing in the quarantine: a recorded change, or a copy in the folder that no record names
// (made by an earlier version).
struct QuarantineItem {
  std::optional<ChangeEntry> entry;
  std::wstring unrecordedCopy;  // its file name, when there is no entry
  QuarantineState state = QuarantineState::Unrecorded;
  std::wstring refusal;  // why, when refused
};

struct QuarantineList {
  std::vector<QuarantineItem> items;  // the record's order, then the unrecorded copies by name
  std::vector<DamagedLine> damaged;
};

class Restore {
 public:
  Restore(platform::Os& os, ActivityLog& log, ChangeRecord& record)
      : os_(os), log_(log), record_(record) {}

  QuarantineList List(const RestorePlaces& places);
  // Puts back the change of one entry (a file, registry or win.ini one). What stands in place as
  // recorded counts as back: it gets its restored mark, and a file its whole copy removed.
  RestoreResult Entry(const ChangeEntry& entry, const RestorePlaces& places);
  // Puts an unrecorded copy back to a place the user names.
  RestoreResult UnrecordedCopy(const std::wstring& copyName, const std::wstring& target);

  // The name a file has beside its place while it comes back, until it is whole: recognised, and
  // removed, by the next restore of the file when a restore was killed.
  static std::wstring TemporaryName(const std::wstring& target);

 private:
  RestoreResult File(const FileChange& change);
  RestoreResult Registry(const RegistryChange& change);
  RestoreResult WinIni(const WinIniChange& change);
  // Copies the quarantine copy, which must hold `sha256`, to its temporary name beside `target`
  // (which must be free), checks that it arrived whole, and only then gives it the name `target`,
  // which must be free too. The copy stays.
  RestoreResult PlaceCopy(const std::wstring& copyPath, const std::string& sha256,
                          const std::wstring& target);
  // Removes a file of ours, read-only or not, when it is there.
  void RemoveOwnFile(const std::wstring& path);
  // Appends the entry's restored mark.
  void Mark(const ChangeEntry& entry);

  platform::Os& os_;
  ActivityLog& log_;
  ChangeRecord& record_;
};

}  // namespace quellspur
