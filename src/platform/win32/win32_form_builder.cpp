#include "platform/win32/win32_form_builder.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cwchar>
#include <span>
#include <string>
#include <string_view>
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
constexpr UINT kToolInfoSize = offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM);

ATOM FormClassAtom(HINSTANCE instance, WNDPROC windowProc) {
  static const ATOM atom = [instance, windowProc] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, SystemResource(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kFormClass;
    return ::RegisterClassExW(&windowClass);
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
    result.style |= design.border == Border::Sizable ? WS_THICKFRAME : 0;
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
         kind == ControlKind::ListBox || kind == ControlKind::ColumnList;
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
      return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER};
    case ControlKind::ColumnList:
      return {WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER};
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

class Builder {
 public:
  Builder(const UiContext& ui, const HWND& window, FormParts& parts)
      : ui_(ui), window_(window), parts_(parts) {}

  void CreateFormWindow(const FormDesign& design, WNDPROC windowProc, void* form);
  void CreateControls(const FormDesign& design);

 private:
  // Keeps a widget the form hands out by name.
  void Keep(PartKind kind, std::wstring_view name, std::unique_ptr<Win32Part> part) {
    parts_.widgets.push_back({kind, std::wstring(name), std::move(part)});
  }
  void Route(UINT message, UINT_PTR id, Win32Part* part) {
    parts_.routes.push_back({message, id, part});
  }
  void AddTooltips(const std::vector<std::pair<HWND, std::wstring>>& tips);
  void AddColumns(HWND list, std::span<const ColumnDesign> columns);
  HMENU BuildMenu(std::span<const MenuDesign> menus, bool popup);
  HFONT FontFor(const Font& font);
  void FitClientArea(int width, int height);

  const UiContext& ui_;
  const HWND& window_;
  FormParts& parts_;
  int nextMenuId_ = kFirstMenuId;
};

void Builder::CreateFormWindow(const FormDesign& design, WNDPROC windowProc, void* form) {
  const WindowStyle style = FormStyle(design);
  const HMENU menuBar = design.menus.empty() ? nullptr : BuildMenu(design.menus, false);
  const int clientWidth = ui_.XToPixels(design.clientWidth);
  const int clientHeight = ui_.YToPixels(design.clientHeight);
  RECT outer{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&outer, style.style, menuBar != nullptr, style.exStyle);
  ::CreateWindowExW(style.exStyle, ClassAtom(FormClassAtom(ui_.instance(), windowProc)),
                    std::wstring(design.caption).c_str(), style.style, CW_USEDEFAULT, CW_USEDEFAULT,
                    outer.right - outer.left, outer.bottom - outer.top,
                    design.showInTaskbar ? nullptr : ui_.hiddenOwner(), menuBar, ui_.instance(),
                    form);
  if (!window_) {
    if (menuBar) {
      ::DestroyMenu(menuBar);
    }
    return;
  }
  ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ui_.bigIcon()));
  ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ui_.smallIcon()));
  FitClientArea(clientWidth, clientHeight);
  if (design.border == Border::Sizable) {
    parts_.designedClient = {clientWidth, clientHeight};
    RECT made{};
    ::GetWindowRect(window_, &made);
    parts_.smallestOuter = {made.right - made.left, made.bottom - made.top};
  }
}

void Builder::FitClientArea(int width, int height) {
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

HMENU Builder::BuildMenu(std::span<const MenuDesign> menus, bool popup) {
  const HMENU menu = popup ? ::CreatePopupMenu() : ::CreateMenu();
  for (const MenuDesign& entry : menus) {
    auto item = std::make_unique<Win32MenuItem>();
    if (entry.caption == L"-") {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (!entry.items.empty()) {
      const HMENU dropDown = BuildMenu(entry.items, true);
      Route(WM_INITMENUPOPUP, reinterpret_cast<UINT_PTR>(dropDown), item.get());
      ::AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(dropDown),
                    std::wstring(entry.caption).c_str());
    } else {
      const int id = nextMenuId_++;
      Route(WM_COMMAND, static_cast<UINT_PTR>(id), item.get());
      ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id),
                    std::wstring(entry.caption).c_str());
    }
    Keep(PartKind::MenuItem, entry.name, std::move(item));
  }
  return menu;
}

HFONT Builder::FontFor(const Font& font) {
  const auto standard = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (font.name.empty() && font.points <= 0 && !font.bold) {
    return standard;
  }
  LOGFONTW look{};
  ::GetObjectW(standard, sizeof(look), &look);
  if (!font.name.empty()) {
    const std::size_t length = std::min(font.name.size(), std::size_t{LF_FACESIZE - 1});
    std::wmemcpy(look.lfFaceName, font.name.data(), length);
    look.lfFaceName[length] = L'\0';
  }
  if (font.points > 0) {
    look.lfHeight = -static_cast<LONG>(std::lround(font.points * ui_.dpiY() / 72.0));
    look.lfWidth = 0;
  }
  if (font.bold) {
    look.lfWeight = FW_BOLD;
  }
  const HFONT created = ::CreateFontIndirectW(&look);
  if (!created) {
    return standard;
  }
  parts_.fonts.push_back(created);
  return created;
}

void Builder::CreateControls(const FormDesign& design) {
  // A control's place on the form: its own, plus that of every frame it sits in.
  auto frameNamed = [&design](std::wstring_view name) -> const ControlDesign* {
    for (const ControlDesign& control : design.controls) {
      if (control.kind == ControlKind::Frame && control.name == name) {
        return &control;
      }
    }
    return nullptr;
  };
  auto formPosition = [&](const ControlDesign& control) {
    POINT position{control.left, control.top};
    const ControlDesign* inner = &control;
    // No deeper than there are controls, even if the design's frames sit in each other.
    for (std::size_t depth = 0; depth < design.controls.size(); ++depth) {
      inner = frameNamed(inner->container);
      if (inner == nullptr) {
        break;
      }
      position.x += inner->left;
      position.y += inner->top;
    }
    return position;
  };

  // Sorted by creation rank as they come; of equal rank, in design order.
  std::vector<std::pair<const ControlDesign*, int>> order;
  UINT_PTR timerId = kFirstTimerId;
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    const ControlDesign& control = design.controls[i];
    if (control.kind == ControlKind::Timer) {
      auto timer = std::make_unique<Win32Timer>(window_, timerId, control.interval);
      Route(WM_TIMER, timerId++, timer.get());
      Keep(PartKind::Timer, control.name, std::move(timer));
      continue;
    }
    const auto rank = CreationRank(control);
    const auto later = std::upper_bound(
        order.begin(), order.end(), rank,
        [](const auto& wanted, const auto& made) { return wanted < CreationRank(*made.first); });
    order.insert(later, {&control, kFirstControlId + static_cast<int>(i)});
  }

  std::vector<std::pair<HWND, std::wstring>> tips;
  for (const auto& [control, id] : order) {
    const auto commandId = static_cast<UINT_PTR>(id);
    switch (control->kind) {
      case ControlKind::Button: {
        auto button = std::make_unique<Win32Button>(window_, id);
        Route(WM_COMMAND, commandId, button.get());
        if (control->cancel) {
          Route(WM_COMMAND, IDCANCEL, button.get());  // the dialog manager's answer to Esc
        }
        Keep(PartKind::Button, control->name, std::move(button));
        break;
      }
      case ControlKind::CheckBox: {
        auto box = std::make_unique<Win32CheckBox>(window_, id);
        Route(WM_COMMAND, commandId, box.get());
        Keep(PartKind::CheckBox, control->name, std::move(box));
        break;
      }
      case ControlKind::ListBox: {
        auto list = std::make_unique<Win32ListBox>(window_, id);
        Route(WM_COMMAND, commandId, list.get());
        Keep(PartKind::ListBox, control->name, std::move(list));
        break;
      }
      case ControlKind::ColumnList: {
        auto list = std::make_unique<Win32ColumnList>(window_, id);
        Route(WM_NOTIFY, commandId, list.get());
        Keep(PartKind::ColumnList, control->name, std::move(list));
        break;
      }
      case ControlKind::Label:
        Keep(PartKind::Label, control->name, std::make_unique<Win32Label>(window_, id));
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
    if (control->isDefault) {
      style |= BS_DEFPUSHBUTTON;
      parts_.defaultButtonId = id;
    }
    const bool hasText = control->kind != ControlKind::ListBox &&
                         control->kind != ControlKind::ColumnList &&
                         control->kind != ControlKind::Image && control->kind != ControlKind::Line;
    if (control->kind == ControlKind::ColumnList) {
      ui_.UseCommonControls();
    }
    const POINT position = formPosition(*control);
    const HWND child = ::CreateWindowExW(
        0, childClass.name, hasText ? std::wstring(control->caption).c_str() : nullptr, style,
        ui_.XToPixels(position.x), ui_.YToPixels(position.y), ui_.XToPixels(control->width),
        ui_.YToPixels(control->height), window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        ui_.instance(), nullptr);
    if (!child) {
      continue;
    }
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control->font)), FALSE);
    if (control->kind == ControlKind::Image) {
      ::SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(ui_.bigIcon()), 0);
    }
    if (control->kind == ControlKind::ColumnList) {
      AddColumns(child, control->columns);
    }
    if (parts_.designedClient.cx > 0 && control->anchors != (kAnchorLeft | kAnchorTop)) {
      RECT designed{};
      ::GetWindowRect(child, &designed);
      ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&designed), 2);
      parts_.anchored.push_back({id, designed, control->anchors});
    }
    if (!control->tooltip.empty()) {
      tips.emplace_back(child, std::wstring(control->tooltip));
    }
  }
  AddTooltips(tips);
}

void Builder::AddColumns(HWND list, std::span<const ColumnDesign> columns) {
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (std::size_t index = 0; index < columns.size(); ++index) {
    // The record's text is not const; the list keeps a copy of its own.
    std::wstring caption(columns[index].caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = ui_.XToPixels(columns[index].width);
    column.pszText = caption.data();
    column.iSubItem = static_cast<int>(index);
    ::SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
  }
}

void Builder::AddTooltips(const std::vector<std::pair<HWND, std::wstring>>& tips) {
  if (tips.empty()) {
    return;
  }
  ui_.UseCommonControls();
  // Owned by the form, so it goes when the form does.
  const HWND tooltip =
      ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, ui_.instance(), nullptr);
  if (!tooltip) {
    return;
  }
  for (const auto& [control, text] : tips) {
    // The record's text is not const; the tooltip keeps a copy of its own.
    std::wstring lent = text;
    TTTOOLINFOW tool{};
    tool.cbSize = kToolInfoSize;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = lent.data();
    ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

}  // namespace

Win32Part* FormParts::Named(PartKind kind, std::wstring_view name) const {
  for (const NamedPart& widget : widgets) {
    if (widget.kind == kind && widget.name == name) {
      return widget.part.get();
    }
  }
  return nullptr;
}

Win32Part* FormParts::RouteOf(UINT message, UINT_PTR id) const {
  // From the end: of two routes for one id (two cancel buttons for Esc), the later one stands.
  for (auto route = routes.rbegin(); route != routes.rend(); ++route) {
    if (route->message == message && route->id == id) {
      return route->part;
    }
  }
  return nullptr;
}

void BuildForm(const UiContext& ui, const FormDesign& design, WNDPROC windowProc, void* form,
               const HWND& window, FormParts& parts) {
  Builder builder(ui, window, parts);
  builder.CreateFormWindow(design, windowProc, form);
  builder.CreateControls(design);
}

}  // namespace quellspur::platform::win32
