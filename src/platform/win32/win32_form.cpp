#include "platform/win32/win32_form.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace quellspur::platform::win32 {
namespace {

// Control ids, menu command ids and timer ids live in ranges of their own, so that WM_COMMAND
// tells a menu item from a control; IDOK and IDCANCEL from the dialog manager match neither,
// except that IDCANCEL is routed to the button designed to answer Esc.
constexpr int kFirstControlId = 0x100;
constexpr int kFirstMenuId = 0x1000;
constexpr UINT_PTR kFirstTimerId = 1;

// The tool record as comctl32 5.80 knows it; newer versions accept it too.
constexpr UINT kToolInfoSize = offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM);

ATOM FormClassAtom(HINSTANCE instance) {
  static const ATOM atom = [instance] {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Win32Form::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kFormClass;
    return ::RegisterClassExA(&windowClass);
  }();
  return atom;
}

struct WindowStyle {
  DWORD style = 0;
  DWORD exStyle = 0;
};

// A form without caption text and without control box has no title bar at all.
WindowStyle FormStyle(const FormDesign& design) {
  const bool titleBar = design.controlBox || !design.caption.empty();
  const bool dialogFrame = design.border == Border::FixedDialog;
  WindowStyle result;
  if (titleBar) {
    result.style = WS_OVERLAPPED | WS_CAPTION;
    if (design.controlBox) {
      result.style |= WS_SYSMENU;
      result.style |= design.minButton ? WS_MINIMIZEBOX : 0;
      result.style |= design.maxButton ? WS_MAXIMIZEBOX : 0;
    }
  } else {
    result.style = WS_POPUP | (dialogFrame ? WS_DLGFRAME : WS_BORDER);
  }
  result.exStyle = dialogFrame ? WS_EX_DLGMODALFRAME : 0;
  return result;
}

// Tab stops first, in their tab order, so that the dialog manager's order (creation order)
// follows it; then the other controls; frames last, so that the controls on them lie above.
std::pair<int, int> CreationRank(const ControlDesign& control) {
  if (control.kind == ControlKind::Frame) {
    return {2, 0};
  }
  return control.tabIndex >= 0 ? std::pair{0, control.tabIndex} : std::pair{1, 0};
}

bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::Button || kind == ControlKind::CheckBox ||
         kind == ControlKind::ListBox;
}

struct ChildClass {
  const wchar_t* name;
  DWORD style;
};

ChildClass ChildClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Frame:
      return {L"BUTTON", BS_GROUPBOX};
    case ControlKind::Button:
      return {L"BUTTON", BS_PUSHBUTTON};
    case ControlKind::CheckBox:
      return {L"BUTTON", BS_3STATE};
    case ControlKind::ListBox:
      return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER};
    case ControlKind::Image:
      return {L"STATIC", SS_ICON};
    case ControlKind::Line:
      return {L"STATIC", SS_ETCHEDHORZ};
    case ControlKind::Label:
    case ControlKind::Timer:
      break;
  }
  return {L"STATIC", SS_LEFT};
}

}  // namespace

Win32Form::Win32Form(const UiContext& ui, const FormDesign& design)
    : ui_(ui), nextMenuId_(kFirstMenuId) {
  const WindowStyle style = FormStyle(design);
  const HMENU menuBar = design.menus.empty() ? nullptr : BuildMenu(design.menus, false);
  const int clientWidth = ui_.XToPixels(design.clientWidth);
  const int clientHeight = ui_.YToPixels(design.clientHeight);
  RECT outer{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&outer, style.style, menuBar != nullptr, style.exStyle);
  ::CreateWindowExA(
      style.exStyle, MAKEINTATOM(FormClassAtom(ui_.instance())), ToAnsi(design.caption).c_str(),
      style.style, CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
      design.showInTaskbar ? nullptr : ui_.hiddenOwner(), menuBar, ui_.instance(), this);
  if (!window_) {
    if (menuBar) {
      ::DestroyMenu(menuBar);
    }
  } else {
    ::SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ui_.bigIcon()));
    ::SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ui_.smallIcon()));
    FitClientArea(clientWidth, clientHeight);
  }
  CreateControls(design);
}

Win32Form::~Win32Form() {
  if (window_) {
    ::DestroyWindow(window_);
  }
}

void Win32Form::FitClientArea(int width, int height) {
  // The menu bar may take more than one line; the design's client area is what counts.
  RECT client{};
  ::GetClientRect(window_, &client);
  const int moreWidth = width - client.right;
  const int moreHeight = height - client.bottom;
  if (moreWidth != 0 || moreHeight != 0) {
    RECT outer{};
    ::GetWindowRect(window_, &outer);
    ::SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left + moreWidth,
                   outer.bottom - outer.top + moreHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HMENU Win32Form::BuildMenu(const std::vector<MenuDesign>& menus, bool popup) {
  const HMENU menu = popup ? ::CreatePopupMenu() : ::CreateMenu();
  for (const MenuDesign& entry : menus) {
    auto item = std::make_unique<Win32MenuItem>();
    const std::string caption = ToAnsi(entry.caption);
    if (entry.caption == L"-") {
      ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else if (!entry.items.empty()) {
      const HMENU dropDown = BuildMenu(entry.items, true);
      dropDowns_[dropDown] = item.get();
      ::AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(dropDown),
                    caption.c_str());
    } else {
      const int id = nextMenuId_++;
      commands_[id] = item.get();
      ::AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(id), caption.c_str());
    }
    menuItems_[entry.name] = std::move(item);
  }
  return menu;
}

HFONT Win32Form::FontFor(const Font& font) {
  const auto standard = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (font.name.empty() && font.points <= 0 && !font.bold) {
    return standard;
  }
  LOGFONTA look{};
  ::GetObjectA(standard, sizeof(look), &look);
  if (!font.name.empty()) {
    const std::string face = ToAnsi(font.name);
    const std::size_t length = std::min(face.size(), std::size_t{LF_FACESIZE - 1});
    std::memcpy(look.lfFaceName, face.data(), length);
    look.lfFaceName[length] = '\0';
  }
  if (font.points > 0) {
    look.lfHeight = -static_cast<LONG>(std::lround(font.points * ui_.dpiY() / 72.0));
    look.lfWidth = 0;
  }
  if (font.bold) {
    look.lfWeight = FW_BOLD;
  }
  const HFONT created = ::CreateFontIndirectA(&look);
  if (!created) {
    return standard;
  }
  fonts_.push_back(created);
  return created;
}

void Win32Form::CreateControls(const FormDesign& design) {
  std::map<std::wstring, const ControlDesign*> frames;
  for (const ControlDesign& control : design.controls) {
    if (control.kind == ControlKind::Frame) {
      frames[control.name] = &control;
    }
  }
  // A control's place on the form: its own, plus that of every frame it sits in.
  auto formPosition = [&frames](const ControlDesign& control) {
    POINT position{control.left, control.top};
    const ControlDesign* inner = &control;
    for (std::size_t depth = 0; depth < frames.size(); ++depth) {
      const auto frame = frames.find(inner->container);
      if (frame == frames.end()) {
        break;
      }
      inner = frame->second;
      position.x += inner->left;
      position.y += inner->top;
    }
    return position;
  };

  std::vector<std::pair<const ControlDesign*, int>> order;
  UINT_PTR timerId = kFirstTimerId;
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    const ControlDesign& control = design.controls[i];
    if (control.kind == ControlKind::Timer) {
      auto timer = std::make_unique<Win32Timer>(window_, timerId, control.interval);
      timerIds_[timerId++] = timer.get();
      timers_[control.name] = std::move(timer);
    } else {
      order.emplace_back(&control, kFirstControlId + static_cast<int>(i));
    }
  }
  std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
    return CreationRank(*a.first) < CreationRank(*b.first);
  });

  std::vector<std::pair<HWND, std::wstring>> tips;
  for (const auto& [control, id] : order) {
    switch (control->kind) {
      case ControlKind::Button: {
        auto button = std::make_unique<Win32Button>(window_, id);
        commands_[id] = button.get();
        if (control->cancel) {
          commands_[IDCANCEL] = button.get();  // the dialog manager's answer to Esc
        }
        buttons_[control->name] = std::move(button);
        break;
      }
      case ControlKind::CheckBox: {
        auto box = std::make_unique<Win32CheckBox>(window_, id);
        commands_[id] = box.get();
        checkBoxes_[control->name] = std::move(box);
        break;
      }
      case ControlKind::ListBox: {
        auto list = std::make_unique<Win32ListBox>(window_, id);
        commands_[id] = list.get();
        listBoxes_[control->name] = std::move(list);
        break;
      }
      case ControlKind::Label:
        labels_[control->name] = std::make_unique<Win32Label>(window_, id);
        break;
      case ControlKind::Frame:
      case ControlKind::Image:
      case ControlKind::Line:
      case ControlKind::Timer:
        break;
    }
    if (!window_) {
      continue;
    }
    const ChildClass childClass = ChildClassOf(control->kind);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | childClass.style;
    if (control->tabIndex >= 0 && TakesFocus(control->kind)) {
      style |= WS_TABSTOP;
    }
    if (!control->enabled) {
      style |= WS_DISABLED;
    }
    const bool hasText = control->kind != ControlKind::ListBox &&
                         control->kind != ControlKind::Image && control->kind != ControlKind::Line;
    const POINT position = formPosition(*control);
    // Made as Unicode windows, so that a list line keeps every character it is given.
    const HWND child = ::CreateWindowExW(
        0, childClass.name, hasText ? control->caption.c_str() : nullptr, style,
        ui_.XToPixels(position.x), ui_.YToPixels(position.y), ui_.XToPixels(control->width),
        ui_.YToPixels(control->height), window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        ui_.instance(), nullptr);
    if (!child) {
      continue;
    }
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control->font)), FALSE);
    if (control->kind == ControlKind::Image) {
      ::SendMessageA(child, STM_SETICON, reinterpret_cast<WPARAM>(ui_.bigIcon()), 0);
    }
    if (!control->tooltip.empty()) {
      tips.emplace_back(child, control->tooltip);
    }
  }
  AddTooltips(tips);
}

void Win32Form::AddTooltips(const std::vector<std::pair<HWND, std::wstring>>& tips) {
  if (tips.empty()) {
    return;
  }
  // Owned by the form, so it goes when the form does.
  const HWND tooltip =
      ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, ui_.instance(), nullptr);
  if (!tooltip) {
    return;
  }
  for (const auto& [control, text] : tips) {
    std::string ansi = ToAnsi(text);
    TTTOOLINFOA tool{};
    tool.cbSize = kToolInfoSize;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = ansi.data();
    ::SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

template <typename Widget>
Widget& Win32Form::Find(std::map<std::wstring, std::unique_ptr<Widget>>& widgets,
                        const std::wstring& name) {
  auto found = widgets.find(name);
  if (found == widgets.end()) {
    throw std::out_of_range("the form has no such control");
  }
  return *found->second;
}

std::wstring Win32Form::Caption() const {
  return window_ ? WindowText(window_) : std::wstring();
}

void Win32Form::SetCaption(const std::wstring& caption) {
  if (window_) {
    SetText(window_, caption);
  }
}

bool Win32Form::Visible() const {
  return window_ && ::IsWindowVisible(window_);
}

void Win32Form::Show() {
  if (window_ && !::IsWindowVisible(window_)) {
    ::ShowWindow(window_, SW_SHOWNORMAL);
  }
}

void Win32Form::Hide() {
  if (window_) {
    ::ShowWindow(window_, SW_HIDE);
  }
}

void Win32Form::BringToFront() {
  if (window_) {
    // A window brought forward from the tray is wanted in full, not as a taskbar entry.
    if (::IsIconic(window_)) {
      ::ShowWindow(window_, SW_RESTORE);
    }
    ::SetForegroundWindow(window_);
    ::BringWindowToTop(window_);
  }
}

int Win32Form::Width() const {
  RECT outer{};
  return window_ && ::GetWindowRect(window_, &outer) ? ui_.XToTwips(outer.right - outer.left) : 0;
}

int Win32Form::Height() const {
  RECT outer{};
  return window_ && ::GetWindowRect(window_, &outer) ? ui_.YToTwips(outer.bottom - outer.top) : 0;
}

void Win32Form::Move(int left, int top) {
  if (window_) {
    ::SetWindowPos(window_, nullptr, ui_.XToPixels(left), ui_.YToPixels(top), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32Form::SetPointer(MousePointer pointer) {
  pointer_ = pointer;
  if (!window_) {
    return;
  }
  // Windows asks for the cursor only when the mouse moves; a pointer over the form changes now.
  POINT cursor{};
  ::GetCursorPos(&cursor);
  const HWND under = ::WindowFromPoint(cursor);
  if (under && (under == window_ || ::IsChild(window_, under))) {
    ::SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  }
}

std::uintptr_t Win32Form::IconHandle() const {
  return reinterpret_cast<std::uintptr_t>(ui_.bigIcon());
}

void Win32Form::Unload() {
  if (window_) {
    ::DestroyWindow(window_);
  }
}

HWND Win32Form::FocusTarget() const {
  if (lastFocus_ && ::IsChild(window_, lastFocus_) && ::IsWindowEnabled(lastFocus_) &&
      ::IsWindowVisible(lastFocus_)) {
    return lastFocus_;
  }
  return ::GetNextDlgTabItem(window_, nullptr, FALSE);
}

LRESULT CALLBACK Win32Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    form->window_ = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Win32Form*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  return form ? form->HandleMessage(window, message, wParam, lParam)
              : ::DefWindowProcA(window, message, wParam, lParam);
}

// Handlers may unload the form or even delete it: after raising one, nothing here touches the
// form again.
void Win32Form::AskToClose(HWND window, CloseReason reason) {
  // A copy: the handler may replace it, or unload the form.
  const auto keepOpen = keepOpen_;
  if ((!keepOpen || !keepOpen(reason)) && ::IsWindow(window)) {
    ::DestroyWindow(window);
  }
}

LRESULT Win32Form::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const auto target = commands_.find(LOWORD(wParam));
      if (target != commands_.end()) {
        target->second->Command(HIWORD(wParam));
        return 0;
      }
      break;
    }
    case WM_TIMER: {
      const auto timer = timerIds_.find(wParam);
      if (timer != timerIds_.end()) {
        timer->second->Elapsed();
        return 0;
      }
      break;
    }
    case WM_INITMENUPOPUP: {
      const auto dropDown = dropDowns_.find(reinterpret_cast<HMENU>(wParam));
      if (!HIWORD(lParam) && dropDown != dropDowns_.end()) {
        dropDown->second->Command(0);
        return 0;
      }
      break;
    }
    case WM_SYSCOMMAND:
      // The close box, the window menu and Alt+F4 come this way; a bare WM_CLOSE comes from
      // another program, such as the task list.
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        AskToClose(window, CloseReason::User);
        return 0;
      }
      break;
    case WM_CLOSE:
      AskToClose(window, CloseReason::OtherProgram);
      return 0;
    case WM_ENDSESSION:
      if (wParam) {
        AskToClose(window, CloseReason::EndOfSession);
      }
      return 0;
    case WM_SETCURSOR:
      // Children pass the question to their parent first, so this covers the controls too.
      if (pointer_ == MousePointer::Hourglass) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case DM_GETDEFID: {
      // No default button of its own: Enter presses the push button that has the focus.
      const HWND focus = ::GetFocus();
      if (focus && ::GetParent(focus) == window &&
          (::SendMessageA(focus, WM_GETDLGCODE, 0, 0) &
           (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        return MAKELRESULT(::GetDlgCtrlID(focus), DC_HASDEFID);
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(window, focus)) {
          lastFocus_ = focus;
        }
      }
      break;
    case WM_SETFOCUS: {
      const HWND target = FocusTarget();
      if (target) {
        ::SetFocus(target);
        return 0;
      }
      break;
    }
    case WM_NCDESTROY:
      window_ = nullptr;
      lastFocus_ = nullptr;
      ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      for (const HFONT font : fonts_) {
        ::DeleteObject(font);
      }
      fonts_.clear();
      break;
    default:
      break;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace quellspur::platform::win32
