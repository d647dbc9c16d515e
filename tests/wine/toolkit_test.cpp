// The toolkit on real windows, in what only real windows have: styles, pixels, fonts, tab order,
// tooltips, the dialog manager's keys, the menu bar, the mouse pointer and the tray icon's window,
// looked at the way Windows and an outside driver see them. What the forms rely on from any
// toolkit is held against these windows and the simulated ones alike by the toolkit's contract.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#undef MessageBox

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_toolkit.h"
#include "win_helpers.h"

namespace quellspur::platform::win32 {
namespace {

using winhelp::ClassOf;
using winhelp::IsOfClass;
using winhelp::TextOf;

// Lets the toolkit handle messages until `done` holds or `limit` milliseconds have passed.
bool PumpUntil(Toolkit& toolkit, DWORD limit, const std::function<bool()>& done) {
  return winhelp::Eventually(limit, done, [&] { toolkit.pump().ProcessPendingMessages(); });
}

// The screen's dots per inch, across and down.
int ScreenDpi(int axis) {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, axis);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

int PixelsX(int twips) {
  return ::MulDiv(twips, ScreenDpi(LOGPIXELSX), 1440);
}

int PixelsY(int twips) {
  return ::MulDiv(twips, ScreenDpi(LOGPIXELSY), 1440);
}

// The form's controls in the order Tab visits them (the order of the window list).
std::vector<HWND> Children(HWND form) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(form, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

RECT PlaceOnForm(HWND control) {
  RECT place{};
  ::GetWindowRect(control, &place);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

// This thread's top-level windows of a class, hidden ones included.
std::vector<HWND> ThreadWindows(const std::wstring& windowClass) {
  std::vector<HWND> found;
  for (const HWND top : winhelp::ThreadWindows()) {
    if (IsOfClass(top, windowClass)) {
      found.push_back(top);
    }
  }
  return found;
}

LONG_PTR StyleOf(HWND window) {
  return ::GetWindowLongPtrA(window, GWL_STYLE);
}

ControlDesign Cancel(ControlDesign control) {
  control.cancel = true;
  return control;
}

ControlDesign Disabled(ControlDesign control) {
  control.enabled = false;
  return control;
}

// A window of every kind of control, two of them on a frame, listed out of tab order.
FormDesign TestDesign(const std::wstring& caption) {
  return FormDesign{
      .name = L"frmTest",
      .caption = caption,
      .clientWidth = 6000,
      .clientHeight = 4500,
      .border = Border::FixedSingle,
      .controlBox = true,
      .minButton = true,
      .maxButton = false,
      .showInTaskbar = false,
      .controls =
          {
              Control(ControlKind::Frame, L"Frame1", L"", L"Choices", L"", 240, 120, 2700, 1500, 5),
              Control(ControlKind::CheckBox, L"chkOne", L"Frame1", L"One", L"The first box.", 240,
                      360, 1575, 255, 2),
              Control(ControlKind::ListBox, L"List", L"", L"", L"", 3120, 240, 2640, 1815, 0),
              Cancel(Control(ControlKind::Button, L"cmdGo", L"", L"&Go", L"Start it.", 240, 3840,
                             1455, 375, 1)),
              Disabled(Control(ControlKind::Button, L"cmdOff", L"", L"&Off", L"", 1920, 3840, 1455,
                               375, 3)),
              WithFont(Control(ControlKind::Label, L"lblNote", L"Frame1", L"Gr\u00fc\u00dfe", L"",
                               240, 900, 2000, 285, -1),
                       L"Arial", 12, true),
              Control(ControlKind::Image, L"imgIcon", L"", L"", L"", 3120, 2400, 540, 540, -1),
              Control(ControlKind::Line, L"Line1", L"", L"", L"", 120, 3600, 5760, 30, -1),
          },
      .menus =
          {{L"mnuFile",
            L"&File",
            {{L"mnuFileGo", L"&Go", {}}, {L"mnuDash", L"-", {}}, {L"mnuFileExit", L"E&xit", {}}}}},
  };
}

class ToolkitTest : public ::testing::Test {
 protected:
  // Loads the test form under a caption of this test's own, and finds its window.
  void Load(FormDesign design) {
    form = toolkit.LoadForm(design);
    window = ::FindWindowW(nullptr, design.caption.c_str());
    ASSERT_NE(window, nullptr);
  }
  void LoadTestForm() {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    Load(TestDesign(std::wstring(name.begin(), name.end())));
  }
  // The control at `position` in the tab order of the test form.
  HWND Child(std::size_t position) { return Children(window).at(position); }

  Win32Toolkit toolkit;
  std::unique_ptr<Form> form;
  HWND window = nullptr;
};

// Creation order of the test form: tab stops by tab index, then label and image, then the frame.
enum TestChild { kList, kGo, kOne, kOff, kNote, kIcon, kLine, kFrame, kChildCount };

TEST_F(ToolkitTest, FormHasTheDesignsSizeAndFrameInPixels) {
  LoadTestForm();
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, PixelsX(6000));
  EXPECT_EQ(client.bottom, PixelsY(4500));
  RECT outer{};
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(form->Width(), ::MulDiv(outer.right - outer.left, 1440, ScreenDpi(LOGPIXELSX)));
  EXPECT_EQ(form->Height(), ::MulDiv(outer.bottom - outer.top, 1440, ScreenDpi(LOGPIXELSY)));
  EXPECT_EQ(toolkit.desktop().ScreenWidth(),
            ::MulDiv(::GetSystemMetrics(SM_CXSCREEN), 1440, ScreenDpi(LOGPIXELSX)));
  EXPECT_EQ(toolkit.desktop().ScreenHeight(),
            ::MulDiv(::GetSystemMetrics(SM_CYSCREEN), 1440, ScreenDpi(LOGPIXELSY)));

  // A title bar with close and minimise boxes, no maximise box, and no taskbar button: an owned
  // window that does not ask for one.
  const LONG_PTR style = StyleOf(window);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_NE(::GetWindow(window, GW_OWNER), nullptr);
  EXPECT_FALSE(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);

  // No icon resource in the test program: the system's application icon stands in.
  const auto icon = reinterpret_cast<HICON>(form->IconHandle());
  EXPECT_EQ(icon, ::LoadIconA(nullptr, IDI_APPLICATION));
  EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_BIG, 0)), icon);
}

TEST_F(ToolkitTest, DialogFramesAndTaskbarButtonFollowTheDesign) {
  FormDesign dialog = TestDesign(L"Dialog with a title");
  dialog.border = Border::FixedDialog;
  dialog.minButton = false;
  dialog.showInTaskbar = true;
  Load(dialog);
  EXPECT_EQ(StyleOf(window) & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(StyleOf(window) & WS_SYSMENU);
  EXPECT_FALSE(StyleOf(window) & WS_MINIMIZEBOX);
  EXPECT_TRUE(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_EQ(::GetWindow(window, GW_OWNER), nullptr);

  // A splash: no caption text and no control box leave no title bar, only the dialog frame.
  FormDesign splash = TestDesign(L"");
  splash.name = L"frmSplash";
  splash.border = Border::FixedDialog;
  splash.controlBox = false;
  splash.minButton = false;
  splash.menus.clear();
  const std::unique_ptr<Form> bare = toolkit.LoadForm(splash);
  HWND found = nullptr;
  for (const HWND top : ThreadWindows(ClassOf(window))) {
    if (TextOf(top).empty()) {
      found = top;
    }
  }
  ASSERT_NE(found, nullptr);
  EXPECT_NE(StyleOf(found) & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(StyleOf(found) & WS_DLGFRAME);
  RECT client{};
  ::GetClientRect(found, &client);
  EXPECT_EQ(client.right, PixelsX(6000));
  EXPECT_EQ(client.bottom, PixelsY(4500));
}

TEST_F(ToolkitTest, ControlsHaveTheirClassTextPlaceAndTabOrder) {
  LoadTestForm();
  const std::vector<HWND> children = Children(window);
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
    EXPECT_EQ(place.left, PixelsX(want.left));
    EXPECT_EQ(place.top, PixelsY(want.top));
    if (want.width >= 0) {
      EXPECT_EQ(place.right - place.left, PixelsX(want.width));
      EXPECT_EQ(place.bottom - place.top, PixelsY(want.height));
    }
    EXPECT_EQ((StyleOf(child) & WS_TABSTOP) != 0, want.tabStop);
  }
  EXPECT_EQ(StyleOf(children[kFrame]) & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(StyleOf(children[kLine]) & SS_TYPEMASK, SS_ETCHEDHORZ);
  // Wine gives an etched line an edge of one pixel at either end.
  const RECT line = PlaceOnForm(children[kLine]);
  EXPECT_NEAR(line.right - line.left, PixelsX(5760), 2);
  EXPECT_EQ(line.bottom - line.top, PixelsY(30));
  EXPECT_FALSE(::IsWindowEnabled(children[kOff]));
  EXPECT_TRUE(::IsWindowEnabled(children[kGo]));
  // Single selection, unsorted, telling its parent about clicks.
  const LONG_PTR listStyle = StyleOf(children[kList]);
  EXPECT_TRUE(listStyle & LBS_NOTIFY);
  EXPECT_FALSE(listStyle & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(children[kIcon], STM_GETICON, 0, 0)),
            reinterpret_cast<HICON>(form->IconHandle()));

  // The label's own font; the others the standard one.
  LOGFONTA font{};
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(children[kNote], WM_GETFONT, 0, 0)),
               sizeof(font), &font);
  EXPECT_STREQ(font.lfFaceName, "Arial");
  EXPECT_EQ(font.lfHeight, -PixelsY(240));  // 12 points are 240 twips
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(::SendMessageA(children[kGo], WM_GETFONT, 0, 0)),
            ::GetStockObject(DEFAULT_GUI_FONT));

  // Shown, the form hands the focus to its first tab stop; Tab leads on in tab order, through the
  // toolkit's pump, past the disabled button.
  form->Show();
  EXPECT_EQ(::GetFocus(), children[kList]);
  for (const TestChild next : {kGo, kOne, kList}) {
    ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    PumpUntil(toolkit, 2000, [&] { return ::GetFocus() == children[next]; });
    EXPECT_EQ(::GetFocus(), children[next]) << next;
  }
}

TEST_F(ToolkitTest, TooltipsBelongToTheControlsThatHaveOne) {
  LoadTestForm();
  HWND tooltip = nullptr;
  for (const HWND candidate : ThreadWindows(TOOLTIPS_CLASSW)) {
    if (::GetWindow(candidate, GW_OWNER) == window) {
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

TEST_F(ToolkitTest, EnterPressesTheFocusedButtonAndEscTheCancelButton) {
  LoadTestForm();
  Button& go = form->ButtonNamed(L"cmdGo");
  Button& off = form->ButtonNamed(L"cmdOff");
  int goClicks = 0;
  int offClicks = 0;
  go.OnClick([&] { ++goClicks; });
  off.OnClick([&] { ++offClicks; });
  off.SetEnabled(true);

  // Enter presses the focused button, through the dialog manager in the toolkit's pump.
  form->Show();
  ::SetFocus(Child(kOff));
  ::PostMessageA(Child(kOff), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(PumpUntil(toolkit, 2000, [&] { return offClicks == 1; }));

  // Esc presses the button designed for it, wherever the focus is.
  ::PostMessageA(Child(kOff), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(PumpUntil(toolkit, 2000, [&] { return goClicks == 1; }));
  EXPECT_EQ(offClicks, 1);
}

// A shutdown that another program called off closes nothing.
TEST_F(ToolkitTest, ACalledOffShutdownAsksNothing) {
  LoadTestForm();
  int asked = 0;
  form->OnCloseRequest([&](CloseReason) {
    ++asked;
    return false;
  });
  ::SendMessageA(window, WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(form->Loaded());
}

TEST_F(ToolkitTest, MenuBarRaisesTheChosenItem) {
  LoadTestForm();
  const HMENU bar = ::GetMenu(window);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(::GetMenuItemCount(bar), 1);
  const HMENU file = ::GetSubMenu(bar, 0);
  ASSERT_EQ(::GetMenuItemCount(file), 3);
  char caption[32] = {};
  ::GetMenuStringA(bar, 0, caption, sizeof(caption), MF_BYPOSITION);
  EXPECT_STREQ(caption, "&File");
  EXPECT_TRUE(::GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);

  int go = 0;
  int exits = 0;
  int opened = 0;
  form->MenuItemNamed(L"mnuFileGo").OnClick([&] { ++go; });
  form->MenuItemNamed(L"mnuFileExit").OnClick([&] { ++exits; });
  form->MenuItemNamed(L"mnuFile").OnClick([&] { ++opened; });
  ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(::GetMenuItemID(file, 2), 0), 0);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(go, 0);
  ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(::GetMenuItemID(file, 0), 0), 0);
  EXPECT_TRUE(PumpUntil(toolkit, 2000, [&] { return go == 1; }));
  EXPECT_EQ(exits, 1);
  // Dropping the menu down is the File menu's own click.
  ::SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  EXPECT_EQ(opened, 1);
}

TEST_F(ToolkitTest, WindowMovesComesToTheFrontAndWearsTheHourglass) {
  LoadTestForm();
  form->Move(1500, 750);
  RECT outer{};
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, PixelsX(1500));
  EXPECT_EQ(outer.top, PixelsY(750));
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

TEST_F(TrayWindowTest, HiddenWindowDecodesTheShellsNotifications) {
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(::FindWindowA(nullptr, "Sys Tray Interface Test"), window);
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_EQ(tray->IconHandle(),
            reinterpret_cast<std::uintptr_t>(::LoadIconA(nullptr, IDI_APPLICATION)));

  std::vector<std::uint32_t> mouse;
  int taskbars = 0;
  tray->OnNotify([&](std::uint32_t message) { mouse.push_back(message); });
  tray->OnTaskbarCreated([&] { ++taskbars; });

  EXPECT_TRUE(tray->Shell_NotifyIconA(kNimAdd, Record(kNifMessage | kNifIcon | kNifTip)));
  // The shell's callback carries the mouse message in lParam, whatever the pointer's position.
  ::SendMessageA(window, WM_MOUSEMOVE, 1, WM_RBUTTONDOWN);
  ::SendMessageA(window, WM_MOUSEMOVE, 1, WM_RBUTTONUP);
  ::PostMessageA(window, WM_MOUSEMOVE, 1, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(PumpUntil(toolkit, 2000, [&] { return mouse.size() == 3; }));
  EXPECT_EQ(mouse, (std::vector<std::uint32_t>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK}));

  ::SendMessageA(window, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_EQ(taskbars, 1);

  EXPECT_TRUE(tray->Shell_NotifyIconA(kNimModify, Record(kNifTip)));
  EXPECT_TRUE(tray->Shell_NotifyIconA(kNimDelete, Record(0)));
  EXPECT_FALSE(tray->Shell_NotifyIconA(kNimDelete, Record(0)));
}

// What the menu showed and what it was told to do, seen from inside its loop.
struct MenuDriver {
  TrayWindow* tray = nullptr;
  std::vector<WPARAM> keys;
  int itemCount = -1;
  UINT defaultPosition = 0;
  bool separator = false;
  int nested = 0;
};
MenuDriver* driver = nullptr;

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
  for (const WPARAM key : driver->keys) {
    ::PostMessageA(menuWindow, WM_KEYDOWN, key, 0);
  }
}

// Closes whatever menu is still open, so that a menu nobody drives fails the test, not hangs it.
void CALLBACK CloseMenus(HWND, UINT, UINT_PTR, DWORD) {
  ::EndMenu();
}

TEST_F(TrayWindowTest, PopupMenuReturnsTheIndexOfTheItemChosen) {
  const std::vector<PopupItem> items = {{L"Open Quellspur"}, {L"-"}, {L"Options"}, {L"Exit"}};
  MenuDriver menu;
  menu.tray = tray.get();
  driver = &menu;
  const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 3000, CloseMenus);

  // Down to the first line, past the separator and "Options" to "Exit", and Enter; a second menu
  // asked for meanwhile is refused.
  menu.keys = {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, DriveMenu);
  EXPECT_EQ(tray->TrackPopupMenu(items, 3), 3);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(menu.itemCount, 4);
  EXPECT_EQ(menu.defaultPosition, 3u);
  EXPECT_TRUE(menu.separator);
  EXPECT_EQ(menu.nested, -1);

  // Escape closes it with nothing chosen.
  menu.keys = {VK_ESCAPE};
  const UINT_PTR second = ::SetTimer(nullptr, 0, 50, DriveMenu);
  EXPECT_EQ(tray->TrackPopupMenu(items, 0), -1);
  ::KillTimer(nullptr, second);
  ::KillTimer(nullptr, watchdog);
  driver = nullptr;
}

}  // namespace
}  // namespace quellspur::platform::win32
