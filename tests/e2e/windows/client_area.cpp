// Prints where the client area of the top-level window with the given caption lies on the
// screen, as "left top width height". The end-to-end tests place their clicks with it: the X
// window that Wine makes for a window holds its frame too, and the client area's size depends
// on the fonts. Exits with 1 when there is no such window.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: client_area <window caption>\n");
    return 2;
  }
  // Real pixels, as the screen and xdotool count them, whatever the DPI.
  SetProcessDPIAware();
  const HWND window = FindWindowA(nullptr, argv[1]);
  if (window == nullptr) return 1;
  RECT client{};
  POINT origin{0, 0};
  if (!GetClientRect(window, &client) || !ClientToScreen(window, &origin)) return 1;
  std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
  return 0;
}
