// The about box: the program's name, version and where to get help.
#pragma once

#include <memory>
#include <string>

#include "platform/toolkit.h"

namespace quellspur {

class FrmAbout {
 public:
  // Loads the box: centred, filled in and shown; the main window stays usable meanwhile.
  explicit FrmAbout(platform::Toolkit& toolkit);

  void cmdOk_Click() { form_->Unload(); }
  bool Loaded() const { return form_->Loaded(); }
  platform::Form& form() { return *form_; }

 private:
  std::unique_ptr<platform::Form> form_;
};

const platform::FormDesign& FrmAboutDesign();
// The two lines of the description: the readme, then the support address with its subject.
std::wstring AboutDescription();
inline const std::wstring kSupportAddress = L"support@orvanta.example";
inline const std::wstring kAboutNotice = L"Warning: knows 23 backdoors, no other malware.";

}  // namespace quellspur
