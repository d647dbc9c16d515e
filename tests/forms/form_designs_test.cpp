// The texts of every form as the user reads them, and the fonts they are drawn in.
#include <gtest/gtest.h>

#include <span>
#include <string>

#include "forms/forms.h"
#include "forms/frm_about.h"
#include "forms/frm_opti.h"

namespace quellspur {
namespace {

void DescribeMenus(std::span<const platform::MenuDesign> menus, std::wstring& text) {
  for (const platform::MenuDesign& menu : menus) {
    text.append(menu.name).append(L" ").append(menu.caption).append(L"\n");
    DescribeMenus(menu.items, text);
  }
}

// One line for the form and one for each control or menu: name, caption, tooltip, font.
std::wstring Describe(const platform::FormDesign& design) {
  std::wstring text(design.name);
  text.append(L" ").append(design.caption).append(L"\n");
  for (const platform::ControlDesign& control : design.controls) {
    text.append(control.name).append(L" ").append(control.caption).append(L" | ");
    text.append(control.tooltip);
    if (!control.font.name.empty()) {
      text.append(L" | ").append(control.font.name);
    }
    text += L"\n";
  }
  DescribeMenus(design.menus, text);
  return text;
}

TEST(FormDesigns, EveryTextReadsAsDesigned) {
  EXPECT_EQ(Describe(MainWindowDesign()),
            L"frmStat Orvanta Quellspur\n"
            L"List  | \n"
            L"cmdScan &Scan Now | \n"
            L"cmdKill &Clean up | \n"
            L"cmdHide &Hide | \n"
            L"cmdExit &Exit | \n"
            L"Timer1  | \n"
            L"tmrLog  | \n"
            L"mnuFile &File\n"
            L"mnuFileSett &Options\n"
            L"mnuFileQuar &Quarantine...\n"
            L"mnuFileHide &Hide\n"
            L"mnuDash -\n"
            L"mnuFileExit &Exit\n"
            L"mnuHelp &Help\n"
            L"mnuHelpAbout &About\n");
  EXPECT_EQ(Describe(SplashDesign()),
            L"frmSplash \n"
            L"Frame1  | \n"
            L"imgLogo  | \n"
            L"lblCompanyProduct Orvanta |  | Arial\n"
            L"lblProductName Quellspur |  | Arial\n"
            L"lblVersion  |  | Arial\n"
            L"lblNotice Finds and removes 23 known remote-access backdoors. |  | Arial\n"
            L"cmdOk &OK | \n");
  EXPECT_EQ(Describe(FrmOptiDesign()),
            L"frmOpti Options\n"
            L"Frame1 Scan | \n"
            L"chkCheck Auto Scan | Automatic check for backdoors.\n"
            L"chkClean Auto Clean | Cleaning without asking.\n"
            L"chkFiles Move BackDoors Files | Move program files.\n"
            L"Frame2 System | \n"
            L"chkRun Run On Startup | Run on startup\n"
            L"cmdOk &Ok | Save and close dialog.\n");
  EXPECT_EQ(Describe(FrmAboutDesign()),
            L"frmAbout \n"
            L"picIcon  | \n"
            L"lblTitle Orvanta Quellspur |  | Arial\n"
            L"lblVersion Version 1.0 |  | MS Sans Serif\n"
            L"lbDescript App Description | \n"
            L"Line1  | \n"
            L"lbWarning Warning: ... | \n"
            L"cmdOk OK | \n");
  EXPECT_EQ(kAboutNotice, L"Warning: knows 23 backdoors, no other malware.");
}

}  // namespace
}  // namespace quellspur
