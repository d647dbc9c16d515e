#include "app/frm_stat.h"

#include "app/report_line.h"
#include "clean/clock_text.h"

namespace quellspur {

FrmStat::FrmStat(MainWindowWidgets widgets, Backdoors& backdoors, Settings& settings,
                 ActivityLog& log, platform::Os& os, CleanUpCommand& cleanUp)
    : form(widgets.form),
      List(widgets.List),
      cmdKill(widgets.cmdKill),
      Timer1(widgets.Timer1),
      desktop_(widgets.desktop),
      backdoors_(backdoors),
      settings_(settings),
      log_(log),
      os_(os),
      cleanUp_(cleanUp) {
  List.OnClick([this] { List_Click(); });
  cmdKill.OnClick([this] { cmdKill_Click(); });
  Timer1.OnTimer([this] { Timer1_Timer(); });
}

void FrmStat::ListCleanResult() {
  platform::LocalTime now;
  os_.GetLocalTime(now);
  List.AddItem(L"Last scan: " + FormatTime(now, os_.GetTimeSeparator()));
  List.AddItem(L"Your computer is clean from known running backdoors!");
  if (IsOn(settings_.AutoCheck)) {
    Timer1.SetEnabled(true);
  }
}

void FrmStat::FindSometing() {
  const FoundTable& table = backdoors_.foundTable;
  if (table.LastIndex() < 1) {
    ListCleanResult();
    return;
  }
  for (std::size_t row = 1; row <= table.LastIndex(); ++row) {
    const std::wstring line = ReportLine(table[row]);
    log_.WriteLog(line);
    List.InsertItem(line, static_cast<int>(row - 1));
  }
  desktop_.Beep();
  form.Show();
  Timer1.SetEnabled(false);
  if (!IsOn(settings_.AutoClean)) {
    return;
  }
  // Each line is selected as a click would select it, so the button offers that line's action.
  const int lines = List.ListCount();
  for (int line = 0; line < lines; ++line) {
    List.SetListIndex(line);
    cleanUp_.Run();
  }
  Timer1.SetEnabled(true);
}

void FrmStat::List_Click() {
  const FoundTable& table = backdoors_.foundTable;
  if (table.LastIndex() == 0) {
    return;  // the clean-scan lines belong to no row
  }
  cmdKill.SetEnabled(false);
  for (int line = 0; line < List.ListCount(); ++line) {
    const std::size_t row = static_cast<std::size_t>(line) + 1;
    if (!List.Selected(line) || row > table.LastIndex()) {
      continue;
    }
    if (table[row].ProcessId != 0) {
      cmdKill.SetEnabled(true);
      cmdKill.SetCaption(kKillProcessCaption);
    }
    if (table[row].RootKey != 0) {
      cmdKill.SetEnabled(true);
      cmdKill.SetCaption(kRemoveStartCaption);
    }
  }
}

void FrmStat::cmdKill_Click() {
  WhileIdle([this] { cleanUp_.Run(); });
}

void FrmStat::cmdScan_Click() {
  WhileIdle([this] {
    Timer1.SetEnabled(false);
    form.SetPointer(platform::MousePointer::Hourglass);
    cmdKill.SetEnabled(false);
    List.Clear();
    backdoors_.foundTable.Clear();
    RunScan(backdoors_, *this);
    form.SetPointer(platform::MousePointer::Default);
  });
}

}  // namespace quellspur
