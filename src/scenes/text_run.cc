#include "scenes/text_run.h"

#include "text/utf8.h"

void draw_text_run(const Frame& frame, std::string_view text, Font font, double pen_start,
                   std::int32_t base_x, std::int32_t base_y, const std::optional<Jitter>& jitter,
                   std::optional<std::int64_t> limit) {
  TextCursor cursor{text.data(), text.data() + text.size()};
  double pen = pen_start;
  std::int64_t count = 0;
  for (std::uint32_t code_point = next_code_point(cursor); code_point != end_of_text;
       code_point = next_code_point(cursor)) {
    const double advance = draw_glyph(frame.canvas, frame.creator, font, code_point, frame.text_colour, pen,
                                      base_x, base_y, jitter);
    // A typewriter limit of n shows n + 1 characters: one is visible from the scene's first frame.
    if (limit) {
      count += 1;
      if (count > *limit) return;
    }
    pen += advance;
  }
}
