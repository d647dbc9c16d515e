#include "forms/forms.h"

namespace quellspur {
namespace {

using platform::Control;
using platform::ControlDesign;
using platform::ControlKind;
using platform::MenuDesign;

constexpr ControlDesign Disabled(ControlDesign control) {
  control.enabled = false;
  return control;
}

constexpr ControlDesign Timer(const wchar_t* name, int interval) {
  ControlDesign timer = Control(ControlKind::Timer, name, L"", L"", L"", 0, 0, 0, 0, -1);
  timer.interval = interval;
  return timer;
}

// The splash's texts are all in Arial.
constexpr ControlDesign Arial(ControlDesign control, double points, bool bold) {
  return platform::WithFont(control, L"Arial", points, bold);
}

constexpr ControlDesign kMainControls[] = {
    Control(ControlKind::ListBox, L"List", L"", L"", L"", 240, 240, 8775, 1815, 0),
    Control(ControlKind::Button, L"cmdScan", L"", L"&Scan Now", L"", 240, 2280, 1455, 375, 1),
    Disabled(
        Control(ControlKind::Button, L"cmdKill", L"", L"&Clean up", L"", 1920, 2280, 1455, 375, 2)),
    Control(ControlKind::Button, L"cmdHide", L"", L"&Hide", L"", 5880, 2280, 1455, 375, 3),
    Control(ControlKind::Button, L"cmdExit", L"", L"&Exit", L"", 7560, 2280, 1455, 375, 4),
    Timer(L"Timer1", 20000),
    // While the activity log keeps lines that another program's lock kept out, it tries again.
    Timer(L"tmrLog", 500),
};

constexpr MenuDesign kFileMenu[] = {
    {L"mnuFileSett", L"&Options", {}}, {L"mnuFileQuar", L"&Quarantine...", {}},
    {L"mnuFileHide", L"&Hide", {}},    {L"mnuDash", L"-", {}},
    {L"mnuFileExit", L"&Exit", {}},
};
constexpr MenuDesign kHelpMenu[] = {{L"mnuHelpAbout", L"&About", {}}};
constexpr MenuDesign kMainMenus[] = {{L"mnuFile", L"&File", kFileMenu},
                                     {L"mnuHelp", L"&Help", kHelpMenu}};

constexpr platform::FormDesign kMainWindow{
    .name = L"frmStat",
    .caption = L"Orvanta Quellspur",
    .clientWidth = 9255,
    .clientHeight = 2850,
    .border = platform::Border::FixedSingle,
    .minButton = true,
    .showInTaskbar = false,  // the tray icon stands in for it
    .controls = kMainControls,
    .menus = kMainMenus,
};

constexpr ControlDesign kSplashControls[] = {
    Control(ControlKind::Frame, L"Frame1", L"", L"", L"", 120, 0, 6000, 3090, -1),
    Control(ControlKind::Image, L"imgLogo", L"Frame1", L"", L"", 240, 360, 1575, 1905, -1),
    Arial(Control(ControlKind::Label, L"lblCompanyProduct", L"Frame1", L"Orvanta", L"", 2040, 240,
                  1710, 435, -1),
          18, true),
    Arial(Control(ControlKind::Label, L"lblProductName", L"Frame1", L"Quellspur", L"", 2040, 600,
                  3720, 660, -1),
          27.75, true),
    Arial(
        Control(ControlKind::Label, L"lblVersion", L"Frame1", L"", L"", 2040, 1200, 1275, 285, -1),
        12, true),
    Arial(Control(ControlKind::Label, L"lblNotice", L"Frame1",
                  L"Finds and removes 23 known remote-access backdoors.", L"", 120, 2760, 5775, 195,
                  -1),
          8.25, false),
    Control(ControlKind::Button, L"cmdOk", L"", L"&OK", L"", 2400, 3240, 1335, 375, 0),
};

constexpr platform::FormDesign kSplash{
    .name = L"frmSplash",
    .clientWidth = 6225,
    .clientHeight = 3765,
    .border = platform::Border::FixedDialog,
    .controlBox = false,
    .showInTaskbar = false,
    .controls = kSplashControls,
};

}  // namespace

const platform::FormDesign& MainWindowDesign() {
  return kMainWindow;
}

const platform::FormDesign& SplashDesign() {
  return kSplash;
}

}  // namespace quellspur
