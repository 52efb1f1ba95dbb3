// set_window_size TITLE WIDTH HEIGHT: asks Windows to give the top-level window titled TITLE a
// client area of WIDTH x HEIGHT, as resizing it by its frame would, and prints the client area
// it then has as WIDTHxHEIGHT. Runs beside the program in the same Wine prefix: Wine keeps a
// resizable window's minimum size on the Windows side, where the X server cannot see it.
#include <windows.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

// A size in pixels; empty when the text is not a whole number above 0.
std::optional<LONG> parse_size(const char* text) {
  LONG value = 0;
  const char* end = text + std::strlen(text);
  const auto [stop, error] = std::from_chars(text, end, value);
  if (error != std::errc{} || stop != end || value <= 0) return std::nullopt;
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<LONG> width = argc == 4 ? parse_size(argv[2]) : std::nullopt;
  const std::optional<LONG> height = argc == 4 ? parse_size(argv[3]) : std::nullopt;
  if (!width || !height) {
    std::fprintf(stderr, "usage: set_window_size TITLE WIDTH HEIGHT\n");
    return 2;
  }
  HWND window = FindWindowA(nullptr, argv[1]);
  if (window == nullptr) {
    std::fprintf(stderr, "set_window_size: no window titled %s\n", argv[1]);
    return 1;
  }
  // The outer size for that client area, with the window's own frame.
  RECT outer{0, 0, *width, *height};
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
