#include <cstdint>
#include <optional>

#include "scenes/motion.h"
#include "scenes/scenes.h"
#include "scenes/texts.h"
#include "text/glyph_draw.h"
#include "text/utf8.h"

// The invitation line along the bottom edge. Its own pen loop wraps per character, so on a
// narrow canvas the characters that crossed the right edge continue from the left while the
// rest of the line is still on the right.
void draw_marquee(const Frame& frame) {
  if (frame.width == 0 || frame.height == 0) return;  // no area, nothing to show
  const auto base_y = static_cast<std::int32_t>(frame.height - 32u);
  double pen = marquee_start_pen(frame.t, frame.width);
  TextCursor cursor{marquee_text.data(), marquee_text.data() + marquee_text.size()};
  for (std::uint32_t c = next_code_point(cursor); c != end_of_text; c = next_code_point(cursor)) {
    const double advance = draw_glyph(frame.canvas, frame.creator, Font::main, c, frame.text_colour, pen, 0,
                                      base_y, std::nullopt);
    pen = marquee_next_pen(pen, advance, frame.width);
  }
}
