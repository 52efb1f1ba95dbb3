#include "scenes/director.h"

#include <algorithm>
#include <cstdint>

#include "app/presentation.h"
#include "base/fatal.h"
#include "scenes/colour_phase.h"
#include "scenes/console_line.h"
#include "scenes/frame.h"
#include "scenes/timeline.h"

namespace {
constexpr std::uint8_t background_grey = 12;

std::uint32_t non_negative(std::int32_t size) { return static_cast<std::uint32_t>(std::max(size, 0)); }
}  // namespace

void draw_frame(const Canvas& canvas, const TextureCreator& creator, double t) {
  write_console_line(t);
  const std::uint32_t colour = text_colour(t);
  const CanvasSize size = presentation_size(canvas);
  if (SDL_SetRenderDrawColor(canvas.renderer, background_grey, background_grey, background_grey, 255) != 0)
    fatal();
  if (SDL_RenderClear(canvas.renderer) != 0) fatal();
  const Frame frame{canvas, creator, t, non_negative(size.width), non_negative(size.height), colour};
  for (const Scene scene : active_scenes(t)) scene(frame);
}
