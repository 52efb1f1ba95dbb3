// Start-up, frame loop and teardown of both programs. The owners below are declared in the
// order of creation, so leaving main releases them in reverse: event reader, renderer,
// window, video subsystem, audio device, playback state, audio subsystem, library.
#define SDL_MAIN_HANDLED  // plain main(): SDL2 needs no entry-point wrapper on Linux
#include <SDL.h>

#include "app/frame_clock.h"
#include "app/frame_loop.h"
#include "app/presentation.h"
#include "base/canvas.h"
#include "base/fatal.h"
#include "base/sdl_owners.h"
#include "music/audio_output.h"
#include "scenes/director.h"

namespace {
// The program's name written as a source file name.
constexpr const char* window_title = "vexal25-herald.cc";
}  // namespace

int main(int /*argc*/, char** /*argv*/) {
  SdlLibrary library;
  // The whole song is rendered and playing before any window exists.
  MusicDevice music = open_music_device();
  SdlSubsystem video(SDL_INIT_VIDEO);
  WindowPtr window(SDL_CreateWindow(window_title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                    design_width, design_height, SDL_WINDOW_RESIZABLE));
  if (!window) fatal();
  SDL_SetWindowMinimumSize(window.get(), design_width, design_height);
  RendererPtr renderer(SDL_CreateRenderer(window.get(), -1, 0));
  if (!renderer) fatal();
  // An OpenGL renderer makes SDL2 recreate the native window with the GL flag, and the new
  // X11 window comes without the minimum-size hint; set it again so window managers keep
  // the window at least 640 x 400.
  SDL_SetWindowMinimumSize(window.get(), design_width, design_height);
  const Canvas canvas{window.get(), renderer.get()};
  const TextureCreator creator{renderer.get()};
  setup_presentation(canvas);

  draw_frame(canvas, creator, first_frame_seconds);
  SDL_RenderPresent(renderer.get());

  SdlSubsystem events(SDL_INIT_EVENTS);
  const Instant start = read_wall_clock();
  run_frame_loop(canvas, creator, start);
  return 0;
}
