// The main window: the result list, the clean-up button and the automatic-scan timer, and the
// report that turns a scan's findings into list lines.
#pragma once

#include "clean/activity_log.h"
#include "platform/os.h"
#include "platform/widgets.h"
#include "scan/backdoors.h"
#include "scan/scan_driver.h"
#include "settings/settings.h"

namespace quellspur {

inline const std::wstring kKillProcessCaption = L"&Kill Process";
inline const std::wstring kRemoveStartCaption = L"&Remove start";

// What "&Clean up" does to the selected line.
class CleanUpCommand {
 public:
  virtual ~CleanUpCommand() = default;
  virtual void Run() = 0;
};

struct MainWindowWidgets {
  platform::Window& form;
  platform::ListBox& List;
  platform::Button& cmdKill;
  platform::Timer& Timer1;
  platform::Desktop& desktop;
};

class FrmStat : public ScanReport {
 public:
  FrmStat(MainWindowWidgets widgets, Backdoors& backdoors, Settings& settings, ActivityLog& log,
          platform::Os& os, CleanUpCommand& cleanUp);

  // Lists the findings of the scan that just ran, logs them and, with "Auto Clean", cleans them.
  void FindSometing() override;
  // Offers the action that the selected line allows.
  void List_Click();
  // The clean-up of the selected line; refused while a scan or a clean-up runs.
  void cmdKill_Click();
  // One full scan, by hand or by the timer; refused while a scan or a clean-up runs.
  void cmdScan_Click();
  // The automatic scan's tick: the same scan as "&Scan Now".
  void Timer1_Timer() { cmdScan_Click(); }
  // Whether a scan or a clean-up is running. Both let the window system handle messages while
  // they work, and those messages must not start another one on the same table and list.
  bool Busy() const { return busy_; }
  // Runs a job that works on the table and the list, unless one is running already.
  template <typename Job>
  void WhileIdle(Job job);

  platform::Window& form;
  platform::ListBox& List;
  platform::Button& cmdKill;
  platform::Timer& Timer1;

 private:
  void ListCleanResult();

  platform::Desktop& desktop_;
  Backdoors& backdoors_;
  Settings& settings_;
  ActivityLog& log_;
  platform::Os& os_;
  CleanUpCommand& cleanUp_;
  bool busy_ = false;
};

template <typename Job>
void FrmStat::WhileIdle(Job job) {
  if (busy_) {
    return;
  }
  busy_ = true;
  struct Release {
    bool& busy;
    ~Release() { busy = false; }
  } release{busy_};
  job();
}

}  // namespace quellspur
