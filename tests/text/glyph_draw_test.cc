#include "text/glyph_draw.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "scenes/text_run.h"
#include "support/pixels.h"
#include "text/jitter.h"

namespace {

constexpr std::uint32_t colour = 0xFF3740C8;  // red 200, green 64, blue 55
constexpr Rgba background{10, 20, 30, 255};

// destination = colour x coverage / 255 + destination x (1 - coverage / 255)
Rgba blended(std::uint8_t coverage) {
  auto mix = [coverage](int c, int d) {
    return static_cast<std::uint8_t>(std::lround((c * coverage + d * (255 - coverage)) / 255.0));
  };
  return Rgba{mix(200, background.r), mix(64, background.g), mix(55, background.b), 255};
}

// SDL2's software blender divides by 256 and truncates, which lands up to two steps below
// the exact mix (coverage 219 over green 20 gives 56 for 57.8).
bool near(Rgba a, Rgba b) {
  return std::abs(a.r - b.r) <= 2 && std::abs(a.g - b.g) <= 2 && std::abs(a.b - b.b) <= 2;
}

bool untouched(const OfflineCanvas& canvas) { return !ink_box(canvas, whole_canvas(canvas), background); }

// The top-left corner of the ink on the canvas, or (-1, -1) if there is none.
std::pair<int, int> ink_origin(const OfflineCanvas& canvas) {
  const std::optional<Box> ink = ink_box(canvas, whole_canvas(canvas), background);
  return ink ? std::pair{ink->x0, ink->y0} : std::pair{-1, -1};
}

class GlyphDraw : public testing::Test {
 protected:
  OfflineCanvas canvas = open_windowless_canvas(64, 48).value();
  void SetUp() override { clear_offline_canvas(canvas, background); }
  void TearDown() override { hold_jitter({}); }
  double draw(std::uint32_t c, double pen, int base_x, int base_y,
              std::optional<Jitter> jitter = std::nullopt, Font font = Font::main) const {
    return draw_glyph(canvas_of(canvas), creator_of(canvas), font, c, colour, pen, base_x, base_y, jitter);
  }
};

}  // namespace

TEST_F(GlyphDraw, GlyphBlendsItsCoverageIntoItsRectangle) {
  const Glyph g = main_font_glyph('g');
  const SDL_Rect rect = glyph_rect(g, 10 + 20, 15);
  EXPECT_EQ(rect.x, 30);
  EXPECT_EQ(rect.y, 13);
  EXPECT_EQ(rect.w, 11);
  EXPECT_EQ(rect.h, 15);
  EXPECT_EQ(draw('g', 10.0, 20, 15), g.advance);
  int covered = 0;
  for (int y = 0; y < offline_height(canvas); ++y) {
    for (int x = 0; x < offline_width(canvas); ++x) {
      const bool inside = x >= rect.x && x < rect.x + rect.w && y >= rect.y && y < rect.y + rect.h;
      const std::uint8_t coverage =
          inside
              ? g.coverage[(static_cast<std::size_t>(y - rect.y) * 11) + static_cast<std::size_t>(x - rect.x)]
              : 0;
      covered += coverage == 255 ? 1 : 0;
      const Rgba seen = offline_pixel(canvas, x, y);
      ASSERT_TRUE(near(seen, blended(coverage)))
          << "at " << x << "," << y << " coverage " << int{coverage} << " saw " << int{seen.r} << " "
          << int{seen.g} << " " << int{seen.b};
    }
  }
  EXPECT_GT(covered, 0) << "full coverage shows the colour itself";
}

TEST_F(GlyphDraw, PenIsTruncatedTowardZeroAndNanCountsAsZero) {
  const Glyph dot = main_font_glyph('.');
  for (const double pen : {0.0, 0.999, -0.5, std::numeric_limits<double>::quiet_NaN()}) {
    clear_offline_canvas(canvas, background);
    draw('.', pen, 20, 10);
    EXPECT_EQ(ink_origin(canvas), std::make_pair(20 + dot.offset_x, 10 + dot.offset_y)) << "pen " << pen;
  }
  clear_offline_canvas(canvas, background);
  draw('.', -1.5, 20, 10);
  EXPECT_EQ(ink_origin(canvas).first, 19 + dot.offset_x);
}

TEST_F(GlyphDraw, PenFarOutsideTheIntRangeStaysOffTheCanvas) {
  for (const double pen : {1e12, -1e12, std::numeric_limits<double>::infinity(), 2147483647.0}) {
    clear_offline_canvas(canvas, background);
    draw('M', pen, 20, 10);
    EXPECT_TRUE(untouched(canvas)) << "pen " << pen;
  }
}

TEST_F(GlyphDraw, JitterStaysInItsHalfOpenRangesAndReachesEveryValue) {
  const Glyph dot = main_font_glyph('.');
  const int x0 = 20 + dot.offset_x, y0 = 20 + dot.offset_y;
  std::set<std::pair<int, int>> seen;
  for (int i = 0; i < 600; ++i) {
    clear_offline_canvas(canvas, background);
    draw('.', 0.0, 20, 20, Jitter{-2, 2, -3, 3});
    const auto [x, y] = ink_origin(canvas);
    ASSERT_GE(x - x0, -2);
    ASSERT_LE(x - x0, 1);
    ASSERT_GE(y - y0, -3);
    ASSERT_LE(y - y0, 2);
    seen.emplace(x - x0, y - y0);
  }
  EXPECT_EQ(seen.size(), 24u) << "every pair of x in [-2, 2) and y in [-3, 3)";
}

TEST(RandomRange, HeldValueIsClampedIntoTheRange) {
  hold_jitter({5});
  EXPECT_EQ(random_range(-2, 2), 1);
  hold_jitter({-9});
  EXPECT_EQ(random_range(-3, 3), -3);
  hold_jitter({});
  std::set<int> values;
  for (int i = 0; i < 400; ++i) values.insert(random_range(-2, 2));
  EXPECT_EQ(values, (std::set<int>{-2, -1, 0, 1}));
}

// Each thread seeds its generator from the operating system on first use: two fresh threads
// (two runs, as far as the generator knows) must not shake alike. A fixed or empty seed would
// give both the same 64 draws.
TEST(RandomRange, EveryFreshGeneratorHasASeedOfItsOwn) {
  auto draws = [] {
    std::vector<std::int32_t> values(64);
    for (std::int32_t& value : values) value = random_range(0, 1 << 30);
    return values;
  };
  std::vector<std::int32_t> first, second;
  std::thread{[&] { first = draws(); }}.join();
  std::thread{[&] { second = draws(); }}.join();
  EXPECT_NE(first, second);
  EXPECT_GT(std::set<std::int32_t>(first.begin(), first.end()).size(), 60u);
}

TEST_F(GlyphDraw, SpaceIsAnInvisibleSevenByOneTexture) {
  const Glyph space = main_font_glyph(' ');
  auto made = render_glyph_texture(creator_of(canvas), space, colour);
  ASSERT_TRUE(std::holds_alternative<TexturePtr>(made));
  const TexturePtr texture = std::get<TexturePtr>(std::move(made));
  int w = 0, h = 0;
  ASSERT_EQ(SDL_QueryTexture(texture.get(), nullptr, nullptr, &w, &h), 0);
  EXPECT_EQ(w, 7);
  EXPECT_EQ(h, 1);
  SDL_BlendMode mode{};
  ASSERT_EQ(SDL_GetTextureBlendMode(texture.get(), &mode), 0);
  EXPECT_EQ(mode, SDL_BLENDMODE_BLEND) << "the blend comes from the surface's alpha";
  const SDL_Rect rect = glyph_rect(space, 5, 6);
  EXPECT_EQ(rect.x, 5);
  EXPECT_EQ(rect.y, 16);
  EXPECT_EQ(rect.w, 7);
  EXPECT_EQ(rect.h, 1);
  EXPECT_EQ(draw(' ', 3.0, 2, 6), 7.142857551574707);
  EXPECT_TRUE(untouched(canvas));
}

TEST(GlyphRect, ClampsIntoHalfTheIntRange) {
  static constexpr std::array<std::uint8_t, 1> none = {0};
  const Glyph far{none, (1 << 30) - 1, -(1 << 30), 1.0, 0, 0};
  const SDL_Rect rect =
      glyph_rect(far, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(rect.x, (1 << 30) - 1);
  EXPECT_EQ(rect.y, -(1 << 30));
  EXPECT_EQ(rect.w, 1);
  EXPECT_EQ(rect.h, 1);
  const Glyph wide{none, 0, 0, 1.0, 65535, 65535};
  EXPECT_EQ(glyph_rect(wide, 0, 0).w, 65535);
}

TEST_F(GlyphDraw, RgbaSurfaceIsZeroedWithRowsOfFourBytesPerPixel) {
  auto made = create_rgba_surface(13, 5);
  ASSERT_TRUE(std::holds_alternative<SurfaceHandle>(made));
  const SurfaceHandle surface = std::get<SurfaceHandle>(made);
  EXPECT_EQ(surface->format->format, SDL_PIXELFORMAT_ABGR8888);
  EXPECT_EQ(surface->pitch, 13 * 4);
  EXPECT_FALSE(SDL_MUSTLOCK(surface.get()));
  const auto* bytes = static_cast<const std::uint8_t*>(surface->pixels);
  for (int i = 0; i < 13 * 4 * 5; ++i) ASSERT_EQ(bytes[i], 0);
}

TEST_F(GlyphDraw, TextRunStopsAfterLimitPlusOneCharacters) {
  const Frame frame{canvas_of(canvas), creator_of(canvas), 1.0, 64, 48, colour};
  const Glyph dot = main_font_glyph('.');
  auto dots_drawn = [&] {
    int n = 0;
    for (int k = 0; k < 8; ++k) {
      const int x = 2 + static_cast<int>(k * dot.advance) + dot.offset_x + 1;  // the fully covered column
      n += offline_pixel(canvas, x, 20 + dot.offset_y + 1) != background ? 1 : 0;
    }
    return n;
  };
  draw_text_run(frame, "........", Font::main, 0.0, 2, 20, std::nullopt, 2);
  EXPECT_EQ(dots_drawn(), 3);
  clear_offline_canvas(canvas, background);
  draw_text_run(frame, "........", Font::main, 0.0, 2, 20, std::nullopt, 0);
  EXPECT_EQ(dots_drawn(), 1) << "one character shows from the first frame";
  clear_offline_canvas(canvas, background);
  draw_text_run(frame, "........", Font::main, 0.0, 2, 20, std::nullopt, std::nullopt);
  EXPECT_EQ(dots_drawn(), 8);
}

TEST_F(GlyphDraw, TextRunMovesThePenByTheFloatAdvances) {
  const Frame frame{canvas_of(canvas), creator_of(canvas), 1.0, 64, 48, colour};
  // Seven advances of 10.000000953674316 put the eighth glyph at trunc(70.0000067) = 70,
  // so start the pen at -40 to see it at x = 30 + offset.
  draw_text_run(frame, "aaaaaaa.", Font::main, -40.0, 0, 20, std::nullopt, std::nullopt);
  clear_offline_canvas(canvas, background);
  draw_text_run(frame, "aaaaaaa.", Font::main, -40.0, 0, 20, std::nullopt, std::nullopt);
  const Glyph dot = main_font_glyph('.');
  EXPECT_NE(offline_pixel(canvas, 30 + dot.offset_x + 1, 20 + dot.offset_y + 1), background);
  EXPECT_EQ(offline_pixel(canvas, 30 + dot.offset_x + 2, 20 + dot.offset_y + 1), background);
}

TEST(GlyphDrawDeathTest, MissingCharacterStopsTheProgram) {
  const std::optional<OfflineCanvas> canvas = open_windowless_canvas(16, 16);
  ASSERT_TRUE(canvas);
  for (const std::uint32_t c : {U'7', U'8'}) {
    EXPECT_EXIT(
        draw_glyph(canvas_of(*canvas), creator_of(*canvas), Font::main, c, colour, 0, 0, 0, std::nullopt),
        testing::ExitedWithCode(1), "");
  }
  EXPECT_EXIT(
      draw_glyph(canvas_of(*canvas), creator_of(*canvas), Font::logo, 'A', colour, 0, 0, 0, std::nullopt),
      testing::ExitedWithCode(1), "");
}
