// Draws every glyph of both fonts and the scene texts through the real glyph path into
// font_contact_sheet.bmp in the working directory, so a person can look at the faces.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "scenes/text_run.h"
#include "support/pixels.h"
#include "text/glyph_draw.h"
#include "text/utf8.h"

namespace {

constexpr std::uint32_t colour = 0xFFFFFFFF;
constexpr Rgba background{12, 12, 12, 255};
constexpr std::string_view main_characters =
    " #%,-./0123456:9@ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

bool has_ink(const OfflineCanvas& canvas, const SDL_Rect& rect) {
  return ink_box(canvas, Box{rect.x, rect.y, rect.x + rect.w, rect.y + rect.h}, background).has_value();
}

// The greetings header: the group's name in the logo font inside a main-font sentence.
void draw_mixed_header(const OfflineCanvas& canvas, std::string_view text, int base_y) {
  TextCursor cursor{text.data(), text.data() + text.size()};
  double pen = 0;
  int k = 0;
  for (std::uint32_t c = next_code_point(cursor); c != end_of_text; c = next_code_point(cursor), ++k) {
    const bool logo = k >= 13 && k <= 21;
    pen += draw_glyph(canvas_of(canvas), creator_of(canvas), logo ? Font::logo : Font::main, c, colour, pen,
                      18, logo ? base_y - 8 : base_y, std::nullopt);
  }
}

}  // namespace

TEST(ContactSheet, EveryGlyphOfBothFontsInkedAndSaved) {
  const std::optional<OfflineCanvas> sheet = open_windowless_canvas(640, 340);
  ASSERT_TRUE(sheet) << SDL_GetError();
  clear_offline_canvas(*sheet, background);
  const Canvas canvas = canvas_of(*sheet);
  const TextureCreator creator = creator_of(*sheet);

  // Every main glyph in a cell of its own, 35 to a row.
  for (std::size_t i = 0; i < main_characters.size(); ++i) {
    const int x = 8 + 18 * static_cast<int>(i % 35), y = 12 + 28 * static_cast<int>(i / 35);
    const std::uint32_t c = static_cast<unsigned char>(main_characters[i]);
    draw_glyph(canvas, creator, Font::main, c, colour, 0.0, x, y, std::nullopt);
    if (c != ' ') {
      EXPECT_TRUE(has_ink(*sheet, glyph_rect(main_font_glyph(c), x, y))) << static_cast<char>(c);
    }
  }
  // Every logo glyph in a cell of its own, then the logo as the scenes set it.
  int x = 8;
  for (const char c : std::string_view{"Zaq-Plume"}) {
    draw_glyph(canvas, creator, Font::logo, static_cast<unsigned char>(c), colour, 0.0, x, 72, std::nullopt);
    EXPECT_TRUE(has_ink(*sheet, glyph_rect(logo_font_glyph(static_cast<unsigned char>(c)), x, 72))) << c;
    x += 26;
  }
  const Frame frame{canvas, creator, 1.0, 640, 340, colour};
  draw_text_run(frame, "Zaq-Plume", Font::logo, 0.0, 260, 72, std::nullopt, std::nullopt);

  // The scene texts, to judge the spacing.
  int y = 124;
  for (const std::string_view text :
       {"Have some scrollers: x3", "Pls come to VeXal 2025", "Apr 10th - Apr 13th 2025",
        "30CHF, paid on-site", "we did 90% onsite at glarnwickfest 2025,", "Come to Vexal25 :3",
        "oh look a 64k tiny demo", "Quorn   Oskol   Mirve   tep",
        "Tarn/Vellin   /dev/snorkle   Matrix: Mastodon: @"}) {
    draw_text_run(frame, text, Font::main, 0.0, 18, y, std::nullopt, std::nullopt);
    y += 20;
  }
  draw_mixed_header(*sheet, "Greetings by Zaq-Plume to:", y + 8);

  SDL_RenderFlush(canvas.renderer);
  ASSERT_EQ(SDL_SaveBMP(sheet->target.get(), "font_contact_sheet.bmp"), 0) << SDL_GetError();
}
