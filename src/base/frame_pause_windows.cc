#include <windows.h>

#include <memory>

#include "base/fatal.h"
#include "base/frame_pause.h"

// The C runtime's nanosleep on Windows sleeps in whole milliseconds, rounded down, so 83 333 ns
// would not sleep at all; Sleep itself waits for the next tick of the system timer (1 ms at
// best). A high-resolution waitable timer (Windows 10 version 1803 and later) waits for the
// pause itself.

namespace {

// Newer than MinGW's headers.
constexpr DWORD create_waitable_timer_high_resolution = 0x00000002;

// The timer counts in 100 ns units; rounded up, so the pause is never shorter than 83 333 ns.
constexpr LONGLONG pause_in_100ns = (83'333 + 99) / 100;

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using TimerHandle = std::unique_ptr<void, HandleCloser>;

TimerHandle create_pause_timer() {
  constexpr DWORD access = SYNCHRONIZE | TIMER_MODIFY_STATE;
  HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, create_waitable_timer_high_resolution, access);
  // Older systems refuse the flag. Their plain timer ends the pause at the next tick of the
  // system timer, which SDL2 sets to 1 ms while it runs: the shortest sleep they have.
  if (timer == nullptr) timer = CreateWaitableTimerExW(nullptr, nullptr, 0, access);
  if (timer == nullptr) fatal();
  return TimerHandle(timer);
}

}  // namespace

void frame_pause() {
  // One timer for the whole run, made at the first pause; only the main thread pauses.
  static const TimerHandle timer = create_pause_timer();
  LARGE_INTEGER due{};
  due.QuadPart = -pause_in_100ns;  // negative: relative to now
  if (SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE) == 0) fatal();
  // A wait that is not alertable cannot be interrupted, so there is no remainder to sleep again.
  if (WaitForSingleObject(timer.get(), INFINITE) != WAIT_OBJECT_0) fatal();
}
