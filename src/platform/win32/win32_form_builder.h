// Building a form's windows from its design: the window class, the top-level window with its
// styles and menu bar, the controls in tab order with their fonts and tooltips, all placed in
// pixels from the design's twips. The running form (win32_form.h) takes it from there.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
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

// What a form is made of once built: its widgets by name, and what its window's messages reach.
struct FormParts {
  std::map<std::wstring, std::unique_ptr<Win32Button>> buttons;
  std::map<std::wstring, std::unique_ptr<Win32CheckBox>> checkBoxes;
  std::map<std::wstring, std::unique_ptr<Win32Label>> labels;
  std::map<std::wstring, std::unique_ptr<Win32ListBox>> listBoxes;
  std::map<std::wstring, std::unique_ptr<Win32ColumnList>> columnLists;
  std::map<std::wstring, std::unique_ptr<Win32Timer>> timers;
  std::map<std::wstring, std::unique_ptr<Win32MenuItem>> menuItems;
  // WM_COMMAND's id: a control's or a menu item's.
  std::map<int, CommandTarget*> commands;
  // WM_NOTIFY's id: a common control's.
  std::map<int, NotifyTarget*> notifyTargets;
  // The button Enter presses while no push button has the focus; 0 for none.
  int defaultButtonId = 0;
  // A sizable form's controls that follow its edges, its client area as designed and its
  // smallest outer size, in pixels.
  std::vector<AnchoredControl> anchored;
  SIZE designedClient{};
  SIZE smallestOuter{};
  std::map<UINT_PTR, Win32Timer*> timerIds;
  // A menu bar entry's drop-down, which WM_INITMENUPOPUP names.
  std::map<HMENU, Win32MenuItem*> dropDowns;
  // Fonts made for this form's controls; they must outlive its window.
  std::vector<HFONT> fonts;
};

// Creates the form's window and its controls. `windowProc` receives `form` with WM_NCCREATE and
// must store the new window in `window`, which the widgets look their controls up through; when
// the window cannot be made, the widgets are made all the same, on no window.
void BuildForm(const UiContext& ui, const FormDesign& design, WNDPROC windowProc, void* form,
               const HWND& window, FormParts& parts);

}  // namespace quellspur::platform::win32
