// Putting back what a clean-up changed, from its record: a quarantined file to its place, a start
// value with its type and data in its registry view, win.ini's lines where they stood. A restore
// never overwrites anything, and never removes a quarantine copy before the file stands whole at
// its place again.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "clean/activity_log.h"
#include "clean/change_record.h"
#include "platform/os.h"

namespace quellspur {

enum class RestoreOutcome {
  Restored,
  AlreadyInPlace,  // what the change took away stands there as recorded: nothing to do
  Refused,         // something else stands there, or the copy is missing or altered
  Failed,          // a call failed; nothing was overwritten
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
};

// One thing in the quarantine: a recorded change, or a copy in the folder that no record names
// (made by an earlier version).
struct QuarantineItem {
  std::optional<ChangeEntry> entry;
  std::wstring unrecordedCopy;  // its file name, when there is no entry
  QuarantineState state = QuarantineState::Unrecorded;
};

struct QuarantineList {
  std::vector<QuarantineItem> items;  // the record's order, then the unrecorded copies by name
  std::vector<DamagedLine> damaged;
};

class Restore {
 public:
  Restore(platform::Os& os, ActivityLog& log, ChangeRecord& record)
      : os_(os), log_(log), record_(record) {}

  QuarantineList List();
  // Puts back the change of one entry (a file, registry or win.ini one).
  RestoreResult Entry(const ChangeEntry& entry);
  // Puts an unrecorded copy back to a place the user names.
  RestoreResult UnrecordedCopy(const std::wstring& copyName, const std::wstring& target);

 private:
  RestoreResult File(const ChangeEntry& entry, const FileChange& change);
  RestoreResult Registry(const ChangeEntry& entry, const RegistryChange& change);
  RestoreResult WinIni(const ChangeEntry& entry, const WinIniChange& change);
  // Copies the quarantine copy to `target`, which must not exist, checks that it arrived whole,
  // and only then, once `afterCopy` agrees, removes the copy.
  RestoreResult CopyBack(const std::wstring& copyPath, const std::string& sha256,
                         const std::wstring& target, const std::function<bool()>& afterCopy);

  platform::Os& os_;
  ActivityLog& log_;
  ChangeRecord& record_;
};

}  // namespace quellspur
