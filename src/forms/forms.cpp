#include "forms/forms.h"

namespace quellspur {
namespace {

using platform::Control;
using platform::ControlDesign;
using platform::ControlKind;

// The splash's texts are all in Arial.
ControlDesign Arial(ControlDesign control, double points, bool bold) {
  return platform::WithFont(std::move(control), L"Arial", points, bold);
}

}  // namespace

const platform::FormDesign& MainWindowDesign() {
  static const platform::FormDesign design = [] {
    platform::FormDesign form;
    form.name = L"frmStat";
    form.caption = L"Orvanta Quellspur";
    form.clientWidth = 9255;
    form.clientHeight = 2850;
    form.border = platform::Border::FixedSingle;
    form.minButton = true;
    form.showInTaskbar = false;  // the tray icon stands in for it
    ControlDesign cmdKill =
        Control(ControlKind::Button, L"cmdKill", L"", L"&Clean up", L"", 1920, 2280, 1455, 375, 2);
    cmdKill.enabled = false;
    ControlDesign timer = Control(ControlKind::Timer, L"Timer1", L"", L"", L"", 0, 0, 0, 0, -1);
    timer.interval = 20000;
    // While the activity log keeps lines that another program's lock kept out, it tries again.
    ControlDesign logTimer = Control(ControlKind::Timer, L"tmrLog", L"", L"", L"", 0, 0, 0, 0, -1);
    logTimer.interval = 500;
    form.controls = {
        Control(ControlKind::ListBox, L"List", L"", L"", L"", 240, 240, 8775, 1815, 0),
        Control(ControlKind::Button, L"cmdScan", L"", L"&Scan Now", L"", 240, 2280, 1455, 375, 1),
        cmdKill,
        Control(ControlKind::Button, L"cmdHide", L"", L"&Hide", L"", 5880, 2280, 1455, 375, 3),
        Control(ControlKind::Button, L"cmdExit", L"", L"&Exit", L"", 7560, 2280, 1455, 375, 4),
        timer,
        logTimer,
    };
    form.menus = {
        {L"mnuFile",
         L"&File",
         {{L"mnuFileSett", L"&Options", {}},
          {L"mnuFileQuar", L"&Quarantine...", {}},
          {L"mnuFileHide", L"&Hide", {}},
          {L"mnuDash", L"-", {}},
          {L"mnuFileExit", L"&Exit", {}}}},
        {L"mnuHelp", L"&Help", {{L"mnuHelpAbout", L"&About", {}}}},
    };
    return form;
  }();
  return design;
}

const platform::FormDesign& SplashDesign() {
  static const platform::FormDesign design = [] {
    platform::FormDesign form;
    form.name = L"frmSplash";
    form.clientWidth = 6225;
    form.clientHeight = 3765;
    form.border = platform::Border::FixedDialog;
    form.controlBox = false;
    form.showInTaskbar = false;
    form.controls = {
        Control(ControlKind::Frame, L"Frame1", L"", L"", L"", 120, 0, 6000, 3090, -1),
        Control(ControlKind::Image, L"imgLogo", L"Frame1", L"", L"", 240, 360, 1575, 1905, -1),
        Arial(Control(ControlKind::Label, L"lblCompanyProduct", L"Frame1", L"Orvanta", L"", 2040,
                      240, 1710, 435, -1),
              18, true),
        Arial(Control(ControlKind::Label, L"lblProductName", L"Frame1", L"Quellspur", L"", 2040,
                      600, 3720, 660, -1),
              27.75, true),
        Arial(Control(ControlKind::Label, L"lblVersion", L"Frame1", L"", L"", 2040, 1200, 1275, 285,
                      -1),
              12, true),
        Arial(Control(ControlKind::Label, L"lblNotice", L"Frame1",
                      L"Finds and removes 23 known remote-access backdoors.", L"", 120, 2760, 5775,
                      195, -1),
              8.25, false),
        Control(ControlKind::Button, L"cmdOk", L"", L"&OK", L"", 2400, 3240, 1335, 375, 0),
    };
    return form;
  }();
  return design;
}

}  // namespace quellspur
