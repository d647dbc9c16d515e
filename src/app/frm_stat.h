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
  void cmdKill_Click() { cleanUp_.Run(); }
  // One full scan, by hand or by the timer.
  void cmdScan_Click();

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
};

}  // namespace quellspur
