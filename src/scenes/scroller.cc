#include <cstddef>

#include "scenes/motion.h"
#include "scenes/scenes.h"
#include "scenes/text_run.h"
#include "scenes/texts.h"

namespace {
constexpr Jitter headline_shake{-2, 2, -3, 3};
constexpr Jitter block_shake{-2, 2, -2, 2};
}  // namespace

// The middle act: a typed headline over the invitation and credits block scrolling in from
// the right, every glyph shaking.
void draw_scroller(const Frame& frame) {
  if (frame.width == 0 || frame.height == 0) return;  // no area, nothing to show
  const double tau = frame.t - 30.0;
  draw_text_run(frame, headline_text(tau), Font::main, 0.0, 18, 24, headline_shake,
                typewriter_limit(headline_rate, tau));
  const double pen0 = block_start_pen(tau, frame.width);
  for (std::size_t i = 0; i < block_lines.size(); ++i) {
    draw_text_run(frame, block_lines[i], Font::main, pen0, 0, block_line_base_y(i), block_shake,
                  std::nullopt);
  }
}
