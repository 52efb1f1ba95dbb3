// The scenes drawn on a software renderer and read back: each scene's glyphs must land where a
// text run drawn by hand at the expected pen and base lands, with the jitter held at 0.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scenes/colour_phase.h"
#include "scenes/logo_path.h"
#include "scenes/motion.h"
#include "scenes/scenes.h"
#include "scenes/text_run.h"
#include "scenes/texts.h"
#include "scenes/wave_fill.h"
#include "support/pixels.h"
#include "text/jitter.h"

namespace {

constexpr Rgba background{12, 12, 12, 255};

// Two canvases of one size, cleared to the background: the scene draws on `scene`, the test
// draws its expectation on `expected`.
class SceneRender : public testing::Test {
 protected:
  void SetUp() override { hold_jitter({0}); }
  void TearDown() override { hold_jitter({}); }

 public:
  static bool same_pixels(const OfflineCanvas& a, const OfflineCanvas& b, Box box) {
    const std::optional<PixelAt> difference = first_difference(a, b, box);
    if (difference) ADD_FAILURE() << "first difference at " << difference->x << "," << difference->y;
    return !difference;
  }

  static std::optional<Box> lit_box(const OfflineCanvas& a, Box within) {
    return ink_box(a, within, background);
  }
};

struct Pair {
  Pair(int w, int h)
      : scene(open_windowless_canvas(w, h).value()), expected(open_windowless_canvas(w, h).value()) {
    clear_offline_canvas(scene, background);
    clear_offline_canvas(expected, background);
  }
  Frame scene_frame(double t) const {
    return Frame{scene_canvas,
                 scene_creator,
                 t,
                 static_cast<std::uint32_t>(offline_width(scene)),
                 static_cast<std::uint32_t>(offline_height(scene)),
                 text_colour(t)};
  }
  Frame expected_frame(double t) const {
    return Frame{expected_canvas,
                 expected_creator,
                 t,
                 static_cast<std::uint32_t>(offline_width(expected)),
                 static_cast<std::uint32_t>(offline_height(expected)),
                 text_colour(t)};
  }
  Box whole() const { return whole_canvas(scene); }

  OfflineCanvas scene;
  OfflineCanvas expected;
  Canvas scene_canvas = canvas_of(scene);
  TextureCreator scene_creator = creator_of(scene);
  Canvas expected_canvas = canvas_of(expected);
  TextureCreator expected_creator = creator_of(expected);
};

void draw_logo_at(const Frame& frame, std::int32_t x, std::int32_t y) {
  draw_text_run(frame, logo_text, Font::logo, 0.0, x, y, std::nullopt, std::nullopt);
}

}  // namespace

TEST_F(SceneRender, LogoRestsAtTheMarginThenBounces) {
  for (const double t : {0.001, 0.5, 0.501}) {
    Pair pair(640, 400);
    draw_logo(pair.scene_frame(t));
    draw_logo_at(pair.expected_frame(t), 16, 16);
    EXPECT_TRUE(same_pixels(pair.scene, pair.expected, pair.whole())) << t;
    const auto box = lit_box(pair.scene, pair.whole());
    ASSERT_TRUE(box) << t;
    EXPECT_GE(box->x0, 16);
    EXPECT_LT(box->x0, 24);
    EXPECT_GE(box->y0, 16);
    EXPECT_LT(box->y0, 24);
  }
  Pair pair(640, 400);
  draw_logo(pair.scene_frame(1.5));
  draw_logo_at(pair.expected_frame(1.5), 106, 106);
  EXPECT_TRUE(same_pixels(pair.scene, pair.expected, pair.whole()));
}

TEST_F(SceneRender, LogoMeasuresItsRealGlyphs) {
  const LogoSize size = measure_logo();
  // Nine glyphs of 11 to 19 pixels' advance, the tallest a descender or capital under 20.
  EXPECT_GT(size.span, 16.0 + 9 * 11.0);
  EXPECT_LT(size.span, 16.0 + 9 * 19.5);
  EXPECT_GE(size.height, 16.0f + 18.0f);
  EXPECT_LE(size.height, 16.0f + 24.0f);
  // The far turning point keeps the 16-pixel margin to the right edge: the logo's glyphs end
  // no further right than W - 16 (advances cover the boxes).
  const double range_x = 640.0 - (size.span + 16.0);
  const double t_turn = 0.5 + range_x / 90.0;
  Pair pair(640, 400);
  draw_logo(pair.scene_frame(t_turn));
  const auto box = lit_box(pair.scene, pair.whole());
  ASSERT_TRUE(box);
  EXPECT_LE(box->x1, 640 - 16 + 1);
  EXPECT_GT(box->x1, 640 - 16 - 8);
}

TEST_F(SceneRender, LogoAtNinetyJumpsToFifteenSecondsOfItsPath) {
  const LogoSize size = measure_logo();
  const LogoPoint at15 = *logo_origin(15.0, 640, 400, size);
  Pair pair(640, 400);
  draw_logo(pair.scene_frame(90.0));
  draw_logo_at(pair.expected_frame(90.0), at15.x, at15.y);
  EXPECT_TRUE(same_pixels(pair.scene, pair.expected, pair.whole()));
  EXPECT_NE(at15, *logo_origin(29.999, 640, 400, size));
}

TEST_F(SceneRender, WaveIsTransparentAtTwelveAndRevealedFromTheRight) {
  {
    Pair pair(640, 400);
    draw_wave(pair.scene_frame(12.0));
    EXPECT_FALSE(lit_box(pair.scene, pair.whole()).has_value());
  }
  // A column shows once revealed, unless its line reaches the last row (near the crest).
  auto check_columns = [&](double t, int first_revealed) {
    Pair pair(640, 400);
    draw_wave(pair.scene_frame(t));
    const WaveShape shape = wave_shape(t, 640, 400);
    for (int i = 0; i < 640; ++i) {
      const bool shows =
          i >= first_revealed && wave_line(shape, static_cast<std::uint32_t>(i), 640) + 1 < 400;
      EXPECT_EQ(lit_box(pair.scene, Box{i, 0, i + 1, 400}).has_value(), shows)
          << "column " << i << " at " << t;
    }
    // Row 0 is never covered.
    EXPECT_FALSE(lit_box(pair.scene, Box{0, 0, 640, 1}).has_value());
  };
  check_columns(17.0, 320);
  check_columns(22.0, 0);

  // Blending: a streak pixel (n multiple of 7) is opaque and shows its column's colour; the
  // half-transparent ones mix it with the background.
  Pair pair(640, 400);
  draw_wave(pair.scene_frame(25.0));
  const WaveShape shape = wave_shape(25.0, 640, 400);
  int checked = 0;
  for (std::uint32_t i = 0; i < 640; i += 37) {
    if (wave_line(shape, i, 640) >= 390) continue;
    const std::uint32_t q = i * 512 / 640;
    const Rgba colour{static_cast<std::uint8_t>(122 - q / 8), static_cast<std::uint8_t>(255 - q / 2),
                      static_cast<std::uint8_t>(q / 2), 255};
    for (std::uint32_t j = 395; j < 400; ++j) {
      const Rgba p = offline_pixel(pair.scene, static_cast<int>(i), static_cast<int>(j));
      if ((i + j * 640) % 7 == 0) {
        EXPECT_EQ(p, colour) << i << "," << j;
      } else {
        const auto mix = [](int src, int dst) { return (src * 122 + dst * 133) / 255; };
        EXPECT_NEAR(p.r, mix(colour.r, 12), 2) << i << "," << j;
        EXPECT_NEAR(p.g, mix(colour.g, 12), 2) << i << "," << j;
        EXPECT_NEAR(p.b, mix(colour.b, 12), 2) << i << "," << j;
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 50);
}

TEST_F(SceneRender, WaveCoversTheLogoWhereItIsOpaque) {
  Pair pair(640, 400);
  const double t = 25.0;
  draw_logo(pair.scene_frame(t));
  draw_wave(pair.scene_frame(t));
  draw_wave(pair.expected_frame(t));
  // The logo's pixels show through where the field is half transparent, so the picture
  // differs from the wave alone exactly within the logo's box.
  const LogoPoint at = *logo_origin(t, 640, 400, measure_logo());
  EXPECT_TRUE(same_pixels(pair.scene, pair.expected, Box{0, 0, 640, std::max(0, at.y - 8)}));
}

TEST_F(SceneRender, MarqueeRunsAlongTheBottomAndWrapsOnNarrowCanvases) {
  for (const auto& [t, pen] : {std::pair{18.0, 18.0}, std::pair{20.0, 82.0}}) {
    Pair pair(640, 400);
    draw_marquee(pair.scene_frame(t));
    draw_text_run(pair.expected_frame(t), marquee_text, Font::main, pen, 0, 368, std::nullopt, std::nullopt);
    EXPECT_TRUE(same_pixels(pair.scene, pair.expected, pair.whole())) << t;
    const auto box = lit_box(pair.scene, pair.whole());
    ASSERT_TRUE(box);
    EXPECT_GE(box->y0, 368 - 6);
    EXPECT_LE(box->y1, 368 + 13);
  }
  // At 640 nothing wraps at the end of the act: the left part of the bottom stays empty.
  {
    Pair pair(640, 400);
    draw_marquee(pair.scene_frame(29.999));
    EXPECT_FALSE(lit_box(pair.scene, Box{0, 340, 390, 400}).has_value());
    EXPECT_TRUE(lit_box(pair.scene, Box{400, 340, 640, 400}).has_value());
  }
  // At 500 the characters past the right edge continue from the left edge, the rest stays
  // on the right: the line is split in two.
  {
    Pair pair(500, 400);
    draw_marquee(pair.scene_frame(29.999));
    const auto left = lit_box(pair.scene, Box{0, 340, 250, 400});
    const auto right = lit_box(pair.scene, Box{250, 340, 500, 400});
    ASSERT_TRUE(left);
    ASSERT_TRUE(right);
    EXPECT_LT(left->x0, 10);
    EXPECT_GE(right->x0, 401);
    // Drawn by hand: each character at its wrapped pen.
    double p = marquee_start_pen(29.999, 500);
    const Frame expected = pair.expected_frame(29.999);
    for (const char c : marquee_text) {
      const double advance =
          draw_glyph(expected.canvas, expected.creator, Font::main, static_cast<unsigned char>(c),
                     expected.text_colour, p, 0, 368, std::nullopt);
      p += advance;
      if (p > 500.0) p -= 500.0;
    }
    EXPECT_TRUE(same_pixels(pair.scene, pair.expected, pair.whole()));
  }
}

TEST_F(SceneRender, HeadlineTypesInAndSwitchesAtTheEnd) {
  auto headline_shown = [&](double t, std::string_view text) {
    Pair pair(640, 400);
    draw_scroller(pair.scene_frame(t));
    draw_text_run(pair.expected_frame(t), text, Font::main, 0.0, 18, 24, std::nullopt, std::nullopt);
    return same_pixels(pair.scene, pair.expected, Box{0, 0, 640, 44});
  };
  EXPECT_TRUE(headline_shown(30.0, first_headline.substr(0, 1)));
  EXPECT_TRUE(headline_shown(30.106, first_headline.substr(0, 2)));
  EXPECT_TRUE(headline_shown(33.0, first_headline));
  EXPECT_TRUE(headline_shown(62.249, first_headline));
  EXPECT_TRUE(headline_shown(62.25, second_headline));
}

TEST_F(SceneRender, BlockScrollsInFromTheRightEdge) {
  {
    // Before 32 s the block lies wholly right of the canvas.
    Pair pair(640, 400);
    draw_scroller(pair.scene_frame(31.9));
    EXPECT_FALSE(lit_box(pair.scene, Box{0, 44, 640, 400}).has_value());
  }
  for (const double t : {32.5, 40.0, 55.5}) {
    Pair pair(640, 400);
    draw_scroller(pair.scene_frame(t));
    const double pen0 = block_start_pen(t - 30.0, 640);
    for (std::size_t i = 0; i < block_lines.size(); ++i) {
      draw_text_run(pair.expected_frame(t), block_lines[i], Font::main, pen0, 0,
                    60 + 24 * static_cast<int>(i), std::nullopt, std::nullopt);
    }
    EXPECT_TRUE(same_pixels(pair.scene, pair.expected, Box{0, 44, 640, 400})) << t;
    // Line 8 sits at base y 252, apart from the rest below the empty lines 5 to 7.
    if (t == 40.0) {
      EXPECT_FALSE(lit_box(pair.scene, Box{0, 172, 640, 238}).has_value());
      EXPECT_TRUE(lit_box(pair.scene, Box{0, 246, 640, 266}).has_value());
    }
  }
}

TEST_F(SceneRender, GreetingsHeaderSetsTheGroupNameInTheLogoFont) {
  // floor(10.75 g) = 13: "Greetings by " in the main font, then the logo font's Z 8 px higher.
  const double t = 63.0 + 1.21;
  Pair pair(640, 400);
  draw_greetings(pair.scene_frame(t));
  const Frame expected = pair.expected_frame(t);
  double pen = 0.0;
  for (const char c : greetings_header.substr(0, 13)) {
    pen += draw_glyph(expected.canvas, expected.creator, Font::main, static_cast<unsigned char>(c),
                      expected.text_colour, pen, 18, 24, std::nullopt);
  }
  draw_glyph(expected.canvas, expected.creator, Font::logo, 'Z', expected.text_colour, pen, 18, 16,
             std::nullopt);
  EXPECT_TRUE(same_pixels(pair.scene, pair.expected, Box{0, 0, 640, 44}));

  // The whole header once typed: the pen runs on through both fonts.
  Pair full(640, 400);
  draw_greetings(full.scene_frame(66.0));
  const Frame fe = full.expected_frame(66.0);
  pen = 0.0;
  for (std::size_t k = 0; k < greetings_header.size(); ++k) {
    const Font font = header_font(k);
    pen += draw_glyph(fe.canvas, fe.creator, font, static_cast<unsigned char>(greetings_header[k]),
                      fe.text_colour, pen, 18, font == Font::logo ? 16 : 24, std::nullopt);
  }
  EXPECT_TRUE(same_pixels(full.scene, full.expected, Box{0, 0, 640, 44}));
}

TEST_F(SceneRender, GreetingRowsAndRemarks) {
  for (const double g : {4.0, 9.0, 20.0}) {
    const double t = 63.0 + g;
    Pair pair(640, 400);
    draw_greetings(pair.scene_frame(t));
    const Frame e = pair.expected_frame(t);
    for (std::size_t r = 0; r < greeting_row_count; ++r) {
      draw_text_run(e, shown_greeting_row(r), Font::main,
                    90.0 * static_cast<double>(r) + 640.0 - 50.0 * (g - 4.0), 18,
                    60 + 24 * static_cast<int>(r), std::nullopt, std::nullopt);
    }
    EXPECT_TRUE(same_pixels(pair.scene, pair.expected, Box{0, 44, 640, 150})) << g;
    if (g == 4.0) {
      // Row 0's first character stands at pen W, just outside.
      EXPECT_FALSE(lit_box(pair.scene, Box{0, 44, 640, 150}).has_value());
    }
  }
  Pair pair(640, 400);
  draw_greetings(pair.scene_frame(63.0));
  const Frame e = pair.expected_frame(63.0);
  draw_text_run(e, remark_sorry, Font::main, 0.0, 18, 304, std::nullopt, std::nullopt);
  draw_text_run(e, remark_onsite, Font::main, 0.0, 18, 336, std::nullopt, std::nullopt);
  draw_text_run(e, remark_rest, Font::main, 0.0, 24, 368, std::nullopt, std::nullopt);
  EXPECT_TRUE(same_pixels(pair.scene, pair.expected, Box{0, 150, 640, 400}));
}

TEST_F(SceneRender, ZeroAndTinyCanvasesDrawNothingOutside) {
  // The scenes are handed sizes smaller than the target: nothing may land beyond them in a
  // way that crashes, and an empty area draws nothing at all.
  for (const auto& [w, h] : {std::pair{0u, 0u}, std::pair{0u, 400u}, std::pair{640u, 0u}}) {
    for (const double t : {0.001, 5.0, 15.0, 20.0, 25.0, 40.0, 70.0, 95.0}) {
      const OfflineCanvas target = open_windowless_canvas(64, 64).value();
      clear_offline_canvas(target, background);
      const Frame frame{canvas_of(target), creator_of(target), t, w, h, text_colour(t)};
      draw_logo(frame);
      draw_wave(frame);
      draw_marquee(frame);
      draw_scroller(frame);
      draw_greetings(frame);
      EXPECT_FALSE(lit_box(target, Box{0, 0, 64, 64}).has_value()) << w << "x" << h << " at " << t;
    }
  }
  for (const auto& [w, h] : {std::pair{1, 1}, std::pair{10, 10}, std::pair{100, 50}, std::pair{200, 60}}) {
    for (const double t : {0.001, 5.0, 15.0, 20.0, 25.0, 29.999, 40.0, 62.5, 70.0, 89.999, 95.0, 114.0}) {
      const std::optional<OfflineCanvas> target = open_windowless_canvas(w, h);
      ASSERT_TRUE(target);
      const Frame frame{canvas_of(*target),
                        creator_of(*target),
                        t,
                        static_cast<std::uint32_t>(w),
                        static_cast<std::uint32_t>(h),
                        text_colour(t)};
      draw_logo(frame);
      draw_wave(frame);
      draw_marquee(frame);
      draw_scroller(frame);
      draw_greetings(frame);
    }
  }
}

namespace {

// What a viewer sees of the shake: every glyph of a text moves by the x and y its scene draws,
// x first. With the held values cycling (-100, +100) each glyph's x takes its range's lowest
// value and its y its highest; with (+100, -100) the other way round. So an element of the
// frame is the unshaken frame moved by exactly that offset, pixel for pixel; a text that does
// not shake is not moved at all.
struct Shaken {
  const char* element;
  Box area;  // with empty margins wider than any shake
  int dx_low_high;
  int dy_low_high;
  int dx_high_low;
  int dy_high_low;
};

void expect_moved(const OfflineCanvas& still, const OfflineCanvas& shaken, const Shaken& element, int dx,
                  int dy, double t) {
  const Box& a = element.area;
  const std::optional<PixelAt> difference =
      first_difference(shaken, still, Box{a.x0 + 3, a.y0 + 3, a.x1 - 3, a.y1 - 3}, dx, dy);
  if (difference) {
    ADD_FAILURE() << element.element << " at t = " << t << ": expected the unshaken picture moved by (" << dx
                  << ", " << dy << "), saw a difference at " << difference->x << "," << difference->y;
  }
}

void expect_shake(void (*scene)(const Frame&), double t, std::initializer_list<Shaken> elements) {
  Pair still(640, 400);
  hold_jitter({0});
  scene(still.scene_frame(t));
  Pair low_high(640, 400);
  hold_jitter({-100, 100});
  scene(low_high.scene_frame(t));
  Pair high_low(640, 400);
  hold_jitter({100, -100});
  scene(high_low.scene_frame(t));
  hold_jitter({0});
  for (const Shaken& element : elements) {
    ASSERT_TRUE(SceneRender::lit_box(still.scene, element.area).has_value())
        << element.element << " not drawn";
    expect_moved(still.scene, low_high.scene, element, element.dx_low_high, element.dy_low_high, t);
    expect_moved(still.scene, high_low.scene, element, element.dx_high_low, element.dy_high_low, t);
  }
}

}  // namespace

TEST_F(SceneRender, EachSceneShakesItsTextsByTheirOwnRangesXFirst) {
  // Headline and greetings header: x in [-2, 2), y in [-3, 3). Block, rows and remarks: x in
  // [-2, 2), y in [-2, 2). Logo and marquee: no shake.
  expect_shake(
      draw_scroller, 45.0,
      {{"headline", Box{0, 0, 640, 50}, -2, 2, 1, -3}, {"block", Box{0, 50, 640, 290}, -2, 1, 1, -2}});
  expect_shake(draw_greetings, 72.0,
               {{"greetings header", Box{0, 0, 640, 50}, -2, 2, 1, -3},
                {"greeting rows", Box{0, 50, 640, 160}, -2, 1, 1, -2},
                {"remarks", Box{0, 280, 640, 400}, -2, 1, 1, -2}});
  expect_shake(draw_logo, 5.0, {{"logo", Box{0, 0, 640, 400}, 0, 0, 0, 0}});
  expect_shake(draw_marquee, 24.0, {{"marquee", Box{0, 330, 640, 400}, 0, 0, 0, 0}});
}
