// The toolkit on real windows: forms built from their design out of Win32 controls, the tray
// icon's hidden window, message boxes, and the GUI thread's message loop.
#pragma once

#include <memory>

#include "platform/toolkit.h"
#include "platform/win32/win32_message_pump.h"

namespace quellspur::platform::win32 {

class UiContext;

class Win32Desktop final : public Desktop {
 public:
  explicit Win32Desktop(const UiContext& ui) : ui_(ui) {}
  void Beep() override;
  int ScreenWidth() const override;
  int ScreenHeight() const override;
  int MessageBox(const std::wstring& text, const std::wstring& caption,
                 std::uint32_t style) override;
  std::optional<std::wstring> SaveFileName(const std::wstring& title, const std::wstring& folder,
                                           const std::wstring& suggestedName) override;

 private:
  const UiContext& ui_;
};

// One per program, on the GUI thread; it must outlive every form and tray window it made.
class Win32Toolkit final : public Toolkit {
 public:
  Win32Toolkit();
  ~Win32Toolkit() override;

  std::unique_ptr<Form> LoadForm(const FormDesign& design) override;
  Desktop& desktop() override { return desktop_; }
  std::unique_ptr<TrayWindow> CreateTrayWindow(const std::wstring& caption) override;
  MessagePump& pump() override { return pump_; }
  void RunMessageLoop() override;
  void EndProgram() override;

 private:
  std::unique_ptr<UiContext> ui_;
  Win32Desktop desktop_;
  Win32MessagePump pump_;
};

}  // namespace quellspur::platform::win32
