#include <cstddef>
#include <cstdint>

#include "scenes/motion.h"
#include "scenes/scenes.h"
#include "scenes/text_run.h"
#include "scenes/texts.h"
#include "text/glyph_draw.h"
#include "text/utf8.h"

namespace {

constexpr Jitter header_shake{-2, 2, -3, 3};
constexpr Jitter row_shake{-2, 2, -2, 2};

// The header has its own pen loop: the group's name inside it changes font, and each glyph
// moves the pen by its advance in its own font.
void draw_header(const Frame& frame, double g) {
  const std::int64_t limit = typewriter_limit(greetings_rate, g);
  double pen = 0.0;
  TextCursor cursor{greetings_header.data(), greetings_header.data() + greetings_header.size()};
  std::size_t k = 0;
  for (std::uint32_t c = next_code_point(cursor); c != end_of_text; c = next_code_point(cursor), ++k) {
    const Font font = header_font(k);
    const double advance = draw_glyph(frame.canvas, frame.creator, font, c, frame.text_colour, pen, 18,
                                      header_base_y(font), header_shake);
    if (static_cast<std::int64_t>(k) + 1 > limit) return;
    pen += advance;
  }
}

}  // namespace

// The last text act: the typed header naming the group, the greeted handles scrolling in row
// by row, and the remarks standing near the bottom edge.
void draw_greetings(const Frame& frame) {
  if (frame.width == 0 || frame.height == 0) return;  // no area, nothing to show
  const double g = frame.t - 63.0;
  draw_header(frame, g);
  for (std::size_t r = 0; r < greeting_rows.size(); ++r) {
    draw_text_run(frame, shown_greeting_row(r), Font::main, greeting_row_start_pen(r, g, frame.width), 18,
                  greeting_row_base_y(r), row_shake, std::nullopt);
  }
  for (std::size_t i = 0; i < remark_count; ++i) {
    const RemarkPlace place = remark_place(i, frame.height);
    draw_text_run(frame, place.text, Font::main, 0.0, place.base_x, place.base_y, row_shake, std::nullopt);
  }
}
