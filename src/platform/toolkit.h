// Loading forms: a window built from its design, whose controls are found by name.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/form_design.h"
#include "platform/message_pump.h"
#include "platform/tray_window.h"
#include "platform/widgets.h"

namespace quellspur::platform {

// Why a window is asked to close.
enum class CloseReason {
  User,          // its close box, its window menu or Alt+F4
  OtherProgram,  // a request from outside, such as the task list's "End task"
  EndOfSession,  // Windows shuts down or the user logs off
};

class Form : public Window {
 public:
  virtual Button& ButtonNamed(const std::wstring& name) = 0;
  virtual CheckBox& CheckBoxNamed(const std::wstring& name) = 0;
  virtual Label& LabelNamed(const std::wstring& name) = 0;
  virtual ListBox& ListBoxNamed(const std::wstring& name) = 0;
  virtual ColumnList& ColumnListNamed(const std::wstring& name) = 0;
  virtual Timer& TimerNamed(const std::wstring& name) = 0;
  virtual MenuItem& MenuItemNamed(const std::wstring& name) = 0;
  // The program's icon, which the form shows in its title bar.
  virtual std::uintptr_t IconHandle() const = 0;

  // The window is asked to close: the handler answers whether to keep it. Without a handler the
  // form unloads.
  virtual void OnCloseRequest(std::function<bool(CloseReason)> keepOpen) = 0;
  // Destroys the window and its controls; the form is not loaded afterwards.
  virtual void Unload() = 0;
  virtual bool Loaded() const = 0;
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // Builds the form's window, hidden, with every control of its design.
  virtual std::unique_ptr<Form> LoadForm(const FormDesign& design) = 0;
  virtual Desktop& desktop() = 0;
  // The hidden window that owns the notification-area icon.
  virtual std::unique_ptr<TrayWindow> CreateTrayWindow(const std::wstring& caption) = 0;
  // Lets the window system handle pending messages once, from inside a long job.
  virtual MessagePump& pump() = 0;
  // Dispatches the window system's messages until the program ends.
  virtual void RunMessageLoop() = 0;
  // Ends the program at once; open windows go without their own unload handling.
  virtual void EndProgram() = 0;
};

}  // namespace quellspur::platform
