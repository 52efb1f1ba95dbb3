#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "base/canvas.h"
#include "base/sdl_owners.h"
#include "text/font.h"

// The text of SDL_GetError on a failed SDL2 call.
struct SdlError {
  std::string text;
};

// A surface is shared by whoever holds it and freed with its last holder.
using SurfaceHandle = std::shared_ptr<SDL_Surface>;

// Half-open ranges [x_lo, x_hi) and [y_lo, y_hi) for the per-glyph shake.
struct Jitter {
  std::int32_t x_lo;
  std::int32_t x_hi;
  std::int32_t y_lo;
  std::int32_t y_hi;
};

// A zeroed 32-bit RGBA surface (bytes red, green, blue, alpha; rows exactly 4 x width bytes).
std::variant<SurfaceHandle, SdlError> create_rgba_surface(std::uint32_t width, std::uint32_t height);

std::variant<TexturePtr, SdlError> texture_from_surface(const TextureCreator& creator,
                                                        const SurfaceHandle& surface);

// The glyph's coverage as alpha over the colour word's red, green and blue.
std::variant<TexturePtr, SdlError> render_glyph_texture(const TextureCreator& creator, const Glyph& glyph,
                                                        std::uint32_t colour);

// The glyph's box at (x, y) plus its offsets, clamped so that SDL2 can take it.
SDL_Rect glyph_rect(const Glyph& glyph, std::int32_t x, std::int32_t y);

// Copies the whole texture onto the destination rectangle; empty on success.
std::optional<SdlError> canvas_copy(const Canvas& canvas, SDL_Texture* texture, const SDL_Rect& destination);

// Draws one character at the pen and returns its advance. Every failure is fatal.
double draw_glyph(const Canvas& canvas, const TextureCreator& creator, Font font, std::uint32_t code_point,
                  std::uint32_t colour, double pen_x, std::int32_t base_x, std::int32_t base_y,
                  const std::optional<Jitter>& jitter);
