#include "forms/frm_stat.h"

#include <exception>

#include "engine/clean_marks.h"

namespace quellspur {
namespace {

// The hourglass for as long as a job runs, whatever happens in it.
class Hourglass {
 public:
  explicit Hourglass(platform::Window& form) : form_(form) {
    form_.SetPointer(platform::MousePointer::Hourglass);
  }
  ~Hourglass() { form_.SetPointer(platform::MousePointer::Default); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;

 private:
  platform::Window& form_;
};

}  // namespace

FrmStat::FrmStat(platform::Form& mainForm, platform::Desktop& desktop, platform::MessagePump& pump,
                 Engine& engine)
    : form(mainForm),
      List(mainForm.ListBoxNamed(L"List")),
      cmdKill(mainForm.ButtonNamed(L"cmdKill")),
      Timer1(mainForm.TimerNamed(L"Timer1")),
      desktop_(desktop),
      pump_(pump),
      engine_(engine) {
  List.OnClick([this] { List_Click(); });
  cmdKill.OnClick([this] { cmdKill_Click(); });
  mainForm.ButtonNamed(L"cmdScan").OnClick([this] { cmdScan_Click(); });
  Timer1.OnTimer([this] { Timer1_Timer(); });
}

void FrmStat::ListCleanResult() {
  for (const std::wstring& line : engine_.CleanReport()) {
    List.AddItem(line);
  }
  if (IsOn(engine_.settings().autoCheck)) {
    Timer1.SetEnabled(true);
  }
}

void FrmStat::FindSometing() {
  const Findings& findings = engine_.findings();
  if (findings.empty()) {
    ListCleanResult();
    return;
  }
  for (std::size_t index = 0; index < findings.size(); ++index) {
    List.InsertItem(engine_.LogFinding(findings[index]), static_cast<int>(index));
  }
  desktop_.Beep();
  form.Show();
  Timer1.SetEnabled(false);
  if (!IsOn(engine_.settings().autoClean)) {
    return;
  }
  // Each line with something to do is selected as a click would select it, so the button offers
  // that line's action, and cleaned.
  for (std::size_t index = 0; index < findings.size(); ++index) {
    if (findings[index].Actionable()) {
      List.SetListIndex(static_cast<int>(index));
      CleanSelectedLines();
    }
  }
  Timer1.SetEnabled(true);
}

void FrmStat::List_Click() {
  const Findings& findings = engine_.findings();
  if (findings.empty()) {
    return;  // the clean-scan lines belong to no finding
  }
  cmdKill.SetEnabled(false);
  for (int line = 0; line < List.ListCount(); ++line) {
    const auto index = static_cast<std::size_t>(line);
    if (!List.Selected(line) || index >= findings.size()) {
      continue;
    }
    if (findings[index].HasProcess()) {
      cmdKill.SetEnabled(true);
      cmdKill.SetCaption(kKillProcessCaption);
    }
    if (findings[index].HasStartEntry()) {
      cmdKill.SetEnabled(true);
      cmdKill.SetCaption(kRemoveStartCaption);
    }
  }
}

void FrmStat::cmdKill_Click() {
  WhileIdle([this] { CleanSelectedLines(); });
}

void FrmStat::CleanSelectedLines() {
  const Hourglass hourglass(form);
  const bool moveFiles = IsOn(engine_.settings().moveFiles);
  Findings& findings = engine_.findings();
  for (int line = List.ListCount() - 1; line >= 0; --line) {
    const auto index = static_cast<std::size_t>(line);
    if (!List.Selected(line) || index >= findings.size()) {
      continue;
    }
    const std::wstring mark = CleanMark(engine_.Clean(findings[index], moveFiles));
    if (!mark.empty()) {
      MarkLine(line, mark);
    }
  }
  if (ChangesMade) {
    const auto raise = ChangesMade;
    raise();
  }
  pump_.ProcessPendingMessages();
}

void FrmStat::MarkLine(int line, const std::wstring& mark) {
  try {
    const std::wstring text = List.List(line);
    List.RemoveItem(line);
    List.InsertItem(mark + text, line);
  } catch (const std::exception&) {
    // The finding is dealt with all the same; only its line keeps its old text.
  }
  cmdKill.SetEnabled(false);
}

void FrmStat::cmdScan_Click() {
  WhileIdle([this] {
    Timer1.SetEnabled(false);
    const Hourglass hourglass(form);
    cmdKill.SetEnabled(false);
    List.Clear();
    engine_.Scan([this] { FindSometing(); });
  });
}

void FrmStat::ScanAtStart() {
  WhileIdle([this] { engine_.Scan([this] { FindSometing(); }); });
}

}  // namespace quellspur
