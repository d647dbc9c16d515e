// Quellspur.exe: the real Windows, its window system, and the program on top.
#include "forms/quellspur_app.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/win32_toolkit.h"

// Last: its macros (MessageBox and the like) must not rename the program's own members above.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  quellspur::platform::win32::Win32Os os;
  quellspur::platform::win32::Win32Toolkit toolkit;
  quellspur::QuellspurApp app(os, toolkit);
  app.Form_Load();
  toolkit.RunMessageLoop();
  return 0;
}
