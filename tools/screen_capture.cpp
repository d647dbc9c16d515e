// Saves what the screen shows as a 24-bit BMP file: the whole screen, or one top-level window
// found by its caption with a margin around it. scripts/run and the end-to-end tests take their
// screenshots with it, because xwd composes every window whose colormap is not the root's (all of
// Wine's) on its own and leaves a window that lies wholly inside another black, although the
// screen shows it right.
//
// Exit codes: 0 saved, 2 the command line is wrong, 3 no such window, 4 the screen could not be
// read or the file not written.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kDone = 0;
constexpr int kUsage = 2;
constexpr int kMissing = 3;
constexpr int kFailed = 4;
constexpr int kMargin = 12;

int Fail(int code, const char* why) {
  std::fprintf(stderr, "screen_capture: %s\n", why);
  return code;
}

// Reads the area from the screen as bottom-up rows of 24-bit pixels, each row padded to 4 bytes.
bool ReadScreen(const RECT& area, BITMAPINFOHEADER& header, std::vector<unsigned char>& pixels) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const HDC screen = ::GetDC(nullptr);
  const HDC memory = ::CreateCompatibleDC(screen);
  const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ previous = ::SelectObject(memory, bitmap);
  bool read = ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != 0;
  ::SelectObject(memory, previous);
  header = BITMAPINFOHEADER{};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  pixels.assign(stride * static_cast<std::size_t>(height), 0);
  read = read && ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                             reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == height;
  header.biSizeImage = static_cast<DWORD>(pixels.size());
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return read;
}

bool WriteBitmapFile(const char* path, const BITMAPINFOHEADER& header,
                     const std::vector<unsigned char>& pixels) {
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  std::FILE* out = std::fopen(path, "wb");
  if (!out) {
    return false;
  }
  const bool written = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                       std::fwrite(&header, sizeof(header), 1, out) == 1 &&
                       std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  return std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    return Fail(kUsage, "usage: screen_capture <file.bmp> [window caption]");
  }
  RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  RECT area = screen;
  if (argc == 3) {
    const HWND window = ::FindWindowA(nullptr, argv[2]);
    if (!window || !::GetWindowRect(window, &area)) {
      return Fail(kMissing, "no window with that caption");
    }
    ::InflateRect(&area, kMargin, kMargin);
    ::IntersectRect(&area, &area, &screen);
    if (::IsRectEmpty(&area)) {
      return Fail(kMissing, "the window lies off the screen");
    }
  }
  BITMAPINFOHEADER header{};
  std::vector<unsigned char> pixels;
  if (!ReadScreen(area, header, pixels)) {
    return Fail(kFailed, "the screen could not be read");
  }
  if (!WriteBitmapFile(argv[1], header, pixels)) {
    return Fail(kFailed, "the file could not be written");
  }
  return kDone;
}
