#include "forms/frm_about.h"

#include "platform/text.h"
#include "version/version.h"

namespace quellspur {
namespace {

using platform::Control;
using platform::ControlKind;

// Esc presses it too; Enter does as the button has the focus.
constexpr platform::ControlDesign CancelButton(platform::ControlDesign button) {
  button.cancel = true;
  return button;
}

constexpr platform::ControlDesign kAboutControls[] = {
    Control(ControlKind::Image, L"picIcon", L"", L"", L"", 240, 240, 540, 540, -1),
    platform::WithFont(Control(ControlKind::Label, L"lblTitle", L"", L"Orvanta Quellspur", L"",
                               1050, 240, 4365, 480, -1),
                       L"Arial", 18, true),
    platform::WithFont(Control(ControlKind::Label, L"lblVersion", L"", L"Version 1.0", L"", 1050,
                               660, 3885, 345, -1),
                       L"MS Sans Serif", 12, true),
    Control(ControlKind::Label, L"lbDescript", L"", L"App Description", L"", 1080, 1200, 4365, 1290,
            -1),
    Control(ControlKind::Line, L"Line1", L"", L"", L"", 120, 2640, 5560, 30, -1),
    Control(ControlKind::Label, L"lbWarning", L"", L"Warning: ...", L"", 255, 2880, 3870, 465, -1),
    CancelButton(Control(ControlKind::Button, L"cmdOk", L"", L"OK", L"", 4245, 2880, 1260, 345, 0)),
};

constexpr platform::FormDesign kAboutDesign{
    .name = L"frmAbout",
    .clientWidth = 5775,
    .clientHeight = 3510,
    .border = platform::Border::FixedDialog,
    .showInTaskbar = false,
    .controls = kAboutControls,
};

}  // namespace

const platform::FormDesign& FrmAboutDesign() {
  return kAboutDesign;
}

std::wstring AboutDescription() {
  return Joined(
      {L"Se the readme file for information.\n\rIf you experience any problems feel free "
       L"to send a e-mail to: ",
       kSupportAddress, L", subject \"", kProductName, L" ", kVersionText, L"\"."});
}

FrmAbout::FrmAbout(platform::Toolkit& toolkit) : form_(toolkit.LoadForm(FrmAboutDesign())) {
  const platform::Desktop& desktop = toolkit.desktop();
  platform::CentreOnScreen(*form_, desktop);
  form_->SetCaption(L"About " + kProductName);
  form_->LabelNamed(L"lbDescript").SetCaption(AboutDescription());
  form_->LabelNamed(L"lbWarning").SetCaption(kAboutNotice);
  form_->LabelNamed(L"lblVersion").SetCaption(kVersionText);
  form_->ButtonNamed(L"cmdOk").OnClick([this] { cmdOk_Click(); });
  form_->Show();
}

}  // namespace quellspur
