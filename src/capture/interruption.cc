#include "capture/interruption.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstdlib>

namespace {

std::atomic<int> caught{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler may only touch lock-free atomics");

void note_signal(int signal_number) { caught.store(signal_number); }

}  // namespace

void catch_interruptions() {
  struct sigaction action {};
  action.sa_handler = note_signal;
  sigemptyset(&action.sa_mask);
  // A repeated signal changes nothing: timeout(1), for one, signals both the process and its
  // group, and the capture stops within a frame of the first anyway.
  action.sa_flags = SA_RESTART;
  for (const int signal_number : std::array{SIGINT, SIGTERM, SIGHUP})
    sigaction(signal_number, &action, nullptr);
}

int interruption() { return caught.load(); }

void end_by_interruption(int signal_number) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  // With the default action back, the signal ends the process inside raise; what follows runs
  // only if it could not.
  const bool raised = sigaction(signal_number, &action, nullptr) == 0 && std::raise(signal_number) == 0;
  std::_Exit(raised ? 128 + signal_number : EXIT_FAILURE);
}
