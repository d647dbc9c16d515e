// The program as a whole: start-up with the splash window, the main window's buttons and menus,
// the tray icon's events, hiding instead of closing, and the end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "forms/frm_about.h"
#include "forms/frm_opti.h"
#include "forms/frm_quarantine.h"
#include "forms/frm_stat.h"
#include "forms/frm_sys_tray.h"
#include "platform/os.h"
#include "platform/toolkit.h"
#include "settings/settings.h"

namespace quellspur {

class QuellspurApp {
 public:
  QuellspurApp(platform::Os& os, platform::Toolkit& toolkit);
  ~QuellspurApp();

  // The main window's load: refuses a second copy, reads the system, shows the splash and
  // waits for its "&OK", the main window hidden.
  void Form_Load();
  void Splash_cmdOk_Click();
  void ShowTray();

  void cmdHide_Click();
  void cmdExit_Click();
  void mnuFileSett_Click();
  // Opens the quarantine window, or brings the open one forward.
  void mnuFileQuar_Click();
  void mnuHelpAbout_Click();
  // The close box hides the window; true keeps it loaded. Any other request ends the program.
  bool Form_QueryUnload(platform::CloseReason reason);
  // The splash stays until its "&OK"; only a request from outside ends the program.
  bool Splash_QueryUnload(platform::CloseReason reason);

  void m_frmSysTray_MenuClick(std::int32_t index, const std::wstring& key);
  void m_frmSysTray_SysTrayDoubleClick(std::int32_t button);
  void m_frmSysTray_SysTrayMouseDown(std::int32_t button);

  // For the tests: what the program holds (the main window from Form_Load on).
  Engine& engine() { return engine_; }
  FrmStat& frmStat() { return *frmStat_; }
  FrmQuarantine* frmQuarantine() { return frmQuarantine_.get(); }
  Settings& settings() { return engine_.settings(); }

 private:
  // The main window, its controls' handlers and frmStat.
  void LoadMainWindow();
  void Form_Unload();
  // A signature file refused: told once in a message box and written to the activity log.
  void SignaturesRefused(const std::vector<std::wstring>& reasons);
  void ShowInFront();
  // Lines the activity log had to keep are tried again on the timer until none is left.
  void tmrLog_Timer();

  platform::Os& os_;
  platform::Toolkit& toolkit_;
  Engine engine_;
  bool splashConfirmed_ = false;
  std::unique_ptr<platform::Form> form_;
  std::unique_ptr<FrmStat> frmStat_;
  platform::Timer* tmrLog_ = nullptr;
  std::unique_ptr<platform::Form> splash_;
  std::unique_ptr<FrmSysTray> frmSysTray_;
  std::unique_ptr<FrmOpti> frmOpti_;
  std::unique_ptr<FrmAbout> frmAbout_;
  std::unique_ptr<FrmQuarantine> frmQuarantine_;
};

}  // namespace quellspur
