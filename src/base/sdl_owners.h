#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <utility>

#include "base/fatal.h"

// One owner for every SDL2 handle. Declared in the order of creation, they are released in
// reverse order when the main routine returns.

// The library itself, initialised with no subsystems.
struct SdlLibrary {
  SdlLibrary() {
    if (SDL_Init(0) != 0) fatal();
  }
  ~SdlLibrary() { SDL_Quit(); }
  SdlLibrary(const SdlLibrary&) = delete;
  SdlLibrary& operator=(const SdlLibrary&) = delete;
};

// One reference on an SDL2 subsystem (audio, video, events); 0 flags owns nothing.
class SdlSubsystem {
 public:
  explicit SdlSubsystem(std::uint32_t flags) : flags_(flags) {
    if (SDL_InitSubSystem(flags) != 0) fatal();
  }
  ~SdlSubsystem() {
    if (flags_ != 0) SDL_QuitSubSystem(flags_);
  }
  SdlSubsystem(SdlSubsystem&& other) noexcept : flags_(std::exchange(other.flags_, 0)) {}
  SdlSubsystem& operator=(SdlSubsystem&&) = delete;
  SdlSubsystem(const SdlSubsystem&) = delete;
  SdlSubsystem& operator=(const SdlSubsystem&) = delete;

 private:
  std::uint32_t flags_;
};

struct WindowDeleter {
  void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;

struct RendererDeleter {
  void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
};
using RendererPtr = std::unique_ptr<SDL_Renderer, RendererDeleter>;

struct TextureDeleter {
  void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};
using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;
