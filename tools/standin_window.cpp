// A harmless stand-in for a backdoor that shows windows: it opens one top-level window for each
// class and caption given on its command line, each visible or hidden, and waits until it is
// ended. It does nothing else.
//
//   standin_window.exe <class> <caption> [hidden] [<class> <caption> [hidden]]...
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstring>

namespace {

int openWindows = 0;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY && --openWindows == 0) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Two windows may share a class; the class is registered once.
bool Register(HINSTANCE instance, const char* className) {
  WNDCLASSA windowClass{};
  if (GetClassInfoA(instance, className, &windowClass)) {
    return true;
  }
  windowClass.lpfnWndProc = StandInProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = className;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  return RegisterClassA(&windowClass) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    return 2;
  }
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  for (int next = 1; next < argc;) {
    if (next + 1 >= argc) {
      return 2;
    }
    const char* className = argv[next];
    const char* caption = argv[next + 1];
    next += 2;
    const bool hidden = next < argc && std::strcmp(argv[next], "hidden") == 0;
    next += hidden ? 1 : 0;
    if (!Register(instance, className)) {
      return 3;
    }
    HWND window = CreateWindowExA(0, className, caption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 320, 120, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
      return 4;
    }
    ++openWindows;
    ShowWindow(window, hidden ? SW_HIDE : SW_SHOWNORMAL);
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    DispatchMessageA(&message);
  }
  return 0;
}
