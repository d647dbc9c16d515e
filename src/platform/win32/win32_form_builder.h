// Building a form's windows from its design: the window class, the top-level window with its
// styles and menu bar, the controls in tab order with their fonts and tooltips, all placed in
// pixels from the design's twips. The running form (win32_form.h) takes it from there.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/form_design.h"
#include "platform/win32/win32_ui.h"
#include "platform/win32/win32_widgets.h"

namespace quellspur::platform::win32 {

// A control that follows edges of its sizable form: where the design put it, in pixels.
struct AnchoredControl {
  int id = 0;
  RECT designed{};
  unsigned anchors = 0;
};

// The kinds of widget a form hands out by name.
enum class PartKind { Button, CheckBox, Label, ListBox, ColumnList, Timer, MenuItem };

// A widget of the form, by the kind and name its design gives it.
struct NamedPart {
  PartKind kind;
  std::wstring name;
  std::unique_ptr<Win32Part> part;
};

// Which widget a window message is meant for: the message (WM_COMMAND, WM_NOTIFY, WM_TIMER or
// WM_INITMENUPOPUP) and its id (a control's, a menu command's, a timer's, or a drop-down's menu).
struct MessageRoute {
  UINT message;
  UINT_PTR id;
  Win32Part* part;
};

// What a form is made of once built: its widgets by name, and what its window's messages reach.
// A form has a few dozen widgets at most: plain lists, looked through from the start.
struct FormParts {
  std::vector<NamedPart> widgets;
  std::vector<MessageRoute> routes;
  // The button Enter presses while no push button has the focus; 0 for none.
  int defaultButtonId = 0;
  // A sizable form's controls that follow its edges, its client area as designed and its
  // smallest outer size, in pixels.
  std::vector<AnchoredControl> anchored;
  SIZE designedClient{};
  SIZE smallestOuter{};
  // Fonts made for this form's controls; they must outlive its window.
  std::vector<HFONT> fonts;

  // The widget of that kind and name; nullptr when the form has none.
  Win32Part* Named(PartKind kind, std::wstring_view name) const;
  // The widget a message with that id is meant for; nullptr when none is.
  Win32Part* RouteOf(UINT message, UINT_PTR id) const;
};

// Creates the form's window and its controls. `windowProc` receives `form` with WM_NCCREATE and
// must store the new window in `window`, which the widgets look their controls up through; when
// the window cannot be made, the widgets are made all the same, on no window.
void BuildForm(const UiContext& ui, const FormDesign& design, WNDPROC windowProc, void* form,
               const HWND& window, FormParts& parts);

}  // namespace quellspur::platform::win32
