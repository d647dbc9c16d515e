// The program's own forms on real windows: every text that the layout gives a single line fits it
// in the font Windows draws it with, so that nothing is cut off or wrapped onto a hidden line.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "about/frm_about.h"
#include "app/forms.h"
#include "app/version.h"
#include "platform/win32/win32_toolkit.h"
#include "settings/frm_opti.h"

namespace quellspur {
namespace {

// Room a check box's square and the gap after it take from its text.
constexpr int kCheckGap = 4;
// A push button's border and focus rectangle.
constexpr int kButtonFrame = 6;

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

// Labels, push buttons and check boxes whose height holds a single line of their text, and the
// texts named as a single line, each with the width it needs, when that is more than it has.
std::vector<std::string> TextsThatDoNotFit(HWND form, const std::string& oneLine = "") {
  std::vector<HWND> children;
  ::EnumChildWindows(form, CollectChild, reinterpret_cast<LPARAM>(&children));
  std::vector<std::string> overflows;
  for (const HWND child : children) {
    char className[16] = {};
    ::GetClassNameA(child, className, sizeof(className));
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    const bool label = ::lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_LEFT;
    const bool button = ::lstrcmpiA(className, "Button") == 0;
    const LONG buttonType = style & BS_TYPEMASK;
    const bool pushButton = button && buttonType == BS_PUSHBUTTON;
    const bool checkBox = button && buttonType == BS_3STATE;
    char text[256] = {};
    if ((!label && !pushButton && !checkBox) || ::GetWindowTextA(child, text, sizeof(text)) == 0) {
      continue;
    }
    const HDC dc = ::GetDC(child);
    const HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    RECT needed{};
    ::DrawTextA(dc, text, -1, &needed, DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(dc, previous);
    ::ReleaseDC(child, dc);

    RECT room{};
    ::GetClientRect(child, &room);
    if (room.bottom >= 2 * metrics.tmHeight && text != oneLine) {
      continue;  // laid out for more than one line
    }
    int width = room.right;
    width -= checkBox ? ::GetSystemMetrics(SM_CXMENUCHECK) + kCheckGap : 0;
    width -= pushButton ? kButtonFrame : 0;
    if (needed.right > width) {
      std::string overflow = text;
      overflow.append(" needs ").append(std::to_string(needed.right));
      overflow.append(" pixels, has ").append(std::to_string(width));
      overflows.push_back(overflow);
    }
  }
  return overflows;
}

HWND WindowCalled(const char* caption) {
  const HWND window = ::FindWindowA(nullptr, caption);
  EXPECT_NE(window, nullptr) << caption;
  return window;
}

TEST(FormTexts, TheMainWindowTheSplashAndTheOptionsFitTheirTexts) {
  platform::win32::Win32Toolkit toolkit;
  const std::unique_ptr<platform::Form> main = toolkit.LoadForm(MainWindowDesign());
  main->SetCaption(main->Caption() + L" " + kVersionText);
  EXPECT_EQ(TextsThatDoNotFit(WindowCalled("Orvanta Quellspur Version 1.3")),
            std::vector<std::string>());

  // The splash has no caption of its own; one is lent to find it.
  const std::unique_ptr<platform::Form> splash = toolkit.LoadForm(SplashDesign());
  splash->LabelNamed(L"lblVersion").SetCaption(kVersionText);
  splash->SetCaption(L"splash under test");
  EXPECT_EQ(TextsThatDoNotFit(WindowCalled("splash under test")), std::vector<std::string>());

  const std::unique_ptr<platform::Form> options = toolkit.LoadForm(FrmOptiDesign());
  EXPECT_EQ(TextsThatDoNotFit(WindowCalled("Options")), std::vector<std::string>());
}

TEST(FormTexts, TheAboutBoxFitsItsVersionAndItsNoticeOnOneLine) {
  platform::win32::Win32Toolkit toolkit;
  const FrmAbout about(toolkit);
  const std::string notice(kAboutNotice.begin(), kAboutNotice.end());
  EXPECT_EQ(TextsThatDoNotFit(WindowCalled("About Quellspur"), notice), std::vector<std::string>());
}

}  // namespace
}  // namespace quellspur
