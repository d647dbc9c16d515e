#include "forms/frm_opti.h"

#include "scan/windows_platform.h"
#include "settings/registry_helpers.h"
#include "settings/settings_store.h"
#include "settings/start_with_windows.h"
#include "version/version.h"

namespace quellspur {
namespace {

using platform::Control;
using platform::ControlKind;

// A check box shows 0, 1 or 2; any other stored number (only an edited registry holds one) is
// shown unchecked.
int BoxState(std::int32_t flag) {
  return flag == 1 || flag == 2 ? flag : 0;
}

constexpr platform::ControlDesign kOptiControls[] = {
    Control(ControlKind::Frame, L"Frame1", L"", L"Scan", L"", 240, 120, 2295, 1695, 5),
    Control(ControlKind::CheckBox, L"chkCheck", L"Frame1", L"Auto Scan",
            L"Automatic check for backdoors.", 240, 360, 1575, 255, 0),
    Control(ControlKind::CheckBox, L"chkClean", L"Frame1", L"Auto Clean",
            L"Cleaning without asking.", 240, 720, 1575, 375, 1),
    Control(ControlKind::CheckBox, L"chkFiles", L"Frame1", L"Move BackDoors Files",
            L"Move program files.", 240, 1200, 1935, 255, 2),
    Control(ControlKind::Frame, L"Frame2", L"", L"System", L"", 2760, 120, 2295, 1695, 6),
    Control(ControlKind::CheckBox, L"chkRun", L"Frame2", L"Run On Startup", L"Run on startup", 240,
            240, 1575, 375, 3),
    Control(ControlKind::Button, L"cmdOk", L"", L"&Ok", L"Save and close dialog.", 2160, 2040, 1095,
            375, 4),
};

constexpr platform::FormDesign kOptiDesign{
    .name = L"frmOpti",
    .caption = L"Options",
    .clientWidth = 5310,
    .clientHeight = 2550,
    .border = platform::Border::FixedDialog,
    .showInTaskbar = false,
    .controls = kOptiControls,
};

}  // namespace

const platform::FormDesign& FrmOptiDesign() {
  return kOptiDesign;
}

FrmOpti::FrmOpti(platform::Toolkit& toolkit, platform::Os& os, Settings& settings)
    : toolkit_(toolkit),
      os_(os),
      settings_(settings),
      form_(toolkit.LoadForm(FrmOptiDesign())),
      chkCheck_(form_->CheckBoxNamed(L"chkCheck")),
      chkClean_(form_->CheckBoxNamed(L"chkClean")),
      chkFiles_(form_->CheckBoxNamed(L"chkFiles")),
      chkRun_(form_->CheckBoxNamed(L"chkRun")) {
  const platform::Desktop& desktop = toolkit.desktop();
  platform::CentreOnScreen(*form_, desktop);
  form_->Show();
  chkCheck_.SetValue(BoxState(settings_.autoCheck));
  chkClean_.SetValue(BoxState(settings_.autoClean));
  chkFiles_.SetValue(BoxState(settings_.moveFiles));
  std::wstring command;
  GetRegValue(os_, platform::kHkeyLocalMachine, kRunKey, kRunValueName, command);
  const bool startsWithWindows = command == RunCommand(os_);
  // A Run value written earlier, before this copy's folder could be changed by others, or by an
  // older version that did not ask, is shown for what it is; "&Ok" removes it.
  if (startsWithWindows && RefusedStart()) {
    chkRun_.SetValue(0);
  } else {
    chkRun_.SetValue(startsWithWindows ? 1 : 0);
  }
  form_->ButtonNamed(L"cmdOk").OnClick([this] { cmdOk_Click(); });
}

bool FrmOpti::RefusedStart() {
  const auto why =
      WhyNotStartWithWindows(os_, os_.GetProgramFolder(), os_.GetProgramExeName() + L".exe",
                             GetWindowsPlatform(os_) == WindowsPlatform::Nt);
  if (why) {
    toolkit_.desktop().MessageBox(*why, kProductName, platform::kMbOkExclamation);
  }
  return why.has_value();
}

void FrmOpti::cmdOk_Click() {
  // Refused, the box shows it unticked and the dialog stays, to be confirmed as it now stands.
  if (chkRun_.Value() == 1 && RefusedStart()) {
    chkRun_.SetValue(0);
    return;
  }
  settings_.autoCheck = chkCheck_.Value();
  settings_.autoClean = chkClean_.Value();
  settings_.moveFiles = chkFiles_.Value();
  if (chkRun_.Value() == 1) {
    SetRegValue(os_, platform::kHkeyLocalMachine, kRunKey, kRunValueName, RunCommand(os_));
  } else {
    DeleteRegValue(os_, platform::kHkeyLocalMachine, kRunKey, kRunValueName);
  }
  SaveSettings(os_, settings_);
  form_->Unload();
}

}  // namespace quellspur
