#include <optional>

#include "scenes/logo_path.h"
#include "scenes/scenes.h"
#include "scenes/text_run.h"
#include "scenes/texts.h"

// The group's name, standing still for half a second and then bouncing inside the margins.
void draw_logo(const Frame& frame) {
  if (frame.width == 0 || frame.height == 0) return;  // no area, nothing to show
  const std::optional<LogoPoint> origin = logo_origin(frame.t, frame.width, frame.height, measure_logo());
  if (!origin) return;
  draw_text_run(frame, logo_text, Font::logo, 0.0, origin->x, origin->y, std::nullopt, std::nullopt);
}
