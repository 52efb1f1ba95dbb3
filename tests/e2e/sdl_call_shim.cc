// A preloaded library (LD_PRELOAD) that stands between a program and SDL2 and the C library:
// it writes every call the program itself makes to the SDL2 functions of start-up, presenting,
// events and teardown, and to clock_gettime(CLOCK_REALTIME) and nanosleep, one line each, to
// the file named by SDL_CALL_LOG, then passes the call on. Calls that SDL2 or the drivers make
// on their own are passed on unlogged: only calls whose return address lies in the program's
// own image are written.
//
// SDL_CALL_SCRIPT plays events and faults into the run, as a comma-separated list of
// ACTION@N, where N counts the program's calls of the function the action concerns, from 1:
//   drop@N          SDL_PollEvent call N returns an SDL_DROPFILE, call N + 1 an SDL_DROPTEXT,
//                   each carrying text from SDL_strdup; the log notes when SDL_free gets it
//   escape-up@N     call N returns an Escape key-up
//   key-a@N         call N returns a key-down of the letter a
//   escape-repeat@N call N returns an Escape key-down with the repeat flag set
//   quit@N          call N returns SDL_QUIT, call N + 1 would return a key-down of a
//   eintr@N         nanosleep call N sleeps for part of the request, then fails with EINTR
//                   and reports 40 000 ns remaining
//   einval@N        nanosleep call N fails with EINVAL
// SDL2's headers map SDL_free and its kin onto the C library's names for static analysers; this
// file defines SDL_free itself.
#define SDL_DISABLE_ANALYZE_MACROS 1
#include <SDL.h>
#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

struct Segment {
  std::uintptr_t begin;
  std::uintptr_t end;
};

struct Action {
  std::string name;
  long call;
};

struct Shim {
  std::FILE* log = nullptr;
  std::vector<Segment> program;
  std::vector<Action> script;
  std::vector<const void*> windows;    // in order of creation
  std::vector<const void*> renderers;  // in order of creation
  std::array<void*, 2> dropped{};      // the texts handed out with drop events
  long polls = 0;
  long pauses = 0;
};

Shim& shim() {
  static Shim instance;
  return instance;
}

int note_program_segment(dl_phdr_info* info, std::size_t /*size*/, void* data) {
  // The first object is the program itself.
  auto* segments = static_cast<std::vector<Segment>*>(data);
  for (int k = 0; k < info->dlpi_phnum; ++k) {
    const ElfW(Phdr)& header = info->dlpi_phdr[k];
    if (header.p_type != PT_LOAD) continue;
    const std::uintptr_t begin = info->dlpi_addr + header.p_vaddr;
    segments->push_back(Segment{begin, begin + header.p_memsz});
  }
  return 1;
}

__attribute__((constructor)) void start_shim() {
  Shim& s = shim();
  dl_iterate_phdr(note_program_segment, &s.program);
  // The constructor runs before the program's main and before any thread exists.
  const char* path = std::getenv("SDL_CALL_LOG");       // NOLINT(concurrency-mt-unsafe)
  const char* script = std::getenv("SDL_CALL_SCRIPT");  // NOLINT(concurrency-mt-unsafe)
  if (path != nullptr) s.log = std::fopen(path, "w");
  if (script != nullptr) {
    const std::string text = script;
    std::size_t at = 0;
    while (at < text.size()) {
      std::size_t end = text.find(',', at);
      if (end == std::string::npos) end = text.size();
      const std::string item = text.substr(at, end - at);
      const std::size_t sign = item.find('@');
      if (sign != std::string::npos) {
        s.script.push_back(Action{item.substr(0, sign), std::strtol(item.c_str() + sign + 1, nullptr, 10)});
      }
      at = end + 1;
    }
  }
}

bool from_program(const void* return_address) {
  const auto address = reinterpret_cast<std::uintptr_t>(return_address);
  return std::ranges::any_of(shim().program, [address](const Segment& segment) {
    return address >= segment.begin && address < segment.end;
  });
}

bool scripted(const char* name, long call) {
  return std::ranges::any_of(
      shim().script, [&](const Action& action) { return action.name == name && action.call == call; });
}

void note(const std::string& line) {
  // A log line that cannot be written shows up as a missing call in the test's comparison.
  if (shim().log == nullptr) return;
  (void)std::fputs(line.c_str(), shim().log);
  (void)std::fputc('\n', shim().log);
  (void)std::fflush(shim().log);
}

std::string hex(std::uint32_t value) {
  std::array<char, 16> text{};
  (void)std::snprintf(text.data(), text.size(), "0x%x", value);
  return text.data();
}

// W1, R1, ...: handles named by their order of creation, so that a log reads the same each run.
std::string handle(const void* pointer, char kind) {
  std::vector<const void*>& handles = kind == 'W' ? shim().windows : shim().renderers;
  for (std::size_t k = 0; k < handles.size(); ++k) {
    if (handles[k] == pointer) return kind + std::to_string(k + 1);
  }
  if (pointer == nullptr) return "null";
  handles.push_back(pointer);
  return kind + std::to_string(handles.size());
}

// The next definition of a function after this library's own, looked up once per call site:
// the drivers' threads read the clock often.
#define call_real(name)                                                                    \
  ([] {                                                                                    \
    static const auto next = reinterpret_cast<decltype(&(name))>(dlsym(RTLD_NEXT, #name)); \
    return next;                                                                           \
  }())

#define FROM_PROGRAM from_program(__builtin_return_address(0))

}  // namespace

extern "C" {

int SDL_Init(Uint32 flags) {
  const int result = call_real(SDL_Init)(flags);
  if (FROM_PROGRAM) note("SDL_Init " + hex(flags) + " -> " + std::to_string(result));
  return result;
}

int SDL_InitSubSystem(Uint32 flags) {
  const int result = call_real(SDL_InitSubSystem)(flags);
  if (FROM_PROGRAM) note("SDL_InitSubSystem " + hex(flags) + " -> " + std::to_string(result));
  return result;
}

void SDL_QuitSubSystem(Uint32 flags) {
  if (FROM_PROGRAM) note("SDL_QuitSubSystem " + hex(flags));
  call_real(SDL_QuitSubSystem)(flags);
}

void SDL_Quit() {
  if (FROM_PROGRAM) note("SDL_Quit");
  call_real(SDL_Quit)();
}

SDL_AudioDeviceID SDL_OpenAudioDevice(const char* device, int iscapture, const SDL_AudioSpec* desired,
                                      SDL_AudioSpec* obtained, int allowed_changes) {
  const SDL_AudioDeviceID id =
      call_real(SDL_OpenAudioDevice)(device, iscapture, desired, obtained, allowed_changes);
  if (FROM_PROGRAM) {
    note(std::string("SDL_OpenAudioDevice ") + (device == nullptr ? "default" : device) +
         (iscapture != 0 ? " capture " : " playback ") + std::to_string(desired->freq) + " " +
         hex(desired->format) + " " + std::to_string(desired->channels) + " " +
         std::to_string(desired->samples) + (desired->callback != nullptr ? " callback" : " no-callback") +
         " changes " + hex(allowed_changes) + (id != 0 ? " -> device" : " -> 0"));
  }
  return id;
}

void SDL_PauseAudioDevice(SDL_AudioDeviceID dev, int pause_on) {
  if (FROM_PROGRAM) note("SDL_PauseAudioDevice device " + std::to_string(pause_on));
  call_real(SDL_PauseAudioDevice)(dev, pause_on);
}

void SDL_CloseAudioDevice(SDL_AudioDeviceID dev) {
  if (FROM_PROGRAM) note("SDL_CloseAudioDevice device");
  call_real(SDL_CloseAudioDevice)(dev);
}

SDL_Window* SDL_CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags) {
  SDL_Window* window = call_real(SDL_CreateWindow)(title, x, y, w, h, flags);
  if (FROM_PROGRAM) {
    note(std::string("SDL_CreateWindow \"") + title + "\" " + hex(static_cast<Uint32>(x)) + " " +
         hex(static_cast<Uint32>(y)) + " " + std::to_string(w) + " " + std::to_string(h) + " " + hex(flags) +
         " -> " + handle(window, 'W'));
  }
  return window;
}

void SDL_SetWindowMinimumSize(SDL_Window* window, int min_w, int min_h) {
  if (FROM_PROGRAM) {
    note("SDL_SetWindowMinimumSize " + handle(window, 'W') + " " + std::to_string(min_w) + " " +
         std::to_string(min_h));
  }
  call_real(SDL_SetWindowMinimumSize)(window, min_w, min_h);
}

SDL_Renderer* SDL_CreateRenderer(SDL_Window* window, int index, Uint32 flags) {
  SDL_Renderer* renderer = call_real(SDL_CreateRenderer)(window, index, flags);
  if (FROM_PROGRAM) {
    note("SDL_CreateRenderer " + handle(window, 'W') + " " + std::to_string(index) + " " + hex(flags) +
         " -> " + handle(renderer, 'R'));
  }
  return renderer;
}

int SDL_RenderSetLogicalSize(SDL_Renderer* renderer, int w, int h) {
  const int result = call_real(SDL_RenderSetLogicalSize)(renderer, w, h);
  if (FROM_PROGRAM) {
    note("SDL_RenderSetLogicalSize " + handle(renderer, 'R') + " " + std::to_string(w) + " " +
         std::to_string(h) + " -> " + std::to_string(result));
  }
  return result;
}

void SDL_RenderPresent(SDL_Renderer* renderer) {
  if (FROM_PROGRAM) note("SDL_RenderPresent " + handle(renderer, 'R'));
  call_real(SDL_RenderPresent)(renderer);
}

void SDL_DestroyRenderer(SDL_Renderer* renderer) {
  if (FROM_PROGRAM) note("SDL_DestroyRenderer " + handle(renderer, 'R'));
  call_real(SDL_DestroyRenderer)(renderer);
}

void SDL_DestroyWindow(SDL_Window* window) {
  if (FROM_PROGRAM) note("SDL_DestroyWindow " + handle(window, 'W'));
  call_real(SDL_DestroyWindow)(window);
}

int SDL_PollEvent(SDL_Event* event) {
  if (!FROM_PROGRAM) return call_real(SDL_PollEvent)(event);
  Shim& s = shim();
  const long call = ++s.polls;
  auto* const strdup_real = call_real(SDL_strdup);
  std::string played;
  SDL_Event made{};
  if (scripted("drop", call)) {
    made.type = SDL_DROPFILE;
    made.drop.file = strdup_real("/tmp/dropped file.mod");
    s.dropped[0] = made.drop.file;
    played = "drop file";
  } else if (scripted("drop", call - 1)) {
    made.type = SDL_DROPTEXT;
    made.drop.file = strdup_real("dropped text");
    s.dropped[1] = made.drop.file;
    played = "drop text";
  } else if (scripted("escape-up", call)) {
    made.type = SDL_KEYUP;
    made.key.keysym.sym = SDLK_ESCAPE;
    played = "escape up";
  } else if (scripted("key-a", call) || scripted("quit", call - 1)) {
    made.type = SDL_KEYDOWN;
    made.key.keysym.sym = SDLK_a;
    played = "key a";
  } else if (scripted("escape-repeat", call)) {
    made.type = SDL_KEYDOWN;
    made.key.repeat = 1;
    made.key.keysym.sym = SDLK_ESCAPE;
    played = "escape repeat";
  } else if (scripted("quit", call)) {
    made.type = SDL_QUIT;
    played = "quit";
  }
  if (!played.empty()) {
    note("SDL_PollEvent -> " + played);
    *event = made;
    return 1;
  }
  const int result = call_real(SDL_PollEvent)(event);
  note(result != 0 ? "SDL_PollEvent -> event" : "SDL_PollEvent -> 0");
  return result;
}

void SDL_free(void* memory) {
  Shim& s = shim();
  for (std::size_t k = 0; k < s.dropped.size(); ++k) {
    if (memory != nullptr && memory == s.dropped[k]) {
      note(k == 0 ? "SDL_free drop file" : "SDL_free drop text");
      s.dropped[k] = nullptr;
    }
  }
  call_real(SDL_free)(memory);
}

// The C library's declarations name their parameters with reserved identifiers.
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
int clock_gettime(clockid_t clock, timespec* now) {
  const int result = call_real(clock_gettime)(clock, now);
  if (clock == CLOCK_REALTIME && FROM_PROGRAM) note("clock_gettime CLOCK_REALTIME");
  return result;
}

// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
int nanosleep(const timespec* request, timespec* remaining) {
  auto* const sleep_real = call_real(nanosleep);
  if (!FROM_PROGRAM) return sleep_real(request, remaining);
  const long call = ++shim().pauses;
  const std::string asked =
      "nanosleep " + std::to_string(request->tv_sec) + " " + std::to_string(request->tv_nsec);
  if (scripted("eintr", call)) {
    const timespec part{0, request->tv_nsec / 2};
    sleep_real(&part, nullptr);
    if (remaining != nullptr) *remaining = timespec{0, 40'000};
    note(asked + " -> EINTR 0 40000");
    errno = EINTR;
    return -1;
  }
  if (scripted("einval", call)) {
    note(asked + " -> EINVAL");
    errno = EINVAL;
    return -1;
  }
  note(asked);
  return sleep_real(request, remaining);
}

}  // extern "C"
