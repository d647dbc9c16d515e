// The toolkit on real windows, in what only real windows have: styles, pixels, fonts, tab order,
// tooltips, the dialog manager's keys, the menu bar, the mouse pointer and the tray icon's window,
// looked at the way Windows and an outside driver see them. What the forms rely on from any
// toolkit is held against these windows and the simulated ones alike by the toolkit's contract;
// working the menus and the tray icon through the program itself is the end-to-end tests' part.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#undef MessageBox

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_toolkit.h"
#include "platform/win32/win32_ui.h"
#include "win_helpers.h"

namespace quellspur::platform::win32 {
namespace {

using winhelp::IsOfClass;
using winhelp::TextOf;

// Lets the toolkit handle messages until `done` holds or `limit` milliseconds have passed.
bool PumpUntil(Toolkit& toolkit, DWORD limit, const std::function<bool()>& done) {
  return winhelp::Eventually(limit, done, [&] { toolkit.pump().ProcessPendingMessages(); });
}

// The screen's dots per inch, across (LOGPIXELSX) or down (LOGPIXELSY).
int ScreenDpi(int axis) {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, axis);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

int Pixels(int twips, int axis = LOGPIXELSX) {
  return ::MulDiv(twips, ScreenDpi(axis), 1440);
}

// The window of the form loaded under `caption`.
HWND WindowOf(const std::wstring& caption) {
  const std::wstring formClass(std::begin(kFormClass), std::end(kFormClass) - 1);
  return ::FindWindowW(formClass.c_str(), caption.c_str());
}

RECT PlaceOnForm(HWND control) {
  RECT place{};
  ::GetWindowRect(control, &place);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

LONG_PTR StyleOf(HWND window) {
  return ::GetWindowLongPtrA(window, GWL_STYLE);
}

ControlDesign Cancel(ControlDesign button) {
  button.cancel = true;
  return button;
}

ControlDesign Disabled(ControlDesign control) {
  control.enabled = false;
  return control;
}

// A window of every kind of control, two of them on a frame, listed out of tab order.
const ControlDesign kTestControls[] = {
    Control(ControlKind::Frame, L"Frame1", L"", L"Choices", L"", 240, 120, 2700, 1500, 5),
    Control(ControlKind::CheckBox, L"chkOne", L"Frame1", L"One", L"The first box.", 240, 360, 1575,
            255, 2),
    Control(ControlKind::ListBox, L"List", L"", L"", L"", 3120, 240, 2640, 1815, 0),
    // Esc presses it.
    Cancel(
        Control(ControlKind::Button, L"cmdGo", L"", L"&Go", L"Start it.", 240, 3840, 1455, 375, 1)),
    Disabled(Control(ControlKind::Button, L"cmdOff", L"", L"&Off", L"", 1920, 3840, 1455, 375, 3)),
    WithFont(Control(ControlKind::Label, L"lblNote", L"Frame1", L"Gr\u00fc\u00dfe", L"", 240, 900,
                     2000, 285, -1),
             L"Arial", 12, true),
    Control(ControlKind::Image, L"imgIcon", L"", L"", L"", 3120, 2400, 540, 540, -1),
    Control(ControlKind::Line, L"Line1", L"", L"", L"", 120, 3600, 5760, 30, -1),
};
const MenuDesign kFileItems[] = {
    {L"mnuFileGo", L"&Go", {}}, {L"mnuDash", L"-", {}}, {L"mnuFileExit", L"E&xit", {}}};
const MenuDesign kMenus[] = {{L"mnuFile", L"&File", kFileItems}};

FormDesign TestDesign(std::wstring_view caption) {
  return {
      .name = L"frmTest",
      .caption = caption,
      .clientWidth = 6000,
      .clientHeight = 4500,
      .border = Border::FixedSingle,
      .controlBox = true,
      .minButton = true,
      .maxButton = false,
      .showInTaskbar = false,
      .controls = kTestControls,
      .menus = kMenus,
  };
}

class ToolkitTest : public ::testing::Test {
 protected:
  // Loads the test form under a caption of this test's own.
  void LoadTestForm() {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::wstring caption(name.begin(), name.end());
    form = toolkit.LoadForm(TestDesign(caption));
    window = WindowOf(caption);
    ASSERT_NE(window, nullptr);
  }
  // The control at `position` in the tab order of the test form.
  HWND Child(std::size_t position) { return winhelp::ChildWindows(window).at(position); }

  Win32Toolkit toolkit;
  std::unique_ptr<Form> form;
  HWND window = nullptr;
};

// Creation order of the test form: tab stops by tab index, then label and image, then the frame.
enum TestChild { kList, kGo, kOne, kOff, kNote, kIcon, kLine, kFrame, kChildCount };

// The main window, a dialog and a splash: each frame holds the design's client area in pixels,
// and its outer size in twips is what the forms centre on the screen.
TEST_F(ToolkitTest, FramesBoxesAndTaskbarButtonsFollowTheDesign) {
  constexpr LONG_PTR kBoxes = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
  struct Frame {
    const wchar_t* caption;
    Border border;
    bool controlBox, minButton, showInTaskbar;
    LONG_PTR titleBar, boxes;  // the style's WS_CAPTION and kBoxes bits
  };
  const Frame frames[] = {
      // An owned window that asks for no taskbar button gets none.
      {L"Single frame", Border::FixedSingle, true, true, false, WS_CAPTION,
       WS_SYSMENU | WS_MINIMIZEBOX},
      {L"Dialog with a title", Border::FixedDialog, true, false, true, WS_CAPTION, WS_SYSMENU},
      // No caption text and no control box leave no title bar, only the dialog frame.
      {L"", Border::FixedDialog, false, false, false, WS_DLGFRAME, 0},
  };
  for (const Frame& frame : frames) {
    SCOPED_TRACE(frame.caption);
    FormDesign design = TestDesign(frame.caption);
    design.border = frame.border;
    design.controlBox = frame.controlBox;
    design.minButton = frame.minButton;
    design.showInTaskbar = frame.showInTaskbar;
    if (!frame.controlBox) {
      design.menus = {};  // a splash has no menu bar
    }
    const std::unique_ptr<Form> loaded = toolkit.LoadForm(design);
    const HWND top = WindowOf(frame.caption);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(StyleOf(top) & WS_CAPTION, frame.titleBar);
    EXPECT_EQ(StyleOf(top) & kBoxes, frame.boxes);
    const LONG_PTR extended = ::GetWindowLongPtrA(top, GWL_EXSTYLE);
    EXPECT_EQ((extended & WS_EX_DLGMODALFRAME) != 0, frame.border == Border::FixedDialog);
    EXPECT_FALSE(extended & WS_EX_APPWINDOW);
    EXPECT_EQ(::GetWindow(top, GW_OWNER) == nullptr, frame.showInTaskbar);

    RECT client{};
    ::GetClientRect(top, &client);
    EXPECT_EQ(client.right, Pixels(6000));
    EXPECT_EQ(client.bottom, Pixels(4500, LOGPIXELSY));
    RECT outer{};
    ::GetWindowRect(top, &outer);
    EXPECT_EQ(loaded->Width(), ::MulDiv(outer.right - outer.left, 1440, ScreenDpi(LOGPIXELSX)));
    EXPECT_EQ(loaded->Height(), ::MulDiv(outer.bottom - outer.top, 1440, ScreenDpi(LOGPIXELSY)));

    // No icon resource in the test program: the system's application icon stands in.
    const auto icon = reinterpret_cast<HICON>(loaded->IconHandle());
    EXPECT_EQ(icon, ::LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(top, WM_GETICON, ICON_BIG, 0)), icon);
  }
  EXPECT_EQ(toolkit.desktop().ScreenWidth(),
            ::MulDiv(::GetSystemMetrics(SM_CXSCREEN), 1440, ScreenDpi(LOGPIXELSX)));
  EXPECT_EQ(toolkit.desktop().ScreenHeight(),
            ::MulDiv(::GetSystemMetrics(SM_CYSCREEN), 1440, ScreenDpi(LOGPIXELSY)));
}

TEST_F(ToolkitTest, ControlsHaveTheirClassTextPlaceFontAndKeys) {
  LoadTestForm();
  const std::vector<HWND> children = winhelp::ChildWindows(window);
  ASSERT_EQ(children.size(), std::size_t{kChildCount});

  struct Expected {
    TestChild child;
    const wchar_t* windowClass;
    const wchar_t* text;
    int left, top, width, height;  // twips, on the form
    bool tabStop;
  };
  const Expected expected[] = {
      {kList, L"ListBox", L"", 3120, 240, 2640, 1815, true},
      {kGo, L"Button", L"&Go", 240, 3840, 1455, 375, true},
      {kOne, L"Button", L"One", 240 + 240, 120 + 360, 1575, 255, true},
      {kOff, L"Button", L"&Off", 1920, 3840, 1455, 375, true},
      {kNote, L"Static", L"Gr\u00fc\u00dfe", 240 + 240, 120 + 900, 2000, 285, false},
      {kIcon, L"Static", L"", 3120, 2400, -1, -1, false},
      {kLine, L"Static", L"", 120, 3600, -1, -1, false},
      {kFrame, L"Button", L"Choices", 240, 120, 2700, 1500, false},
  };
  for (const Expected& want : expected) {
    SCOPED_TRACE(want.child);
    const HWND child = children[want.child];
    EXPECT_TRUE(IsOfClass(child, want.windowClass));
    EXPECT_EQ(TextOf(child), want.text);
    const RECT place = PlaceOnForm(child);
    EXPECT_EQ(place.left, Pixels(want.left));
    EXPECT_EQ(place.top, Pixels(want.top, LOGPIXELSY));
    if (want.width >= 0) {
      EXPECT_EQ(place.right - place.left, Pixels(want.width));
      EXPECT_EQ(place.bottom - place.top, Pixels(want.height, LOGPIXELSY));
    }
    EXPECT_EQ((StyleOf(child) & WS_TABSTOP) != 0, want.tabStop);
  }
  EXPECT_EQ(StyleOf(children[kFrame]) & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(StyleOf(children[kLine]) & SS_TYPEMASK, SS_ETCHEDHORZ);
  // Wine gives an etched line an edge of one pixel at either end.
  const RECT line = PlaceOnForm(children[kLine]);
  EXPECT_NEAR(line.right - line.left, Pixels(5760), 2);
  EXPECT_EQ(line.bottom - line.top, Pixels(30, LOGPIXELSY));
  EXPECT_FALSE(::IsWindowEnabled(children[kOff]));
  EXPECT_TRUE(::IsWindowEnabled(children[kGo]));
  // Single selection, unsorted, telling its parent about clicks.
  const LONG_PTR listStyle = StyleOf(children[kList]);
  EXPECT_TRUE(listStyle & LBS_NOTIFY);
  EXPECT_FALSE(listStyle & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(children[kIcon], STM_GETICON, 0, 0)),
            reinterpret_cast<HICON>(form->IconHandle()));
  // The menu bar's dash is a separator line, not an item.
  const HMENU file = ::GetSubMenu(::GetMenu(window), 0);
  ASSERT_EQ(::GetMenuItemCount(file), 3);
  EXPECT_TRUE(::GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);

  // The label's own font; the others the standard one.
  LOGFONTA font{};
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(children[kNote], WM_GETFONT, 0, 0)),
               sizeof(font), &font);
  EXPECT_STREQ(font.lfFaceName, "Arial");
  EXPECT_EQ(font.lfHeight, -Pixels(240, LOGPIXELSY));  // 12 points are 240 twips
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(::SendMessageA(children[kGo], WM_GETFONT, 0, 0)),
            ::GetStockObject(DEFAULT_GUI_FONT));

  // Shown, the form hands the focus to its first tab stop; Tab leads on in tab order, through the
  // dialog manager in the toolkit's pump, past the disabled button.
  form->Show();
  EXPECT_EQ(::GetFocus(), children[kList]);
  for (const TestChild next : {kGo, kOne, kList}) {
    ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    PumpUntil(toolkit, 2000, [&] { return ::GetFocus() == children[next]; });
    EXPECT_EQ(::GetFocus(), children[next]) << next;
  }

  // Enter presses the focused button, Esc the button designed for it wherever the focus is.
  int goClicks = 0;
  int offClicks = 0;
  form->ButtonNamed(L"cmdGo").OnClick([&] { ++goClicks; });
  form->ButtonNamed(L"cmdOff").OnClick([&] { ++offClicks; });
  form->ButtonNamed(L"cmdOff").SetEnabled(true);
  ::SetFocus(children[kOff]);
  ::PostMessageA(children[kOff], WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(PumpUntil(toolkit, 2000, [&] { return offClicks == 1; }));
  ::PostMessageA(children[kOff], WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(PumpUntil(toolkit, 2000, [&] { return goClicks == 1; }));
  EXPECT_EQ(offClicks, 1);
}

TEST_F(ToolkitTest, TooltipsBelongToTheControlsThatHaveOne) {
  LoadTestForm();
  HWND tooltip = nullptr;
  for (const HWND candidate : winhelp::ThreadWindows()) {
    if (IsOfClass(candidate, TOOLTIPS_CLASSW) && ::GetWindow(candidate, GW_OWNER) == window) {
      tooltip = candidate;
    }
  }
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(::SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
  for (const auto& [child, text] :
       {std::pair{Child(kOne), "The first box."}, std::pair{Child(kGo), "Start it."}}) {
    char buffer[80] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    tool.lpszText = buffer;
    ::SendMessageA(tooltip, TTM_GETTEXTA, sizeof(buffer), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(buffer, text);
  }
}

// A menu's item text as the menu holds it.
std::wstring MenuText(HMENU menu, UINT position) {
  wchar_t text[80] = {};
  ::GetMenuStringW(menu, position, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
  return text;
}

// The menu bar and a tooltip take their texts whole: an Esperanto letter and Chinese, which the
// code page lacks, stay as they are.
TEST_F(ToolkitTest, MenusAndTooltipsKeepCharactersOutsideTheCodePage) {
  const std::wstring menu = L"&\u0108efa \u83dc\u5355";
  const std::wstring item = L"&Iru \u6587\u4ef6";
  const std::wstring tip = L"Komencu \u0108ion \u5f00\u59cb.";
  FormDesign design = TestDesign(L"Texts outside the code page");
  const MenuDesign items[] = {{L"mnuFileGo", item, {}}};
  const MenuDesign menus[] = {{L"mnuFile", menu, items}};
  design.menus = menus;
  std::vector<ControlDesign> controls(std::begin(kTestControls), std::end(kTestControls));
  controls[3].tooltip = tip;  // cmdGo's
  design.controls = controls;
  const std::unique_ptr<Form> loaded = toolkit.LoadForm(design);
  const HWND top = WindowOf(L"Texts outside the code page");
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(MenuText(::GetMenu(top), 0), menu);
  EXPECT_EQ(MenuText(::GetSubMenu(::GetMenu(top), 0), 0), item);

  HWND tooltip = nullptr;
  for (const HWND candidate : winhelp::ThreadWindows()) {
    if (IsOfClass(candidate, TOOLTIPS_CLASSW) && ::GetWindow(candidate, GW_OWNER) == top) {
      tooltip = candidate;
    }
  }
  ASSERT_NE(tooltip, nullptr);
  wchar_t buffer[80] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V1_SIZE;
  tool.hwnd = top;
  tool.uId = reinterpret_cast<UINT_PTR>(winhelp::ChildWindows(top).at(kGo));
  tool.lpszText = buffer;
  ::SendMessageW(tooltip, TTM_GETTEXTW, std::size(buffer), reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(buffer), tip);
}

TEST_F(ToolkitTest, WindowMovesComesForwardWearsTheHourglassAndOutlivesACalledOffShutdown) {
  LoadTestForm();
  form->Move(1500, 750);
  RECT outer{};
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, Pixels(1500));
  EXPECT_EQ(outer.top, Pixels(750, LOGPIXELSY));
  form->Show();
  EXPECT_TRUE(::IsWindowVisible(window));
  form->BringToFront();
  EXPECT_EQ(::GetForegroundWindow(), window);
  // Brought forward from the tray, a minimised window comes back in full.
  ::ShowWindow(window, SW_MINIMIZE);
  form->Show();
  form->BringToFront();
  EXPECT_FALSE(::IsIconic(window));

  // Over a control the form's pointer wins while it is the hourglass.
  const HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
  const HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
  form->SetPointer(MousePointer::Hourglass);
  EXPECT_EQ(form->Pointer(), MousePointer::Hourglass);
  ::SetCursor(arrow);
  ::SendMessageA(Child(kList), WM_SETCURSOR, reinterpret_cast<WPARAM>(Child(kList)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), wait);
  form->SetPointer(MousePointer::Default);
  ::SendMessageA(Child(kGo), WM_SETCURSOR, reinterpret_cast<WPARAM>(Child(kGo)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), arrow);

  // A shutdown that another program called off asks nothing and closes nothing.
  int asked = 0;
  form->OnCloseRequest([&](CloseReason) {
    ++asked;
    return false;
  });
  ::SendMessageA(window, WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(::IsWindowVisible(window));
}

class TrayWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tray = toolkit.CreateTrayWindow(L"Sys Tray Interface Test");
    window = reinterpret_cast<HWND>(tray->Handle());
  }
  NotifyIconData Record(std::uint32_t flags) const {
    NotifyIconData data;
    data.window = tray->Handle();
    data.id = 1;
    data.flags = flags;
    data.callbackMessage = WM_MOUSEMOVE;
    data.icon = tray->IconHandle();
    data.tip = std::string("Orvanta Quellspur") + '\0';
    data.tip.resize(64, ' ');
    return data;
  }

  Win32Toolkit toolkit;
  std::unique_ptr<TrayWindow> tray;
  HWND window = nullptr;
};

// The shell's mouse messages reach the icon's window in the end-to-end tests' tray steps.
TEST_F(TrayWindowTest, HiddenWindowShowsTheIconAgainOnANewTaskbar) {
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_EQ(tray->IconHandle(),
            reinterpret_cast<std::uintptr_t>(::LoadIconA(nullptr, IDI_APPLICATION)));
  int taskbars = 0;
  tray->OnTaskbarCreated([&] { ++taskbars; });

  EXPECT_TRUE(tray->Shell_NotifyIconA(kNimAdd, Record(kNifMessage | kNifIcon | kNifTip)));
  ::SendMessageA(window, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_EQ(taskbars, 1);
  EXPECT_TRUE(tray->Shell_NotifyIconA(kNimModify, Record(kNifTip)));
  EXPECT_TRUE(tray->Shell_NotifyIconA(kNimDelete, Record(0)));
  EXPECT_FALSE(tray->Shell_NotifyIconA(kNimDelete, Record(0)));
}

// What the menu showed and what it was told to do, seen from inside its loop.
struct MenuDriver {
  TrayWindow* tray = nullptr;
  int itemCount = -1;
  UINT defaultPosition = 0;
  bool separator = false;
  int nested = 0;
};
MenuDriver* driver = nullptr;

// Down to the first line, past the separator and "Options" to "Exit", and Enter; a second menu
// asked for meanwhile is refused.
void CALLBACK DriveMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND menuWindow = ::FindWindowA("#32768", nullptr);
  if (!menuWindow || !::IsWindowVisible(menuWindow)) {
    return;
  }
  ::KillTimer(nullptr, timer);
  const auto menu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
  driver->itemCount = ::GetMenuItemCount(menu);
  driver->defaultPosition = ::GetMenuDefaultItem(menu, TRUE, 0);
  driver->separator = ::GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR;
  driver->nested = driver->tray->TrackPopupMenu({{L"again"}}, 0);
  for (const WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) {
    ::PostMessageA(menuWindow, WM_KEYDOWN, key, 0);
  }
}

// Closes whatever menu is still open, so that a menu nobody drives fails the test, not hangs it.
void CALLBACK CloseMenus(HWND, UINT, UINT_PTR, DWORD) {
  ::EndMenu();
}

// Escape and the other items are the end-to-end tests' tray steps.
TEST_F(TrayWindowTest, PopupMenuShowsItsDefaultAndSeparatorAndRefusesASecondOne) {
  MenuDriver menu;
  menu.tray = tray.get();
  driver = &menu;
  const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 3000, CloseMenus);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, DriveMenu);
  EXPECT_EQ(tray->TrackPopupMenu({{L"Open Quellspur"}, {L"-"}, {L"Options"}, {L"Exit"}}, 3), 3);
  ::KillTimer(nullptr, timer);
  ::KillTimer(nullptr, watchdog);
  driver = nullptr;
  EXPECT_EQ(menu.itemCount, 4);
  EXPECT_EQ(menu.defaultPosition, 3u);
  EXPECT_TRUE(menu.separator);
  EXPECT_EQ(menu.nested, -1);
}

// The texts of the popup menu being shown, read from inside its loop; the menu then closes.
std::vector<std::wstring>* popupTexts = nullptr;

void CALLBACK ReadAndClosePopup(HWND, UINT, UINT_PTR, DWORD) {
  const HWND menuWindow = ::FindWindowW(L"#32768", nullptr);
  if (!popupTexts || !menuWindow || !::IsWindowVisible(menuWindow)) {
    return;
  }
  const auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    popupTexts->push_back(MenuText(menu, static_cast<UINT>(i)));
  }
  popupTexts = nullptr;
  ::EndMenu();
}

// The tray window's caption and its menu's items keep what the code page lacks.
TEST_F(TrayWindowTest, CaptionAndPopupMenuKeepCharactersOutsideTheCodePage) {
  const std::wstring caption = L"Sys Tray \u0108\u6258\u76d8";
  const std::unique_ptr<TrayWindow> named = toolkit.CreateTrayWindow(caption);
  EXPECT_EQ(TextOf(reinterpret_cast<HWND>(named->Handle())), caption);

  const std::vector<std::wstring> items = {L"Malfermi \u0108ion", L"\u9009\u9879"};
  std::vector<std::wstring> shown;
  popupTexts = &shown;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReadAndClosePopup);
  const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 3000, CloseMenus);
  tray->TrackPopupMenu({{items[0]}, {items[1]}}, 0);
  ::KillTimer(nullptr, timer);
  ::KillTimer(nullptr, watchdog);
  popupTexts = nullptr;
  EXPECT_EQ(shown, items);
}

}  // namespace
}  // namespace quellspur::platform::win32
