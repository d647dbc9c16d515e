// The main window: the result list, the clean-up button and the automatic-scan timer, with the
// engine behind them.
#pragma once

#include <functional>
#include <string>

#include "engine/engine.h"
#include "platform/message_pump.h"
#include "platform/toolkit.h"

namespace quellspur {

inline const std::wstring kKillProcessCaption = L"&Kill Process";
inline const std::wstring kRemoveStartCaption = L"&Remove start";

class FrmStat {
 public:
  // Wires the form's list, buttons and timer, built from the main window's design.
  FrmStat(platform::Form& form, platform::Desktop& desktop, platform::MessagePump& pump,
          Engine& engine);

  // Lists the findings of the scan that just ran, logs them and, with "Auto Clean", cleans them.
  void FindSometing();
  // Offers the action that the selected line allows.
  void List_Click();
  // The clean-up of the selected line; refused while a scan or a clean-up runs.
  void cmdKill_Click();
  // One full scan, by hand or by the timer; refused while a scan or a clean-up runs.
  void cmdScan_Click();
  // The automatic scan's tick: the same scan as "&Scan Now".
  void Timer1_Timer() { cmdScan_Click(); }
  // The scan of the program's start, after the splash.
  void ScanAtStart();
  // Whether a scan or a clean-up is running. Both let the window system handle messages while
  // they work, and those messages must not start another one on the same findings and list.
  bool Busy() const { return busy_; }

  // Raised after each clean-up, which may have recorded changes.
  std::function<void()> ChangesMade;

  platform::Form& form;
  platform::ListBox& List;
  platform::Button& cmdKill;
  platform::Timer& Timer1;

 private:
  void ListCleanResult();
  // Cleans every selected line by what its finding holds, and marks the lines that were dealt
  // with.
  void CleanSelectedLines();
  void MarkLine(int line, const std::wstring& mark);
  // Runs a job that works on the findings and the list, unless one is running already.
  template <typename Job>
  void WhileIdle(Job job);

  platform::Desktop& desktop_;
  platform::MessagePump& pump_;
  Engine& engine_;
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
