// The options dialog: the three settings and "Run On Startup" as check boxes, stored by "&Ok".
// Closing it any other way stores nothing. "Run On Startup" is refused, with the reason, for a
// copy whose folder or executable others than administrators can change.
#pragma once

#include <memory>

#include "platform/os.h"
#include "platform/toolkit.h"
#include "settings/settings.h"

namespace quellspur {

class FrmOpti {
 public:
  // Loads the dialog: centred, shown, its boxes filled from the settings and the Run value.
  FrmOpti(platform::Toolkit& toolkit, platform::Os& os, Settings& settings);

  void cmdOk_Click();
  bool Loaded() const { return form_->Loaded(); }
  platform::Form& form() { return *form_; }

 private:
  // Whether this copy must not start with Windows; when so, a message box has told the user why.
  bool RefusedStart();

  platform::Toolkit& toolkit_;
  platform::Os& os_;
  Settings& settings_;
  std::unique_ptr<platform::Form> form_;
  platform::CheckBox& chkCheck_;
  platform::CheckBox& chkClean_;
  platform::CheckBox& chkFiles_;
  platform::CheckBox& chkRun_;
};

// The dialog's design.
const platform::FormDesign& FrmOptiDesign();

}  // namespace quellspur
