// A form as it is designed: its window and its controls, positioned in twips relative to their
// container. The toolkit builds the real window from it. Designs are constant data: the texts
// and lists they hold must outlive every form built from them.
#pragma once

#include <span>
#include <string_view>

namespace quellspur::platform {

// An Image shows the program's icon; a Timer has no place on the screen, only its interval.
// A line is an etched separator: a grey line above a white one. A column list shows rows under
// column headers, several of them selected at once.
enum class ControlKind { Frame, Label, Button, CheckBox, ListBox, Image, Line, Timer, ColumnList };

struct Font {
  std::wstring_view name{};  // empty: the form's own font
  double points = 0;
  bool bold = false;
};

// The edges of a sizable form that a control keeps its distance to: anchored left and right it
// grows with the form's width, anchored right alone it moves along with the right edge.
enum Anchor : unsigned { kAnchorLeft = 1, kAnchorTop = 2, kAnchorRight = 4, kAnchorBottom = 8 };

// A column of a column list: its header and its width in twips.
struct ColumnDesign {
  std::wstring_view caption{};
  int width = 0;
};

struct ControlDesign {
  ControlKind kind = ControlKind::Label;
  std::wstring_view name{};
  std::wstring_view container{};  // a frame's name, or empty for the form itself
  std::wstring_view caption{};
  std::wstring_view tooltip{};
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int tabIndex = -1;  // -1: not a tab stop
  bool enabled = true;
  bool cancel = false;     // a button that Esc presses as well
  bool isDefault = false;  // a button that Enter presses while no other button has the focus
  unsigned anchors = kAnchorLeft | kAnchorTop;
  std::span<const ColumnDesign> columns{};  // a column list's
  Font font;
  int interval = 0;  // a timer's, in milliseconds
};

// A menu of the menu bar and its items; an item captioned "-" is a separator.
struct MenuDesign {
  std::wstring_view name{};
  std::wstring_view caption{};
  std::span<const MenuDesign> items{};
};

// A control of the usual kind: no font of its own, enabled.
constexpr ControlDesign Control(ControlKind kind, std::wstring_view name,
                                std::wstring_view container, std::wstring_view caption,
                                std::wstring_view tooltip, int left, int top, int width, int height,
                                int tabIndex) {
  ControlDesign control;
  control.kind = kind;
  control.name = name;
  control.container = container;
  control.caption = caption;
  control.tooltip = tooltip;
  control.left = left;
  control.top = top;
  control.width = width;
  control.height = height;
  control.tabIndex = tabIndex;
  return control;
}

// The control in a font of its own.
constexpr ControlDesign WithFont(ControlDesign control, std::wstring_view name, double points,
                                 bool bold) {
  control.font = Font{name, points, bold};
  return control;
}

// A sizable form can be made larger than its design, never smaller.
enum class Border { FixedSingle, FixedDialog, Sizable };

struct FormDesign {
  std::wstring_view name{};
  std::wstring_view caption{};
  int clientWidth = 0;
  int clientHeight = 0;
  Border border = Border::FixedSingle;
  bool controlBox = true;
  bool minButton = false;
  bool maxButton = false;
  bool showInTaskbar = true;
  std::span<const ControlDesign> controls{};
  std::span<const MenuDesign> menus{};
};

}  // namespace quellspur::platform
