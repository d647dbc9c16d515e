// The toolkit the forms are built from: small widgets whose events reach the form as handlers.
// Positions and sizes are in twips (1/1440 inch).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Desktop has a MessageBox of its own, which windows.h's macro would rename: files compiled as one
// must all see it by the same name.
#undef MessageBox

namespace quellspur::platform {

using Handler = std::function<void()>;

enum class MousePointer { Default = 0, Hourglass = 11 };

class Window {
 public:
  virtual ~Window() = default;
  virtual std::wstring Caption() const = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
  virtual bool Visible() const = 0;
  // Shows the window modeless; a visible window stays as it is.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual void BringToFront() = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void Move(int left, int top) = 0;
  virtual MousePointer Pointer() const = 0;
  virtual void SetPointer(MousePointer pointer) = 0;
};

class ListBox {
 public:
  virtual ~ListBox() = default;
  virtual int ListCount() const = 0;
  virtual std::wstring List(int index) const = 0;
  // Adds a line at the end.
  virtual void AddItem(const std::wstring& text) = 0;
  // Inserts a line at `index`; the lines from there move down.
  virtual void InsertItem(const std::wstring& text, int index) = 0;
  virtual void RemoveItem(int index) = 0;
  virtual void Clear() = 0;
  virtual bool Selected(int index) const = 0;
  // The selected line, -1 when none.
  virtual int ListIndex() const = 0;
  // Selects a line the way a click does, and raises the same click event.
  virtual void SetListIndex(int index) = 0;
  virtual void OnClick(Handler handler) = 0;
  // How far the lines reach, in twips: the widest line's width. Where it is more than the list's
  // own width, the list scrolls sideways to show the rest.
  virtual int ScrollWidth() const = 0;
};

// Rows of texts under column headers (a report-style list view). Several rows may be selected at
// once, with the mouse or the keyboard.
class ColumnList {
 public:
  virtual ~ColumnList() = default;
  virtual int RowCount() const = 0;
  // The text of a cell; empty outside the rows and columns.
  virtual std::wstring Cell(int row, int column) const = 0;
  // Adds a row at the end, a text per column.
  virtual void AddRow(const std::vector<std::wstring>& cells) = 0;
  virtual void Clear() = 0;
  virtual bool Selected(int row) const = 0;
  // Selects a row or takes it out of the selection, as the user's click does, and raises the
  // same selection event.
  virtual void SetSelected(int row, bool selected) = 0;
  // The selection changed, by the user or by the program.
  virtual void OnSelectionChange(Handler handler) = 0;
  // The user clicked a column's header.
  virtual void OnColumnClick(std::function<void(int column)> handler) = 0;
};

class Button {
 public:
  virtual ~Button() = default;
  virtual std::wstring Caption() const = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void OnClick(Handler handler) = 0;
};

class Timer {
 public:
  virtual ~Timer() = default;
  virtual int Interval() const = 0;
  virtual void SetInterval(int milliseconds) = 0;
  virtual bool Enabled() const = 0;
  // Switching it on starts a full interval.
  virtual void SetEnabled(bool enabled) = 0;
  virtual void OnTimer(Handler handler) = 0;
};

class CheckBox {
 public:
  virtual ~CheckBox() = default;
  // 0 unchecked, 1 checked, 2 greyed.
  virtual int Value() const = 0;
  virtual void SetValue(int value) = 0;
};

class Label {
 public:
  virtual ~Label() = default;
  virtual std::wstring Caption() const = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
};

class MenuItem {
 public:
  virtual ~MenuItem() = default;
  virtual void OnClick(Handler handler) = 0;
};

// Message box styles the program uses, and the buttons the user may answer with.
inline constexpr std::uint32_t kMbOkExclamation = 0x30;
inline constexpr std::uint32_t kMbOkInformation = 0x40;
inline constexpr std::uint32_t kMbYesNoQuestion = 0x24;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// What the toolkit offers besides widgets.
class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual void Beep() = 0;
  // The screen's size in twips.
  virtual int ScreenWidth() const = 0;
  virtual int ScreenHeight() const = 0;
  // A modal message box; returns the button chosen.
  virtual int MessageBox(const std::wstring& text, const std::wstring& caption,
                         std::uint32_t style) = 0;
  // The system's save dialog, modal, offering `suggestedName` in `folder`: the path the user
  // chose, or none when cancelled. It does not ask about a file that exists: what is done with
  // the path decides that.
  virtual std::optional<std::wstring> SaveFileName(const std::wstring& title,
                                                   const std::wstring& folder,
                                                   const std::wstring& suggestedName) = 0;
};

// Every form places itself in the middle of the screen when it loads.
inline void CentreOnScreen(Window& window, const Desktop& desktop) {
  window.Move(desktop.ScreenWidth() / 2 - window.Width() / 2,
              desktop.ScreenHeight() / 2 - window.Height() / 2);
}

}  // namespace quellspur::platform
