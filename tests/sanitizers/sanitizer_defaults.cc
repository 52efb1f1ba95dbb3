// Linked into every executable of a sanitizer build: the sanitizers' default options and the
// suppressions of tests/sanitizers/*.supp, compiled in so that a test, a script or a person
// running a built program by hand gets the same checks without setting any variable.
#include <cstdlib>

#include "sanitizer_suppressions.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HERALD_ASAN 1
#endif
#if __has_feature(thread_sanitizer)
#define HERALD_TSAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define HERALD_ASAN 1
#endif
#if defined(__SANITIZE_THREAD__)
#define HERALD_TSAN 1
#endif

extern "C" {

#if defined(HERALD_ASAN)
// Leaks are checked at every normal exit. A fatal failure leaves through _Exit on purpose, with
// no teardown, and so is never leak checked.
const char* __asan_default_options() {
  return "detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1";
}

// Quiet about what was suppressed: the programs' standard output carries only their time lines.
const char* __lsan_default_options() { return "print_suppressions=0"; }

const char* __lsan_default_suppressions() { return lsan_suppressions; }

// The GL driver that SDL2 loads for its renderer is unloaded again when the window goes, before
// the leak check at exit. What it kept would then be reported from an unknown module, which no
// suppression can name, and its own globals would no longer hold it. Keeping every library mapped
// until the process ends lets the leak check see them as they were.
int dlclose(void*) { return 0; }
#endif

#if defined(HERALD_TSAN)
const char* __tsan_default_suppressions() { return tsan_suppressions; }
#endif

const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

}  // extern "C"
