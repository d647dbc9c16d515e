// A form running on its real window: the Form interface over the window the builder made from
// its design, and the window procedure that hands the window's messages to its widgets.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/toolkit.h"
#include "platform/win32/win32_form_builder.h"
#include "platform/win32/win32_ui.h"

namespace quellspur::platform::win32 {

class Win32Form final : public Form {
 public:
  Win32Form(const UiContext& ui, const FormDesign& design);
  ~Win32Form() override;
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;

  std::wstring Caption() const override;
  void SetCaption(const std::wstring& caption) override;
  bool Visible() const override;
  void Show() override;
  void Hide() override;
  void BringToFront() override;
  int Width() const override;
  int Height() const override;
  void Move(int left, int top) override;
  MousePointer Pointer() const override { return pointer_; }
  void SetPointer(MousePointer pointer) override;

  Button& ButtonNamed(const std::wstring& name) override {
    return Find<Win32Button>(PartKind::Button, name);
  }
  CheckBox& CheckBoxNamed(const std::wstring& name) override {
    return Find<Win32CheckBox>(PartKind::CheckBox, name);
  }
  Label& LabelNamed(const std::wstring& name) override {
    return Find<Win32Label>(PartKind::Label, name);
  }
  ListBox& ListBoxNamed(const std::wstring& name) override {
    return Find<Win32ListBox>(PartKind::ListBox, name);
  }
  ColumnList& ColumnListNamed(const std::wstring& name) override {
    return Find<Win32ColumnList>(PartKind::ColumnList, name);
  }
  Timer& TimerNamed(const std::wstring& name) override {
    return Find<Win32Timer>(PartKind::Timer, name);
  }
  MenuItem& MenuItemNamed(const std::wstring& name) override {
    return Find<Win32MenuItem>(PartKind::MenuItem, name);
  }
  std::uintptr_t IconHandle() const override;

  void OnCloseRequest(std::function<bool(CloseReason)> keepOpen) override {
    keepOpen_ = std::move(keepOpen);
  }
  void Unload() override;
  bool Loaded() const override { return window_ != nullptr; }
  // The form's window, nullptr once it is unloaded.
  HWND Window() const { return window_; }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void AskToClose(HWND window, CloseReason reason);
  // The child to give the keyboard focus to when the form gets it.
  HWND FocusTarget() const;
  // Moves and sizes the controls that follow the form's edges to its new client area.
  void FollowEdges(int clientWidth, int clientHeight);
  // The widget of that kind and name; a fault of the program when the form has none.
  Win32Part& FindPart(PartKind kind, const std::wstring& name);
  // Each kind's widgets are made as that kind's class alone.
  template <typename Widget>
  Widget& Find(PartKind kind, const std::wstring& name) {
    return static_cast<Widget&>(FindPart(kind, name));
  }

  const UiContext& ui_;
  HWND window_ = nullptr;
  HWND lastFocus_ = nullptr;
  MousePointer pointer_ = MousePointer::Default;
  std::function<bool(CloseReason)> keepOpen_;
  FormParts parts_;
};

}  // namespace quellspur::platform::win32
