#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "base/console_write.h"

namespace {

// Done once, before the first line.
bool prepare_stdout() {
  // Binary mode: in text mode the C runtime writes every line feed as CR LF, and the line must
  // be the same bytes as on every other platform.
  if (_setmode(_fileno(stdout), _O_BINARY) == -1) return false;
  // On a console (the one the program was started from, or its own when started by
  // double-click) ESC [F must move the cursor up, as on a terminal, so that the time line runs
  // in place. Consoles older than Windows 10 do not know the mode and show the bytes as they
  // are; the line is written the same either way.
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (out != INVALID_HANDLE_VALUE && GetConsoleMode(out, &mode) != 0) {
    SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
  }
  return true;
}

}  // namespace

bool write_console(std::string_view line) {
  static const bool prepared = prepare_stdout();
  if (!prepared) return false;
  // msvcrt, the C runtime MinGW links against, has the stream lock but no unlocked write or
  // flush. fwrite and fflush take that same lock again, and it is recursive, so the line still
  // goes out whole under one hold of it.
  _lock_file(stdout);
  const bool ok = fwrite(line.data(), 1, line.size(), stdout) == line.size() && fflush(stdout) == 0;
  _unlock_file(stdout);
  return ok;
}
