// The program's own forms on real windows: every text that the layout gives a single line fits it
// in the font Windows draws it with, so that nothing is cut off or wrapped onto a hidden line.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// The engine's yield pacer has a Yield of its own, which the macro would rename.
#undef Yield

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/forms.h"
#include "forms/frm_about.h"
#include "forms/frm_opti.h"
#include "forms/frm_quarantine.h"
#include "platform/win32/win32_toolkit.h"
#include "version/version.h"
#include "win_helpers.h"

namespace quellspur {
namespace {

// Room a check box's square and the gap after it take from its text.
constexpr int kCheckGap = 4;
// A push button's border and focus rectangle.
constexpr int kButtonFrame = 6;

// Labels, push buttons and check boxes whose height holds a single line of their text, and the
// texts named as a single line, each with the width it needs, when that is more than it has.
std::vector<std::wstring> TextsThatDoNotFit(HWND form, const std::wstring& oneLine = L"") {
  std::vector<std::wstring> overflows;
  for (const HWND child : winhelp::ChildWindows(form)) {
    const LONG style = ::GetWindowLongW(child, GWL_STYLE);
    const bool label = winhelp::IsOfClass(child, L"Static") && (style & SS_TYPEMASK) == SS_LEFT;
    const bool button = winhelp::IsOfClass(child, L"Button");
    const LONG buttonType = style & BS_TYPEMASK;
    const bool pushButton = button && buttonType == BS_PUSHBUTTON;
    const bool checkBox = button && buttonType == BS_3STATE;
    const std::wstring text = winhelp::TextOf(child);
    if ((!label && !pushButton && !checkBox) || text.empty()) {
      continue;
    }
    const HDC dc = ::GetDC(child);
    const HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    RECT needed{};
    ::DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
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
      std::wstring overflow = text;
      overflow.append(L" needs ").append(std::to_wstring(needed.right));
      overflow.append(L" pixels, has ").append(std::to_wstring(width));
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

TEST(FormTexts, EveryFormFitsItsOneLineTexts) {
  platform::win32::Win32Toolkit toolkit;
  const std::unique_ptr<platform::Form> main = toolkit.LoadForm(MainWindowDesign());
  main->SetCaption(main->Caption() + L" " + kVersionText);
  EXPECT_EQ(TextsThatDoNotFit(WindowCalled("Orvanta Quellspur Version " QUELLSPUR_VERSION_SHORT)),
            std::vector<std::wstring>());

  // The splash has no caption of its own; one is lent to find it.
  const std::unique_ptr<platform::Form> splash = toolkit.LoadForm(SplashDesign());
  splash->LabelNamed(L"lblVersion").SetCaption(kVersionText);
  splash->SetCaption(L"splash under test");
  EXPECT_EQ(TextsThatDoNotFit(WindowCalled("splash under test")), std::vector<std::wstring>());

  const std::unique_ptr<platform::Form> options = toolkit.LoadForm(FrmOptiDesign());
  EXPECT_EQ(TextsThatDoNotFit(WindowCalled("Options")), std::vector<std::wstring>());

  const std::unique_ptr<platform::Form> quarantine = toolkit.LoadForm(FrmQuarantineDesign());
  EXPECT_EQ(TextsThatDoNotFit(WindowCalled("Quarantine")), std::vector<std::wstring>());

  // The about box's notice is laid out on one line.
  const FrmAbout about(toolkit);
  EXPECT_EQ(TextsThatDoNotFit(WindowCalled("About Quellspur"), kAboutNotice),
            std::vector<std::wstring>());
}

}  // namespace
}  // namespace quellspur
