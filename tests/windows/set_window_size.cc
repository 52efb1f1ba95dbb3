// set_window_size TITLE WIDTH HEIGHT: asks Windows to give the top-level window titled TITLE a
// client area of WIDTH x HEIGHT, as resizing it by its frame would, and prints the client area
// it then has as WIDTHxHEIGHT. Runs beside the program in the same Wine prefix: Wine keeps a
// resizable window's minimum size on the Windows side, where the X server cannot see it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: set_window_size TITLE WIDTH HEIGHT\n");
    return 2;
  }
  HWND window = FindWindowA(nullptr, argv[1]);
  if (window == nullptr) {
    std::fprintf(stderr, "set_window_size: no window titled %s\n", argv[1]);
    return 1;
  }
  // The outer size for that client area, with the window's own frame.
  RECT outer{0, 0, std::atoi(argv[2]), std::atoi(argv[3])};
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  if (AdjustWindowRectEx(&outer, style, FALSE, ex_style) == 0 ||
      SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) == 0) {
    std::fprintf(stderr, "set_window_size: resizing failed (error %lu)\n", GetLastError());
    return 1;
  }
  RECT client{};
  if (GetClientRect(window, &client) == 0) return 1;
  std::printf("%ldx%ld\n", client.right - client.left, client.bottom - client.top);
  return 0;
}
