#include "text/glyph_draw.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/fatal.h"
#include "text/jitter.h"

namespace {
constexpr std::int32_t rect_min = -(1 << 30);
constexpr std::int32_t rect_max = (1 << 30) - 1;

// SDL2 adds x and w (and y and h) in int when it clips, so the rectangle is kept within half
// the int range on every side.
std::int32_t clamp_position(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, rect_min, rect_max));
}

std::int32_t clamp_extent(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 1, rect_max));
}

// The pen is truncated, not rounded, so a glyph never shifts by half a pixel between frames;
// a pen beyond the int range stays at its edge and a NaN pen counts as 0.
std::int32_t pen_to_int(double pen) {
  if (std::isnan(pen)) return 0;
  if (pen >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (pen <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(pen);
}

// Sums that leave the int range stay at its edge, so a far-off glyph stays far off instead of
// wrapping onto the screen.
std::int32_t saturating_sum(std::int64_t sum) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

SdlError sdl_error() { return SdlError{SDL_GetError()}; }
}  // namespace

std::variant<SurfaceHandle, SdlError> create_rgba_surface(std::uint32_t width, std::uint32_t height) {
  int bits_per_pixel = 0;
  std::uint32_t red = 0, green = 0, blue = 0, alpha = 0;
  if (SDL_PixelFormatEnumToMasks(SDL_PIXELFORMAT_ABGR8888, &bits_per_pixel, &red, &green, &blue, &alpha) ==
      SDL_FALSE) {
    return sdl_error();
  }
  // SDL2 takes the size as int; a size it cannot hold is refused like any failed creation.
  constexpr auto int_max = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
  if (width > int_max || height > int_max) {
    SDL_SetError("surface size out of range");
    return sdl_error();
  }
  SDL_Surface* surface = SDL_CreateRGBSurface(0, static_cast<int>(width), static_cast<int>(height),
                                              bits_per_pixel, red, green, blue, alpha);
  if (surface == nullptr) return sdl_error();
  return SurfaceHandle{surface, SDL_FreeSurface};
}

std::variant<TexturePtr, SdlError> texture_from_surface(const TextureCreator& creator,
                                                        const SurfaceHandle& surface) {
  SDL_Texture* texture = SDL_CreateTextureFromSurface(creator.renderer, surface.get());
  if (texture == nullptr) return sdl_error();
  return TexturePtr{texture};
}

std::variant<TexturePtr, SdlError> render_glyph_texture(const TextureCreator& creator, const Glyph& glyph,
                                                        std::uint32_t colour) {
  const std::uint32_t width = std::max<std::uint32_t>(glyph.width, 1);
  const std::uint32_t height = std::max<std::uint32_t>(glyph.height, 1);
  auto made = create_rgba_surface(width, height);
  if (std::holds_alternative<SdlError>(made)) fatal();
  SurfaceHandle surface = std::get<SurfaceHandle>(std::move(made));

  if (SDL_LockSurface(surface.get()) != 0) fatal();
  const std::uint8_t red = colour & 0xFFu;
  const std::uint8_t green = (colour >> 8) & 0xFFu;
  const std::uint8_t blue = (colour >> 16) & 0xFFu;
  auto* pixels = static_cast<std::uint8_t*>(surface->pixels);
  const std::size_t size = static_cast<std::size_t>(surface->pitch) * static_cast<std::size_t>(surface->h);
  // Bytes in memory are red, green, blue, alpha; the coverage becomes the alpha. The record's
  // closing byte falls past the last pixel and is skipped, except for the space, whose single
  // byte lands on the first pixel of its 7 x 1 surface.
  for (std::size_t i = 0; i < glyph.coverage.size() && 4 * i < size; ++i) {
    std::uint8_t* pixel = pixels + 4 * i;
    pixel[0] = red;
    pixel[1] = green;
    pixel[2] = blue;
    pixel[3] = glyph.coverage[i];
  }
  SDL_UnlockSurface(surface.get());

  return texture_from_surface(creator, surface);
}

SDL_Rect glyph_rect(const Glyph& glyph, std::int32_t x, std::int32_t y) {
  return SDL_Rect{clamp_position(std::int64_t{x} + glyph.offset_x),
                  clamp_position(std::int64_t{y} + glyph.offset_y), clamp_extent(glyph.width),
                  clamp_extent(glyph.height)};
}

std::optional<SdlError> canvas_copy(const Canvas& canvas, SDL_Texture* texture, const SDL_Rect& destination) {
  if (SDL_RenderCopy(canvas.renderer, texture, nullptr, &destination) != 0) return sdl_error();
  return std::nullopt;
}

double draw_glyph(const Canvas& canvas, const TextureCreator& creator, Font font, std::uint32_t code_point,
                  std::uint32_t colour, double pen_x, std::int32_t base_x, std::int32_t base_y,
                  const std::optional<Jitter>& jitter) {
  const Glyph glyph = font_glyph(font, code_point);
  auto made = render_glyph_texture(creator, glyph, colour);
  if (std::holds_alternative<SdlError>(made)) fatal();
  TexturePtr texture = std::get<TexturePtr>(std::move(made));

  std::int32_t jitter_x = 0;
  std::int32_t jitter_y = 0;
  if (jitter) {
    jitter_x = random_range(jitter->x_lo, jitter->x_hi);
    jitter_y = random_range(jitter->y_lo, jitter->y_hi);
  }
  const std::int32_t x = saturating_sum(std::int64_t{pen_to_int(pen_x)} + jitter_x + base_x);
  const std::int32_t y = saturating_sum(std::int64_t{base_y} + jitter_y);

  if (canvas_copy(canvas, texture.get(), glyph_rect(glyph, x, y))) fatal();
  texture.reset();  // no texture outlives the glyph that made it
  return glyph.advance;
}
