#include "platform/win32/win32_form.h"

#include "platform/logic_fault.h"

namespace quellspur::platform::win32 {

Win32Form::Win32Form(const UiContext& ui, const FormDesign& design) : ui_(ui) {
  BuildForm(ui_, design, &Win32Form::WindowProc, this, window_, parts_);
}

Win32Form::~Win32Form() {
  if (window_) {
    ::DestroyWindow(window_);
  }
}

Win32Part& Win32Form::FindPart(PartKind kind, const std::wstring& name) {
  Win32Part* const part = parts_.Named(kind, name);
  if (part == nullptr) {
    throw platform::LogicFault("the form has no such control");
  }
  return *part;
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
    ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
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

void Win32Form::FollowEdges(int clientWidth, int clientHeight) {
  const int moreWidth = clientWidth - parts_.designedClient.cx;
  const int moreHeight = clientHeight - parts_.designedClient.cy;
  for (const AnchoredControl& control : parts_.anchored) {
    RECT place = control.designed;
    if (control.anchors & kAnchorRight) {
      place.right += moreWidth;
      place.left += (control.anchors & kAnchorLeft) ? 0 : moreWidth;
    }
    if (control.anchors & kAnchorBottom) {
      place.bottom += moreHeight;
      place.top += (control.anchors & kAnchorTop) ? 0 : moreHeight;
    }
    ::SetWindowPos(::GetDlgItem(window_, control.id), nullptr, place.left, place.top,
                   place.right - place.left, place.bottom - place.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::InvalidateRect(window_, nullptr, TRUE);
}

LRESULT CALLBACK Win32Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Win32Form*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  return form ? form->HandleMessage(window, message, wParam, lParam)
              : ::DefWindowProcW(window, message, wParam, lParam);
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
    case WM_COMMAND:
      if (Win32Part* const part = parts_.RouteOf(WM_COMMAND, LOWORD(wParam))) {
        part->Command(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (Win32Part* const part = parts_.RouteOf(WM_NOTIFY, header->idFrom)) {
        part->Notify(*header);
        return 0;
      }
      break;
    }
    case WM_SIZE:
      if (!parts_.anchored.empty() && wParam != SIZE_MINIMIZED) {
        FollowEdges(LOWORD(lParam), HIWORD(lParam));
      }
      break;
    case WM_GETMINMAXINFO:
      if (parts_.smallestOuter.cx > 0) {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {parts_.smallestOuter.cx, parts_.smallestOuter.cy};
        return 0;
      }
      break;
    case WM_TIMER:
      if (Win32Part* const part = parts_.RouteOf(WM_TIMER, wParam)) {
        part->Elapsed();
        return 0;
      }
      break;
    case WM_INITMENUPOPUP:
      if (Win32Part* const part = parts_.RouteOf(WM_INITMENUPOPUP, wParam);
          part != nullptr && !HIWORD(lParam)) {
        part->Command(0);
        return 0;
      }
      break;
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
        ::SetCursor(::LoadCursorW(nullptr, SystemResource(IDC_WAIT)));
        return TRUE;
      }
      break;
    case DM_GETDEFID: {
      // Enter presses the push button that has the focus, else the form's default button.
      const HWND focus = ::GetFocus();
      if (focus && ::GetParent(focus) == window &&
          (::SendMessageW(focus, WM_GETDLGCODE, 0, 0) &
           (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        return MAKELRESULT(::GetDlgCtrlID(focus), DC_HASDEFID);
      }
      return parts_.defaultButtonId != 0 ? MAKELRESULT(parts_.defaultButtonId, DC_HASDEFID) : 0;
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
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      for (const HFONT font : parts_.fonts) {
        ::DeleteObject(font);
      }
      parts_.fonts.clear();
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quellspur::platform::win32
