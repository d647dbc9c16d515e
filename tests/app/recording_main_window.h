// The main window's widgets without a screen, noting what they are asked to do.
#pragma once

#include "app/frm_stat.h"
#include "clean/clean_up.h"
#include "platform/sim/sim_widgets.h"

namespace quellspur::testing {

struct RecordingMainWindow {
  MainWindowWidgets widgets() { return {window, list, cmdKill, timer, desktop}; }
  CleanUpWidgets cleanUpWidgets() { return {window, list, cmdKill}; }

  platform::sim::Journal journal;
  platform::sim::SimWindow window{journal, L"frmStat", 9375, 3600};
  platform::sim::SimListBox list{journal, L"List"};
  platform::sim::SimButton cmdKill{journal, L"cmdKill", L"&Clean up", false};
  platform::sim::SimTimer timer{journal, L"Timer1", 20000};
  platform::sim::SimDesktop desktop{journal};
};

}  // namespace quellspur::testing
