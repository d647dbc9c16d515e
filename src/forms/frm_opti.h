// The options dialog: the three settings and "Run On Startup" as check boxes, stored by "&Ok".
// Closing it any other way stores nothing.
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
