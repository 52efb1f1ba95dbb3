#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "scenes/frame.h"
#include "text/font.h"
#include "text/glyph_draw.h"

// The shared pen loop of the scenes: every character is drawn at the pen, which then moves by
// the glyph's advance. With a typewriter limit, limit + 1 characters are drawn.
void draw_text_run(const Frame& frame, std::string_view text, Font font, double pen_start,
                   std::int32_t base_x, std::int32_t base_y, const std::optional<Jitter>& jitter,
                   std::optional<std::int64_t> limit);
