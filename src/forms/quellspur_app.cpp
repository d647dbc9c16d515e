#include "forms/quellspur_app.h"

#include <algorithm>

#include "forms/forms.h"
#include "platform/text.h"
#include "version/version.h"

namespace quellspur {
namespace {

const std::wstring kInstanceMutex = L"Orvanta.Quellspur.Instance";
// At the end, with the windows gone, kept log lines may wait this long for the lock.
constexpr std::uint32_t kLastLogWaitMilliseconds = 1000;
// A refused signature file's reasons beyond these are in the activity log only.
constexpr std::size_t kReasonsShown = 10;
// What follows the program's own name on its command line: a folder named like the switch in the
// program's path must not count as the switch.
std::wstring ProgramArguments(const std::wstring& commandLine) {
  std::size_t end = 0;
  if (commandLine.starts_with(L'"')) {
    const std::size_t closing = commandLine.find(L'"', 1);
    end = closing == std::wstring::npos ? commandLine.size() : closing + 1;
  } else {
    end = std::min(commandLine.find_first_of(L" \t"), commandLine.size());
  }
  const std::size_t first = commandLine.find_first_not_of(L" \t", end);
  return first == std::wstring::npos ? std::wstring() : commandLine.substr(first);
}

}  // namespace

QuellspurApp::QuellspurApp(platform::Os& os, platform::Toolkit& toolkit)
    : os_(os), toolkit_(toolkit), engine_(os, toolkit.pump()) {}

QuellspurApp::~QuellspurApp() = default;

void QuellspurApp::Form_Load() {
  bool anotherCopy = false;
  os_.CreateMutexW(kInstanceMutex, anotherCopy);
  if (anotherCopy) {
    toolkit_.desktop().MessageBox(L"Quellspur are alredy running.", kProductName,
                                  platform::kMbOkExclamation);
    toolkit_.EndProgram();
    return;
  }
  engine_.ReadSystem();

  splash_ = toolkit_.LoadForm(SplashDesign());
  platform::CentreOnScreen(*splash_, toolkit_.desktop());
  splash_->LabelNamed(L"lblVersion").SetCaption(kVersionText);
  splash_->ButtonNamed(L"cmdOk").OnClick([this] { Splash_cmdOk_Click(); });
  splash_->OnCloseRequest(
      [this](platform::CloseReason reason) { return Splash_QueryUnload(reason); });
  splash_->Show();

  // Made after the splash shows: with all its controls the main window takes longer to build
  // than the splash, and nobody sees it before the splash's "&OK".
  LoadMainWindow();
  platform::CentreOnScreen(*form_, toolkit_.desktop());
  form_->SetCaption(Joined({form_->Caption(), L" ", kVersionText}));
  form_->Hide();
}

void QuellspurApp::LoadMainWindow() {
  form_ = toolkit_.LoadForm(MainWindowDesign());
  tmrLog_ = &form_->TimerNamed(L"tmrLog");
  frmStat_ = std::make_unique<FrmStat>(*form_, toolkit_.desktop(), toolkit_.pump(), engine_);
  tmrLog_->OnTimer([this] { tmrLog_Timer(); });
  engine_.log().OnLinesKept([this] { tmrLog_->SetEnabled(true); });
  form_->ButtonNamed(L"cmdHide").OnClick([this] { cmdHide_Click(); });
  form_->ButtonNamed(L"cmdExit").OnClick([this] { cmdExit_Click(); });
  form_->MenuItemNamed(L"mnuFileSett").OnClick([this] { mnuFileSett_Click(); });
  form_->MenuItemNamed(L"mnuFileQuar").OnClick([this] { mnuFileQuar_Click(); });
  form_->MenuItemNamed(L"mnuFileHide").OnClick([this] { cmdHide_Click(); });
  form_->MenuItemNamed(L"mnuFileExit").OnClick([this] { cmdExit_Click(); });
  form_->MenuItemNamed(L"mnuHelpAbout").OnClick([this] { mnuHelpAbout_Click(); });
  // An open quarantine window shows what a clean-up has just recorded.
  frmStat_->ChangesMade = [this] {
    if (frmQuarantine_ && frmQuarantine_->Loaded()) {
      frmQuarantine_->Reload();
    }
  };
  form_->OnCloseRequest([this](platform::CloseReason reason) { return Form_QueryUnload(reason); });
}

void QuellspurApp::Splash_cmdOk_Click() {
  // The start-up scan lets the window system run, and with it a second click on "&OK".
  if (splashConfirmed_) {
    return;
  }
  splashConfirmed_ = true;
  ShowTray();
  engine_.WatchSignatureFile(
      [this](const std::vector<std::wstring>& reasons) { SignaturesRefused(reasons); });
  if (engine_.LoadSettings()) {
    if (IsOn(engine_.settings().autoCheck)) {
      frmStat_->ScanAtStart();
    }
    if (ProgramArguments(os_.GetCommandLineW()).find(L"/boot") == std::wstring::npos) {
      form_->Show();
    }
  } else {
    form_->Show();
    mnuFileSett_Click();
  }
  splash_->Unload();
}

void QuellspurApp::SignaturesRefused(const std::vector<std::wstring>& reasons) {
  std::wstring text = L"Signatures.txt is not used, for these reasons:\r\n\r\n";
  for (std::size_t index = 0; index < reasons.size(); ++index) {
    engine_.log().WriteLog(L"Signatures not used: " + reasons[index]);
    if (index < kReasonsShown) {
      text += reasons[index] + L"\r\n";
    }
  }
  if (reasons.size() > kReasonsShown) {
    text += L"... and " + DecimalText(reasons.size() - kReasonsShown) + L" more in BackLog.txt\r\n";
  }
  text += L"\r\nQuellspur looks for the built-in backdoors only until the file is corrected.";
  toolkit_.desktop().MessageBox(text, kProductName, platform::kMbOkExclamation);
}

void QuellspurApp::ShowTray() {
  frmSysTray_ = std::make_unique<FrmSysTray>(toolkit_, os_, kProductName);
  frmSysTray_->MenuClick = [this](std::int32_t index, const std::wstring& key) {
    m_frmSysTray_MenuClick(index, key);
  };
  frmSysTray_->SysTrayDoubleClick = [this](std::int32_t button) {
    m_frmSysTray_SysTrayDoubleClick(button);
  };
  frmSysTray_->SysTrayMouseDown = [this](std::int32_t button) {
    m_frmSysTray_SysTrayMouseDown(button);
  };
  frmSysTray_->AddMenuItem(L"Open Quellspur", L"open", true);
  frmSysTray_->AddMenuItem(L"Options", L"options");
  frmSysTray_->AddMenuItem(L"Quarantine...", L"quarantine");
  frmSysTray_->AddMenuItem(L"-", L"");
  frmSysTray_->AddMenuItem(L"Exit", L"exit");
  frmSysTray_->SetToolTip(L"Orvanta Quellspur");
  frmSysTray_->SetIconHandle(form_->IconHandle());
}

void QuellspurApp::cmdHide_Click() {
  if (IsOn(engine_.settings().autoCheck)) {
    frmStat_->Timer1.SetEnabled(true);
  }
  form_->Hide();
}

void QuellspurApp::cmdExit_Click() {
  Form_Unload();
  // A request to end can reach the splash while the main window is still being made.
  if (form_) {
    form_->Unload();
  }
  // No window is left to hold: the log's kept lines get a last, bounded wait for the lock.
  engine_.log().WriteKeptLinesAtEnd(kLastLogWaitMilliseconds);
  toolkit_.EndProgram();
}

void QuellspurApp::tmrLog_Timer() {
  if (engine_.log().WriteKeptLines()) {
    tmrLog_->SetEnabled(false);
  }
}

bool QuellspurApp::Splash_QueryUnload(platform::CloseReason reason) {
  // Without the splash's "&OK" there would be neither tray icon nor window, only a process that
  // refuses every later start: the user's Alt+F4 is ignored, the task list or the session's end
  // ends the program.
  if (reason != platform::CloseReason::User) {
    cmdExit_Click();
    return false;
  }
  return true;
}

bool QuellspurApp::Form_QueryUnload(platform::CloseReason reason) {
  if (reason != platform::CloseReason::User) {
    // The task list or the session's end: the program goes, its tray icon with it.
    cmdExit_Click();
    return false;
  }
  form_->Hide();
  if (IsOn(engine_.settings().autoCheck)) {
    frmStat_->Timer1.SetEnabled(true);
  }
  return true;
}

void QuellspurApp::Form_Unload() {
  frmSysTray_.reset();
}

void QuellspurApp::mnuFileSett_Click() {
  if (frmOpti_ && frmOpti_->Loaded()) {
    frmOpti_->form().BringToFront();
    return;
  }
  frmOpti_ = std::make_unique<FrmOpti>(toolkit_, os_, engine_.settings());
}

void QuellspurApp::mnuFileQuar_Click() {
  if (frmQuarantine_ && frmQuarantine_->Loaded()) {
    frmQuarantine_->form().Show();
    frmQuarantine_->form().BringToFront();
    return;
  }
  frmQuarantine_ = std::make_unique<FrmQuarantine>(toolkit_, engine_);
}

void QuellspurApp::mnuHelpAbout_Click() {
  if (frmAbout_ && frmAbout_->Loaded()) {
    frmAbout_->form().BringToFront();
    return;
  }
  frmAbout_ = std::make_unique<FrmAbout>(toolkit_);
}

void QuellspurApp::ShowInFront() {
  form_->Show();
  form_->BringToFront();
}

void QuellspurApp::m_frmSysTray_MenuClick(std::int32_t, const std::wstring& key) {
  if (key == L"open") {
    ShowInFront();
  } else if (key == L"options") {
    mnuFileSett_Click();
  } else if (key == L"quarantine") {
    mnuFileQuar_Click();
  } else if (key == L"exit") {
    cmdExit_Click();
  }
}

void QuellspurApp::m_frmSysTray_SysTrayDoubleClick(std::int32_t) {
  ShowInFront();
}

void QuellspurApp::m_frmSysTray_SysTrayMouseDown(std::int32_t button) {
  if (button == kRightButton) {
    frmSysTray_->ShowMenu();
  }
}

}  // namespace quellspur
