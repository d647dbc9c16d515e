// A harmless stand-in for a backdoor that shows a window: it opens one top-level window with the
// class and caption given on its command line, visible or hidden, and waits until it is ended.
// It does nothing else.
//
//   standin_window.exe <class> <caption> [hidden]
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstring>

namespace {

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    return 2;
  }
  const bool hidden = argc > 3 && std::strcmp(argv[3], "hidden") == 0;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = StandInProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = argv[1];
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  if (RegisterClassA(&windowClass) == 0) {
    return 3;
  }
  HWND window =
      CreateWindowExA(0, argv[1], argv[2], WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320,
                      120, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) {
    return 4;
  }
  ShowWindow(window, hidden ? SW_HIDE : SW_SHOWNORMAL);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    DispatchMessageA(&message);
  }
  return 0;
}
