// A harmless stand-in for a backdoor that shows no window: it only waits until it is ended.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

int main() {
  for (;;) {
    Sleep(INFINITE);
  }
}
