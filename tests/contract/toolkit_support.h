// What the toolkit's contract tests need besides the toolkit: the user's hand on its controls, and
// time passing while the window system's messages are handled. On Windows (or Wine) the forms are
// real windows on the screen; on the host they are the simulated ones.
#pragma once

#include <optional>
#include <string>

#include "platform/toolkit.h"

namespace quellspur::contract {

// A message box as the user read it, and what the program's call to show it returned.
struct SeenMessageBox {
  std::wstring caption;
  std::wstring text;
  int answer = 0;
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual platform::Toolkit& toolkit() = 0;
  // A user's click with the mouse; it reaches the program before the call returns.
  virtual void Click(platform::Button& button) = 0;
  virtual void Click(platform::CheckBox& box) = 0;
  // A user's click on a line of a list on the screen.
  virtual void ClickLine(platform::ListBox& list, int line) = 0;
  // A user's click on a row of a column list; with Ctrl held the row joins the selection (or
  // leaves it) instead of replacing it.
  virtual void ClickRow(platform::ColumnList& list, int row, bool withControl) = 0;
  // A user's click on a column's header.
  virtual void ClickHeader(platform::ColumnList& list, int column) = 0;
  // The program shows the save dialog through the toolkit's desktop; the user types `typed` and
  // saves, or cancels when there is nothing to type.
  virtual std::optional<std::wstring> ShowSaveDialog(const std::optional<std::wstring>& typed) = 0;
  // The form is asked to close: by its close box, the task list, or the end of the session.
  virtual void AskToClose(platform::Form& form, platform::CloseReason reason) = 0;
  // Lets time pass with the messages handled as they come: timers that fall due tick.
  virtual void LetTimePass(int milliseconds) = 0;
  // The form's title bar as the user reads it.
  virtual std::wstring CaptionOnScreen(platform::Form& form) = 0;
  // The program shows a message box with an OK button through the toolkit's desktop; the user
  // reads it and presses the button.
  virtual SeenMessageBox ShowMessageBox(const std::wstring& text, const std::wstring& caption) = 0;
  // True on the simulated machine, where the contract's known gaps apply.
  virtual bool Simulated() const = 0;
};

// The one user interface of the test run.
UserInterface& TheUserInterface();

}  // namespace quellspur::contract
