// "&Clean up": acts on the selected result line. A running backdoor is terminated and checked to
// be gone, a start entry is deleted; its files go into quarantine when the user wants that, and
// the line is marked with what was done.
#pragma once

#include <cstddef>
#include <string>

#include "app/frm_stat.h"
#include "clean/activity_log.h"
#include "platform/message_pump.h"
#include "platform/os.h"
#include "platform/widgets.h"
#include "scan/backdoors.h"
#include "settings/settings.h"

namespace quellspur {

inline const std::wstring kTerminatedPrefix = L"IT\u00B4S TERMINATED!  ";
inline const std::wstring kErasedPrefix = L"IT\u00B4S ERASED!  ";

struct CleanUpWidgets {
  platform::Window& form;
  platform::ListBox& List;
  platform::Button& cmdKill;
};

class CleanUp : public CleanUpCommand {
 public:
  CleanUp(CleanUpWidgets widgets, Backdoors& backdoors, Settings& settings, ActivityLog& log,
          platform::Os& os, platform::MessagePump& pump, const std::wstring& windowsDir)
      : widgets_(widgets),
        backdoors_(backdoors),
        settings_(settings),
        log_(log),
        os_(os),
        pump_(pump),
        windowsDir_(windowsDir) {}

  void Run() override;

 private:
  void Terminate(int line, std::size_t row);
  void RemoveStart(int line, std::size_t row);
  // Whether the process that had this id is gone; `process` is a handle to it opened before the
  // termination, or 0 when it could not be opened.
  bool Gone(platform::Handle process, std::uint32_t processId);
  void MoveFiles(const FoundEntry& entry);
  // Marks the line with its result in place, and the row as dealt with.
  void MarkDone(int line, std::size_t row, const std::wstring& prefix);

  CleanUpWidgets widgets_;
  Backdoors& backdoors_;
  Settings& settings_;
  ActivityLog& log_;
  platform::Os& os_;
  platform::MessagePump& pump_;
  const std::wstring& windowsDir_;
};

}  // namespace quellspur
