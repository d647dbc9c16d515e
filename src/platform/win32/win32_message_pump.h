// Letting Windows deliver the pending messages of the GUI thread once. Window messages only: it
// needs user32 alone, so that a program without windows of its own links no more.
#pragma once

#include "platform/message_pump.h"

// Windows' MSG, named without <windows.h>, whose macros would rename the includer's members.
struct tagMSG;

namespace quellspur::platform::win32 {

// The window class of every form: keyboard messages for one go through the dialog manager.
inline constexpr wchar_t kFormClass[] = L"QuellspurForm";

// Hands one message to its window; keyboard messages for a form go through the dialog manager
// first, so that Tab, Enter and the mnemonics work as in a dialog box.
void DeliverMessage(tagMSG& message);

class Win32MessagePump final : public MessagePump {
 public:
  void ProcessPendingMessages() override;
};

}  // namespace quellspur::platform::win32
