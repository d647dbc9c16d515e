// Cleaning one finding, by what the finding holds: a running backdoor is terminated and checked to
// be gone, a start entry is deleted; its files go into quarantine when that is wanted. A cleaned
// finding holds neither process nor start entry any more, so it is never cleaned twice.
#pragma once

#include <string>

#include "clean/activity_log.h"
#include "clean/change_record.h"
#include "platform/message_pump.h"
#include "platform/os.h"
#include "scan/scanner.h"

namespace quellspur {

enum class CleanOutcome {
  NothingToDo,   // neither a process nor a start entry: none found, or cleaned before
  Terminated,    // the process is gone
  StartRemoved,  // the start entry is gone
  NotDone,  // the process or the start entry is still there, or the process is another program by
            // now (it may be tried again); or the process is gone but its start line stays in
            // win.ini
};

struct CleanOptions {
  bool moveFiles = false;
  std::wstring windowsFolder;  // with its trailing backslash, where win.ini lives
};

class CleanUp {
 public:
  CleanUp(Scanner& scanner, ActivityLog& log, ChangeRecord& record, platform::Os& os,
          platform::MessagePump& pump)
      : scanner_(scanner), log_(log), record_(record), os_(os), pump_(pump) {}

  CleanOutcome Clean(Finding& finding, const CleanOptions& options);

 private:
  CleanOutcome Terminate(Finding& finding, const CleanOptions& options);
  CleanOutcome RemoveStart(Finding& finding, const CleanOptions& options);
  // Whether the process that had this id is gone; `process` is a handle to it opened before the
  // termination, or 0 when it could not be opened.
  bool Gone(platform::Handle process, std::uint32_t processId);
  void MoveFiles(const Finding& finding);

  Scanner& scanner_;
  ActivityLog& log_;
  ChangeRecord& record_;
  platform::Os& os_;
  platform::MessagePump& pump_;
};

}  // namespace quellspur
